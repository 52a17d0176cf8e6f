#include <cstdlib>

#include "tests/game/game_view_fixture.h"

namespace kelvane::testing {
namespace {

using HumanMoveTest = GameViewTest;

struct ClickCase {
    int squareSize, x, y;
    bool second;  // after the first click selected the pawn at column 4, row 6
    SquareRef selected;
};

std::string ClickName(const ::testing::TestParamInfo<ClickCase>& info) {
    const auto number = [](int v) { return (v < 0 ? "Minus" : "") + std::to_string(std::abs(v)); };
    const ClickCase& c = info.param;
    return std::string(c.second ? "Second" : "First") + "At" + number(c.x) + "x" + number(c.y) +
           "Size" + number(c.squareSize);
}

class ClickTest : public GameViewTest, public ::testing::WithParamInterface<ClickCase> {};

// A first click selects only a white piece; a second that is no legal move only deselects,
// also on another white piece. Either way the hint goes and two repaints are asked for.
TEST_P(ClickTest, ThePointFallsOnTheSquareThatCoversIt) {
    SetSquareSize(GetParam().squareSize);
    if (GetParam().second) Click(4, 6);
    State().HintFrom = {2, 2};
    backend_.ClearLog();
    ClickPixel(GetParam().x, GetParam().y);
    EXPECT_EQ(Progress(), std::tuple(GetParam().selected, kNoSquare, 0, 1, 1, false));
    EXPECT_EQ(GetLog(), kTwoRepaints);
    EXPECT_EQ(GetBoard(), StartingBoard());
}

INSTANTIATE_TEST_SUITE_P(
    Points, ClickTest,
    ::testing::Values(
        ClickCase{40, 320, 300, false, kNoSquare}, ClickCase{40, 100, 239, false, kNoSquare},
        ClickCase{40, 20, 20, false, kNoSquare}, ClickCase{40, -5, 245, false, kNoSquare},
        ClickCase{40, 245, -5, false, kNoSquare}, ClickCase{35, 34, 210, false, 6},
        ClickCase{35, 280, 279, false, kNoSquare}, ClickCase{80, 319, 480, false, 306},
        ClickCase{80, 640, 639, false, kNoSquare}, ClickCase{40, 165, 245, true, kNoSquare},
        ClickCase{40, 140, 260, true, kNoSquare}, ClickCase{40, 180, 140, true, kNoSquare},
        ClickCase{40, 180, 60, true, kNoSquare}, ClickCase{40, 323, 160, true, kNoSquare},
        ClickCase{40, 160, 323, true, kNoSquare}, ClickCase{40, -1, 160, true, kNoSquare}),
    ClickName);

TEST_F(HumanMoveTest, SelectionTakesThePiecesTargetsButOnlyTheLegalMovesOfTheMomentCount) {
    Click(0, 6);
    ASSERT_EQ(State().TargetCount, 2);
    EXPECT_EQ(State().TargetMoves[1], PackMove(0, 6, 0, 4));
    GetBoard()[SquareIndex(1, 5)] = kBlackPawn;  // now the pawn must take it
    Click(0, 5);
    EXPECT_EQ(State().SelectedSquare, kNoSquare);
    EXPECT_EQ(Code(0, 6), kWhitePawn);
    Click(0, 7);  // the rook behind the pawn, with no moves: a third click reselects
    EXPECT_EQ(State().SelectedSquare, 7);
    EXPECT_EQ(State().TargetCount, 0);
    backend_.ClearLog();
    View().OnRButtonDown(0, framework::CPoint{20, 260});
    EXPECT_TRUE(GetLog().empty());
}

TEST_F(HumanMoveTest, APawnOfEitherSideOnTheLastRowBecomesAQueen) {
    SetPosition(MakeBoard({{3, 1, kWhitePawn}, {0, 7, kWhiteKing}, {7, 4, kBlackKing}}),
                kKingMustDie);
    Click(3, 1);
    Click(3, 0);
    EXPECT_EQ(View().frames.at(0).board[SquareIndex(3, 0)], kWhiteQueen);
    // The computer's only move, in reply or in autoplay, crowns its pawn.
    SetPosition(MakeBoard({{7, 7, kWhiteKing}, {0, 6, kBlackPawn}}), kAllMustDie);
    Click(7, 7);
    Click(7, 6);
    EXPECT_EQ(Code(0, 7), kBlackQueen);
    EXPECT_EQ(State().LastMoveSquare, 7);
    SetPosition(MakeBoard({{5, 6, kBlackPawn}, {0, 6, kWhitePawn}}), kAllMustDie);
    View().OnTimer(0);
    EXPECT_EQ(Code(5, 7), kBlackQueen);
}

struct EndingCase {
    const char* name;
    int rules;
    Board board;
    SquareRef from, to;
    PlacedPiece shown;   // what the last picture has there
    bool computerMoves;  // whether the search ran before the end
    const char* text;
};

class GameEndingTest : public GameViewTest, public ::testing::WithParamInterface<EndingCase> {};

TEST_P(GameEndingTest, TheFinalPositionIsDrawnThenAnnouncedThenANewGameStarts) {
    const EndingCase& c = GetParam();
    SetPosition(c.board, c.rules);
    Click(SquareRefColumn(c.from), SquareRefRow(c.from));
    backend_.ClearLog();
    Click(SquareRefColumn(c.to), SquareRefRow(c.to));
    Log expected = {"BeginWaitCursor"};
    if (c.computerMoves)
        expected.insert(expected.end(),
                        {"InvalidateRect(false)", "GetDC", "OnDraw", "ReleaseDC", "UpdateWindow"});
    expected.insert(expected.end(),
                    {"GetDC", "OnDraw", "ReleaseDC", BoxEntry(c.text), "KillTimer(0)",
                     "InvalidateRect(false)", "EndWaitCursor", "InvalidateRect(false)"});
    EXPECT_EQ(GetLog(), expected);
    EXPECT_EQ(GetSearchCallCount() > 0, c.computerMoves);
    // The box stands over the position that ended the game, with no marks.
    ASSERT_FALSE(View().frames.empty());
    EXPECT_EQ(View().frames.back().board[SquareIndex(c.shown.column, c.shown.row)], c.shown.code);
    EXPECT_EQ(View().frames.back().marks, std::pair(kNoSquare, kNoSquare));
    ExpectNewGame();
}

// 11, 12, 16 are a black pawn, knight and king; 21, 24, 26 a white pawn, rook and king.
INSTANTIATE_TEST_SUITE_P(
    Endings, GameEndingTest,
    ::testing::Values(
        // The human takes the computer's king: the computer has won, before any search.
        EndingCase{"HumanTakesTheKing", kKingMustDie,
                   MakeBoard({{0, 7, 24}, {0, 0, 16}, {7, 7, 26}, {5, 1, 11}}), 7, 0,
                   PlacedPiece{0, 0, 24}, false, kComputerWonText},
        // The side that cannot move wins, the computer as the human.
        EndingCase{"ComputerHasNoMove", kAllMustDie,
                   MakeBoard({{0, 5, 11}, {0, 6, 21}, {7, 7, 26}}), 707, 706, PlacedPiece{7, 6, 26},
                   true, kComputerWonText},
        EndingCase{"HumanHasNoMoveAfterTheReply", kAllMustDie, MakeBoard({{0, 6, 21}, {0, 3, 11}}),
                   6, 5, PlacedPiece{0, 4, 11}, true, kHumanWonText},
        // The computer takes the human's king or last piece: the human has won.
        EndingCase{"ComputerTakesTheKing", kKingMustDie,
                   MakeBoard({{4, 3, 26}, {0, 6, 21}, {5, 1, 12}, {0, 0, 16}}), 6, 5,
                   PlacedPiece{4, 3, 12}, true, kHumanWonText},
        EndingCase{"ComputerTakesTheLastPiece", kAllMustDie, MakeBoard({{4, 4, 21}, {5, 1, 12}}),
                   404, 403, PlacedPiece{4, 3, 12}, true, kHumanWonText}),
    [](const ::testing::TestParamInfo<EndingCase>& param) { return param.param.name; });

TEST_F(HumanMoveTest, TheMoveThatReachesTheWholeHistoryIsPlayedButNotRecorded) {
    State().UndoCount = kUndoHistorySize - 2;
    PlayFirstLegalMove();
    ASSERT_EQ(State().UndoCount, kUndoHistorySize - 1);
    const Board before = GetBoard();
    PlayFirstLegalMove();
    EXPECT_NE(GetBoard(), before);
    EXPECT_EQ(State().UndoCount, kUndoHistorySize - 1);
    View().OnEditUndo();  // back to before the last recorded move
    EXPECT_EQ(GetBoard(), StartingBoard());
}

class WholeGameTest : public GameViewTest,
                      public ::testing::WithParamInterface<std::pair<int, int>> {};

// The human plays side 2's first legal move every turn, by clicks near the squares' corners;
// each move is shown before the computer answers at the level's depth, until the game ends.
TEST_P(WholeGameTest, AGamePlayedByClicksEndsWithAnAnnouncementAndANewGame) {
    const auto [rules, depth] = GetParam();
    SetRulesVariant(rules);
    SetSearchDepth(depth);
    for (int turn = 1; backend_.MessageBoxes().empty(); ++turn) {
        ASSERT_LE(turn, 400) << "the game does not end";
        const UnpackedMove move = FirstSide2Move();
        Board shown = GetBoard();
        ApplyMove(shown, PackMove(move.fromColumn, move.fromRow, move.toColumn, move.toRow));
        ClickPixel(move.fromColumn * 40, move.fromRow * 40 + 39);
        ASSERT_EQ(State().SelectedSquare, MakeSquareRef(move.fromColumn, move.fromRow));
        backend_.ClearLog();
        View().frames.clear();
        ClickPixel(move.toColumn * 40 + 39, move.toRow * 40);
        if (!backend_.MessageBoxes().empty()) break;
        ASSERT_EQ(GetLog(),
                  (Log{"BeginWaitCursor", "InvalidateRect(false)", "GetDC", "OnDraw", "ReleaseDC",
                       "UpdateWindow", "EndWaitCursor", "InvalidateRect(false)"}));
        ASSERT_EQ(View().frames.size(), 1u);
        ASSERT_EQ(View().frames[0].board, shown);
        ASSERT_EQ(View().frames[0].marks,
                  std::pair(kNoSquare, MakeSquareRef(move.toColumn, move.toRow)));
        const auto [reply, mark] = SearchedMove(shown, 1, depth);
        ASSERT_EQ(GetBoard(), reply);
        ASSERT_EQ(Progress(), std::tuple(kNoSquare, mark, turn, 0, 1, false));
    }
    ASSERT_EQ(backend_.MessageBoxes().size(), 1u);
    EXPECT_EQ(backend_.MessageBoxes()[0].text,
              GetGameResult() == 1 ? kComputerWonText : kHumanWonText);
    EXPECT_EQ(backend_.MessageBoxes()[0].caption, "");
    ExpectNewGame();
    EXPECT_EQ(backend_.WaitCursorDepth(), 0);
    EXPECT_EQ(backend_.OpenDeviceContexts(), 0);
}

INSTANTIATE_TEST_SUITE_P(
    Games, WholeGameTest,
    ::testing::Values(std::pair(kKingMustDie, kDepthEasy), std::pair(kAllMustDie, kDepthMedium)),
    [](const auto& param) {
        const char* rules = param.param.first == kKingMustDie ? "KingMustDie" : "AllMustDie";
        return rules + std::string("Depth") + std::to_string(param.param.second);
    });

}  // namespace
}  // namespace kelvane::testing
