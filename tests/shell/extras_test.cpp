// SPDX-License-Identifier: GPL-3.0-or-later
// The window with extras (kelvane --extras) on the offscreen platform: its menus and size, the
// status line, no thread without the Expert, the Expert thinking on the worker thread while
// the window goes on, every command that stops it, and Save Record's chooser. The Expert is
// stood in for by a thinker that answers when the test lets it. The end-to-end session covers
// the rest with the real Expert.
#include <sys/stat.h>

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
    void Key(Qt::Key key, Qt::KeyboardModifiers modifiers = {}) const {
        QTest::keyClick(&View(), key, modifiers);
    }
    bool StatusBecomes(const std::string& start) const {
        return QTest::qWaitFor([&] { return Status().rfind(start, 0) == 0; }, 5000);
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
    // Quit while it thinks: the search stops and the thread ends with the view.
    MenuItem(ID_APP_EXIT).trigger();
    app_.reset();
    EXPECT_EQ(ThreadsOfThisProcess(), threads);
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
    EXPECT_GE(gate_->Stops(), 1);  // stopped again until it ended
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
