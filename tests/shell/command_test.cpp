// Every menu item and accelerator reaches its handler; the keys without one change nothing.
#include <QFileDialog>
#include <QLineEdit>
#include <QTest>
#include <fstream>
#include <iterator>

#include "game/command_ids.h"
#include "game/game_state.h"
#include "tests/shell/shell_fixture.h"

namespace kelvane::testing {
namespace {

// One way of giving a command: its menu item, or a key.
struct Trigger {
    const char* name;
    int menuCommand;  // 0: by key
    int key;
    Qt::KeyboardModifiers modifiers;
};

std::ostream& operator<<(std::ostream& out, const Trigger& trigger) {
    return out << trigger.name;
}

class CommandTest : public ShellTest, public ::testing::WithParamInterface<Trigger> {
  protected:
    void Issue(const Trigger& trigger) {
        if (trigger.menuCommand != 0) {
            MenuItem(trigger.menuCommand).trigger();
        } else {
            Press(trigger.key, trigger.modifiers);
        }
    }

    Board StartingBoard() const {
        Board board{};
        SetUpStartingPosition(board);
        return board;
    }

    // The player's pawn in column 4 two squares up, and the computer's reply.
    void PlayOneTurn() {
        ClickSquare(4, 6);
        ClickSquare(4, 4);
        ASSERT_EQ(TheGameState().UndoCount, 1);
    }
};

Trigger ByMenu(const char* name, int commandId) {
    return {name, commandId, 0, Qt::NoModifier};
}
Trigger ByKey(const char* name, int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
    return {name, 0, key, modifiers};
}

std::string TriggerName(const ::testing::TestParamInfo<Trigger>& info) {
    return info.param.name;
}

using NewGameTest = CommandTest;
TEST_P(NewGameTest, SetsUpTheStartingPositionAgain) {
    Start();
    PlayOneTurn();
    ASSERT_NE(TheBoard(), StartingBoard());
    Issue(GetParam());
    EXPECT_EQ(TheBoard(), StartingBoard());
    EXPECT_EQ(TheGameState().UndoCount, 0);
}
INSTANTIATE_TEST_SUITE_P(Shell, NewGameTest,
                         ::testing::Values(ByMenu("Menu", ID_FILE_NEW),
                                           ByKey("CtrlN", Qt::Key_N, Qt::ControlModifier)),
                         TriggerName);

using ComputerStartsTest = CommandTest;
TEST_P(ComputerStartsTest, ThePawnInColumnSixHasStepped) {
    Start();
    Issue(GetParam());
    EXPECT_EQ(TheBoard()[SquareIndex(6, 1)], 0);
    EXPECT_EQ(TheBoard()[SquareIndex(6, 2)], kBlackPawn);
}
INSTANTIATE_TEST_SUITE_P(Shell, ComputerStartsTest,
                         ::testing::Values(ByMenu("Menu", ID_GAME_COMPUTER_STARTS)), TriggerName);

using SaveTest = CommandTest;
TEST_P(SaveTest, WritesTheBoardToGameSav) {
    Start();
    PlayOneTurn();
    Issue(GetParam());
    std::ifstream file("game.sav", std::ios::binary);
    const std::string bytes{std::istreambuf_iterator<char>(file), {}};
    ASSERT_EQ(bytes.size(), 64u);
    for (std::size_t i = 0; i < 64; ++i) EXPECT_EQ(bytes[i], TheBoard()[i]) << "index " << i;
}
INSTANTIATE_TEST_SUITE_P(Shell, SaveTest,
                         ::testing::Values(ByMenu("Menu", ID_GAME_SAVE), ByKey("F2", Qt::Key_F2)),
                         TriggerName);

using LoadTest = CommandTest;
TEST_P(LoadTest, ReadsTheSavedBoardBack) {
    Start();
    PlayOneTurn();
    const Board saved = TheBoard();
    MenuItem(ID_GAME_SAVE).trigger();
    MenuItem(ID_FILE_NEW).trigger();
    ASSERT_NE(TheBoard(), saved);
    Issue(GetParam());
    EXPECT_EQ(TheBoard(), saved);
}
INSTANTIATE_TEST_SUITE_P(Shell, LoadTest,
                         ::testing::Values(ByMenu("Menu", ID_GAME_LOAD), ByKey("F3", Qt::Key_F3)),
                         TriggerName);

using AutoplayTest = CommandTest;
TEST_P(AutoplayTest, StartsTheTimerThatStopEnds) {
    Start();
    Issue(GetParam());
    EXPECT_TRUE(View().IsTimerRunning(0));
    // The first tick plays the fixed opening move for the computer.
    QTRY_COMPARE_WITH_TIMEOUT(TheBoard()[SquareIndex(6, 2)], kBlackPawn, 3000);
    MenuItem(ID_GAME_STOP).trigger();
    EXPECT_FALSE(View().IsTimerRunning(0));
}
INSTANTIATE_TEST_SUITE_P(Shell, AutoplayTest,
                         ::testing::Values(ByMenu("Menu", ID_GAME_AUTOPLAY),
                                           ByKey("CtrlA", Qt::Key_A, Qt::ControlModifier)),
                         TriggerName);

using StopTest = CommandTest;
TEST_P(StopTest, StopsTheAutoplayTimer) {
    Start();
    MenuItem(ID_GAME_AUTOPLAY).trigger();
    ASSERT_TRUE(View().IsTimerRunning(0));
    Issue(GetParam());
    EXPECT_FALSE(View().IsTimerRunning(0));
}
INSTANTIATE_TEST_SUITE_P(Shell, StopTest,
                         ::testing::Values(ByMenu("Menu", ID_GAME_STOP),
                                           ByKey("CtrlS", Qt::Key_S, Qt::ControlModifier)),
                         TriggerName);

using HintTest = CommandTest;
TEST_P(HintTest, MarksAMoveOfThePlayer) {
    Start();
    Issue(GetParam());
    const GameState& state = TheGameState();
    ASSERT_GE(state.HintFrom.column, 0);
    EXPECT_EQ(SideOf(TheBoard()[SquareIndex(state.HintFrom.column, state.HintFrom.row)]), 2);
}
INSTANTIATE_TEST_SUITE_P(Shell, HintTest,
                         ::testing::Values(ByMenu("Menu", ID_GAME_HINT),
                                           ByKey("CtrlH", Qt::Key_H, Qt::ControlModifier)),
                         TriggerName);

using UndoTest = CommandTest;
TEST_P(UndoTest, TakesBackTheMoveAndItsReply) {
    Start();
    PlayOneTurn();
    Issue(GetParam());
    EXPECT_EQ(TheBoard(), StartingBoard());
    EXPECT_EQ(TheGameState().UndoCount, 0);
}
INSTANTIATE_TEST_SUITE_P(
    Shell, UndoTest,
    ::testing::Values(ByMenu("Menu", ID_EDIT_UNDO), ByKey("CtrlZ", Qt::Key_Z, Qt::ControlModifier),
                      ByKey("AltBackspace", Qt::Key_Backspace, Qt::AltModifier)),
    TriggerName);

using QuitTest = CommandTest;
TEST_P(QuitTest, ClosesTheMainWindow) {
    Start();
    Issue(GetParam());
    EXPECT_FALSE(Window().isVisible());
    EXPECT_FALSE(app_->GetMainWnd()->HasWindow());
}
INSTANTIATE_TEST_SUITE_P(Shell, QuitTest,
                         ::testing::Values(ByMenu("Menu", ID_APP_EXIT),
                                           ByKey("CtrlQ", Qt::Key_Q, Qt::ControlModifier)),
                         TriggerName);

using AboutTest = CommandTest;
TEST_P(AboutTest, OpensTheAboutBox) {
    Start();
    ModalWatcher watcher(Accept);
    Issue(GetParam());
    EXPECT_TRUE(watcher.Seen());
    EXPECT_EQ(watcher.Title().toStdString(), "About Kelvane...");
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
}
INSTANTIATE_TEST_SUITE_P(Shell, AboutTest,
                         ::testing::Values(ByMenu("Menu", ID_APP_ABOUT), ByKey("F1", Qt::Key_F1)),
                         TriggerName);

TEST_F(CommandTest, CtrlOOpensAChooserAndTheChosenFileOnlyRenamesTheWindow) {
    Start();
    { std::ofstream("notes.txt") << "not a game"; }
    const std::string chosen = (scratch_->Path() / "notes.txt").string();
    PlayOneTurn();
    const Board before = TheBoard();
    ModalWatcher watcher([&](QWidget* modal) {
        auto* chooser = qobject_cast<QFileDialog*>(modal);
        ASSERT_NE(chooser, nullptr);
        chooser->selectFile(QString::fromStdString(chosen));
        static_cast<QDialog*>(chooser)->accept();
    });
    Press(Qt::Key_O, Qt::ControlModifier);
    ASSERT_TRUE(watcher.Seen());
    EXPECT_EQ(Window().windowTitle().toStdString(), "notes.txt -  ");
    EXPECT_EQ(TheBoard(), before);
    EXPECT_EQ(TheGameState().UndoCount, 1);
}

TEST_F(CommandTest, CancellingTheChooserKeepsTheTitle) {
    Start();
    ModalWatcher watcher([](QWidget* modal) { qobject_cast<QDialog*>(modal)->reject(); });
    Press(Qt::Key_O, Qt::ControlModifier);
    ASSERT_TRUE(watcher.Seen());
    EXPECT_EQ(Window().windowTitle().toStdString(), "- Kelvane  -  ");
}

// Keys bound to commands nobody handles.
using IdleKeyTest = CommandTest;
TEST_P(IdleKeyTest, ChangesNothing) {
    Start();
    PlayOneTurn();
    ClickSquare(3, 6);  // a selection, which a repaint or reset would show or clear
    const Board board = TheBoard();
    const GameState state = TheGameState();
    const QString title = Window().windowTitle();

    const Trigger& trigger = GetParam();
    const QKeySequence sequence(QKeyCombination(trigger.modifiers, Qt::Key(trigger.key)));
    bool bound = false;
    for (QAction* accelerator : Window().AcceleratorActions()) {
        bound = bound || accelerator->shortcut() == sequence;
    }
    EXPECT_TRUE(bound) << "the key is in the accelerator table";

    ModalWatcher watcher(Accept);
    Issue(trigger);
    QTest::qWait(20);
    EXPECT_FALSE(watcher.Seen());
    EXPECT_EQ(TheBoard(), board);
    EXPECT_EQ(TheGameState().SelectedSquare, state.SelectedSquare);
    EXPECT_EQ(TheGameState().UndoCount, state.UndoCount);
    EXPECT_EQ(TheGameState().HintFrom.column, state.HintFrom.column);
    EXPECT_FALSE(View().IsTimerRunning(0));
    EXPECT_EQ(Window().windowTitle(), title);
    EXPECT_TRUE(Window().isVisible());
}
INSTANTIATE_TEST_SUITE_P(Shell, IdleKeyTest,
                         ::testing::Values(ByKey("CtrlC", Qt::Key_C, Qt::ControlModifier),
                                           ByKey("CtrlInsert", Qt::Key_Insert, Qt::ControlModifier),
                                           ByKey("CtrlX", Qt::Key_X, Qt::ControlModifier),
                                           ByKey("ShiftDelete", Qt::Key_Delete, Qt::ShiftModifier),
                                           ByKey("CtrlV", Qt::Key_V, Qt::ControlModifier),
                                           ByKey("ShiftInsert", Qt::Key_Insert, Qt::ShiftModifier),
                                           ByKey("F6", Qt::Key_F6),
                                           ByKey("ShiftF6", Qt::Key_F6, Qt::ShiftModifier)),
                         TriggerName);

}  // namespace
}  // namespace kelvane::testing
