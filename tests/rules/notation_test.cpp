// SPDX-License-Identifier: GPL-3.0-or-later
#include "rules/notation.h"

#include <gtest/gtest.h>

#include <random>
#include <vector>

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

}  // namespace
}  // namespace kelvane
