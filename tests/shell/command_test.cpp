// SPDX-License-Identifier: GPL-3.0-or-later
// The menu bar, and every menu item and accelerator reaching its handler; the keys without
// one change nothing.
#include <QFileDialog>
#include <QMenu>
#include <QMenuBar>
#include <QStatusBar>
#include <QToolBar>
#include <fstream>
#include <iterator>
#include <sstream>

#include "framework/command_ids.h"
#include "game/game_state.h"
#include "res/command_ids.h"
#include "tests/shell/shell_fixture.h"

namespace kelvane::testing {
namespace {

using namespace framework;
using namespace res;

class MenuBarTest : public ShellTest {};

// Every item's text, * for a check mark, - for a separator; the keys work through
// accelerators of their own, and no item is ever greyed.
TEST_F(MenuBarTest, HasTheItemsTheirKeysAndFirstCheckMarksAndNoOtherBar) {
    Start();
    std::ostringstream shown;
    for (QAction* menu : Window().menuBar()->actions()) {
        shown << menu->text().toStdString() << ":";
        for (QAction* item : menu->menu()->actions()) {
            shown << " " << (item->isSeparator() ? "-" : item->text().toStdString());
            shown << (item->isChecked() ? "*" : "") << (item->shortcut().isEmpty() ? "" : "(key)")
                  << (item->isEnabled() ? "" : "(disabled)");
        }
        shown << "\n";
    }
    EXPECT_EQ(shown.str(),
              "&Game: &New\tCtrl+N New - &Computer starts &Save\tF2 &Load\tF3 "
              "&Autoplay\tCtrl+A S&top\tCtrl+S &Hint\tCtrl+H - &Quit\tCtrl+Q\n"
              "&Edit: &Undo\tCtrl+Z\n"
              "&Level: &Easy* &Medium &Hard\n"
              "&Rules: &King must die* &All must die\n"
              "&Options: Small board Medium board* Large board - Standard set* Extra set\n"
              "&Help: &About\tF1\n");
    EXPECT_EQ(Window().findChild<QStatusBar*>(), nullptr);
    EXPECT_TRUE(Window().findChildren<QToolBar*>().isEmpty());
}

// clang-format off
enum Effect { kNew, kStarts, kSave, kLoad, kAuto, kStop, kHint, kUndo, kQuit, kAbout, kOpen,
              kNone };

struct Command {
    const char* name;
    int menuItem;  // 0: by key, -1: the window's close box
    QKeyCombination key;
    Effect effect;
};

// The last ones are bound to commands nobody handles.
const Command kCommands[] = {
    {"MenuNew", ID_FILE_NEW, {}, kNew}, {"CtrlN", 0, Qt::CTRL | Qt::Key_N, kNew},
    {"MenuComputerStarts", ID_GAME_COMPUTER_STARTS, {}, kStarts},
    {"MenuSave", ID_GAME_SAVE, {}, kSave}, {"F2", 0, Qt::Key_F2, kSave},
    {"MenuLoad", ID_GAME_LOAD, {}, kLoad}, {"F3", 0, Qt::Key_F3, kLoad},
    {"MenuAutoplay", ID_GAME_AUTOPLAY, {}, kAuto}, {"CtrlA", 0, Qt::CTRL | Qt::Key_A, kAuto},
    {"MenuStop", ID_GAME_STOP, {}, kStop}, {"CtrlS", 0, Qt::CTRL | Qt::Key_S, kStop},
    {"MenuHint", ID_GAME_HINT, {}, kHint}, {"CtrlH", 0, Qt::CTRL | Qt::Key_H, kHint},
    {"MenuUndo", ID_EDIT_UNDO, {}, kUndo}, {"CtrlZ", 0, Qt::CTRL | Qt::Key_Z, kUndo},
    {"AltBackspace", 0, Qt::ALT | Qt::Key_Backspace, kUndo},
    {"MenuQuit", ID_APP_EXIT, {}, kQuit}, {"CtrlQ", 0, Qt::CTRL | Qt::Key_Q, kQuit},
    {"MenuAbout", ID_APP_ABOUT, {}, kAbout}, {"F1", 0, Qt::Key_F1, kAbout},
    {"CloseBox", -1, {}, kQuit}, {"CtrlO", 0, Qt::CTRL | Qt::Key_O, kOpen},
    {"CtrlC", 0, Qt::CTRL | Qt::Key_C, kNone}, {"CtrlIns", 0, Qt::CTRL | Qt::Key_Insert, kNone},
    {"CtrlX", 0, Qt::CTRL | Qt::Key_X, kNone}, {"ShiftDel", 0, Qt::SHIFT | Qt::Key_Delete, kNone},
    {"CtrlV", 0, Qt::CTRL | Qt::Key_V, kNone}, {"ShiftIns", 0, Qt::SHIFT | Qt::Key_Insert, kNone},
    {"F6", 0, Qt::Key_F6, kNone}, {"ShiftF6", 0, Qt::SHIFT | Qt::Key_F6, kNone}};
// clang-format on

class CommandTest : public ShellTest, public ::testing::WithParamInterface<Command> {};

// From a game after one turn, with a selection and another position in game.sav; no box may
// open but the About box and the file chooser, in which game.sav is chosen.
TEST_P(CommandTest, ReachesItsHandler) {
    const Command& command = GetParam();
    Start();
    Board saved = StartingBoard();
    saved[SquareIndex(0, 6)] = 0;
    std::ofstream("game.sav").write(reinterpret_cast<const char*>(saved.data()), 64);
    PlayOneTurn();
    ASSERT_EQ(TheGameState().UndoCount, 1);
    ClickSquare(3, 6);
    if (command.effect == kStop || command.effect == kQuit) MenuItem(ID_GAME_AUTOPLAY).trigger();
    const Board board = TheBoard();
    const GameState state = TheGameState();
    const QString title = Window().windowTitle();

    bool chooserReadOnly = false;
    ModalWatcher watcher([this, &chooserReadOnly](QWidget* modal) {
        // The file chooser only chooses: no rename, delete or new folder from its menu or keys.
        if (auto* chooser = qobject_cast<QFileDialog*>(modal)) {
            chooser->selectFile(scratch_.filePath("game.sav"));
            chooserReadOnly = chooser->testOption(QFileDialog::ReadOnly);
        }
        static_cast<QDialog*>(modal)->accept();
    });
    if (command.menuItem > 0) MenuItem(command.menuItem).trigger();
    if (command.menuItem < 0) Window().close();
    if (command.menuItem == 0)
        QTest::keyClick(&Window(), command.key.key(), command.key.keyboardModifiers());
    QTest::qWait(20);
    const QStringList boxes{command.effect == kAbout ? "About Kelvane..." : "Open"};
    EXPECT_EQ(watcher.titles,
              command.effect == kAbout || command.effect == kOpen ? boxes : QStringList());
    EXPECT_EQ(chooserReadOnly, command.effect == kOpen);
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
    const GameState& now = TheGameState();
    switch (command.effect) {
        case kNew:
        case kUndo:
            EXPECT_EQ(TheBoard(), StartingBoard());
            EXPECT_EQ(now.UndoCount, 0);
            break;
        case kStarts:  // a new game with the computer's first move
            EXPECT_EQ(TheBoard()[SquareIndex(4, 6)], kWhitePawn);
            EXPECT_EQ(TheBoard()[SquareIndex(6, 2)], kBlackPawn);
            break;
        case kSave: {
            std::ifstream file("game.sav", std::ios::binary);
            EXPECT_EQ(std::string(std::istreambuf_iterator<char>(file), {}),
                      std::string(board.begin(), board.end()));
            break;
        }
        case kLoad:
            EXPECT_EQ(TheBoard(), saved);
            break;
        case kAuto:
            QTRY_VERIFY_WITH_TIMEOUT(TheBoard() != board, 3000);
            MenuItem(ID_GAME_STOP).trigger();
            [[fallthrough]];
        case kStop:
            EXPECT_FALSE(View().IsTimerRunning(kAutoplayTimerId));
            break;
        case kHint:
            ASSERT_GE(now.HintFrom.column, 0);
            EXPECT_EQ(SideOf(TheBoard()[SquareIndex(now.HintFrom.column, now.HintFrom.row)]), 2);
            break;
        case kQuit:
            EXPECT_FALSE(Window().isVisible());
            EXPECT_FALSE(View().IsTimerRunning(kAutoplayTimerId)) << "autoplay ended with it";
            break;
        default:  // the About box, the file chooser (which only names the window) and no handler
            EXPECT_EQ(TheBoard(), board);
            EXPECT_EQ(now.SelectedSquare, state.SelectedSquare);
            EXPECT_FALSE(View().IsTimerRunning(kAutoplayTimerId));
            EXPECT_EQ(Window().windowTitle(), command.effect == kOpen ? "game.sav -  " : title);
            EXPECT_TRUE(Window().isVisible());
    }
}

INSTANTIATE_TEST_SUITE_P(Shell, CommandTest, ::testing::ValuesIn(kCommands),
                         [](const auto& param) { return std::string(param.param.name); });

}  // namespace
}  // namespace kelvane::testing
