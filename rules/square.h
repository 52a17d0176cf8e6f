// SPDX-License-Identifier: GPL-3.0-or-later
// A square of the board by column and row, both 0 to 7; column 0 at the left (file a) and
// row 0 at the top (rank 8).
#pragma once

#include "rules/board.h"

namespace kelvane {

struct Square {
    int column = 0;
    int row = 0;
    friend constexpr bool operator==(const Square&, const Square&) = default;
};

constexpr bool IsOnBoard(Square square) {
    return square.column >= 0 && square.column < kBoardDim && square.row >= 0 &&
           square.row < kBoardDim;
}

constexpr std::size_t IndexOf(Square square) {
    return static_cast<std::size_t>(SquareIndex(square.column, square.row));
}

constexpr MoveWord PackMove(Square from, Square to) {
    return PackMove(from.column, from.row, to.column, to.row);
}

constexpr Square OriginOf(MoveWord move) {
    const UnpackedMove m = UnpackMove(move);
    return {m.fromColumn, m.fromRow};
}

constexpr Square DestinationOf(MoveWord move) {
    const UnpackedMove m = UnpackMove(move);
    return {m.toColumn, m.toRow};
}

}  // namespace kelvane
