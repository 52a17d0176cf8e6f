// The game played on the real widget: clicks make moves and the picture follows.
#include <QTest>

#include "game/command_ids.h"
#include "game/display_settings.h"
#include "game/game_state.h"
#include "tests/shell/shell_fixture.h"

namespace kelvane::testing {
namespace {

class GameWindowTest : public ShellTest {
  protected:
    QImage Shown() const { return View().grab().toImage(); }
};

TEST_F(GameWindowTest, TwoClicksMakeAMoveAndTheReplyIsFramedInBlue) {
    Start();
    ClickSquare(4, 6);
    EXPECT_EQ(TheGameState().SelectedSquare, 406);
    QApplication::processEvents();
    EXPECT_EQ(Shown().pixel(160, 240), qRgb(255, 0, 0)) << "red frame on the selected pawn";
    EXPECT_EQ(Shown().pixel(160, 160), qRgb(255, 255, 0)) << "yellow frame on a target";

    ClickSquare(4, 4);
    EXPECT_EQ(TheBoard()[SquareIndex(4, 4)], kWhitePawn);
    EXPECT_EQ(TheBoard()[SquareIndex(4, 6)], 0);
    const SquareRef reply = TheGameState().LastMoveSquare;
    ASSERT_GE(reply, 0);
    const int column = SquareRefColumn(reply);
    const int row = SquareRefRow(reply);
    EXPECT_EQ(SideOf(TheBoard()[SquareIndex(column, row)]), 1) << "the computer's piece";
    QApplication::processEvents();
    const QImage shown = Shown();
    EXPECT_EQ(shown.pixel(column * 40, row * 40), qRgb(0, 0, 255));
    EXPECT_EQ(shown.pixel(column * 40 + 39, row * 40 + 39), qRgb(0, 0, 255));
    EXPECT_EQ(QApplication::overrideCursor(), nullptr) << "the wait cursor went away";
}

TEST_F(GameWindowTest, ClicksMapToSquaresAtEverySize) {
    for (const int size : {35, 80}) {
        Start();
        MenuItem(size == 35 ? ID_OPTIONS_SMALL_BOARD : ID_OPTIONS_LARGE_BOARD).trigger();
        ClickAt(4 * size, 7 * size - 1);  // the last pixel row of square (4, 6)
        EXPECT_EQ(TheGameState().SelectedSquare, 406) << size;
        ClickAt(4 * size, 7 * size - 1);
        EXPECT_EQ(TheGameState().SelectedSquare, -1) << size;
        app_.reset();
        platform_.reset();
    }
}

TEST_F(GameWindowTest, RightClickChangesNothing) {
    Start();
    ClickSquare(4, 6);
    ClickAt(4 * 40 + 20, 4 * 40 + 20, Qt::RightButton);
    EXPECT_EQ(TheGameState().SelectedSquare, 406);
    EXPECT_EQ(TheBoard()[SquareIndex(4, 6)], kWhitePawn);
}

TEST_F(GameWindowTest, TheBoardIsShownPixelForPixel) {
    Start();
    const QImage shown = Shown();
    const platform::CBitmap& buffer = View().Buffer();
    ASSERT_EQ(shown.width(), buffer.Width());
    for (int y = 0; y < shown.height(); y += 7) {
        for (int x = 0; x < shown.width(); x += 5) {
            const platform::COLORREF c = buffer.GetPixel(x, y);
            ASSERT_EQ(shown.pixel(x, y),
                      qRgb(platform::GetRValue(c), platform::GetGValue(c), platform::GetBValue(c)))
                << x << "," << y;
        }
    }
}

TEST_F(GameWindowTest, AutoplayRunsOnItsTimerAndKeepsTheWindowResponsive) {
    Start();
    MenuItem(ID_GAME_AUTOPLAY).trigger();
    Board start{};
    SetUpStartingPosition(start);
    const auto changedSquares = [&] {
        int changed = 0;
        for (std::size_t i = 0; i < start.size(); ++i) changed += TheBoard()[i] != start[i];
        return changed;
    };
    // The opening move, then one of the player's side: four squares have changed.
    QTRY_VERIFY_WITH_TIMEOUT(changedSquares() >= 4, 5000);
    EXPECT_EQ(TheBoard()[SquareIndex(6, 2)], kBlackPawn);
    MenuItem(ID_GAME_STOP).trigger();
    EXPECT_FALSE(View().IsTimerRunning(0));
}

}  // namespace
}  // namespace kelvane::testing
