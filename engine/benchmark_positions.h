// SPDX-License-Identifier: GPL-3.0-or-later
// The positions the benchmark searches: the start for both sides, and positions reached by the
// computer playing itself at depths 4 and 6 under both rule sets, at several move numbers.
#pragma once

#include <span>
#include <string_view>

#include "rules/board.h"

namespace kelvane::bench {

struct BenchmarkPosition {
    std::string_view placement;  // FEN placement field, rank 8 first
    Side side;                   // to move
    int rules;                   // 1 King must die, 0 All must die
};

std::span<const BenchmarkPosition> BenchmarkPositions();

}  // namespace kelvane::bench
