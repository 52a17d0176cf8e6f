// The settings menus, their check marks, and the main window sized to the board.
#include <QMenuBar>
#include <QTest>

#include "engine/search_depth.h"
#include "game/command_ids.h"
#include "game/display_settings.h"
#include "game/game_state.h"
#include "rules/evaluation.h"
#include "tests/shell/shell_fixture.h"

namespace kelvane::testing {
namespace {

struct SettingCase {
    const char* name;
    int commandId;
    int (*read)();
    int value;
    std::vector<int> checked;    // in the command's group
    std::vector<int> unchecked;  // the rest of the group
};

std::ostream& operator<<(std::ostream& out, const SettingCase& c) {
    return out << c.name;
}

const std::vector<SettingCase>& SettingCases() {
    static const std::vector<SettingCase> cases{
        {"Easy",
         ID_LEVEL_EASY,
         GetSearchDepth,
         2,
         {ID_LEVEL_EASY},
         {ID_LEVEL_MEDIUM, ID_LEVEL_HARD}},
        {"Medium",
         ID_LEVEL_MEDIUM,
         GetSearchDepth,
         4,
         {ID_LEVEL_MEDIUM},
         {ID_LEVEL_EASY, ID_LEVEL_HARD}},
        {"Hard",
         ID_LEVEL_HARD,
         GetSearchDepth,
         6,
         {ID_LEVEL_HARD},
         {ID_LEVEL_EASY, ID_LEVEL_MEDIUM}},
        {"KingMustDie",
         ID_RULES_KING_MUST_DIE,
         GetRulesVariant,
         1,
         {ID_RULES_KING_MUST_DIE},
         {ID_RULES_ALL_MUST_DIE}},
        {"AllMustDie",
         ID_RULES_ALL_MUST_DIE,
         GetRulesVariant,
         0,
         {ID_RULES_ALL_MUST_DIE},
         {ID_RULES_KING_MUST_DIE}},
        {"SmallBoard",
         ID_OPTIONS_SMALL_BOARD,
         GetSquareSize,
         35,
         {ID_OPTIONS_SMALL_BOARD},
         {ID_OPTIONS_MEDIUM_BOARD, ID_OPTIONS_LARGE_BOARD}},
        {"MediumBoard",
         ID_OPTIONS_MEDIUM_BOARD,
         GetSquareSize,
         40,
         {ID_OPTIONS_MEDIUM_BOARD},
         {ID_OPTIONS_SMALL_BOARD, ID_OPTIONS_LARGE_BOARD}},
        {"LargeBoard",
         ID_OPTIONS_LARGE_BOARD,
         GetSquareSize,
         80,
         {ID_OPTIONS_LARGE_BOARD},
         {ID_OPTIONS_SMALL_BOARD, ID_OPTIONS_MEDIUM_BOARD}},
        {"StandardSet",
         ID_OPTIONS_STANDARD_SET,
         GetPieceSet,
         1,
         {ID_OPTIONS_STANDARD_SET},
         {ID_OPTIONS_EXTRA_SET}},
        {"ExtraSet",
         ID_OPTIONS_EXTRA_SET,
         GetPieceSet,
         0,
         {ID_OPTIONS_EXTRA_SET},
         {ID_OPTIONS_STANDARD_SET}},
    };
    return cases;
}

// The marks outside the command's own group.
const std::vector<int> kAllSettingItems{ID_LEVEL_EASY,           ID_LEVEL_MEDIUM,
                                        ID_LEVEL_HARD,           ID_RULES_KING_MUST_DIE,
                                        ID_RULES_ALL_MUST_DIE,   ID_OPTIONS_SMALL_BOARD,
                                        ID_OPTIONS_MEDIUM_BOARD, ID_OPTIONS_LARGE_BOARD,
                                        ID_OPTIONS_STANDARD_SET, ID_OPTIONS_EXTRA_SET};

class SettingsTest : public ShellTest, public ::testing::WithParamInterface<SettingCase> {
  protected:
    std::map<int, bool> Marks() const {
        std::map<int, bool> marks;
        for (int id : kAllSettingItems) marks[id] = IsChecked(id);
        return marks;
    }

    void ExpectMarksOf(const SettingCase& c, const std::map<int, bool>& before) {
        for (int id : c.checked) EXPECT_TRUE(IsChecked(id)) << id;
        for (int id : c.unchecked) EXPECT_FALSE(IsChecked(id)) << id;
        for (const auto& [id, mark] : before) {
            const bool inGroup = std::count(c.checked.begin(), c.checked.end(), id) +
                                     std::count(c.unchecked.begin(), c.unchecked.end(), id) >
                                 0;
            if (!inGroup) {
                EXPECT_EQ(IsChecked(id), mark) << "outside the group: " << id;
            }
        }
    }
};

TEST_P(SettingsTest, SetsTheValueAndMovesTheCheckMark) {
    Start();
    // From a state where another item of every group is checked.
    MenuItem(ID_LEVEL_HARD).trigger();
    MenuItem(ID_RULES_ALL_MUST_DIE).trigger();
    MenuItem(ID_OPTIONS_LARGE_BOARD).trigger();
    MenuItem(ID_OPTIONS_EXTRA_SET).trigger();
    MenuItem(ID_LEVEL_MEDIUM).trigger();
    MenuItem(ID_OPTIONS_SMALL_BOARD).trigger();

    const SettingCase& c = GetParam();
    const auto before = Marks();
    MenuItem(c.commandId).trigger();
    EXPECT_EQ(c.read(), c.value);
    ExpectMarksOf(c, before);
}

TEST_P(SettingsTest, ChoosingItTwiceKeepsTheMarks) {
    Start();
    const SettingCase& c = GetParam();
    MenuItem(c.commandId).trigger();
    const auto before = Marks();
    MenuItem(c.commandId).trigger();
    EXPECT_EQ(c.read(), c.value);
    EXPECT_EQ(Marks(), before);
}

TEST_P(SettingsTest, LeavesTheGameAsItIs) {
    Start();
    ClickSquare(4, 6);
    ClickSquare(4, 4);
    ClickSquare(3, 6);
    const Board board = TheBoard();
    const GameState state = TheGameState();
    MenuItem(GetParam().commandId).trigger();
    EXPECT_EQ(TheBoard(), board);
    EXPECT_EQ(TheGameState().SelectedSquare, state.SelectedSquare);
    EXPECT_EQ(TheGameState().LastMoveSquare, state.LastMoveSquare);
    EXPECT_EQ(TheGameState().UndoCount, state.UndoCount);
}

INSTANTIATE_TEST_SUITE_P(Shell, SettingsTest, ::testing::ValuesIn(SettingCases()),
                         [](const auto& param) { return std::string(param.param.name); });

class WindowTest : public ShellTest, public ::testing::WithParamInterface<int> {};

TEST_F(WindowTest, CaptionIsTheDocumentTitleThenTheFrameTitle) {
    Start();
    EXPECT_EQ(Window().windowTitle().toStdString(), "- Kelvane  -  ");
}

TEST_F(WindowTest, CannotBeResizedOrMaximized) {
    Start();
    EXPECT_EQ(Window().minimumSize(), Window().maximumSize());
    EXPECT_FALSE(Window().windowFlags() & Qt::WindowMaximizeButtonHint);
    EXPECT_TRUE(Window().windowFlags() & Qt::WindowMinimizeButtonHint);
    EXPECT_TRUE(Window().windowFlags() & Qt::WindowTitleHint);
}

TEST_P(WindowTest, ShowsTheWholeBoardAndNothingElse) {
    Start();
    const int size = GetParam();
    const int command = size == 35   ? ID_OPTIONS_SMALL_BOARD
                        : size == 80 ? ID_OPTIONS_LARGE_BOARD
                                     : ID_OPTIONS_MEDIUM_BOARD;
    Window().move(300, 250);  // the player moved it
    MenuItem(command).trigger();
    QApplication::processEvents();

    EXPECT_EQ(View().size(), QSize(8 * size, 8 * size));
    EXPECT_EQ(Window().size(),
              QSize(8 * size, 8 * size + Window().menuBar()->heightForWidth(8 * size)));
    EXPECT_EQ(View().geometry().top(), Window().menuBar()->geometry().bottom() + 1);
    EXPECT_EQ(Window().frameGeometry().topLeft(), QPoint(100, 100));
    EXPECT_EQ(Window().minimumSize(), Window().maximumSize());

    // The picture follows at the new size: the bottom-right square is light at every size.
    const QImage shown = View().grab().toImage();
    ASSERT_EQ(shown.size(), QSize(8 * size, 8 * size));
    EXPECT_EQ(shown.pixel(8 * size - 1, 8 * size - 1), qRgb(192, 192, 192));
    EXPECT_EQ(shown.pixel(8 * size - 1, 7 * size - 1), qRgb(128, 128, 128));
}

TEST_P(WindowTest, TheSizeFormulaIsAskedWithTheSystemMetrics) {
    Start();
    const int size = GetParam();
    SetSquareSize(size);
    // The formula's frame allowances come off again, so the board fits whatever the metrics.
    const int cySize = Window().GetSystemMetrics(SM_CYSIZE);
    const int cyMenu = Window().GetSystemMetrics(SM_CYMENUSIZE);
    EXPECT_GT(cySize, 0);
    EXPECT_GT(cyMenu, 0);
    Window().MoveWindow(100, 100, 8 * size + 10, 8 * size + cySize + cyMenu + 12, true);
    EXPECT_EQ(View().size(), QSize(8 * size, 8 * size));
}

INSTANTIATE_TEST_SUITE_P(Shell, WindowTest, ::testing::Values(35, 40, 80));

TEST_F(WindowTest, ExtraSetRepaintsWithItsSquareColours) {
    Start();
    MenuItem(ID_OPTIONS_EXTRA_SET).trigger();
    QApplication::processEvents();
    const QImage shown = View().grab().toImage();
    EXPECT_EQ(shown.pixel(100, 100), qRgb(255, 255, 255));  // square (2, 2), light
    EXPECT_EQ(shown.pixel(140, 100), qRgb(192, 192, 192));  // square (3, 2), dark
}

}  // namespace
}  // namespace kelvane::testing

namespace kelvane::testing {
namespace {

TEST_F(WindowTest, EveryMenuTitleIsShownOnTheSmallBoard) {
    Start();
    MenuItem(ID_OPTIONS_SMALL_BOARD).trigger();
    QApplication::processEvents();
    QMenuBar* bar = Window().menuBar();
    for (QAction* menu : bar->actions()) {
        const QRect place = bar->actionGeometry(menu);
        EXPECT_FALSE(place.isEmpty()) << menu->text().toStdString();
        EXPECT_LE(place.right(), bar->width()) << menu->text().toStdString();
    }
}

}  // namespace
}  // namespace kelvane::testing
