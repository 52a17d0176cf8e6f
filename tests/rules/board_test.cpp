// SPDX-License-Identifier: GPL-3.0-or-later
#include "rules/board.h"

#include <gtest/gtest.h>

#include <random>

#include "rules/move_generation.h"
#include "rules/notation.h"
#include "tests/support/random_boards.h"

namespace kelvane {
namespace {

SquareCode& At(Board& board, int column, int row) {
    return board[static_cast<std::size_t>(SquareIndex(column, row))];
}

TEST(StartingPosition, HasExactlyTheThirtyTwoPieces) {
    Board board;
    board.fill(13);  // leftovers everywhere must go
    SetUpStartingPosition(board);
    EXPECT_EQ(BoardToFen(board), "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR");
    // Column 0 in index order, as the saved game begins.
    const SquareCode column0[] = {14, 11, 0, 0, 0, 0, 21, 24};
    for (int i = 0; i < 8; ++i) EXPECT_EQ(board[static_cast<std::size_t>(i)], column0[i]);
}

// Only a pawn arriving on its own far row changes, by a step or a capture, and always into a
// queen; retracting gives back both squares' codes.
TEST(ApplyMove, PromotesOnlyPawnsReachingTheirFarRow) {
    struct Case {
        int moved, captured, fromRow, toRow, expected;
    };
    const Case cases[] = {
        {21, 14, 1, 0, 25}, {21, 0, 1, 0, 25}, {11, 0, 6, 7, 15}, {11, 24, 6, 7, 15},
        {21, 0, 6, 7, 21},  {11, 0, 1, 0, 11}, {15, 0, 1, 0, 15}, {22, 0, 6, 7, 22},
        {16, 23, 1, 0, 16}, {24, 0, 1, 0, 24}, {13, 0, 6, 7, 13}, {26, 0, 6, 7, 26},
    };
    for (const Case& c : cases) {
        Board board{};
        At(board, 3, c.fromRow) = static_cast<SquareCode>(c.moved);
        At(board, 4, c.toRow) = static_cast<SquareCode>(c.captured);
        const Board before = board;
        const MoveWord move = PackMove(3, c.fromRow, 4, c.toRow);
        const MoveUndo undo = ApplyMove(board, move);
        EXPECT_EQ(At(board, 4, c.toRow), c.expected) << "code " << c.moved;
        EXPECT_EQ(At(board, 3, c.fromRow), 0);
        EXPECT_EQ(undo.origin, c.moved);
        EXPECT_EQ(undo.destination, c.captured);
        RetractMove(board, move, undo);
        EXPECT_EQ(board, before);
    }
}

TEST(ApplyMove, RetractingInReverseOrderRestoresEveryRandomGame) {
    std::mt19937 random(11);
    MoveList list;
    for (int game = 0; game < 200; ++game) {
        Board board;
        SetUpStartingPosition(board);
        const Board start = board;
        struct Made {
            MoveWord move;
            MoveUndo undo;
        };
        std::vector<Made> made;
        Side side = 2;
        for (int ply = 0; ply < 120; ++ply) {
            const int last = GenerateMoves(board, list, side);
            if (last < 0) break;
            const MoveWord move =
                list[std::uniform_int_distribution<std::size_t>(0, std::size_t(last))(random)];
            made.push_back({move, ApplyMove(board, move)});
            side = Opponent(side);
        }
        for (auto it = made.rbegin(); it != made.rend(); ++it)
            RetractMove(board, it->move, it->undo);
        ASSERT_EQ(board, start) << "game " << game;
    }
}

}  // namespace
}  // namespace kelvane
