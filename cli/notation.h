// Coordinate notation and board text for the driver: file a-h is column 0-7, rank 8-1 is row 0-7.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "rules/board.h"

namespace kelvane::cli {

std::string MoveToText(MoveWord move);  // e.g. "g7g6"

// The piece-placement field of a FEN (rank 8 first); anything after the first space is ignored.
// Fails with a message in error.
std::optional<Board> BoardFromFen(std::string_view fen, std::string& error);
std::string BoardToFen(const Board& board);

// "white" or "2" is side 2, "black" or "1" is side 1.
std::optional<Side> SideFromText(std::string_view text);

}  // namespace kelvane::cli
