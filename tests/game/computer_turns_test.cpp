#include "game/messages.h"
#include "tests/game/game_view_fixture.h"

namespace kelvane::testing {
namespace {

using ComputerTurnsTest = GameViewTest;

const Log kQuietTick = {"Sleep(200)", "BeginWaitCursor", "GetDC",        "OnDraw",
                        "ReleaseDC",  "UpdateWindow",    "EndWaitCursor"};

TEST_F(ComputerTurnsTest, ComputerStartsPlaysTheFixedOpeningWithoutAMark) {
    View().OnGameAutoplay();
    State().HintFrom = {1, 1};
    backend_.ClearLog();
    View().OnGameComputerStarts();
    EXPECT_EQ(GetLog(), (Log{"KillTimer(0)", "InvalidateRect(false)", "BeginWaitCursor",
                             "InvalidateRect(false)", "EndWaitCursor"}));
    Board expected = StartingBoard();
    expected[SquareIndex(6, 1)] = 0;
    expected[SquareIndex(6, 2)] = kBlackPawn;
    EXPECT_EQ(GetBoard(), expected);
    EXPECT_EQ(State().LastMoveSquare, kNoSquare);
    EXPECT_EQ(State().OpeningPending, 0);
    EXPECT_EQ(State().UndoCount, 0);
    EXPECT_EQ(State().HintFrom.column, -1);
    EXPECT_EQ(GetSearchCallCount(), 0u);
    EXPECT_FALSE(backend_.IsTimerRunning(0));
}

TEST_F(ComputerTurnsTest, AutoplayAndStopOnlyTimeAndClearTheHintWithoutRepainting) {
    State().HintFrom = {1, 1};
    View().OnGameAutoplay();
    EXPECT_EQ(State().HintFrom.column, -1);
    EXPECT_TRUE(backend_.IsTimerRunning(0));
    State().HintFrom = {1, 1};
    View().OnGameStop();
    EXPECT_EQ(State().HintFrom.column, -1);
    EXPECT_FALSE(backend_.IsTimerRunning(0));
    // Stop with nothing running is just as quiet.
    View().OnGameStop();
    EXPECT_EQ(GetLog(), (Log{"SetTimer(0,100)", "KillTimer(0)", "KillTimer(0)"}));
    EXPECT_EQ(GetBoard(), StartingBoard());
}

TEST_F(ComputerTurnsTest, AutoplayFromANewGameOpensThenAlternates) {
    View().OnGameAutoplay();
    backend_.ClearLog();
    View().OnTimer(0);
    EXPECT_EQ(GetLog(), kQuietTick);
    EXPECT_EQ(Code(6, 2), kBlackPawn);
    EXPECT_EQ(Code(6, 1), 0);
    EXPECT_EQ(State().LastMoveSquare, 602);
    EXPECT_EQ(State().AutoplayTurn, 0);
    EXPECT_EQ(State().OpeningPending, 0);
    EXPECT_EQ(GetSearchCallCount(), 0u);
    ASSERT_EQ(View().frames.size(), 1u);
    EXPECT_EQ(View().frames[0].lastMoveSquare, 602);

    // Then side 2, by the search, whatever id the tick carries.
    Board expected = GetBoard();
    const std::int32_t move = Search(expected, 1, 2, kDepthEasy, kRootBound, 1);
    ApplyMove(expected, move);
    View().OnTimer(7);
    EXPECT_EQ(GetBoard(), expected);
    EXPECT_EQ(State().AutoplayTurn, 1);
    const UnpackedMove unpacked = UnpackMove(move);
    EXPECT_EQ(State().LastMoveSquare, MakeSquareRef(unpacked.toColumn, unpacked.toRow));
    EXPECT_EQ(SideOf(Code(unpacked.toColumn, unpacked.toRow)), 2);

    // Ticks record nothing to undo.
    EXPECT_EQ(State().UndoCount, 0);
    EXPECT_TRUE(backend_.IsTimerRunning(0));
}

TEST_F(ComputerTurnsTest, AfterTheHumansMoveSide1MovesTwiceInARow) {
    Click(4, 6);
    Click(4, 4);
    ASSERT_EQ(State().AutoplayTurn, 1);
    Board expected = GetBoard();
    const std::int32_t move = Search(expected, 1, 1, kDepthEasy, kRootBound, 1);
    ApplyMove(expected, move);
    View().OnGameAutoplay();
    View().OnTimer(0);
    EXPECT_EQ(GetBoard(), expected);
    const UnpackedMove unpacked = UnpackMove(move);
    EXPECT_EQ(SideOf(Code(unpacked.toColumn, unpacked.toRow)), 1);
}

TEST_F(ComputerTurnsTest, AfterComputerStartsTheFirstTickIsSearchedForSide1) {
    View().OnGameComputerStarts();
    Board expected = GetBoard();
    ApplyMove(expected, Search(expected, 1, 1, kDepthEasy, kRootBound, 1));
    ResetSearchCallCount();
    View().OnTimer(0);
    EXPECT_GT(GetSearchCallCount(), 0u);
    EXPECT_EQ(GetBoard(), expected);
}

struct PromotionCase {
    int autoplayTurn;
    Board board;
    PlacedPiece queen;
};

class AutoplayPromotionTest : public GameViewTest,
                              public ::testing::WithParamInterface<PromotionCase> {};

TEST_P(AutoplayPromotionTest, APawnOfEitherSideBecomesAQueenOnTheFarRow) {
    SetPosition(GetParam().board, kAllMustDie);
    State().AutoplayTurn = GetParam().autoplayTurn;
    View().OnTimer(0);
    EXPECT_EQ(Code(GetParam().queen.column, GetParam().queen.row), GetParam().queen.code);
    EXPECT_EQ(State().LastMoveSquare, MakeSquareRef(GetParam().queen.column, GetParam().queen.row));
    EXPECT_TRUE(backend_.MessageBoxes().empty());
}

INSTANTIATE_TEST_SUITE_P(
    Sides, AutoplayPromotionTest,
    ::testing::Values(
        PromotionCase{0, MakeBoard({{2, 1, kWhitePawn}, {7, 3, kBlackPawn}}), {2, 0, kWhiteQueen}},
        PromotionCase{
            1, MakeBoard({{5, 6, kBlackPawn}, {0, 6, kWhitePawn}}), {5, 7, kBlackQueen}}));

struct NoMoveCase {
    int autoplayTurn;
    const char* text;
    GameResult result;
};

class AutoplayNoMoveTest : public GameViewTest, public ::testing::WithParamInterface<NoMoveCase> {};

TEST_P(AutoplayNoMoveTest, TheSideThatCannotMoveWinsAndTheTimerStopsBeforeTheBox) {
    // Two pawns blocking each other: neither side can move.
    SetPosition(MakeBoard({{0, 5, kBlackPawn}, {0, 6, kWhitePawn}}), kAllMustDie);
    View().OnGameAutoplay();
    State().AutoplayTurn = GetParam().autoplayTurn;
    State().SelectedSquare = 6;
    State().HintFrom = {3, 3};
    backend_.SetMessageBoxCallback(
        [this](const platform::RecordedMessageBox&) { EXPECT_FALSE(backend_.IsTimerRunning(0)); });
    backend_.ClearLog();
    View().OnTimer(0);
    const std::string box = std::string("MessageBox('") + GetParam().text + "','')";
    EXPECT_EQ(GetLog(),
              (Log{"Sleep(200)", "BeginWaitCursor", "GetDC", "OnDraw", "ReleaseDC", "UpdateWindow",
                   "KillTimer(0)", "GetDC", "OnDraw", "ReleaseDC", "UpdateWindow", box,
                   "KillTimer(0)", "InvalidateRect(false)", "EndWaitCursor"}));
    EXPECT_EQ(GetGameResult(), GetParam().result);
    ASSERT_EQ(View().frames.size(), 2u);
    EXPECT_EQ(View().frames[1].selectedSquare, kNoSquare);
    EXPECT_EQ(View().frames[1].lastMoveSquare, kNoSquare);
    EXPECT_EQ(View().frames[1].board[SquareIndex(0, 5)], kBlackPawn);
    EXPECT_EQ(GetBoard(), StartingBoard());
    EXPECT_FALSE(backend_.IsTimerRunning(0));
    EXPECT_EQ(State().AutoplayTurn, 1);
}

INSTANTIATE_TEST_SUITE_P(Sides, AutoplayNoMoveTest,
                         ::testing::Values(NoMoveCase{1, kBlackWinsText, 1},
                                           NoMoveCase{0, kWhiteWinsText, 2}));

class AutoplayGameTest : public GameViewTest, public ::testing::WithParamInterface<int> {};

// At the Medium level the computer's play against itself comes to an end; at Easy it can
// shuffle its kings for ever.
TEST_P(AutoplayGameTest, AnAutoplayGameRunsToItsEndAndStopsThere) {
    SetRulesVariant(GetParam());
    SetSearchDepth(kDepthMedium);
    View().OnGameAutoplay();
    backend_.SetMessageBoxCallback(
        [this](const platform::RecordedMessageBox&) { EXPECT_FALSE(backend_.IsTimerRunning(0)); });
    int ticks = 0;
    std::size_t lastTickStart = 0;
    while (backend_.MessageBoxes().empty()) {
        ASSERT_TRUE(backend_.IsTimerRunning(0));
        ASSERT_LT(ticks, 1000) << "the game does not end";
        lastTickStart = GetLog().size();
        View().OnTimer(0);
        ++ticks;
    }
    const platform::RecordedMessageBox& box = backend_.MessageBoxes()[0];
    EXPECT_EQ(box.text, GetGameResult() == 1 ? kBlackWinsText : kWhiteWinsText);
    EXPECT_EQ(box.caption, "");
    const Log tail = LogSince(lastTickStart + 6);
    EXPECT_EQ(tail, (Log{"KillTimer(0)", "GetDC", "OnDraw", "ReleaseDC", "UpdateWindow",
                         "MessageBox('" + box.text + "','')", "KillTimer(0)",
                         "InvalidateRect(false)", "EndWaitCursor"}));
    EXPECT_EQ(GetBoard(), StartingBoard());
    EXPECT_EQ(State().OpeningPending, 1);
    EXPECT_EQ(State().AutoplayTurn, 1);
    EXPECT_FALSE(backend_.IsTimerRunning(0));
    EXPECT_EQ(backend_.WaitCursorDepth(), 0);
}

INSTANTIATE_TEST_SUITE_P(Rules, AutoplayGameTest, ::testing::Values(kKingMustDie, kAllMustDie));

class HintTest : public GameViewTest, public ::testing::WithParamInterface<int> {};

TEST_P(HintTest, HintSearchesSide2AtDepth4WhateverTheLevel) {
    View().OnGameComputerStarts();
    SetSearchDepth(GetParam());
    View().OnGameAutoplay();
    Click(4, 6);
    const Board before = GetBoard();
    backend_.ClearLog();

    Board copy = before;
    ResetSearchCallCount();
    const std::int32_t expected = Search(copy, 1, 2, 4, kRootBound, 1);
    const std::uint64_t depth4Calls = GetSearchCallCount();
    ResetSearchCallCount();
    View().OnGameHint();

    EXPECT_EQ(GetSearchCallCount(), depth4Calls);
    const UnpackedMove move = UnpackMove(expected);
    EXPECT_EQ(State().HintFrom.column, move.fromColumn);
    EXPECT_EQ(State().HintFrom.row, move.fromRow);
    EXPECT_EQ(State().HintTo.column, move.toColumn);
    EXPECT_EQ(State().HintTo.row, move.toRow);
    EXPECT_EQ(GetLog(), (Log{"InvalidateRect(false)"}));
    // Nothing else of the game moves.
    EXPECT_EQ(GetBoard(), before);
    EXPECT_EQ(State().SelectedSquare, 406);
    EXPECT_EQ(State().UndoCount, 0);
    EXPECT_TRUE(backend_.IsTimerRunning(0));
}

INSTANTIATE_TEST_SUITE_P(Levels, HintTest, ::testing::Values(kDepthEasy, kDepthMedium, kDepthHard));

TEST_F(ComputerTurnsTest, HintShowsNothingWhenSide2CannotMove) {
    SetPosition(MakeBoard({{0, 5, kBlackPawn}, {0, 6, kWhitePawn}}), kAllMustDie);
    State().HintFrom = {2, 3};
    State().HintTo = {4, 5};
    View().OnGameHint();
    EXPECT_EQ(State().HintFrom.column, -1);
    EXPECT_EQ(GetLog(), (Log{"InvalidateRect(false)"}));
}

}  // namespace
}  // namespace kelvane::testing
