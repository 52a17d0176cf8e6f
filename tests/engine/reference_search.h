// SPDX-License-Identifier: GPL-3.0-or-later
// A literal, slow transcription of the search: every move made on the board, every test and
// count a full scan. The real search keeps bookkeeping beside the board to go faster; it must
// agree with this one on every chosen move, every call count and the verdict left behind.
#pragma once

#include <cstdint>

#include "rules/board.h"

namespace kelvane::testing {

struct ReferenceResult {
    std::int32_t value;
    std::uint64_t calls;
};

ReferenceResult ReferenceSearch(Board& board, int maximizing, Side side, int depth,
                                std::int32_t bound, int root);

}  // namespace kelvane::testing
