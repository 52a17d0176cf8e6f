// SPDX-License-Identifier: GPL-3.0-or-later
// The Board, its square codes and the packed move.
#pragma once

#include <array>
#include <cstdint>

namespace kelvane {

// A square code is 0 (empty) or side*10 + kind.
using SquareCode = std::int8_t;
// Square (column a, row b) lives at index a*8 + b: one column's squares are consecutive.
using Board = std::array<SquareCode, 64>;
// origin column*16777216 + origin row*65536 + destination column*256 + destination row.
using MoveWord = std::int32_t;
using Side = int;       // 1 Black (top, the computer), 2 White (bottom, the human)
using PieceKind = int;  // 1 pawn .. 6 king

inline constexpr int kBoardDim = 8;
inline constexpr MoveWord NoMove = -1;

inline constexpr PieceKind kPawn = 1;
inline constexpr PieceKind kKnight = 2;
inline constexpr PieceKind kBishop = 3;
inline constexpr PieceKind kRook = 4;
inline constexpr PieceKind kQueen = 5;
inline constexpr PieceKind kKing = 6;

inline constexpr SquareCode kBlackPawn = 11;
inline constexpr SquareCode kBlackQueen = 15;
inline constexpr SquareCode kBlackKing = 16;
inline constexpr SquareCode kWhitePawn = 21;
inline constexpr SquareCode kWhiteQueen = 25;
inline constexpr SquareCode kWhiteKing = 26;

// Integer division truncating toward zero, as the square codes are read everywhere.
constexpr int SideOf(SquareCode code) {
    return code / 10;
}
constexpr PieceKind KindOf(SquareCode code) {
    return code % 10;
}
constexpr Side Opponent(Side side) {
    return 3 - side;
}
constexpr bool IsPieceCode(SquareCode code) {
    return (code >= 11 && code <= 16) || (code >= 21 && code <= 26);
}
constexpr int SquareIndex(int column, int row) {
    return column * kBoardDim + row;
}

constexpr MoveWord PackMove(int fromColumn, int fromRow, int toColumn, int toRow) {
    return fromColumn * 16777216 + fromRow * 65536 + toColumn * 256 + toRow;
}

struct UnpackedMove {
    int fromColumn;
    int fromRow;
    int toColumn;
    int toRow;
    friend constexpr bool operator==(const UnpackedMove&, const UnpackedMove&) = default;
};

constexpr UnpackedMove UnpackMove(MoveWord move) {
    return {(move >> 24) & 0xFF, (move >> 16) & 0xFF, (move >> 8) & 0xFF, move & 0xFF};
}

// The codes that origin and destination held before ApplyMove; RetractMove writes them back.
struct MoveUndo {
    SquareCode origin;
    SquareCode destination;
};

void SetUpStartingPosition(Board& board);

// Moves the origin's code to the destination, promoting a pawn that reaches the far row to a
// queen. Checks no legality; the move's fields must each be 0 to 7.
MoveUndo ApplyMove(Board& board, MoveWord move);
void RetractMove(Board& board, MoveWord move, MoveUndo undo);

}  // namespace kelvane
