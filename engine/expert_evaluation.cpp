// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/expert_evaluation.h"

#include <bit>

#include "rules/evaluation.h"

namespace kelvane::expert {

namespace {

// The king weighs nothing under King must die: both sides always have theirs while the game
// goes on.
constexpr EvaluationWeights kKingMustDieWeights{{0, 100, 100, 100, 100, 100, 0}, 4, 0, 10};
constexpr EvaluationWeights kAllMustDieWeights{{0, 100, 100, 100, 100, 100, 100}, 4, 0, 10};

int SideScore(const Position& position, Side side, const EvaluationWeights& weights) {
    int score = 0;
    for (PieceKind kind = kPawn; kind <= kKing; ++kind)
        score -= weights.piece[static_cast<std::size_t>(kind)] *
                 std::popcount(position.Pieces(side, kind));
    score += weights.quietMove * position.CountQuietMoves(side);
    return score;
}

}  // namespace

const EvaluationWeights& DefaultWeights(int variant) {
    return variant == kAllMustDie ? kAllMustDieWeights : kKingMustDieWeights;
}

int Evaluate(const Position& position, const EvaluationWeights& weights) {
    const Side us = position.SideToMove();
    const Side them = Opponent(us);
    return SideScore(position, us, weights) - SideScore(position, them, weights) + weights.tempo;
}

}  // namespace kelvane::expert
