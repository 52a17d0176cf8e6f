// SPDX-License-Identifier: GPL-3.0-or-later
// The computer player: a depth-limited minimax with one-ply move ordering and a single-bound
// cut-off, made and unmade in place on the caller's board.
#pragma once

#include <cstdint>

#include "rules/board.h"

namespace kelvane {

inline constexpr std::int32_t GameOverScore = 1000000;
// The bound a root search is given, and the value a node's best score starts from: past every
// material count and game-over score.
inline constexpr std::int32_t kRootBound = 200000000;

// At the root (root 1) returns the chosen MoveWord, or NoMove when side has no legal move;
// below the root, a score from the maximizing side's view. The board is restored before
// every return. maximizing is 1 or 0 (any other value counts as 1), a negative depth counts
// as 0, and a side other than 1 or 2 has no move.
std::int32_t Search(Board& board, int maximizing, Side side, int depth, std::int32_t bound,
                    int root);

// The move side would play: a root search of depth plies, maximizing for side. NoMove when
// side has no legal move.
inline MoveWord ChooseMove(Board& board, Side side, int depth) {
    return Search(board, 1, side, depth, kRootBound, 1);
}

// Number of Search activations (the root included) since the last reset; for the driver and
// the benchmark.
std::uint64_t GetSearchCallCount();
void ResetSearchCallCount();

}  // namespace kelvane
