// SPDX-License-Identifier: GPL-3.0-or-later
// The Expert search's evaluation, made for a game that each side wants to lose: every piece
// still on the board is a burden to its owner, and being able to choose is worth more than
// being forced.
#pragma once

#include <array>
#include <cstdint>

#include "engine/expert_position.h"

namespace kelvane::expert {

// Centipawn-like weights of what a side has; each rule set has its own.
struct EvaluationWeights {
    // What keeping one piece of each kind costs its owner, by PieceKind (index 0 unused).
    std::array<int, 7> piece{};
    int quietMove = 0;  // per move to an empty square the side has: room to choose
    int tempo = 0;      // for the side to move
};

const EvaluationWeights& DefaultWeights(int variant);

// The position's value for the side to move.
int Evaluate(const Position& position, const EvaluationWeights& weights);

}  // namespace kelvane::expert
