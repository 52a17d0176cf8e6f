// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/sort_by_score.h"

#include <algorithm>
#include <array>
#include <cstddef>
#include <utility>

namespace kelvane {

void SortByScore(std::int32_t* scores, MoveWord* moves, int lo, int hi) {
    // The right half is handled by looping rather than recursing, which keeps the stack shallow
    // and does exactly the same exchanges.
    while (lo <= hi) {
        int i = lo;
        int j = hi;
        const std::int32_t pivot = scores[(lo + hi) / 2];
        while (j >= i) {
            while (scores[i] > pivot) ++i;
            while (scores[j] < pivot) --j;
            if (j < i) break;
            std::swap(scores[i], scores[j]);
            std::swap(moves[i], moves[j]);
            ++i;
            --j;
        }
        if (j > lo) SortByScore(scores, moves, lo, j);
        if (i >= hi) return;
        lo = i;
    }
}

namespace {

// Lists longer than this are sorted as they come; they are rare.
constexpr int kLongestReplayed = 96;

// For each count, where each entry of the sorted list comes from.
using Permutation = std::array<std::uint8_t, kLongestReplayed>;

std::array<Permutation, kLongestReplayed + 1> EqualScorePermutations() {
    std::array<Permutation, kLongestReplayed + 1> table{};
    for (int count = 1; count <= kLongestReplayed; ++count) {
        std::array<std::int32_t, kLongestReplayed> scores{};
        std::array<MoveWord, kLongestReplayed> origins{};
        for (int i = 0; i < count; ++i) origins[static_cast<std::size_t>(i)] = i;
        SortByScore(scores.data(), origins.data(), 0, count - 1);
        for (int i = 0; i < count; ++i) {
            table[static_cast<std::size_t>(count)][static_cast<std::size_t>(i)] =
                static_cast<std::uint8_t>(origins[static_cast<std::size_t>(i)]);
        }
    }
    return table;
}

}  // namespace

void SortByEqualScores(std::int32_t* scores, MoveWord* moves, int count) {
    if (count > kLongestReplayed) {
        SortByScore(scores, moves, 0, count - 1);
        return;
    }
    static const std::array<Permutation, kLongestReplayed + 1> permutations =
        EqualScorePermutations();
    const Permutation& from = permutations[static_cast<std::size_t>(count)];
    std::array<MoveWord, kLongestReplayed> original;
    std::copy(moves, moves + count, original.begin());
    for (int i = 0; i < count; ++i) moves[i] = original[from[static_cast<std::size_t>(i)]];
}

}  // namespace kelvane
