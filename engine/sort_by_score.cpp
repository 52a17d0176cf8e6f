#include "engine/sort_by_score.h"

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

}  // namespace kelvane
