#pragma once

#include <cstdint>

#include "rules/board.h"

namespace kelvane {

// Quicksort with a middle pivot into non-increasing score order, moving each move with its
// score. Which of several equal scores ends first is part of the computer's play: keep the
// exchanges exactly as they are. With hi < lo it does nothing.
void SortByScore(std::int32_t* scores, MoveWord* moves, int lo, int hi);

}  // namespace kelvane
