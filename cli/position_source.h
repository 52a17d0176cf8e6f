// Where a position given on the command line comes from: "start", a FEN placement field, or a
// 64-byte saved game.
#pragma once

#include <optional>
#include <string>

#include "rules/board.h"

namespace kelvane::cli {

std::optional<Board> LoadPosition(const std::string& text, std::string& error);

}  // namespace kelvane::cli
