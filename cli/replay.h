// SPDX-License-Identifier: GPL-3.0-or-later
// A PGN file played again through the rules, move by move.
#pragma once

#include <ostream>
#include <string>
#include <string_view>

#include "rules/result.h"

namespace kelvane::cli {

// Writes the FEN placement after the last move of each game in pgn to out as soon as the game
// is replayed, each move as it is read; the number of games. Fails, at the first game that does,
// with one line naming the game, the move number and the move that is not legal, or what is
// wrong with the text.
Result<int> ReplayPgn(std::string_view pgn, std::ostream& out);

// ReplayPgn on a file's contents; the reason names the file. Refuses, before reading anything,
// a folder, a file that is not a regular file (a FIFO, a device) and one larger than 64 MB;
// fails, too, where there is not enough memory for it.
Result<int> ReplayPgnFile(const std::string& fileName, std::ostream& out);

}  // namespace kelvane::cli
