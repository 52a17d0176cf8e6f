// SPDX-License-Identifier: GPL-3.0-or-later
// A PGN file played again through the rules, move by move.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "rules/result.h"

namespace kelvane::cli {

// The FEN placement after the last move of every game in pgn. Fails with one line naming the
// game, the move number and the move that is not legal, or what is wrong with the text.
Result<std::vector<std::string>> ReplayPgn(std::string_view pgn);

// ReplayPgn on a file's contents; the reason names the file.
Result<std::vector<std::string>> ReplayPgnFile(const std::string& fileName);

}  // namespace kelvane::cli
