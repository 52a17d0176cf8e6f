// SPDX-License-Identifier: GPL-3.0-or-later
// Text forms of squares, moves and positions: file a-h is column 0-7, rank 8-1 is row 0-7.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "rules/board.h"
#include "rules/result.h"
#include "rules/square.h"

namespace kelvane {

std::string SquareToText(Square square);  // e.g. "e2"
std::optional<Square> SquareFromText(std::string_view text);

std::string MoveToText(MoveWord move);  // coordinate notation, e.g. "g7g6"
std::optional<MoveWord> MoveFromText(std::string_view text);

// The piece-placement field of a FEN (rank 8 first); anything after the first space is ignored.
Result<Board> BoardFromFen(std::string_view fen);
std::string BoardToFen(const Board& board);

// "white" or "2" is side 2, "black" or "1" is side 1.
std::optional<Side> SideFromText(std::string_view text);

}  // namespace kelvane
