#include <span>

#include "game/messages.h"
#include "rules/move_generation.h"
#include "tests/game/game_view_fixture.h"

namespace kelvane::testing {
namespace {

using HumanMoveTest = GameViewTest;

const Log kTwoRepaints = {"InvalidateRect(false)", "InvalidateRect(false)"};

TEST_F(HumanMoveTest, FirstClickOnAWhitePieceSelectsItWithItsTargets) {
    State().HintFrom = {2, 2};
    Click(4, 6);
    EXPECT_EQ(State().SelectedSquare, 406);
    ASSERT_EQ(State().TargetCount, 2);
    EXPECT_EQ(State().TargetMoves[0], PackMove(4, 6, 4, 5));
    EXPECT_EQ(State().TargetMoves[1], PackMove(4, 6, 4, 4));
    EXPECT_EQ(State().HintFrom.column, -1);
    EXPECT_EQ(GetLog(), kTwoRepaints);
    EXPECT_EQ(GetBoard(), StartingBoard());
}

TEST_F(HumanMoveTest, APieceWithoutMovesIsSelectedWithNoTargets) {
    Click(0, 7);  // the rook behind its pawn
    EXPECT_EQ(State().SelectedSquare, 7);
    EXPECT_EQ(State().TargetCount, 0);
    Click(0, 7);
    EXPECT_EQ(State().SelectedSquare, kNoSquare);
}

TEST_F(HumanMoveTest, WithNothingSelectedOtherClicksOnlyClearTheHint) {
    State().TargetCount = 5;
    for (const platform::CPoint point :
         {platform::CPoint{100, 100}, platform::CPoint{20, 20}, platform::CPoint{330, 250},
          platform::CPoint{100, 330}, platform::CPoint{-5, 245}, platform::CPoint{245, -5}}) {
        State().HintFrom = {2, 2};
        backend_.ClearLog();
        ClickPixel(point.x, point.y);
        EXPECT_EQ(State().SelectedSquare, kNoSquare) << point.x << "," << point.y;
        EXPECT_EQ(State().HintFrom.column, -1);
        EXPECT_EQ(State().TargetCount, 5);
        EXPECT_EQ(GetLog(), kTwoRepaints);
    }
    EXPECT_EQ(GetBoard(), StartingBoard());
}

struct PixelCase {
    int squareSize;
    int x;
    int y;
    SquareRef selected;
};

class PixelMappingTest : public GameViewTest, public ::testing::WithParamInterface<PixelCase> {};

TEST_P(PixelMappingTest, ThePointFallsOnTheSquareThatCoversIt) {
    SetSquareSize(GetParam().squareSize);
    ClickPixel(GetParam().x, GetParam().y);
    EXPECT_EQ(State().SelectedSquare, GetParam().selected);
}

INSTANTIATE_TEST_SUITE_P(
    Squares, PixelMappingTest,
    ::testing::Values(PixelCase{40, 0, 240, 6}, PixelCase{40, 39, 279, 6},
                      PixelCase{40, 40, 240, 106}, PixelCase{40, 319, 319, 707},
                      PixelCase{40, 320, 300, kNoSquare}, PixelCase{40, 100, 239, kNoSquare},
                      PixelCase{35, 34, 210, 6}, PixelCase{35, 35, 244, 106},
                      PixelCase{35, 279, 279, 707}, PixelCase{35, 280, 279, kNoSquare},
                      PixelCase{80, 319, 480, 306}, PixelCase{80, 639, 639, 707},
                      PixelCase{80, 640, 639, kNoSquare}));

struct DeselectCase {
    const char* name;
    int x;
    int y;
};

class DeselectTest : public GameViewTest, public ::testing::WithParamInterface<DeselectCase> {};

TEST_P(DeselectTest, ASecondClickThatIsNoLegalMoveOnlyDeselects) {
    Click(4, 6);
    const int targets = State().TargetCount;
    backend_.ClearLog();
    ClickPixel(GetParam().x, GetParam().y);
    EXPECT_EQ(State().SelectedSquare, kNoSquare);
    EXPECT_EQ(State().TargetCount, targets);
    EXPECT_EQ(State().UndoCount, 0);
    EXPECT_EQ(State().OpeningPending, 1);
    EXPECT_EQ(GetBoard(), StartingBoard());
    EXPECT_EQ(GetLog(), kTwoRepaints);
}

INSTANTIATE_TEST_SUITE_P(
    Clicks, DeselectTest,
    ::testing::Values(DeselectCase{"ThePieceItself", 4 * 40 + 5, 6 * 40 + 5},
                      DeselectCase{"AnotherWhitePiece", 3 * 40 + 20, 6 * 40 + 20},
                      DeselectCase{"AnEmptySquareOutOfReach", 4 * 40 + 20, 3 * 40 + 20},
                      DeselectCase{"ABlackPiece", 4 * 40 + 20, 1 * 40 + 20},
                      DeselectCase{"BeyondTheEighthColumn", 8 * 40 + 3, 4 * 40},
                      DeselectCase{"BelowTheEighthRow", 4 * 40, 8 * 40 + 3},
                      DeselectCase{"LeftOfTheBoard", -1, 4 * 40}),
    [](const ::testing::TestParamInfo<DeselectCase>& param) { return param.param.name; });

TEST_F(HumanMoveTest, AThirdClickSelectsTheOtherPiece) {
    Click(4, 6);
    Click(3, 6);
    EXPECT_EQ(State().SelectedSquare, kNoSquare);
    Click(3, 6);
    EXPECT_EQ(State().SelectedSquare, 306);
}

TEST_F(HumanMoveTest, TheSecondClickIsJudgedOnThePositionAtThatMoment) {
    Click(0, 6);
    ASSERT_EQ(State().TargetCount, 2);
    // Meanwhile a black piece arrives where the pawn must take it.
    GetBoard()[SquareIndex(1, 5)] = 12;
    Click(0, 5);
    EXPECT_EQ(State().SelectedSquare, kNoSquare);
    EXPECT_EQ(Code(0, 6), kWhitePawn);
    EXPECT_EQ(State().UndoCount, 0);
}

class AcceptedMoveTest : public GameViewTest, public ::testing::WithParamInterface<int> {};

TEST_P(AcceptedMoveTest, TheMoveIsShownThenAnsweredAtTheLevelsDepth) {
    SetSearchDepth(GetParam());
    Click(4, 6);
    backend_.ClearLog();
    Click(4, 4);

    EXPECT_EQ(GetLog(),
              (Log{"BeginWaitCursor", "InvalidateRect(false)", "GetDC", "OnDraw", "ReleaseDC",
                   "UpdateWindow", "EndWaitCursor", "InvalidateRect(false)"}));
    ASSERT_EQ(View().frames.size(), 1u);
    const DrawnFrame& shown = View().frames[0];
    Board expectedShown = StartingBoard();
    expectedShown[SquareIndex(4, 6)] = 0;
    expectedShown[SquareIndex(4, 4)] = kWhitePawn;
    EXPECT_EQ(shown.board, expectedShown);
    EXPECT_EQ(shown.selectedSquare, kNoSquare);
    EXPECT_EQ(shown.lastMoveSquare, 404);

    Board expected = expectedShown;
    const std::int32_t reply = Search(expected, 1, 1, GetParam(), kRootBound, 1);
    ASSERT_GT(reply, 0);
    ApplyMove(expected, reply);
    EXPECT_EQ(GetBoard(), expected);
    const UnpackedMove move = UnpackMove(reply);
    EXPECT_EQ(State().LastMoveSquare, MakeSquareRef(move.toColumn, move.toRow));

    EXPECT_EQ(State().OpeningPending, 0);
    EXPECT_EQ(State().UndoCount, 1);
    EXPECT_EQ(State().UndoHistory[1], SnapshotOf(StartingBoard()));
    EXPECT_EQ(State().SelectedSquare, kNoSquare);
    EXPECT_EQ(backend_.WaitCursorDepth(), 0);
    EXPECT_TRUE(backend_.MessageBoxes().empty());
}

INSTANTIATE_TEST_SUITE_P(Levels, AcceptedMoveTest, ::testing::Values(kDepthEasy, kDepthMedium));

TEST_F(HumanMoveTest, AWhitePawnOnTheLastRowBecomesAQueen) {
    SetPosition(MakeBoard({{3, 1, kWhitePawn}, {0, 7, kWhiteKing}, {7, 4, kBlackKing}}),
                kKingMustDie);
    Click(3, 1);
    Click(3, 0);
    EXPECT_EQ(Code(3, 0), kWhiteQueen);
    EXPECT_EQ(Code(3, 1), 0);
    EXPECT_EQ(View().frames.at(0).board[SquareIndex(3, 0)], kWhiteQueen);
}

TEST_F(HumanMoveTest, ABlackPawnOnTheLastRowBecomesAQueen) {
    SetPosition(MakeBoard({{7, 7, kWhiteKing}, {0, 6, kBlackPawn}}), kAllMustDie);
    Click(7, 7);
    Click(7, 6);
    EXPECT_EQ(Code(0, 7), kBlackQueen);
    EXPECT_EQ(Code(0, 6), 0);
    EXPECT_EQ(State().LastMoveSquare, 7);
    EXPECT_TRUE(backend_.MessageBoxes().empty());
}

struct EndingCase {
    const char* name;
    int rules;
    Board board;
    PlacedPiece from;
    PlacedPiece to;
    PlacedPiece finalSquare;  // what the last picture shows there
    bool computerMoves;       // whether the search ran before the end
    const char* text;
};

class GameEndingTest : public GameViewTest, public ::testing::WithParamInterface<EndingCase> {};

TEST_P(GameEndingTest, TheFinalPositionIsDrawnThenAnnouncedThenANewGameStarts) {
    const EndingCase& c = GetParam();
    SetPosition(c.board, c.rules);
    Click(c.from.column, c.from.row);
    backend_.ClearLog();
    View().frames.clear();
    Click(c.to.column, c.to.row);

    const std::string box = std::string("MessageBox('") + c.text + "','')";
    const Log expected = c.computerMoves ? Log{"BeginWaitCursor", "InvalidateRect(false)",
                                               "GetDC",           "OnDraw",
                                               "ReleaseDC",       "UpdateWindow",
                                               "GetDC",           "OnDraw",
                                               "ReleaseDC",       box,
                                               "KillTimer(0)",    "InvalidateRect(false)",
                                               "EndWaitCursor",   "InvalidateRect(false)"}
                                         : Log{"BeginWaitCursor",
                                               "GetDC",
                                               "OnDraw",
                                               "ReleaseDC",
                                               box,
                                               "KillTimer(0)",
                                               "InvalidateRect(false)",
                                               "EndWaitCursor",
                                               "InvalidateRect(false)"};
    EXPECT_EQ(GetLog(), expected);
    EXPECT_EQ(GetSearchCallCount() > 0, c.computerMoves);

    // The box stands over the position that ended the game, with no marks.
    ASSERT_FALSE(View().frames.empty());
    const DrawnFrame& final = View().frames.back();
    EXPECT_EQ(final.board[SquareIndex(c.finalSquare.column, c.finalSquare.row)],
              c.finalSquare.code);
    EXPECT_EQ(final.selectedSquare, kNoSquare);
    EXPECT_EQ(final.lastMoveSquare, kNoSquare);

    EXPECT_EQ(GetBoard(), StartingBoard());
    EXPECT_EQ(State().UndoCount, 0);
    EXPECT_EQ(State().OpeningPending, 1);
    EXPECT_EQ(State().LastMoveSquare, kNoSquare);
}

INSTANTIATE_TEST_SUITE_P(
    Endings, GameEndingTest,
    ::testing::Values(
        // The human takes the computer's king: the computer has won, before any search.
        EndingCase{"HumanTakesTheKing",
                   kKingMustDie,
                   MakeBoard({{0, 7, 24}, {0, 0, kBlackKing}, {7, 7, kWhiteKing}, {5, 1, 11}}),
                   {0, 7, 24},
                   {0, 0, 24},
                   {0, 0, 24},
                   false,
                   kComputerWonText},
        EndingCase{"HumanTakesTheLastPiece",
                   kAllMustDie,
                   MakeBoard({{0, 7, 24}, {0, 0, 12}, {7, 7, kWhiteKing}}),
                   {0, 7, 24},
                   {0, 0, 24},
                   {0, 0, 24},
                   false,
                   kComputerWonText},
        // The computer cannot move after the human's move: it wins.
        EndingCase{"ComputerHasNoMove",
                   kAllMustDie,
                   MakeBoard({{0, 5, kBlackPawn}, {0, 6, kWhitePawn}, {7, 7, kWhiteKing}}),
                   {7, 7, kWhiteKing},
                   {7, 6, kWhiteKing},
                   {7, 6, kWhiteKing},
                   true,
                   kComputerWonText},
        // The computer takes the human's king or last piece: the human has won.
        EndingCase{
            "ComputerTakesTheKing",
            kKingMustDie,
            MakeBoard({{4, 3, kWhiteKing}, {0, 6, kWhitePawn}, {5, 1, 12}, {0, 0, kBlackKing}}),
            {0, 6, kWhitePawn},
            {0, 5, kWhitePawn},
            {4, 3, 12},
            true,
            kHumanWonText},
        EndingCase{"ComputerTakesTheLastPiece",
                   kAllMustDie,
                   MakeBoard({{4, 4, kWhitePawn}, {5, 1, 12}}),
                   {4, 4, kWhitePawn},
                   {4, 3, kWhitePawn},
                   {4, 3, 12},
                   true,
                   kHumanWonText},
        // After the reply the human cannot move: the side that cannot move wins.
        EndingCase{"HumanHasNoMoveAfterTheReply",
                   kAllMustDie,
                   MakeBoard({{0, 6, kWhitePawn}, {0, 3, kBlackPawn}}),
                   {0, 6, kWhitePawn},
                   {0, 5, kWhitePawn},
                   {0, 4, kBlackPawn},
                   true,
                   kHumanWonText}),
    [](const ::testing::TestParamInfo<EndingCase>& param) { return param.param.name; });

TEST_F(HumanMoveTest, TheMoveThatReachesTheWholeHistoryIsPlayedButNotRecorded) {
    State().UndoCount = kUndoHistorySize - 2;
    PlayFirstLegalMove();
    ASSERT_EQ(State().UndoCount, kUndoHistorySize - 1);
    const UndoSnapshot last = State().UndoHistory[kUndoHistorySize - 1];
    EXPECT_EQ(last, SnapshotOf(StartingBoard()));

    const Board beforeSecond = GetBoard();
    MoveList moves;
    ASSERT_GE(GenerateMoves(beforeSecond, std::span<MoveWord>(moves), 2), 0);
    const UnpackedMove move = UnpackMove(moves[0]);
    Click(move.fromColumn, move.fromRow);
    Click(move.toColumn, move.toRow);
    EXPECT_NE(GetBoard(), beforeSecond);
    EXPECT_EQ(State().UndoCount, kUndoHistorySize - 1);
    EXPECT_EQ(State().UndoHistory[kUndoHistorySize - 1], last);
}

TEST_F(HumanMoveTest, ARightClickChangesNothing) {
    State().HintFrom = {1, 2};
    Click(4, 6);
    backend_.ClearLog();
    View().OnRButtonDown(0, platform::CPoint{4 * 40 + 20, 4 * 40 + 20});
    EXPECT_TRUE(GetLog().empty());
    EXPECT_EQ(State().SelectedSquare, 406);
    EXPECT_EQ(GetBoard(), StartingBoard());
}

struct WholeGameCase {
    int rules;
    int squareSize;
};

class WholeGameTest : public GameViewTest, public ::testing::WithParamInterface<WholeGameCase> {};

// The human plays side 2's first legal move every turn, by clicks near the squares' corners,
// until the game is announced.
TEST_P(WholeGameTest, AGamePlayedByClicksEndsWithAnAnnouncementAndANewGame) {
    SetRulesVariant(GetParam().rules);
    SetSquareSize(GetParam().squareSize);
    const int size = GetSquareSize();
    int turns = 0;
    while (backend_.MessageBoxes().empty()) {
        ASSERT_LT(turns, 400) << "the game does not end";
        const Board before = GetBoard();
        MoveList moves;
        ASSERT_GE(GenerateMoves(before, std::span<MoveWord>(moves), 2), 0)
            << "side 2 was left without a move";
        const UnpackedMove move = UnpackMove(moves[0]);
        ClickPixel(move.fromColumn * size, move.fromRow * size + size - 1);
        ASSERT_EQ(State().SelectedSquare, MakeSquareRef(move.fromColumn, move.fromRow));
        ClickPixel(move.toColumn * size + size - 1, move.toRow * size);
        ++turns;
        if (backend_.MessageBoxes().empty()) {
            ASSERT_EQ(State().UndoCount, turns);
            ASSERT_EQ(State().UndoHistory[static_cast<std::size_t>(turns)], SnapshotOf(before));
            ASSERT_EQ(SideOf(GetBoard()[SquareIndex(SquareRefColumn(State().LastMoveSquare),
                                                    SquareRefRow(State().LastMoveSquare))]),
                      1);
        }
    }
    ASSERT_EQ(backend_.MessageBoxes().size(), 1u);
    const platform::RecordedMessageBox& box = backend_.MessageBoxes()[0];
    EXPECT_TRUE(box.text == kComputerWonText || box.text == kHumanWonText) << box.text;
    EXPECT_EQ(box.caption, "");
    EXPECT_EQ(box.type, platform::MB_OK);
    EXPECT_EQ(box.text == kComputerWonText ? 1 : 2, GetGameResult());
    EXPECT_EQ(GetBoard(), StartingBoard());
    EXPECT_EQ(State().UndoCount, 0);
    EXPECT_EQ(backend_.WaitCursorDepth(), 0);
    EXPECT_EQ(backend_.OpenDeviceContexts(), 0);
}

INSTANTIATE_TEST_SUITE_P(Games, WholeGameTest,
                         ::testing::Values(WholeGameCase{kKingMustDie, 40},
                                           WholeGameCase{kAllMustDie, 40},
                                           WholeGameCase{kKingMustDie, 35},
                                           WholeGameCase{kAllMustDie, 80}));

}  // namespace
}  // namespace kelvane::testing
