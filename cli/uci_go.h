// SPDX-License-Identifier: GPL-3.0-or-later
// A UCI "go" command's limits, and how much of the clock one move may take.
#pragma once

#include <cstdint>
#include <string_view>
#include <vector>

#include "engine/expert_search.h"
#include "rules/board.h"
#include "rules/result.h"

namespace kelvane::cli {

struct UciGo {
    ExpertLimits limits;  // movetime, nodes and depth as given
    bool infinite = false;
    std::int64_t whiteTime = -1;  // -1: not given
    std::int64_t blackTime = -1;
    std::int64_t whiteIncrement = 0;
    std::int64_t blackIncrement = 0;
    int movesToGo = 0;
};

// The words after "go". Unknown words and "ponder" are refused.
Result<UciGo> ParseUciGo(const std::vector<std::string_view>& words);

// What the search is given for side's move: the limits as given, a share of the clock when
// only the clocks are given, and no limit at all for infinite or a bare go.
ExpertLimits SearchLimitsFor(const UciGo& go, Side side);

}  // namespace kelvane::cli
