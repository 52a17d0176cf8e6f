// SPDX-License-Identifier: GPL-3.0-or-later
// The program on a real X server with no window manager (CTest runs these under Xvfb), given
// keys and clicks through the server, as a player gives them: they reach the program while it
// is busy and wait there, as they do during autoplay.
#include <QThread>
#include <cstdlib>
#include <string>

#include "res/command_ids.h"
#include "rules/notation.h"
#include "tests/shell/shell_fixture.h"

namespace kelvane::testing {
namespace {

class RealDisplayTest : public ShellTest {
  protected:
    void SetUp() override {
        if (QGuiApplication::platformName() != "xcb") GTEST_SKIP() << "needs an X server";
        ShellTest::SetUp();
    }
    // Autoplay on, its first move made, and no tick waiting to be handled.
    void StartAutoplay() {
        MenuItem(res::ID_GAME_AUTOPLAY).trigger();
        ASSERT_TRUE(QTest::qWaitFor([this] { return TheBoard() != StartingBoard(); }, 5000));
        QCoreApplication::sendPostedEvents();
    }
    // The X server sends the input while the program is busy for longer than the autoplay
    // timer's interval: when it next looks, a tick is due and the input waits.
    static void SendWhileBusy(const std::string& xdotoolArguments) {
        ASSERT_EQ(std::system(("xdotool " + xdotoolArguments).c_str()), 0);
        QThread::msleep(400);
    }
};

// Input that waits when a tick falls due is handled first, in that same pass of the event
// loop: a click selects a1's rook (which no move can have freed yet) on the board as it
// stands, and autoplay goes on after it; after a Stop, no move is made.
TEST_F(RealDisplayTest, InputThatWaitsGoesBeforeTheAutoplayTick) {
    Start();
    StartAutoplay();
    std::string board = BoardToFen(TheBoard());
    const QPoint rook = View().mapToGlobal(QPoint(GetSquareSize() / 2, GetSquareSize() * 15 / 2));
    SendWhileBusy("mousemove " + std::to_string(rook.x()) + " " + std::to_string(rook.y()) +
                  " click 1");
    QCoreApplication::processEvents();
    EXPECT_EQ(TheGameState().SelectedSquare, MakeSquareRef({0, 7}));
    EXPECT_EQ(BoardToFen(TheBoard()), board);
    QCoreApplication::sendPostedEvents();
    EXPECT_NE(BoardToFen(TheBoard()), board) << "autoplay goes on";

    board = BoardToFen(TheBoard());
    SendWhileBusy("key ctrl+s");
    QTest::qWait(800);
    EXPECT_FALSE(View().IsTimerRunning(kAutoplayTimerId));
    EXPECT_EQ(BoardToFen(TheBoard()), board);
}

// With no window manager there is no frame: the box is centred on the window itself.
TEST_F(RealDisplayTest, TheAboutBoxIsCentredOverTheMainWindow) {
    Start();
    QRect box;
    ModalWatcher watcher([&box](QWidget* modal) {
        if (QTest::qWaitForWindowExposed(modal)) box = modal->frameGeometry();
        modal->close();
    });
    QTest::keyClick(&Window(), Qt::Key_F1);
    ASSERT_EQ(watcher.titles, QStringList{"About Kelvane..."});
    const QRect main = Window().frameGeometry();
    // Twice the centres, which differ by half a pixel where the widths differ by an odd number.
    EXPECT_LE(std::abs(box.left() + box.right() - main.left() - main.right()), 1) << box.x();
    EXPECT_LE(std::abs(box.top() + box.bottom() - main.top() - main.bottom()), 1) << box.y();
}

}  // namespace
}  // namespace kelvane::testing
