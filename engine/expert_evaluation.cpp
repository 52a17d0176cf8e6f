// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/expert_evaluation.h"

#include "rules/evaluation.h"

namespace kelvane::expert {

namespace {

// The king weighs nothing under King must die: both sides always have theirs while the game
// goes on. Matches found no gain in weighing the kinds apart, pieces en prise, the king en
// prise or pawns' advance: the search sees what those would guess at.
constexpr EvaluationWeights kKingMustDieWeights{{0, 100, 100, 100, 100, 100, 0}, 4, 10};
constexpr EvaluationWeights kAllMustDieWeights{{0, 100, 100, 100, 100, 100, 100}, 4, 10};

int SideScore(const Position& position, Side side, const EvaluationWeights& weights) {
    int score = 0;
    for (PieceKind kind = kPawn; kind <= kKing; ++kind)
        score -= weights.piece[static_cast<std::size_t>(kind)] *
                 CountSquares(position.Pieces(side, kind));
    return score + weights.quietMove * position.CountQuietMoves(side);
}

}  // namespace

const EvaluationWeights& DefaultWeights(int variant) {
    return variant == kAllMustDie ? kAllMustDieWeights : kKingMustDieWeights;
}

int Evaluate(const Position& position, const EvaluationWeights& weights) {
    const Side us = position.SideToMove();
    return SideScore(position, us, weights) - SideScore(position, Opponent(us), weights) +
           weights.tempo;
}

}  // namespace kelvane::expert
