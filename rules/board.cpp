// SPDX-License-Identifier: GPL-3.0-or-later
#include "rules/board.h"

namespace kelvane {

namespace {
// Back row from column 0 to 7, by kind.
constexpr std::array<PieceKind, 8> kBackRow = {kRook, kKnight, kBishop, kQueen,
                                               kKing, kBishop, kKnight, kRook};
}  // namespace

void SetUpStartingPosition(Board& board) {
    board.fill(0);
    for (int column = 0; column < kBoardDim; ++column) {
        const auto kind = static_cast<SquareCode>(kBackRow[static_cast<std::size_t>(column)]);
        board[SquareIndex(column, 0)] = static_cast<SquareCode>(10 + kind);
        board[SquareIndex(column, 1)] = kBlackPawn;
        board[SquareIndex(column, 6)] = kWhitePawn;
        board[SquareIndex(column, 7)] = static_cast<SquareCode>(20 + kind);
    }
}

MoveUndo ApplyMove(Board& board, MoveWord move) {
    const UnpackedMove m = UnpackMove(move);
    const int from = SquareIndex(m.fromColumn, m.fromRow);
    const int to = SquareIndex(m.toColumn, m.toRow);
    const MoveUndo undo{board[from], board[to]};
    board[from] = 0;
    board[to] = undo.origin;
    if (undo.origin == kWhitePawn && m.toRow == 0) board[to] = kWhiteQueen;
    if (board[to] == kBlackPawn && m.toRow == 7) board[to] = kBlackQueen;
    return undo;
}

void RetractMove(Board& board, MoveWord move, MoveUndo undo) {
    const UnpackedMove m = UnpackMove(move);
    board[SquareIndex(m.fromColumn, m.fromRow)] = undo.origin;
    board[SquareIndex(m.toColumn, m.toRow)] = undo.destination;
}

}  // namespace kelvane
