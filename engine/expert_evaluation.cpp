// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/expert_evaluation.h"

#include <bit>
#include <cstdio>
#include <cstdlib>

#include "rules/evaluation.h"
#include "rules/move_tables.h"

namespace kelvane::expert {

namespace {

// The king weighs nothing under King must die: both sides always have theirs while the game
// goes on.
EvaluationWeights kKingMustDieWeights{{0, 100, 100, 100, 100, 100, 0}, 4, 0, 0, 0, 10};
EvaluationWeights kAllMustDieWeights{{0, 100, 100, 100, 100, 100, 100}, 4, 0, 0, 0, 10};

void LoadOverride(EvaluationWeights& w, const char* name) {
    const char* text = std::getenv(name);
    if (text == nullptr) return;
    std::sscanf(text, "%d %d %d %d %d %d %d %d %d %d %d", &w.piece[1], &w.piece[2], &w.piece[3],
                &w.piece[4], &w.piece[5], &w.piece[6], &w.quietMove, &w.pieceEnPrise,
                &w.kingEnPrise, &w.pawnAdvance, &w.tempo);
}

struct Loader {
    Loader() {
        LoadOverride(kKingMustDieWeights, "KX_KING");
        LoadOverride(kAllMustDieWeights, "KX_ALL");
    }
} loader;

// How far side's pawns have come: rows from the start row, summed.
int PawnAdvance(SquareSet pawns, Side side) {
    int total = 0;
    for (; pawns != 0; pawns &= pawns - 1) {
        const int row = std::countr_zero(pawns) & 7;
        total += side == 1 ? row - 1 : 6 - row;
    }
    return total;
}

int SideScore(const Position& position, Side side, SquareSet otherAttacks,
              const EvaluationWeights& weights) {
    int score = 0;
    for (PieceKind kind = kPawn; kind <= kKing; ++kind)
        score -= weights.piece[static_cast<std::size_t>(kind)] *
                 CountSquares(position.Pieces(side, kind));
    score += weights.quietMove * position.CountQuietMoves(side);
    score += weights.pieceEnPrise * CountSquares(position.Pieces(side) & otherAttacks);
    if ((position.Pieces(side, kKing) & otherAttacks) != 0) score += weights.kingEnPrise;
    score += weights.pawnAdvance * PawnAdvance(position.Pieces(side, kPawn), side);
    return score;
}

}  // namespace

const EvaluationWeights& DefaultWeights(int variant) {
    return variant == kAllMustDie ? kAllMustDieWeights : kKingMustDieWeights;
}

int Evaluate(const Position& position, const EvaluationWeights& weights) {
    const Side us = position.SideToMove();
    const Side them = Opponent(us);
    const SquareSet ourAttacks = position.Attacks(us);
    const SquareSet theirAttacks = position.Attacks(them);
    return SideScore(position, us, theirAttacks, weights) -
           SideScore(position, them, ourAttacks, weights) + weights.tempo;
}

}  // namespace kelvane::expert
