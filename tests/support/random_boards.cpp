// SPDX-License-Identifier: GPL-3.0-or-later
#include "tests/support/random_boards.h"

#include "rules/move_generation.h"

namespace kelvane::testing {

namespace {
int Uniform(std::mt19937& random, int lo, int hi) {
    return std::uniform_int_distribution<int>(lo, hi)(random);
}
}  // namespace

Board PositionAfterRandomGame(std::mt19937& random, int plies) {
    Board board;
    SetUpStartingPosition(board);
    Side side = 2;
    MoveList list;
    for (int ply = 0; ply < plies; ++ply) {
        const int last = GenerateMoves(board, list, side);
        if (last < 0) break;
        ApplyMove(board, list[static_cast<std::size_t>(Uniform(random, 0, last))]);
        side = Opponent(side);
    }
    return board;
}

Board RandomPlacement(std::mt19937& random) {
    Board board{};
    const int pieces = Uniform(random, 0, 20);
    for (int i = 0; i < pieces; ++i) {
        const int code = Uniform(random, 1, 2) * 10 + Uniform(random, 1, 6);
        board[static_cast<std::size_t>(Uniform(random, 0, 63))] = static_cast<SquareCode>(code);
    }
    return board;
}

Board RandomBytes(std::mt19937& random) {
    Board board{};
    for (SquareCode& code : board) code = static_cast<SquareCode>(Uniform(random, -128, 127));
    return board;
}

std::string Describe(const Board& board) {
    std::string text = "board {";
    for (SquareCode code : board) text += std::to_string(code) + ",";
    return text + "}";
}

}  // namespace kelvane::testing
