#include "rules/move_generation.h"

#include <gtest/gtest.h>

#include <random>
#include <vector>

#include "rules/piece_moves.h"
#include "tests/support/random_boards.h"

namespace kelvane {
namespace {

struct Sq {
    int column;
    int row;
};
struct Mv {
    Sq from;
    Sq to;
};

std::vector<MoveWord> Moves(std::initializer_list<Mv> moves) {
    std::vector<MoveWord> words;
    for (Mv m : moves) words.push_back(PackMove(m.from.column, m.from.row, m.to.column, m.to.row));
    return words;
}

std::vector<MoveWord> Generate(const Board& board, Side side) {
    MoveList list;
    const int last = GenerateMoves(board, list, side);
    return {list.begin(), list.begin() + last + 1};
}

std::vector<MoveWord> PieceMoves(const Board& board, int column, int row) {
    TargetMoveList targets;
    int count = -5;
    GeneratePieceMoves(board, column, row, targets, count);
    return {targets.begin(), targets.begin() + count};
}

class MoveGeneration : public ::testing::Test {
protected:
    Board Start() {
        Board board;
        SetUpStartingPosition(board);
        return board;
    }
    static void Put(Board& board, int column, int row, int code) {
        board[static_cast<std::size_t>(SquareIndex(column, row))] = static_cast<SquareCode>(code);
    }
    Board empty_{};
};

TEST_F(MoveGeneration, StartingPositionBlackInBoardIndexOrder) {
    EXPECT_EQ(Generate(Start(), 1),
              Moves({{{0, 1}, {0, 2}}, {{0, 1}, {0, 3}}, {{1, 0}, {2, 2}}, {{1, 0}, {0, 2}},
                     {{1, 1}, {1, 2}}, {{1, 1}, {1, 3}}, {{2, 1}, {2, 2}}, {{2, 1}, {2, 3}},
                     {{3, 1}, {3, 2}}, {{3, 1}, {3, 3}}, {{4, 1}, {4, 2}}, {{4, 1}, {4, 3}},
                     {{5, 1}, {5, 2}}, {{5, 1}, {5, 3}}, {{6, 0}, {7, 2}}, {{6, 0}, {5, 2}},
                     {{6, 1}, {6, 2}}, {{6, 1}, {6, 3}}, {{7, 1}, {7, 2}}, {{7, 1}, {7, 3}}}));
}

TEST_F(MoveGeneration, StartingPositionWhitePawnBeforeKnightWithinAColumn) {
    EXPECT_EQ(Generate(Start(), 2),
              Moves({{{0, 6}, {0, 5}}, {{0, 6}, {0, 4}}, {{1, 6}, {1, 5}}, {{1, 6}, {1, 4}},
                     {{1, 7}, {2, 5}}, {{1, 7}, {0, 5}}, {{2, 6}, {2, 5}}, {{2, 6}, {2, 4}},
                     {{3, 6}, {3, 5}}, {{3, 6}, {3, 4}}, {{4, 6}, {4, 5}}, {{4, 6}, {4, 4}},
                     {{5, 6}, {5, 5}}, {{5, 6}, {5, 4}}, {{6, 6}, {6, 5}}, {{6, 6}, {6, 4}},
                     {{6, 7}, {7, 5}}, {{6, 7}, {5, 5}}, {{7, 6}, {7, 5}}, {{7, 6}, {7, 4}}}));
}

TEST_F(MoveGeneration, OneCaptureAnywhereRemovesEveryQuietMove) {
    Board board = Start();
    Put(board, 3, 1, 0);
    Put(board, 3, 5, 11);
    EXPECT_EQ(Generate(board, 2), Moves({{{2, 6}, {3, 5}}, {{4, 6}, {3, 5}}}));
    // The selected piece shows only what side 2's whole list allows it.
    EXPECT_EQ(PieceMoves(board, 2, 6), Moves({{{2, 6}, {3, 5}}}));
    EXPECT_TRUE(PieceMoves(board, 0, 6).empty());
    EXPECT_EQ(IsLegalSide2Move(board, 0, 6, 0, 5), 0);
    EXPECT_EQ(IsLegalSide2Move(board, 4, 6, 3, 5), 1);

    Board pawnFork = empty_;
    Put(pawnFork, 3, 6, 21);
    Put(pawnFork, 2, 5, 11);
    Put(pawnFork, 4, 5, 11);
    Put(pawnFork, 0, 7, 24);
    EXPECT_EQ(Generate(pawnFork, 2), Moves({{{3, 6}, {2, 5}}, {{3, 6}, {4, 5}}}));
}

TEST_F(MoveGeneration, SlidingCapturesCrossEmptySquaresAndStopAtTheFirstPiece) {
    Board board = empty_;
    Put(board, 0, 7, 24);
    Put(board, 0, 0, 14);
    Put(board, 7, 7, 16);
    EXPECT_EQ(Generate(board, 2), Moves({{{0, 7}, {7, 7}}, {{0, 7}, {0, 0}}}));
    EXPECT_EQ(Generate(board, 1), Moves({{{0, 0}, {0, 7}}}));
}

TEST_F(MoveGeneration, AdjacentKingsCanOnlyTakeEachOther) {
    Board board = empty_;
    Put(board, 4, 7, 26);
    Put(board, 4, 6, 16);
    EXPECT_EQ(Generate(board, 2), Moves({{{4, 7}, {4, 6}}}));
    EXPECT_EQ(Generate(board, 1), Moves({{{4, 6}, {4, 7}}}));
}

TEST_F(MoveGeneration, PawnsMoveStraightOnlyToEmptySquares) {
    Board board = empty_;
    Put(board, 3, 6, 21);
    Put(board, 3, 4, 11);  // blocks only the double step
    EXPECT_EQ(Generate(board, 2), Moves({{{3, 6}, {3, 5}}}));
    Put(board, 3, 4, 0);
    Put(board, 3, 5, 11);  // blocks both
    EXPECT_TRUE(Generate(board, 2).empty());
    Board black = empty_;
    Put(black, 5, 2, 11);  // off its start row: single step only
    EXPECT_EQ(Generate(black, 1), Moves({{{5, 2}, {5, 3}}}));
}

TEST_F(MoveGeneration, QueenRaysInOrderNearestFirst) {
    Board board = empty_;
    Put(board, 3, 4, 25);
    std::vector<MoveWord> expected;
    const Sq rays[] = {{1, 1}, {1, -1}, {-1, 1}, {-1, -1}, {1, 0}, {-1, 0}, {0, 1}, {0, -1}};
    for (Sq ray : rays) {
        for (int c = 3 + ray.column, r = 4 + ray.row; c >= 0 && c < 8 && r >= 0 && r < 8;
             c += ray.column, r += ray.row)
            expected.push_back(PackMove(3, 4, c, r));
    }
    ASSERT_EQ(expected.size(), 27u);
    EXPECT_EQ(Generate(board, 2), expected);
    EXPECT_EQ(PieceMoves(board, 3, 4), expected);
}

TEST_F(MoveGeneration, KnightAndKingStepOrder) {
    Board board = empty_;
    Put(board, 3, 3, 12);
    Put(board, 6, 6, 16);
    EXPECT_EQ(Generate(board, 1),
              Moves({{{3, 3}, {4, 5}}, {{3, 3}, {4, 1}}, {{3, 3}, {2, 5}}, {{3, 3}, {2, 1}},
                     {{3, 3}, {1, 4}}, {{3, 3}, {1, 2}}, {{3, 3}, {5, 4}}, {{3, 3}, {5, 2}},
                     {{6, 6}, {6, 7}}, {{6, 6}, {6, 5}}, {{6, 6}, {7, 6}}, {{6, 6}, {5, 6}},
                     {{6, 6}, {7, 7}}, {{6, 6}, {5, 7}}, {{6, 6}, {7, 5}}, {{6, 6}, {5, 5}}}));
}

TEST_F(MoveGeneration, SideWithoutPiecesWritesNothing) {
    MoveList list;
    list.fill(77);
    EXPECT_EQ(GenerateMoves(empty_, list, 1), -1);
    EXPECT_EQ(list[0], 77);
    EXPECT_EQ(IsLegalSide2Move(empty_, 0, 0, 0, 1), 0);
}

TEST_F(MoveGeneration, CoordinatesOffTheBoardAreNeverLegal) {
    EXPECT_EQ(IsLegalSide2Move(Start(), 0, 6, 0, 5), 1);
    EXPECT_EQ(IsLegalSide2Move(Start(), 0, 6, 8, 5), 0);
    EXPECT_EQ(IsLegalSide2Move(Start(), -1, 6, 0, 5), 0);
}

TEST_F(MoveGeneration, PieceMovesOfTheStartingPosition) {
    EXPECT_EQ(PieceMoves(Start(), 1, 7), Moves({{{1, 7}, {2, 5}}, {{1, 7}, {0, 5}}}));
    EXPECT_EQ(PieceMoves(Start(), 4, 6), Moves({{{4, 6}, {4, 5}}, {{4, 6}, {4, 4}}}));
    EXPECT_TRUE(PieceMoves(Start(), 0, 7).empty());
}

// On any board the selected piece's moves are the entries of side 2's list from its square.
TEST_F(MoveGeneration, PieceMovesAreSide2sListFilteredByOrigin) {
    std::mt19937 random(3);
    for (int n = 0; n < 300; ++n) {
        const Board board = n % 2 ? testing::RandomPlacement(random)
                                  : testing::PositionAfterRandomGame(random, n % 50);
        const std::vector<MoveWord> all = Generate(board, 2);
        for (int index = 0; index < 64; ++index) {
            if (SideOf(board[static_cast<std::size_t>(index)]) != 2) continue;
            std::vector<MoveWord> expected;
            for (MoveWord m : all)
                if (m >> 16 == ((index / 8) << 8 | (index % 8))) expected.push_back(m);
            EXPECT_EQ(PieceMoves(board, index / 8, index % 8), expected);
        }
    }
}

TEST(MoveGenerationOnAnyBoard, NeverWritesPastTheCapacityItIsGiven) {
    std::mt19937 random(5);
    // A board full of queens with gaps has many moves; a small list must still be respected.
    for (int n = 0; n < 500; ++n) {
        Board board = n % 2 ? testing::RandomBytes(random) : testing::RandomPlacement(random);
        if (n % 5 == 0)
            for (int i = 0; i < 64; i += 2) board[static_cast<std::size_t>(i)] = 25;
        std::array<MoveWord, 12> guarded{};
        guarded.fill(-7);
        const int last = GenerateMoves(board, std::span(guarded).first(10), 2);
        ASSERT_LE(last, 9);
        EXPECT_EQ(guarded[10], -7);
        EXPECT_EQ(guarded[11], -7);
        MoveList full;
        const int fullLast = GenerateMoves(board, full, 2);
        ASSERT_GE(fullLast, last);
        for (int i = 0; i <= last; ++i)
            EXPECT_EQ(guarded[static_cast<std::size_t>(i)], full[static_cast<std::size_t>(i)]);
    }
    Board queens;
    queens.fill(0);
    for (int i = 0; i < 64; i += 3) queens[static_cast<std::size_t>(i)] = 25;
    MoveList list;
    EXPECT_GT(GenerateMoves(queens, list, 2), 0);
}

// The set-wise summaries the search reads instead of lists must say what the lists say.
TEST(MoveGenerationOnAnyBoard, SummariesAgreeWithTheListedMoves) {
    std::mt19937 random(11);
    for (int n = 0; n < 600; ++n) {
        const Board board = n % 3 == 0   ? testing::RandomBytes(random)
                            : n % 3 == 1 ? testing::RandomPlacement(random)
                                         : testing::PositionAfterRandomGame(random, n % 80);
        const std::uint64_t occupied = OccupiedSquares(board);
        for (Side side : {1, 2}) {
            const std::uint64_t own = SquaresOfSide(board, side);
            const std::uint64_t theirs = SquaresOfSide(board, Opponent(side));
            MoveList list;
            const int lastCapture = GenerateCapturesOfSquares(board, list, own, theirs, occupied);
            CaptureTargets expected;
            for (int i = 0; i <= lastCapture; ++i) {
                const UnpackedMove m = UnpackMove(list[static_cast<std::size_t>(i)]);
                const SquareCode moved =
                    board[static_cast<std::size_t>(SquareIndex(m.fromColumn, m.fromRow))];
                const bool promotes =
                    (moved == kBlackPawn && m.toRow == 7) || (moved == kWhitePawn && m.toRow == 0);
                (promotes ? expected.promoting : expected.plain) |=
                    std::uint64_t{1} << SquareIndex(m.toColumn, m.toRow);
            }
            const CaptureTargets got =
                CaptureTargetsOf(KindSquaresOf(board, side), side, theirs, occupied);
            ASSERT_EQ(got.plain, expected.plain) << testing::Describe(board) << " side " << side;
            ASSERT_EQ(got.promoting, expected.promoting) << testing::Describe(board);
            int lastOrigin = -1;
            if (lastCapture >= 0) {
                const UnpackedMove m = UnpackMove(list[static_cast<std::size_t>(lastCapture)]);
                lastOrigin = SquareIndex(m.fromColumn, m.fromRow);
            }
            ASSERT_EQ(LastCaptureOrigin(board, own, theirs, occupied), lastOrigin);
            if (lastCapture >= 0) {
                EXPECT_EQ(Generate(board, side),
                          std::vector<MoveWord>(list.begin(), list.begin() + lastCapture + 1));
            }

            const int lastQuiet = GenerateQuietMovesOfSquares(board, list, own, occupied);
            // GenerateMoves reads the same sets from the board eight squares at a time.
            if (lastCapture < 0) {
                EXPECT_EQ(Generate(board, side),
                          std::vector<MoveWord>(list.begin(), list.begin() + lastQuiet + 1));
            }
            QuietMoveSummary quiet;
            for (int i = 0; i <= lastQuiet; ++i) {
                const UnpackedMove m = UnpackMove(list[static_cast<std::size_t>(i)]);
                const SquareCode moved =
                    board[static_cast<std::size_t>(SquareIndex(m.fromColumn, m.fromRow))];
                quiet.any = true;
                if ((moved != kBlackPawn || m.toRow != 7) && (moved != kWhitePawn || m.toRow != 0))
                    quiet.anyWithoutPromotion = true;
            }
            const QuietMoveSummary summary =
                SummarizeQuietMoves(KindSquaresOf(board, side), side, occupied);
            ASSERT_EQ(summary.any, quiet.any) << testing::Describe(board) << " side " << side;
            ASSERT_EQ(summary.anyWithoutPromotion, quiet.anyWithoutPromotion)
                << testing::Describe(board);
        }
    }
}

}  // namespace
}  // namespace kelvane
