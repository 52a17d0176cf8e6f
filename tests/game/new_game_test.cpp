#include <filesystem>

#include "game/command_ids.h"
#include "tests/game/game_view_fixture.h"

namespace kelvane::testing {
namespace {

using NewGameTest = GameViewTest;

TEST_F(NewGameTest, ConstructionSetsUpAGameWithoutTouchingAWindow) {
    State().HintTo = {5, 6};
    State().UndoCount = 7;
    SetSearchDepth(kDepthHard);
    TestView fresh;
    EXPECT_TRUE(fresh.frames.empty());
    EXPECT_EQ(fresh.GetBoard(), StartingBoard());
    EXPECT_EQ(State().HintFrom.column, -1);
    EXPECT_EQ(State().HintFrom.row, -1);
    EXPECT_EQ(State().HintTo.column, -1);
    EXPECT_EQ(State().HintTo.row, -1);
    EXPECT_EQ(GetSearchDepth(), kDepthEasy);
    EXPECT_EQ(State().UndoCount, 0);
}

TEST_F(NewGameTest, NewResetsTheGameAndKeepsTheSettings) {
    GetBoard().fill(0);
    State().SelectedSquare = 304;
    State().TargetCount = 3;
    State().LastMoveSquare = 202;
    State().HintFrom = {3, 4};
    State().HintTo = {5, 6};
    State().OpeningPending = 0;
    State().AutoplayTurn = 0;
    State().UndoCount = 12;
    SetGameResult(2);
    SetSearchDepth(kDepthHard);
    SetRulesVariant(kAllMustDie);
    SetSquareSize(kLargeSquare);
    SetPieceSet(kExtraSet);

    EXPECT_TRUE(View().OnCommand(ID_FILE_NEW));

    EXPECT_EQ(GetLog(), (Log{"KillTimer(0)", "InvalidateRect(false)"}));
    EXPECT_EQ(GetBoard(), StartingBoard());
    EXPECT_EQ(State().SelectedSquare, kNoSquare);
    EXPECT_EQ(State().TargetCount, 0);
    EXPECT_EQ(State().LastMoveSquare, kNoSquare);
    EXPECT_EQ(State().HintFrom.column, -1);
    EXPECT_EQ(State().HintFrom.row, 4);
    EXPECT_EQ(State().HintTo.column, 5);
    EXPECT_EQ(State().HintTo.row, 6);
    EXPECT_EQ(State().OpeningPending, 1);
    EXPECT_EQ(State().AutoplayTurn, 1);
    EXPECT_EQ(State().UndoCount, 0);
    EXPECT_EQ(GetGameResult(), 2);
    EXPECT_EQ(GetSearchDepth(), kDepthHard);
    EXPECT_EQ(GetRulesVariant(), kAllMustDie);
    EXPECT_EQ(GetSquareSize(), kLargeSquare);
    EXPECT_EQ(GetPieceSet(), kExtraSet);
}

TEST_F(NewGameTest, NewStopsARunningAutoplay) {
    View().OnGameAutoplay();
    ASSERT_TRUE(backend_.IsTimerRunning(0));
    View().OnFileNew();
    EXPECT_FALSE(backend_.IsTimerRunning(0));
}

// The numbers are the menu's and accelerators' own, so they are written out here.
struct CommandCase {
    int id;
    Log expectedLog;
};

class GameCommandTest : public GameViewTest, public ::testing::WithParamInterface<CommandCase> {};

TEST_P(GameCommandTest, EachGameCommandReachesItsHandler) {
    State().HintFrom = {1, 1};
    EXPECT_TRUE(View().OnCommand(GetParam().id));
    EXPECT_EQ(GetLog(), GetParam().expectedLog);
    // Every game command but Hint clears the hint; Hint writes a new one.
    if (GetParam().id != 32780) {
        EXPECT_EQ(State().HintFrom.column, -1);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Commands, GameCommandTest,
    ::testing::Values(CommandCase{57600, {"KillTimer(0)", "InvalidateRect(false)"}},
                      CommandCase{32771,
                                  {"KillTimer(0)", "InvalidateRect(false)", "BeginWaitCursor",
                                   "InvalidateRect(false)", "EndWaitCursor"}},
                      CommandCase{32774, {}}, CommandCase{32775, {"InvalidateRect(false)"}},
                      CommandCase{32772, {"SetTimer(0,100)"}}, CommandCase{32779, {"KillTimer(0)"}},
                      CommandCase{32780, {"InvalidateRect(false)"}}, CommandCase{57643, {}}));

TEST_F(NewGameTest, CommandsOfOtherTargetsAreLeftToThem) {
    State().HintFrom = {1, 1};
    for (const int id : {ID_FILE_OPEN,
                         ID_APP_EXIT,
                         ID_APP_ABOUT,
                         ID_EDIT_COPY,
                         ID_EDIT_CUT,
                         ID_EDIT_PASTE,
                         ID_NEXT_PANE,
                         ID_PREV_PANE,
                         ID_LEVEL_EASY,
                         ID_LEVEL_MEDIUM,
                         ID_LEVEL_HARD,
                         ID_RULES_KING_MUST_DIE,
                         ID_RULES_ALL_MUST_DIE,
                         ID_OPTIONS_SMALL_BOARD,
                         ID_OPTIONS_MEDIUM_BOARD,
                         ID_OPTIONS_LARGE_BOARD,
                         ID_OPTIONS_STANDARD_SET,
                         ID_OPTIONS_EXTRA_SET,
                         0,
                         -1}) {
        EXPECT_FALSE(View().OnCommand(id)) << id;
    }
    EXPECT_TRUE(GetLog().empty());
    EXPECT_EQ(State().HintFrom.column, 1);
    EXPECT_EQ(GetBoard(), StartingBoard());
}

TEST(DisplaySettingsTest, OnlyTheThreeSizesAndTwoSetsAreTaken) {
    SetSquareSize(kMediumSquare);
    for (const int size : {kSmallSquare, kLargeSquare, kMediumSquare}) {
        SetSquareSize(size);
        EXPECT_EQ(GetSquareSize(), size);
    }
    // Zero would divide the mouse mapping by zero.
    for (const int size : {0, -40, 41, 1000}) {
        SetSquareSize(size);
        EXPECT_EQ(GetSquareSize(), kMediumSquare) << size;
    }
    SetPieceSet(kExtraSet);
    EXPECT_EQ(GetPieceSet(), kExtraSet);
    SetPieceSet(2);
    EXPECT_EQ(GetPieceSet(), kExtraSet);
    SetPieceSet(kStandardSet);
    EXPECT_EQ(GetPieceSet(), kStandardSet);
}

}  // namespace
}  // namespace kelvane::testing
