// SPDX-License-Identifier: GPL-3.0-or-later
// The main window: start-up, from the command line too; the settings menus and their check
// marks; the board sized to them, played with clicks, and shown pixel for pixel.
#include <QFileDialog>
#include <QGuiApplication>
#include <QMenuBar>
#include <QMessageBox>
#include <QScreen>
#include <fstream>
#include <optional>

#include "engine/search_depth.h"
#include "framework/command_ids.h"
#include "game/game_state.h"
#include "res/command_ids.h"
#include "tests/shell/shell_fixture.h"

namespace kelvane::testing {
namespace {

using namespace framework;
using namespace res;

struct Setting {
    int commandId;
    int group;
    int (*read)();
    int value;
};

// clang-format off
const Setting kSettings[] = {
    {ID_LEVEL_EASY, 0, GetSearchDepth, 2}, {ID_LEVEL_MEDIUM, 0, GetSearchDepth, 4},
    {ID_LEVEL_HARD, 0, GetSearchDepth, 6}, {ID_OPTIONS_SMALL_BOARD, 2, GetSquareSize, 35},
    {ID_RULES_KING_MUST_DIE, 1, GetRulesVariant, 1}, {ID_RULES_ALL_MUST_DIE, 1, GetRulesVariant, 0},
    {ID_OPTIONS_MEDIUM_BOARD, 2, GetSquareSize, 40}, {ID_OPTIONS_LARGE_BOARD, 2, GetSquareSize, 80},
    {ID_OPTIONS_STANDARD_SET, 3, GetPieceSet, 1}, {ID_OPTIONS_EXTRA_SET, 3, GetPieceSet, 0}};
// clang-format on

class WindowTest : public ShellTest {
  protected:
    // What the screen shows of the view now, read back without asking it to paint.
    QImage Shown() const {
        QApplication::processEvents();
        const QImage window = View()
                                  .screen()
                                  ->grabWindow(Window().winId())
                                  .toImage()
                                  .convertToFormat(QImage::Format_RGB32);
        const qreal scale = window.devicePixelRatio();
        const QPoint corner = View().mapTo(&Window(), QPoint(0, 0)) * scale;
        return window.copy(QRect(corner, View().size() * scale));
    }
    // At (100, 100), the menu bar on one row with every title in it, the whole board below it,
    // and nothing else.
    void ExpectWindowFitsTheBoard() const {
        const int side = 8 * GetSquareSize();
        QMenuBar* bar = Window().menuBar();
        EXPECT_EQ(bar->geometry().topLeft(), QPoint(0, 0));
        for (QAction* menu : bar->actions()) {
            const QRect title = bar->actionGeometry(menu);
            EXPECT_TRUE(title.isValid() && title.top() == 0 && title.right() < side &&
                        bar->rect().contains(title))
                << menu->text().toStdString() << " at " << title.x() << "," << title.y();
        }
        EXPECT_EQ(View().geometry(), QRect(0, bar->height(), side, side));
        EXPECT_EQ(Window().size(), QSize(side, side + bar->height()));
        EXPECT_EQ(Window().frameGeometry().topLeft(), QPoint(100, 100));
        EXPECT_EQ(Window().minimumSize(), Window().maximumSize());
        // The picture follows: the bottom-right square is light, the one above it dark.
        const bool standard = GetPieceSet() == kStandardSet;
        const QImage shown = Shown();
        EXPECT_EQ(shown.pixel(side - 1, side - 1), standard ? qRgb(192, 192, 192) : 0xffffffff);
        EXPECT_EQ(shown.pixel(side - 1, side * 7 / 8 - 1),
                  standard ? qRgb(128, 128, 128) : qRgb(192, 192, 192));
    }
};

// As the window first shows: the command line's file in its title, no maximize button, and the
// medium board's size (the frame's constructor sets it). Then through the settings table and
// back, so that each choice is made after another of its group and some twice running: each
// sets its value, moves only its group's mark and leaves the game alone.
TEST_F(WindowTest, StartsUpReadyThenEachChoiceMovesOnlyItsGroupsMark) {
    struct AtShow : QObject {
        QString title;
        QSize size;
        Qt::WindowFlags flags;
        bool eventFilter(QObject* object, QEvent* event) override {
            auto* frame = dynamic_cast<framework::qt::QtFrameWindow*>(object);
            if (frame == nullptr || event->type() != QEvent::Show || !title.isEmpty()) return false;
            title = frame->windowTitle();
            size = frame->size();
            flags = frame->windowFlags();
            return false;
        }
    } atShow;
    std::ofstream("old.sav") << "whatever";
    SetSquareSize(80);
    QApplication::instance()->installEventFilter(&atShow);
    Start({"-x", "old.sav"});  // arguments with a dash are no file
    QApplication::instance()->removeEventFilter(&atShow);
    EXPECT_EQ(atShow.title.toStdString(), "old.sav -  ");
    EXPECT_EQ(atShow.size, QSize(320, 320 + Window().menuBar()->height()));
    EXPECT_TRUE(!(atShow.flags & Qt::WindowMaximizeButtonHint) &&
                (atShow.flags & Qt::WindowMinimizeButtonHint));
    ExpectWindowFitsTheBoard();
    Window().move(300, 250);  // the player moved it; a new board size puts it back
    PlayOneTurn();
    ClickSquare(3, 6);
    const Board board = TheBoard();
    const int selected = TheGameState().SelectedSquare;
    int checked[] = {ID_LEVEL_EASY, ID_RULES_KING_MUST_DIE, ID_OPTIONS_MEDIUM_BOARD,
                     ID_OPTIONS_STANDARD_SET};
    std::vector<Setting> order(std::begin(kSettings), std::end(kSettings));
    order.insert(order.end(), std::rbegin(kSettings), std::rend(kSettings));
    for (const Setting& setting : order) {
        SCOPED_TRACE(MenuItem(setting.commandId).text().toStdString());
        MenuItem(setting.commandId).trigger();
        QApplication::processEvents();
        checked[setting.group] = setting.commandId;
        for (const Setting& item : kSettings) {
            const bool on = checked[item.group] == item.commandId;
            EXPECT_EQ(MenuItem(item.commandId).isChecked(), on) << item.commandId;
            // An unchecked item shows no empty box, like one never checked.
            EXPECT_EQ(MenuItem(item.commandId).isCheckable(), on) << item.commandId;
            EXPECT_TRUE(!on || item.read() == item.value)
                << item.read() << " for " << item.commandId;
        }
        if (setting.group >= 2) ExpectWindowFitsTheBoard();
    }
    EXPECT_EQ(TheBoard(), board);
    EXPECT_EQ(TheGameState().SelectedSquare, selected);
}

// With a larger font the small board's menu bar still shows every title.
TEST_F(WindowTest, EveryMenuTitleStaysInTheBarWithALargerFont) {
    const QFont normal = QApplication::font();
    QFont larger = normal;
    larger.setPointSizeF(normal.pointSizeF() * 1.15);
    QApplication::setFont(larger);
    Start();
    MenuItem(ID_OPTIONS_SMALL_BOARD).trigger();
    ExpectWindowFitsTheBoard();
    QApplication::setFont(normal);
}

// File errors are told in the framework's box, which names the file; at start-up one also
// ends the program.
TEST_F(WindowTest, FileErrorsAreToldInTheFrameworksBox) {
    QString told;
    const auto tell = [&told, this](QWidget* modal) {
        if (auto* chooser = qobject_cast<QFileDialog*>(modal)) {
            std::ofstream("gone.sav") << "x";
            chooser->selectFile(scratch_.filePath("gone.sav"));
            static_cast<QDialog*>(chooser)->accept();
            std::filesystem::remove("gone.sav");  // chosen, then gone before it is read
            return;
        }
        told = qobject_cast<QMessageBox*>(modal)->text();
        modal->close();
    };
    std::optional<ModalWatcher> watcher(tell);
    Start({"missing.sav"}, false);
    EXPECT_EQ(watcher->titles, QStringList{"chess"});
    EXPECT_TRUE(told.contains("\"missing.sav\": No such file")) << told.toStdString();
    app_.reset();
    watcher.emplace(tell);
    Start();
    QTest::keyClick(&Window(), Qt::Key_O, Qt::ControlModifier);
    EXPECT_EQ(watcher->titles, (QStringList{"Open", "chess"}));
    EXPECT_TRUE(told.contains("gone.sav\": No such file")) << told.toStdString();
    EXPECT_EQ(Window().windowTitle().toStdString(), "- Kelvane  -  ");
}

// A box waiting for OK shows the normal arrow; the wait cursor, if it was on, returns after it.
TEST_F(WindowTest, AMessageBoxShowsTheArrowEvenUnderTheWaitCursor) {
    Start();
    for (const bool busy : {false, true}) {
        if (busy) View().BeginWaitCursor();
        Qt::CursorShape during = Qt::BlankCursor;
        ModalWatcher watcher([&during](QWidget* modal) {
            const QCursor* cursor = QGuiApplication::overrideCursor();
            during = cursor != nullptr ? cursor->shape() : Qt::ArrowCursor;
            modal->close();
        });
        View().MessageBox("You won!", "", 0);
        EXPECT_EQ(during, Qt::ArrowCursor) << busy;
        const QCursor* after = QGuiApplication::overrideCursor();
        EXPECT_EQ(after != nullptr ? after->shape() : Qt::ArrowCursor,
                  busy ? Qt::WaitCursor : Qt::ArrowCursor);
        if (busy) View().EndWaitCursor();
    }
    EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);
}

TEST_F(WindowTest, TwoClicksMakeAMoveAndTheReplyIsFramedInBlue) {
    Start();
    ClickSquare(4, 6, Qt::RightButton);  // the right button does nothing
    EXPECT_EQ(TheGameState().SelectedSquare, kNoSquare);
    ClickSquare(4, 6);
    EXPECT_EQ(Shown().pixel(160, 240), qRgb(255, 0, 0)) << "red frame on the selected pawn";
    EXPECT_EQ(Shown().pixel(160, 160), qRgb(255, 255, 0)) << "yellow frame on a target";

    ClickSquare(4, 4);
    EXPECT_EQ(TheBoard()[SquareIndex(4, 4)], kWhitePawn);
    EXPECT_EQ(TheBoard()[SquareIndex(4, 6)], 0);
    const int column = SquareOf(TheGameState().LastMoveSquare).column;
    const int row = SquareOf(TheGameState().LastMoveSquare).row;
    ASSERT_GE(TheGameState().LastMoveSquare, 0);
    EXPECT_EQ(SideOf(TheBoard()[SquareIndex(column, row)]), 1) << "the computer's piece";
    const QImage shown = Shown();
    EXPECT_EQ(shown.pixel(column * 40, row * 40), qRgb(0, 0, 255));
    EXPECT_EQ(shown.pixel(column * 40 + 39, row * 40 + 39), qRgb(0, 0, 255));
    EXPECT_EQ(QApplication::overrideCursor(), nullptr) << "the wait cursor went away";
}

// The second press of a double click does nothing: double-clicking a piece selects it, and
// double-clicking a target plays the move and selects nothing after it.
TEST_F(WindowTest, ADoubleClickCountsAsOneClick) {
    Start();
    const int size = GetSquareSize();
    const auto doubleClick = [&](int column, int row) {
        const QPoint centre(column * size + size / 2, row * size + size / 2);
        QTest::mouseDClick(Window().windowHandle(), Qt::LeftButton, {},
                           View().mapTo(&Window(), centre));
    };
    doubleClick(4, 6);
    EXPECT_EQ(TheGameState().SelectedSquare, MakeSquareRef({4, 6}));
    EXPECT_EQ(TheBoard(), StartingBoard());
    doubleClick(4, 5);
    EXPECT_EQ(TheBoard()[SquareIndex(4, 5)], kWhitePawn);
    EXPECT_EQ(TheBoard()[SquareIndex(4, 6)], 0);
    EXPECT_EQ(TheGameState().SelectedSquare, kNoSquare);
}

// Every pixel of the picture becomes a solid block of device pixels, never a blend; CTest
// runs this once more with QT_SCALE_FACTOR=2.
TEST_F(WindowTest, TheBoardIsShownPixelForPixel) {
    Start();
    const int scale = static_cast<int>(View().devicePixelRatioF());
    ASSERT_GE(scale, std::max(1, qEnvironmentVariableIntValue("QT_SCALE_FACTOR")));
    const QImage shown = View().grab().toImage();
    const framework::CBitmap& buffer = View().Buffer();
    ASSERT_EQ(shown.size(), QSize(buffer.Width() * scale, buffer.Height() * scale));
    int mismatches = 0;
    for (int y = 0; y < shown.height(); ++y) {
        for (int x = 0; x < shown.width(); ++x) {
            const framework::COLORREF c = buffer.GetPixel(x / scale, y / scale);
            mismatches +=
                shown.pixel(x, y) !=
                qRgb(framework::GetRValue(c), framework::GetGValue(c), framework::GetBValue(c));
        }
    }
    EXPECT_EQ(mismatches, 0);
}

}  // namespace
}  // namespace kelvane::testing
