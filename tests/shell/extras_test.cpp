// SPDX-License-Identifier: GPL-3.0-or-later
// The window with extras (kelvane --extras) on the offscreen platform: its menus and size, the
// status line, the Expert thinking on the worker thread while the window goes on, and every
// command that stops it, keyboard play with what a screen reader hears, playing Black, the
// final position kept, and Save Record. The Expert is stood in for by a thinker that answers
// when the test lets it.
#include <sys/stat.h>

#include <QAccessible>
#include <QDir>
#include <QFileDialog>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "app/extras_view.h"
#include "engine/search.h"
#include "engine/search_depth.h"
#include "framework/command_ids.h"
#include "res/command_ids.h"
#include "res/program_resources.h"
#include "rules/move_generation.h"
#include "rules/notation.h"
#include "tests/shell/shell_fixture.h"
#include "tests/support/gate_thinker.h"

namespace kelvane::testing {
namespace {

using namespace framework;
using namespace res;

constexpr const char* kStartFen = "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR";
constexpr const char* kAfterE4 = "rnbqkbnr/pppppppp/8/8/4P3/8/PPPP1PPP/RNBQKBNR";
constexpr COLORREF kOrange = RGB(255, 128, 0);

MoveWord FirstLegalMove(const SearchRequest& request) {
    MoveList list;
    return GenerateMoves(request.board, list, request.side) >= 0 ? list[0] : NoMove;
}

int ThreadsOfThisProcess() {
    int threads = 0;
    for ([[maybe_unused]] const auto& task : std::filesystem::directory_iterator("/proc/self/task"))
        ++threads;
    return threads;
}

class ExtrasTest : public ShellTest {
  protected:
    void SetUp() override {
        ShellTest::SetUp();
        AfxSetResources(&ExtrasProgramResources());
    }
    void TearDown() override {
        ShellTest::TearDown();
        AfxSetResources(&ProgramResources());
    }
    void StartExtras() {
        ExtrasOptions options;
        options.makeThinker = [this] {
            auto thinker = std::make_unique<GateThinker>(FirstLegalMove);
            gate_ = thinker.get();
            return thinker;
        };
        platform_ = std::make_unique<qt::QtShellPlatform>();
        app_ = std::make_unique<CChessApp>(*platform_, std::vector<std::string>{}, options);
        ASSERT_TRUE(app_->InitInstance());
        Window().activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&Window()));
    }
    CExtrasView& Extras() const {
        return *static_cast<CExtrasView*>(app_->GetMainWnd()->GetActiveView());
    }
    std::string Status() const { return View().StatusLine()->text().toStdString(); }
    std::string Fen() const { return BoardToFen(TheBoard()); }
    int Edge() const { return GetSquareSize() * 2 / 5; }
    // Where a board square shows, right of the ranks, turned when Black is at the bottom.
    QPoint ScreenCorner(const char* name) const {
        Square square = *SquareFromText(name);
        if (Extras().IsTurned()) square = {7 - square.column, 7 - square.row};
        return {Edge() + square.column * GetSquareSize(), square.row * GetSquareSize()};
    }
    void ClickAt(const char* name) const {
        const int half = GetSquareSize() / 2;
        QTest::mouseClick(Window().windowHandle(), Qt::LeftButton, {},
                          View().mapTo(&Window(), ScreenCorner(name) + QPoint(half, half)));
    }
    // The colour of the pixel just inside a square's corner, frames included.
    COLORREF FrameAt(const char* name, int inset = 1) const {
        View().repaint();
        const QPoint corner = ScreenCorner(name);
        return View().Buffer().GetPixel(corner.x() + inset, corner.y() + inset);
    }
    void LoadPosition(const char* fen) const {
        const Board board = *BoardFromFen(fen);
        std::ofstream("game.sav", std::ios::binary)
            .write(reinterpret_cast<const char*>(board.data()), 64);
        MenuItem(ID_GAME_LOAD).trigger();
        ASSERT_EQ(Fen(), BoardToFen(board));
    }
    void Key(Qt::Key key, Qt::KeyboardModifiers modifiers = {}) const {
        QTest::keyClick(&View(), key, modifiers);
    }
    bool StatusBecomes(const std::string& start) const {
        return QTest::qWaitFor([&] { return Status().rfind(start, 0) == 0; }, 5000);
    }
    std::string AccessibleName() const {
        return QAccessible::queryAccessibleInterface(&View())
            ->text(QAccessible::Name)
            .toStdString();
    }

    GateThinker* gate_ = nullptr;
};

QString MenuText(QMenu* menu) {
    QStringList items;
    for (QAction* item : menu->actions())
        items << (item->isSeparator() ? "-" : item->text() + (item->isChecked() ? "*" : ""));
    return items.join("|");
}

TEST_F(ExtrasTest, HasItsMenuItemsAndGrowsByTheEdgesAndTheStatusLine) {
    StartExtras();
    const QList<QAction*> menus = Window().menuBar()->actions();
    EXPECT_EQ(MenuText(menus[0]->menu()),
              "&New\tCtrl+N|New - &Computer starts|New - You play &Black|&Save\tF2|&Load\tF3|"
              "Save &Record...|&Autoplay\tCtrl+A|S&top\tCtrl+S|&Hint\tCtrl+H|-|&Quit\tCtrl+Q");
    EXPECT_EQ(MenuText(menus[2]->menu()), "&Easy*|&Medium|&Hard|-|E&xpert");
    QLabel* status = View().StatusLine();
    ASSERT_NE(status, nullptr);
    EXPECT_EQ(Status(), "Move 1: White to move, your turn.");
    EXPECT_GE(status->height(), 2 * status->fontMetrics().lineSpacing());
    for (const auto& [size, item] : {std::pair{35, ID_OPTIONS_SMALL_BOARD},
                                     {80, ID_OPTIONS_LARGE_BOARD},
                                     {40, ID_OPTIONS_MEDIUM_BOARD}}) {
        MenuItem(item).trigger();
        const int board = 8 * size + size * 2 / 5;  // the board and one strip of coordinates
        EXPECT_EQ(View().width(), board) << size;
        EXPECT_EQ(View().height(), board + status->height()) << size;
        EXPECT_EQ(status->geometry(), QRect(0, board, board, status->height())) << size;
    }
}

// The classic window has no worker; the window with extras starts one only for the Expert.
TEST_F(ExtrasTest, NoThreadStartsWithoutTheExpert) {
    AfxSetResources(&ProgramResources());
    Start();
    int threads = ThreadsOfThisProcess();
    PlayOneTurn();
    MenuItem(ID_GAME_AUTOPLAY).trigger();
    QTest::qWait(450);
    MenuItem(ID_GAME_STOP).trigger();
    MenuItem(ID_GAME_HINT).trigger();
    EXPECT_EQ(ThreadsOfThisProcess(), threads);
    EXPECT_EQ(View().StatusLine(), nullptr);
    app_.reset();

    AfxSetResources(&ExtrasProgramResources());
    StartExtras();
    threads = ThreadsOfThisProcess();
    ClickAt("e2"), ClickAt("e4");
    MenuItem(ID_FILE_NEW).trigger();
    MenuItem(ID_LEVEL_EXPERT).trigger();
    EXPECT_EQ(ThreadsOfThisProcess(), threads);
    EXPECT_FALSE(Extras().HasWorkerThread());
    ClickAt("e2"), ClickAt("e4");
    EXPECT_TRUE(Extras().HasWorkerThread());
    EXPECT_EQ(ThreadsOfThisProcess(), threads + 1);
}

TEST_F(ExtrasTest, APieceThatMayNotMoveForACaptureElsewhereGetsTheCapturesAndTheirPiecesFramed) {
    StartExtras();
    LoadPosition("4k3/8/8/3p4/4P3/2N5/8/4K3");
    ClickAt("e1");
    EXPECT_EQ(Status(), "You must capture: Nxd5, exd5.");
    EXPECT_EQ(FrameAt("e1"), RGB(255, 0, 0));
    EXPECT_EQ(FrameAt("c3"), kOrange);
    EXPECT_EQ(FrameAt("e4"), kOrange);
    EXPECT_NE(FrameAt("d5"), kOrange);
    ClickAt("e1");  // dropped
    ClickAt("e4");
    ClickAt("e5");  // a move of the pawn, were there no capture
    EXPECT_EQ(Status(), "You must capture: Nxd5, exd5.");
    ClickAt("c3");
    ClickAt("c4");
    EXPECT_EQ(Status(), "The knight on c3 cannot go to c4.");
    EXPECT_NE(FrameAt("c3"), kOrange);
    ClickAt("h5");  // nothing selected, nothing to explain
    EXPECT_EQ(Status(), "Move 1: White to move, your turn.");
}

TEST_F(ExtrasTest, TheExpertThinksOnTheWorkerWhileTheWindowGoesOn) {
    StartExtras();
    MenuItem(ID_LEVEL_EXPERT).trigger();
    EXPECT_EQ(MenuText(Window().menuBar()->actions()[2]->menu()), "&Easy|&Medium|&Hard|-|E&xpert*");
    ClickAt("e2"), ClickAt("e4");
    gate_->WaitForThinks(1);
    EXPECT_EQ(Status(), "Move 1: Black to move, thinking... Last move: 1. e4");
    EXPECT_EQ(Fen(), kAfterE4);
    // The wait cursor over the board only; nothing else of the program waits.
    EXPECT_EQ(View().cursor().shape(), Qt::WaitCursor);
    EXPECT_EQ(View().StatusLine()->cursor().shape(), Qt::ArrowCursor);
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
    // Clicks take no move meanwhile; a setting repaints at once.
    ClickAt("d2");
    EXPECT_EQ(TheGameState().SelectedSquare, kNoSquare);
    MenuItem(ID_OPTIONS_EXTRA_SET).trigger();
    EXPECT_EQ(FrameAt("a8", 4), RGB(255, 255, 255));
    EXPECT_EQ(gate_->Stops(), 0);

    gate_->Release();
    ASSERT_TRUE(StatusBecomes("Move 2: White to move, your turn. Last move: 1...a6"));
    EXPECT_EQ(Fen(), "rnbqkbnr/1ppppppp/p7/8/4P3/8/PPPP1PPP/RNBQKBNR");
    EXPECT_EQ(View().cursor().shape(), Qt::ArrowCursor);
}

struct Superseding {
    const char* name;
    int menuItem;  // 0: by key
    QKeyCombination key;
    const char* fen;     // what the board shows afterwards; "": Black's reply at Easy
    const char* status;  // how the status line starts
    int thinks;          // searches started in all
};

class SupersedingTest : public ExtrasTest, public ::testing::WithParamInterface<Superseding> {};

// Each command stops the search in hand, and an answer that still comes for it is dropped.
TEST_P(SupersedingTest, StopsTheSearchAndDropsItsAnswer) {
    const Superseding& row = GetParam();
    StartExtras();
    const Board saved = *BoardFromFen("4k3/8/8/8/8/8/8/4K3");
    std::ofstream("game.sav", std::ios::binary)
        .write(reinterpret_cast<const char*>(saved.data()), 64);
    MenuItem(ID_LEVEL_EXPERT).trigger();
    ClickAt("e2"), ClickAt("e4");
    gate_->WaitForThinks(1);
    if (row.menuItem != 0) {
        MenuItem(row.menuItem).trigger();
    } else {
        Key(row.key.key(), row.key.keyboardModifiers());
    }
    EXPECT_EQ(gate_->Stops(), 1);
    EXPECT_EQ(View().cursor().shape(), row.thinks > 1 ? Qt::WaitCursor : Qt::ArrowCursor);
    // The first request's answer, had it come: Black's a7-a6.
    View().PostMessage(kSearchAnswerMessage, 1, PackMove(0, 1, 0, 2));
    QTest::qWait(20);
    Board replied = *BoardFromFen(kAfterE4);
    ApplyMove(replied, ChooseMove(replied, 1, kDepthEasy));
    EXPECT_EQ(Fen(), *row.fen != 0 ? row.fen : BoardToFen(replied));
    EXPECT_EQ(Status().substr(0, std::string(row.status).size()), row.status) << Status();
    EXPECT_EQ(gate_->Thinks(), row.thinks);
}

// clang-format off
const Superseding kSuperseding[] = {
    {"New", 0, Qt::CTRL | Qt::Key_N, kStartFen, "Move 1: White to move, your turn.", 1},
    {"ComputerStarts", ID_GAME_COMPUTER_STARTS, {}, "rnbqkbnr/pppppp1p/6p1/8/8/8/PPPPPPPP/RNBQKBNR",
     "Move 2: White to move, your turn.", 1},
    {"YouPlayBlack", ID_GAME_YOU_PLAY_BLACK, {}, kStartFen, "Move 1: White to move, thinking...", 2},
    {"Undo", 0, Qt::CTRL | Qt::Key_Z, kStartFen, "Move 1: White to move, your turn.", 1},
    {"Load", 0, QKeyCombination(Qt::Key_F3), "4k3/8/8/8/8/8/8/4K3",
     "Move 1: White to move, your turn.", 1},
    {"Stop", 0, Qt::CTRL | Qt::Key_S, kAfterE4,
     "Move 1: Black to move, stopped: choose a level to go on.", 1},
    {"Rules", ID_RULES_ALL_MUST_DIE, {}, kAfterE4, "Move 1: Black to move, thinking...", 2},
    {"Level", ID_LEVEL_EASY, {}, "", "Move 2: White to move, your turn.", 1},
};
// clang-format on

INSTANTIATE_TEST_SUITE_P(Commands, SupersedingTest, ::testing::ValuesIn(kSuperseding),
                         [](const auto& param) { return std::string(param.param.name); });

TEST_F(ExtrasTest, QuitStopsTheSearchAndEndsItsThread) {
    StartExtras();
    MenuItem(ID_LEVEL_EXPERT).trigger();
    ClickAt("e2"), ClickAt("e4");
    gate_->WaitForThinks(1);
    const int threads = ThreadsOfThisProcess();
    MenuItem(ID_APP_EXIT).trigger();
    app_.reset();  // the end of the event loop: the view goes, and its worker with it
    EXPECT_EQ(ThreadsOfThisProcess(), threads - 1);
}

// The arrows move a cursor over the board as shown, Enter acts as a click, and the square under
// the cursor is what a screen reader hears.
TEST_F(ExtrasTest, TheKeyboardPlaysAndTheCursorsSquareIsReadOut) {
    StartExtras();
    EXPECT_TRUE(View().hasFocus());
    EXPECT_NE(FrameAt("e2", GetSquareSize() / 16), RGB(255, 0, 255));
    Key(Qt::Key_Up);  // shows the cursor where it is
    EXPECT_EQ(AccessibleName(), "e2, white pawn");
    EXPECT_EQ(FrameAt("e2", GetSquareSize() / 16), RGB(255, 0, 255));
    Key(Qt::Key_Return);
    EXPECT_EQ(AccessibleName(), "e2, white pawn, selected");
    Key(Qt::Key_Up), Key(Qt::Key_Up);
    EXPECT_EQ(AccessibleName(), "e4, empty, a possible move");
    for (int i = 0; i < 9; ++i) Key(Qt::Key_Left);  // stops at the edge
    EXPECT_EQ(AccessibleName(), "a4, empty");
    Key(Qt::Key_Right), Key(Qt::Key_Right), Key(Qt::Key_Right), Key(Qt::Key_Right);
    Key(Qt::Key_Space);
    EXPECT_TRUE(StatusBecomes("Move 2: White to move, your turn. Last move: 1..."));
    EXPECT_EQ(AccessibleName(), "e4, white pawn");
}

TEST_F(ExtrasTest, YouPlayBlackTurnsTheBoardAndTheComputerOpensWithWhite) {
    StartExtras();
    MenuItem(ID_GAME_YOU_PLAY_BLACK).trigger();
    EXPECT_TRUE(Extras().IsTurned());
    int changed = 0;
    for (int i = 0; i < 64; ++i) changed += TheBoard()[i] != StartingBoard()[i];
    EXPECT_EQ(changed, 2);  // White's first move, made at once at Easy
    EXPECT_TRUE(StatusBecomes("Move 1: Black to move, your turn. Last move: 1. "));
    // The top-left square of the board as shown is h1; d7 stands where e2 stands for White.
    QTest::mouseClick(Window().windowHandle(), Qt::LeftButton, {},
                      View().mapTo(&Window(), QPoint(Edge() + 20, 20)));
    EXPECT_EQ(TheGameState().SelectedSquare, kNoSquare);  // White's rook is not Black's
    QTest::mouseClick(Window().windowHandle(), Qt::LeftButton, {},
                      View().mapTo(&Window(), QPoint(Edge() + 4 * 40 + 20, 6 * 40 + 20)));
    EXPECT_EQ(TheGameState().SelectedSquare, 301);
    ClickAt("d6");
    EXPECT_TRUE(StatusBecomes("Move 2: Black to move, your turn."));
    EXPECT_EQ(TheBoard()[SquareIndex(3, 2)], kBlackPawn);
    MenuItem(ID_FILE_NEW).trigger();
    EXPECT_FALSE(Extras().IsTurned());
    EXPECT_EQ(Fen(), kStartFen);
}

TEST_F(ExtrasTest, TheFinalPositionStaysWithItsResultUntilUndoOrNew) {
    StartExtras();
    ModalWatcher boxes;
    LoadPosition("k7/8/8/8/8/8/8/R6K");
    ClickAt("a1"), ClickAt("a8");  // White takes Black's king: Black has won
    QTest::qWait(20);
    EXPECT_TRUE(boxes.titles.isEmpty());
    EXPECT_EQ(Status(), "I won: you took my king. Last move: 1. Rxa8");
    EXPECT_EQ(Fen(), "R7/8/8/8/8/8/8/7K");
    EXPECT_EQ(FrameAt("a8"), RGB(0, 0, 255));
    ClickAt("h1");
    EXPECT_EQ(TheGameState().SelectedSquare, kNoSquare);
    Key(Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(Fen(), "k7/8/8/8/8/8/8/R6K");
    EXPECT_EQ(Status(), "Move 1: White to move, your turn.");
}

TEST_F(ExtrasTest, SaveRecordAppendsTheGameAndTheChooserTakesNoFifo) {
    StartExtras();
    ClickAt("e2"), ClickAt("e4");
    const QString fifo = scratch_.filePath("pipe");
    ASSERT_EQ(::mkfifo(fifo.toLocal8Bit().constData(), 0600), 0);
    const QString record = scratch_.filePath("games.pgn");
    QString refusal;
    int chosen = 0;
    ModalWatcher watcher([&](QWidget* modal) {
        if (auto* box = qobject_cast<QMessageBox*>(modal)) {
            refusal = box->text();
            box->accept();
            return;
        }
        auto* chooser = qobject_cast<QFileDialog*>(modal);
        if (chooser == nullptr) return;
        chooser->selectFile(chosen++ == 0 ? fifo : record);
        QMetaObject::invokeMethod(chooser, "accept", Qt::QueuedConnection);
    });
    for (int i = 0; i < 2; ++i) {
        MenuItem(ID_GAME_SAVE_RECORD).trigger();
        watcher.last = nullptr;
    }
    EXPECT_EQ(refusal.toStdString(),
              fifo.toStdString() + " is a FIFO, not a regular file. Choose a file or a new name.");
    EXPECT_EQ(Status(), "The game so far was added to games.pgn.");
    std::ifstream file(record.toStdString());
    std::stringstream text;
    text << file.rdbuf();
    const std::string pgn = text.str();
    EXPECT_EQ(pgn.rfind("[Event \"Kelvane game\"]\n", 0), 0u);
    for (const char* line :
         {"[White \"Human\"]\n", "[Black \"Kelvane, Easy\"]\n", "[Result \"*\"]\n", "\n\n1. e4 "}) {
        EXPECT_NE(pgn.find(line), std::string::npos) << line;
    }
    EXPECT_NE(pgn.find("[Event", pgn.find("1. e4 ")), std::string::npos) << "appended twice";
}

}  // namespace
}  // namespace kelvane::testing
