// SPDX-License-Identifier: GPL-3.0-or-later
// kelvane-cli selfplay: the game's autoplay from a new game, printed, with its record.
#pragma once

#include <ostream>
#include <string>

#include "engine/search_depth.h"
#include "rules/evaluation.h"

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
// result text, a draw, or the ply limit. Returns the exit status.
int RunSelfplay(const SelfplayOptions& options, std::ostream& out);

}  // namespace kelvane::cli
