// SPDX-License-Identifier: GPL-3.0-or-later
// Standard algebraic notation as the rules here know it: no castling, no en passant and no
// check, so no check marks; a pawn that reaches the far row always becomes a queen.
#pragma once

#include <string>
#include <string_view>

#include "rules/board.h"
#include "rules/result.h"

namespace kelvane {

// move must be one of side's legal moves on board. Piece letter (none for a pawn), the origin's
// file, rank or both when another piece of the same kind could reach the same square, "x" for a
// capture (a pawn's with its file, as in exd5), the destination, "=Q" for a promotion.
std::string MoveToSan(const Board& board, Side side, MoveWord move);

// The legal move of side that san names. Trailing "+", "#", "!" and "?" are ignored. Fails,
// with a reason that quotes san (its first 40 bytes and "..." when it is longer), for text that is
// no move, for a piece letter other than P, N, B, R, Q, K, and for a move that is not among side's
// legal moves or names several.
Result<MoveWord> MoveFromSan(const Board& board, Side side, std::string_view san);

}  // namespace kelvane
