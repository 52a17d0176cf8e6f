// SPDX-License-Identifier: GPL-3.0-or-later
// kelvane-cli selfplay: the game's autoplay from a new game, printed, with its record.
#pragma once

#include <ostream>
#include <string>

#include "engine/search_depth.h"
#include "rules/evaluation.h"
#include "rules/result.h"

namespace kelvane::cli {

struct SelfplayOptions {
    int depth = kDepthEasy;
    int rules = kKingMustDie;
    int maxPlies = 1000;
    bool positions = false;  // the placement after each move
    bool draws = false;
    std::string pgnFile;  // empty: no record
};

// Black opens with the fixed move, then the sides alternate; each move on a line, then the
// result text, a draw, or the ply limit. The PGN file is opened before the game: the reason
// when it cannot be. Returns the exit status: kExitWriteFailed, with a line on err, when the
// game could not be written.
Result<int> RunSelfplay(const SelfplayOptions& options, std::ostream& out, std::ostream& err);

}  // namespace kelvane::cli
