#include "rules/board.h"

#include <gtest/gtest.h>

#include <random>

#include "rules/move_generation.h"
#include "tests/support/random_boards.h"

namespace kelvane {
namespace {

SquareCode& At(Board& board, int column, int row) {
    return board[static_cast<std::size_t>(SquareIndex(column, row))];
}

TEST(MoveWord, PacksFieldsFromHighestToLowestByte) {
    EXPECT_EQ(PackMove(6, 1, 6, 2), 0x06010602);
    EXPECT_EQ(UnpackMove(0x06010602), (UnpackedMove{6, 1, 6, 2}));
    EXPECT_EQ(PackMove(0, 0, 0, 1), 1);  // the smallest move of all
    EXPECT_EQ(PackMove(0, 1, 0, 0), 65536);
    for (int a = 0; a < 8; ++a)
        for (int b = 0; b < 8; ++b) {
            const MoveWord m = PackMove(a, b, 7 - a, 7 - b);
            EXPECT_EQ(UnpackMove(m), (UnpackedMove{a, b, 7 - a, 7 - b}));
            EXPECT_EQ((m % 65536) / 256, 7 - a);  // division and shifts agree
        }
}

TEST(StartingPosition, HasExactlyTheThirtyTwoPieces) {
    Board board;
    board.fill(13);  // leftovers everywhere must go
    SetUpStartingPosition(board);
    const SquareCode backRow[] = {4, 2, 3, 5, 6, 3, 2, 4};
    for (int column = 0; column < 8; ++column) {
        EXPECT_EQ(At(board, column, 0), 10 + backRow[column]);
        EXPECT_EQ(At(board, column, 1), 11);
        for (int row = 2; row <= 5; ++row) EXPECT_EQ(At(board, column, row), 0);
        EXPECT_EQ(At(board, column, 6), 21);
        EXPECT_EQ(At(board, column, 7), 20 + backRow[column]);
    }
    // Column 0 in index order, as the saved game begins.
    const SquareCode column0[] = {14, 11, 0, 0, 0, 0, 21, 24};
    for (int i = 0; i < 8; ++i) EXPECT_EQ(board[static_cast<std::size_t>(i)], column0[i]);
}

TEST(ApplyMove, WhitePawnCapturingOntoTheFarRowBecomesAQueenAndRetractsToAPawn) {
    Board board{};
    At(board, 3, 1) = 21;
    At(board, 4, 0) = 14;
    const Board before = board;
    const MoveWord move = PackMove(3, 1, 4, 0);
    const MoveUndo undo = ApplyMove(board, move);
    EXPECT_EQ(undo.origin, 21);
    EXPECT_EQ(undo.destination, 14);
    EXPECT_EQ(At(board, 4, 0), 25);
    EXPECT_EQ(At(board, 3, 1), 0);
    RetractMove(board, move, undo);
    EXPECT_EQ(board, before);
}

TEST(ApplyMove, BlackPawnSteppingOntoRowSevenBecomesAQueen) {
    Board board{};
    At(board, 2, 6) = 11;
    ApplyMove(board, PackMove(2, 6, 2, 7));
    EXPECT_EQ(At(board, 2, 7), 15);
}

TEST(ApplyMove, OnlyPawnsChangeOnTheBackRows) {
    for (int code : {12, 13, 14, 15, 16, 22, 23, 24, 25, 26}) {
        Board board{};
        At(board, 0, 1) = static_cast<SquareCode>(code);
        At(board, 1, 6) = static_cast<SquareCode>(code);
        ApplyMove(board, PackMove(0, 1, 0, 0));
        ApplyMove(board, PackMove(1, 6, 1, 7));
        EXPECT_EQ(At(board, 0, 0), code);
        EXPECT_EQ(At(board, 1, 7), code);
    }
    // A white pawn on row 7 or a black pawn on row 0 stays a pawn.
    Board board{};
    At(board, 0, 6) = 21;
    At(board, 5, 1) = 11;
    ApplyMove(board, PackMove(0, 6, 0, 7));
    ApplyMove(board, PackMove(5, 1, 5, 0));
    EXPECT_EQ(At(board, 0, 7), 21);
    EXPECT_EQ(At(board, 5, 0), 11);
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
        for (auto it = made.rbegin(); it != made.rend(); ++it) RetractMove(board, it->move, it->undo);
        ASSERT_EQ(board, start) << "game " << game;
    }
}

}  // namespace
}  // namespace kelvane
