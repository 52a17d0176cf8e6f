// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>

#include "rules/board.h"

namespace kelvane {

// Quicksort with a middle pivot into non-increasing score order, moving each move with its
// score. Which of several equal scores ends first is part of the computer's play: keep the
// exchanges exactly as they are. With hi < lo it does nothing.
void SortByScore(std::int32_t* scores, MoveWord* moves, int lo, int hi);

// SortByScore(scores, moves, 0, count - 1) for scores that are all equal. Its comparisons then
// depend on positions only, so the order it leaves is one fixed permutation per count, worked
// out once and replayed here; the scores stay as they are. The search sorts many such lists:
// moves to empty squares all leave the same count.
void SortByEqualScores(std::int32_t* scores, MoveWord* moves, int count);

}  // namespace kelvane
