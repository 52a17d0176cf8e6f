// SPDX-License-Identifier: GPL-3.0-or-later
#include "rules/notation.h"

#include <gtest/gtest.h>

#include <random>
#include <set>
#include <vector>

#include "rules/move_generation.h"
#include "rules/san.h"
#include "tests/support/random_boards.h"

namespace kelvane {
namespace {

TEST(Notation, FenRoundTripsOverRandomPositions) {
    std::mt19937 random(7);
    for (int i = 0; i < 300; ++i) {
        const Board board = i % 2 == 0 ? testing::PositionAfterRandomGame(random, i % 60)
                                       : testing::RandomPlacement(random);
        const Result<Board> back = BoardFromFen(BoardToFen(board));
        ASSERT_TRUE(back.ok()) << BoardToFen(board);
        EXPECT_EQ(*back, board) << BoardToFen(board);
    }
    Board board{};
    board[SquareIndex(4, 0)] = kBlackKing;  // e8
    board[SquareIndex(0, 7)] = kWhitePawn;  // a1
    EXPECT_EQ(BoardToFen(board), "4k3/8/8/8/8/8/8/P7");
}

TEST(Notation, SquaresAndMovesFollowTheRanks) {
    EXPECT_EQ(MoveToText(PackMove(6, 1, 6, 2)), "g7g6");
    EXPECT_EQ(MoveToText(PackMove(0, 7, 7, 0)), "a1h8");
    EXPECT_EQ(MoveFromText("e2e4"), PackMove(4, 6, 4, 4));
    EXPECT_EQ(SquareFromText("h1"), (Square{7, 7}));
    for (const char* bad : {"", "e", "e9", "i2", "E2", "e2e", "e2e4 ", "a0a1"}) {
        EXPECT_FALSE(MoveFromText(bad).has_value()) << bad;
    }
}

TEST(Notation, MalformedFenIsRefusedWithTheReason) {
    for (const char* bad : {"8/8/8/8/8/8/8", "9/8/8/8/8/8/8/8", "rnbqkbnrr/8/8/8/8/8/8/8",
                            "8/8/8/8/8/8/8/8/8", "x7/8/8/8/8/8/8/8", "7/8/8/8/8/8/8/8"}) {
        const Result<Board> board = BoardFromFen(bad);
        EXPECT_FALSE(board.ok()) << bad;
        if (!board.ok()) {
            EXPECT_FALSE(board.reason().empty());
        }
    }
}

// Every legal move has its own SAN, which reads back as the move.
TEST(Notation, EachLegalMoveHasItsOwnSanThatReadsBack) {
    const char* fens[] = {"rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR", "6k1/8/8/8/8/Q7/8/Q1Q5",
                          "1n5k/P7/8/3p4/2P1P3/8/8/8", "r3r1k1/1P4P1/8/8/3N1N2/8/2p5/R3K2R",
                          "8/8/8/2n1n3/8/3K4/8/8"};
    for (const char* fen : fens) {
        const Board board = *BoardFromFen(fen);
        for (const Side side : {1, 2}) {
            MoveList list;
            const int last = GenerateMoves(board, list, side);
            std::set<std::string> seen;
            for (int i = 0; i <= last; ++i) {
                const MoveWord move = list[static_cast<std::size_t>(i)];
                const std::string san = MoveToSan(board, side, move);
                EXPECT_TRUE(seen.insert(san).second) << fen << " " << san;
                const Result<MoveWord> back = MoveFromSan(board, side, san + "+");
                ASSERT_TRUE(back.ok()) << fen << " " << san << ": " << back.reason();
                EXPECT_EQ(*back, move) << fen << " " << san;
            }
        }
    }
    for (const char* bad : {"Zf3", "e9", "Nf", "", "e4e5", "O-O", "e8=N", "Ne4", "exd3"})
        EXPECT_FALSE(MoveFromSan(*BoardFromFen(fens[0]), 2, bad).ok()) << bad;
}

}  // namespace
}  // namespace kelvane
