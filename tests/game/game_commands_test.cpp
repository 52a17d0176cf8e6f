#include "tests/game/game_view_fixture.h"

namespace kelvane::testing {
namespace {

// The command numbers are the menu's and accelerators' own, so they are written out here:
// 32771 Computer starts, 32772 Autoplay, 32779 Stop, 32780 Hint, 57643 Undo.
using GameCommandTest = GameViewTest;

TEST(DisplaySettingsTest, OnlyTheThreeSizesAndTwoSetsAreTaken) {
    SetSquareSize(kSmallSquare);
    // Any other size, zero above all, would break the mouse mapping.
    for (const int size : {0, -40, 41, 1000}) SetSquareSize(size);
    EXPECT_EQ(GetSquareSize(), kSmallSquare);
    SetPieceSet(kExtraSet);
    SetPieceSet(2);
    EXPECT_EQ(GetPieceSet(), kExtraSet);
}

Board OpenedBoard() {
    Board board = StartingBoard();
    std::swap(board[SquareIndex(6, 1)], board[SquareIndex(6, 2)]);
    return board;
}

TEST_F(GameCommandTest, ComputerStartsPlaysTheFixedOpeningThenAutoplayStopAndUndoAreQuiet) {
    View().OnGameAutoplay();
    State().HintFrom = {1, 1};
    backend_.ClearLog();
    EXPECT_TRUE(View().OnCommand(32771));
    EXPECT_EQ(GetLog(), (Log{"KillTimer(0)", "InvalidateRect(false)", "BeginWaitCursor",
                             "InvalidateRect(false)", "EndWaitCursor"}));
    EXPECT_EQ(GetBoard(), OpenedBoard());
    EXPECT_EQ(Progress(), std::tuple(kNoSquare, kNoSquare, 0, 0, 1, false));
    EXPECT_EQ(GetSearchCallCount(), 0u);
    SetSearchDepth(kDepthHard);
    EXPECT_EQ(TestView().GetBoard(), StartingBoard());  // a view being made also sets Easy
    EXPECT_EQ(GetSearchDepth(), kDepthEasy);
    // Autoplay, Stop, Stop with nothing running, and Undo with nothing to undo never repaint.
    backend_.ClearLog();
    for (const int id : {32772, 32779, 32779, 57643}) {
        State().HintFrom = {1, 1};
        EXPECT_TRUE(View().OnCommand(id));
        EXPECT_EQ(State().HintFrom.column, -1);
    }
    // Open, Exit, About, a level, a board size, a piece set: other targets' commands.
    for (const int id : {57601, 57665, 57664, 32776, 32783, 32786, 0})
        EXPECT_FALSE(View().OnCommand(id)) << id;
    EXPECT_EQ(GetLog(), (Log{"SetTimer(0,100)", "KillTimer(0)", "KillTimer(0)"}));
    EXPECT_EQ(GetBoard(), OpenedBoard());
}

TEST_F(GameCommandTest, AutoplayFromANewGameOpensThenAlternatesWithoutRecordingUndo) {
    View().OnGameAutoplay();
    backend_.ClearLog();
    View().OnTimer(0);
    EXPECT_EQ(GetLog(), (Log{"Sleep(200)", "BeginWaitCursor", "GetDC", "OnDraw", "ReleaseDC",
                             "UpdateWindow", "EndWaitCursor"}));
    EXPECT_EQ(GetBoard(), OpenedBoard());
    EXPECT_EQ(View().frames.at(0).marks, std::pair(kNoSquare, 602));
    EXPECT_EQ(Progress(), std::tuple(kNoSquare, 602, 0, 0, 0, false));
    EXPECT_EQ(GetSearchCallCount(), 0u);
    // Then side 2, by the search, whatever id the tick carries.
    const auto [after, mark] = SearchedMove(GetBoard(), 2, kDepthEasy);
    View().OnTimer(7);
    EXPECT_EQ(GetBoard(), after);
    EXPECT_EQ(Progress(), std::tuple(kNoSquare, mark, 0, 0, 1, false));
    EXPECT_TRUE(backend_.IsTimerRunning(0));
}

struct AutoplayEndCase {
    const char* name;
    int rules;
    int blockedTurn;  // two pawns blocking each other with this autoplay turn; -1: a new game
    int result;       // 0: whichever side wins
};

class AutoplayEndTest : public GameViewTest,
                        public ::testing::WithParamInterface<AutoplayEndCase> {};

// At the Medium level the computer's play against itself comes to an end; at Easy it can
// shuffle its kings for ever.
TEST_P(AutoplayEndTest, TheGameRunsToItsEndAndTheTimerStopsBeforeTheBox) {
    SetRulesVariant(GetParam().rules);
    SetSearchDepth(kDepthMedium);
    if (GetParam().blockedTurn >= 0) {
        SetPosition(MakeBoard({{0, 5, kBlackPawn}, {0, 6, kWhitePawn}}), GetParam().rules);
        State().AutoplayTurn = GetParam().blockedTurn;
        State().SelectedSquare = 6;
    }
    View().OnGameAutoplay();
    backend_.SetMessageBoxCallback(
        [this](const framework::RecordedMessageBox&) { EXPECT_FALSE(backend_.IsTimerRunning(0)); });
    std::size_t lastTick = 0;
    for (int ticks = 0; backend_.MessageBoxes().empty(); ++ticks) {
        ASSERT_LT(ticks, 1000) << "the game does not end";
        ASSERT_TRUE(backend_.IsTimerRunning(0));
        lastTick = GetLog().size();
        View().OnTimer(0);
    }
    const int result = GetGameResult();
    EXPECT_TRUE(GetParam().result == 0 || result == GetParam().result) << result;
    // The last move is shown, the timer stops, the end is drawn without marks, then the box.
    EXPECT_EQ(Log(GetLog().begin() + static_cast<std::ptrdiff_t>(lastTick), GetLog().end()),
              (Log{"Sleep(200)", "BeginWaitCursor", "GetDC", "OnDraw", "ReleaseDC", "UpdateWindow",
                   "KillTimer(0)", "GetDC", "OnDraw", "ReleaseDC", "UpdateWindow",
                   BoxEntry(result == 1 ? kBlackWinsText : kWhiteWinsText), "KillTimer(0)",
                   "InvalidateRect(false)", "EndWaitCursor"}));
    EXPECT_NE(View().frames.back().board, StartingBoard());
    EXPECT_EQ(View().frames.back().marks, std::pair(kNoSquare, kNoSquare));
    ExpectNewGame();
}

INSTANTIATE_TEST_SUITE_P(Games, AutoplayEndTest,
                         ::testing::Values(AutoplayEndCase{"KingMustDieGame", kKingMustDie, -1, 0},
                                           AutoplayEndCase{"AllMustDieGame", kAllMustDie, -1, 0},
                                           AutoplayEndCase{"BlackCannotMove", kAllMustDie, 1, 1},
                                           AutoplayEndCase{"WhiteCannotMove", kAllMustDie, 0, 2}),
                         [](const ::testing::TestParamInfo<AutoplayEndCase>& param) {
                             return param.param.name;
                         });

class HintTest : public GameViewTest, public ::testing::WithParamInterface<int> {};

TEST_P(HintTest, HintSearchesSide2AtDepth4WhateverTheLevelAndChangesNothingElse) {
    SetSearchDepth(GetParam());
    View().OnGameComputerStarts();
    View().OnGameAutoplay();
    Click(4, 6);
    State().HintFrom = {0, 0};  // an earlier hint, which the new one replaces
    const Board before = GetBoard();
    const auto progress = Progress();
    ResetSearchCallCount();
    const SquareRef hintTo = SearchedMove(before, 2, kHintDepth).second;
    const std::uint64_t depth4Calls = GetSearchCallCount();
    ResetSearchCallCount();
    backend_.ClearLog();
    EXPECT_TRUE(View().OnCommand(32780));
    EXPECT_EQ(GetSearchCallCount(), depth4Calls);
    EXPECT_EQ(MakeSquareRef(State().HintTo.column, State().HintTo.row), hintTo);
    EXPECT_EQ(GetLog(), (Log{"InvalidateRect(false)"}));
    EXPECT_EQ(GetBoard(), before);
    EXPECT_EQ(Progress(), progress);
}

INSTANTIATE_TEST_SUITE_P(Levels, HintTest, ::testing::Values(kDepthEasy, kDepthMedium, kDepthHard),
                         [](const auto& level) { return "Depth" + std::to_string(level.param); });

}  // namespace
}  // namespace kelvane::testing
