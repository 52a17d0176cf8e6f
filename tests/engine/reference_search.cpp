// SPDX-License-Identifier: GPL-3.0-or-later
#include "tests/engine/reference_search.h"

#include <vector>

#include "engine/sort_by_score.h"
#include "rules/evaluation.h"
#include "rules/move_generation.h"

namespace kelvane::testing {

namespace {

std::uint64_t calls = 0;

std::int32_t Node(Board& board, int maximizing, Side side, int depth, std::int32_t bound,
                  int root) {
    ++calls;
    if (root == 1) ResetEvaluation();
    const Side opponent = side == 1 ? 2 : 1;
    std::int32_t best = maximizing ? -200000000 : 200000000;
    std::vector<MoveWord> moves(1000);
    std::vector<std::int32_t> scores(1000);
    const int last = GenerateMoves(board, moves, side);
    if (root == 1 && last == 0) return moves[0];
    for (int i = 0; i <= last; ++i) {
        const MoveUndo undo = ApplyMove(board, moves[i]);
        TestEndOfGame(board, GetRulesVariant());
        const int r = GetGameResult();
        if (r != 0 && r != side) {
            scores[i] = -1000000;
        } else if (r == side) {
            scores[i] = 1000000;
        } else {
            scores[i] = CountMaterial(board, side);
        }
        RetractMove(board, moves[i], undo);
    }
    SortByScore(scores.data(), moves.data(), 0, last);
    for (int i = 0; i <= last; ++i) {
        if (scores[i] == -1000000 || scores[i] == 1000000) {
            if (!maximizing) scores[i] = -scores[i];
            continue;
        }
        const MoveUndo undo = ApplyMove(board, moves[i]);
        std::int32_t v;
        if (depth != 0) {
            v = Node(board, 1 - maximizing, opponent, depth - 1, best, 0);
        } else {
            v = CountMaterial(board, maximizing ? side : opponent);
        }
        RetractMove(board, moves[i], undo);
        scores[i] = v;
        if (depth != 0) {
            if (maximizing) {
                if (v > best) best = v;
                if (best >= bound) return root == 1 ? moves[i] : best + 1;
            } else {
                if (v < best) best = v;
                if (best <= bound) return root == 1 ? moves[i] : best - 1;
            }
        }
    }
    if (last == -1) {
        if (root == 1) return -1;
        return maximizing ? 2000000001 : -2000000001;
    }
    std::int32_t run = maximizing ? -2000000000 : 2000000000;
    MoveWord chosen = moves[last];
    for (int i = 0; i <= last; ++i) {
        if (maximizing ? scores[i] > run : scores[i] < run) {
            run = scores[i];
            chosen = moves[i];
        }
    }
    return root == 1 ? chosen : run;
}

}  // namespace

ReferenceResult ReferenceSearch(Board& board, int maximizing, Side side, int depth,
                                std::int32_t bound, int root) {
    calls = 0;
    const std::int32_t value = Node(board, maximizing, side, depth, bound, root);
    return {value, calls};
}

}  // namespace kelvane::testing
