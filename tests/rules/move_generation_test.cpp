// SPDX-License-Identifier: GPL-3.0-or-later
#include "rules/move_generation.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "rules/notation.h"
#include "rules/piece_moves.h"
#include "tests/support/random_boards.h"

namespace kelvane {
namespace {

std::string Text(const MoveWord* begin, const MoveWord* end) {
    std::string text;
    for (const MoveWord* m = begin; m != end; ++m) {
        if (!text.empty()) text += ' ';
        text += MoveToText(*m);
    }
    return text;
}

// side's legal moves in the generator's order, in coordinate notation.
std::string Generate(const std::string& fen, Side side) {
    MoveList list;
    const int last = GenerateMoves(*BoardFromFen(fen), list, side);
    return Text(list.data(), list.data() + last + 1);
}

std::vector<MoveWord> ListOf(const Board& board, Side side) {
    MoveList list;
    const int last = GenerateMoves(board, list, side);
    return {list.begin(), list.begin() + last + 1};
}

std::string PieceMoves(const Board& board, const char* square) {
    const Square at = *SquareFromText(square);
    TargetMoveList targets;
    int count = -5;
    GeneratePieceMoves(board, at.column, at.row, targets, count);
    return Text(targets.data(), targets.data() + count);
}

std::uint64_t Perft(Board& board, Side side, int depth) {
    MoveList list;
    const int last = GenerateMoves(board, list, side);
    if (depth == 1) return static_cast<std::uint64_t>(last + 1);
    std::uint64_t total = 0;
    for (int i = 0; i <= last; ++i) {
        const MoveUndo undo = ApplyMove(board, list[static_cast<std::size_t>(i)]);
        total += Perft(board, Opponent(side), depth - 1);
        RetractMove(board, list[static_cast<std::size_t>(i)], undo);
    }
    return total;
}

constexpr const char* kStart = "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR";

// Squares are scanned column by column from a8 down to h1, and each piece's moves follow its
// own fixed order; a capture anywhere leaves only captures.
TEST(MoveGeneration, ListsFollowBoardOrderAndCapturesComeAlone) {
    struct Row {
        const char* fen;
        Side side;
        const char* moves;
    };
    for (const Row& row : {
             Row{kStart, 1,
                 "a7a6 a7a5 b8c6 b8a6 b7b6 b7b5 c7c6 c7c5 d7d6 d7d5 e7e6 e7e5 f7f6 f7f5 g8h6 "
                 "g8f6 g7g6 g7g5 h7h6 h7h5"},
             Row{kStart, 2,
                 "a2a3 a2a4 b2b3 b2b4 b1c3 b1a3 c2c3 c2c4 d2d3 d2d4 e2e3 e2e4 f2f3 f2f4 g2g3 "
                 "g2g4 g1h3 g1f3 h2h3 h2h4"},
             Row{"rnbqkbnr/ppp1pppp/8/8/8/3p4/PPPPPPPP/RNBQKBNR", 2, "c2d3 e2d3"},
             Row{"8/8/8/8/8/2p1p3/3P4/R7", 2, "d2c3 d2e3"},  // a pawn takes either way
             Row{"r7/8/8/8/8/8/8/R6k", 2, "a1h1 a1a8"},      // rays stop at the first piece
             Row{"r7/8/8/8/8/8/8/R6k", 1, "a8a1"},
             Row{"8/8/8/8/8/8/4k3/4K3", 2, "e1e2"},  // adjacent kings can only take each other
             Row{"8/8/8/8/3p4/8/3P4/8", 2, "d2d3"},  // the double step needs both squares
             Row{"8/8/8/8/8/3p4/3P4/8", 2, ""},
             Row{"8/8/5p2/8/8/8/8/8", 1, "f6f5"},  // off its start row: one step
             Row{"8/8/8/8/3n4/8/6k1/8", 1,
                 "d4e2 d4e6 d4c2 d4c6 d4b3 d4b5 d4f3 d4f5 g2g1 g2g3 g2h2 g2f2 g2h1 g2f1 g2h3 "
                 "g2f3"},
             Row{"8/8/8/3Q4/8/8/8/8", 2,
                 "d5e4 d5f3 d5g2 d5h1 d5e6 d5f7 d5g8 d5c4 d5b3 d5a2 d5c6 d5b7 d5a8 d5e5 d5f5 "
                 "d5g5 d5h5 d5c5 d5b5 d5a5 d5d4 d5d3 d5d2 d5d1 d5d6 d5d7 d5d8"},
             Row{"8/8/8/8/8/8/8/8", 1, ""},
         }) {
        EXPECT_EQ(Generate(row.fen, row.side), row.moves) << row.fen << " side " << row.side;
    }
}

TEST(MoveGeneration, CountsFromTheStartMatchTheKnownPerft) {
    Board board = *BoardFromFen(kStart);
    const std::uint64_t known[] = {20, 400, 8067, 153299};
    for (int depth = 1; depth <= 4; ++depth) EXPECT_EQ(Perft(board, 2, depth), known[depth - 1]);
    EXPECT_EQ(board, *BoardFromFen(kStart));
}

TEST(MoveGeneration, OnlyMovesInSide2sListAreLegalForTheHuman) {
    const Board board = *BoardFromFen("rnbqkbnr/ppp1pppp/8/8/8/3p4/PPPPPPPP/RNBQKBNR");
    EXPECT_EQ(PieceMoves(board, "c2"), "c2d3");
    EXPECT_EQ(PieceMoves(board, "a2"), "");
    EXPECT_EQ(IsLegalSide2Move(board, 0, 6, 0, 5), 0);  // a quiet move beside a capture
    EXPECT_EQ(IsLegalSide2Move(board, 4, 6, 3, 5), 1);
    const Board start = *BoardFromFen(kStart);
    EXPECT_EQ(PieceMoves(start, "b1"), "b1c3 b1a3");
    EXPECT_EQ(IsLegalSide2Move(start, 0, 6, 0, 5), 1);
    EXPECT_EQ(IsLegalSide2Move(start, 0, 6, 8, 5), 0);
    EXPECT_EQ(IsLegalSide2Move(start, -1, 6, 0, 5), 0);
    EXPECT_EQ(IsLegalSide2Move(start, 4, 5, 260, 4), 0);  // would wrap onto e2e4
    EXPECT_EQ(IsLegalSide2Move(start, 200, 6, 0, 5), 0);  // would overflow the word
}

// On any board the selected piece's moves are the entries of side 2's list from its square.
TEST(MoveGeneration, PieceMovesAreSide2sListFilteredByOrigin) {
    std::mt19937 random(3);
    for (int n = 0; n < 300; ++n) {
        const Board board = n % 2 ? testing::RandomPlacement(random)
                                  : testing::PositionAfterRandomGame(random, n % 50);
        MoveList all;
        const int last = GenerateMoves(board, all, 2);
        for (int index = 0; index < 64; ++index) {
            if (SideOf(board[static_cast<std::size_t>(index)]) != 2) continue;
            const Square square{index / 8, index % 8};
            std::vector<MoveWord> expected;
            for (int i = 0; i <= last; ++i)
                if (OriginOf(all[static_cast<std::size_t>(i)]) == square)
                    expected.push_back(all[static_cast<std::size_t>(i)]);
            EXPECT_EQ(PieceMoves(board, SquareToText(square).c_str()),
                      Text(expected.data(), expected.data() + expected.size()));
        }
    }
}

TEST(MoveGeneration, NeverWritesPastTheCapacityItIsGiven) {
    std::mt19937 random(5);
    for (int n = 0; n < 500; ++n) {
        Board board = n % 2 ? testing::RandomBytes(random) : testing::RandomPlacement(random);
        if (n % 5 == 0)
            for (int i = 0; i < 64; i += 2) board[static_cast<std::size_t>(i)] = kWhiteQueen;
        std::array<MoveWord, 12> guarded{};
        guarded.fill(-7);
        const int last = GenerateMoves(board, std::span(guarded).first(10), 2);
        ASSERT_LE(last, 9);
        EXPECT_EQ(guarded[10], -7);
        MoveList full;
        ASSERT_GE(GenerateMoves(board, full, 2), last);
        for (int i = 0; i <= last; ++i)
            EXPECT_EQ(guarded[static_cast<std::size_t>(i)], full[static_cast<std::size_t>(i)]);
    }
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
            ASSERT_EQ(LastCapture(board, own, theirs, occupied),
                      lastCapture >= 0 ? list[static_cast<std::size_t>(lastCapture)] : NoMove);
            if (lastCapture >= 0) {
                EXPECT_EQ(ListOf(board, side),
                          std::vector<MoveWord>(list.begin(), list.begin() + lastCapture + 1));
            }

            const int lastQuiet = GenerateQuietMovesOfSquares(board, list, own, occupied);
            // GenerateMoves reads the same sets from the board eight squares at a time.
            if (lastCapture < 0) {
                EXPECT_EQ(ListOf(board, side),
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
