// SPDX-License-Identifier: GPL-3.0-or-later
// Expert: a search built to win at losing chess, beside the exact fixed-depth levels. It keeps
// everything it needs in the object (its own position, evaluation, table and histories) and
// reads no process-wide setting, so it may think on a worker thread while other code uses the
// exact search.
#pragma once

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <span>

#include "rules/board.h"

namespace kelvane {

struct ExpertLimits {
    std::int64_t movetimeMs = 0;  // 0: no time limit
    std::uint64_t nodes = 0;      // 0: no node limit
    int depth = 0;                // 0: no depth limit
};

struct ExpertResult {
    MoveWord move = NoMove;  // NoMove when the side to move has no move
    std::int32_t score = 0;  // from the side to move's view, centipawn-like
    int mateInPlies = 0;     // proven: >0 win in N plies, <0 loss in N plies, 0 not proven
    int depth = 0;           // last completed iteration
    std::uint64_t nodes = 0;
};

// What one finished iteration found; pv is valid only during the call that reports it.
struct ExpertInfo {
    int depth = 0;
    int selectiveDepth = 0;
    std::int32_t score = 0;
    int mateInPlies = 0;  // as in ExpertResult
    std::uint64_t nodes = 0;
    std::uint64_t nodesPerSecond = 0;
    std::int64_t timeMs = 0;
    std::span<const MoveWord> pv;
};

namespace expert {
class Searcher;
}

class ExpertSearch {
  public:
    explicit ExpertSearch(std::size_t hashMegabytes = 64);
    ~ExpertSearch();
    ExpertSearch(const ExpertSearch&) = delete;
    ExpertSearch& operator=(const ExpertSearch&) = delete;

    // Not while Think runs.
    void SetHashMegabytes(std::size_t megabytes);
    // 0: off (the default). Otherwise the opening moves are chosen among near-equal ones, the
    // same way for the same seed.
    void SetVariety(std::uint64_t seed);
    // Forgets what the table and the move histories learned.
    void NewGame();
    // Thread-safe. Ends the Think that runs within milliseconds, with the best move found so
    // far. Each Think starts by forgetting earlier requests, so one made just before it starts
    // may be missed: a caller that must be sure calls Stop again until Think has returned.
    void Stop();

    // history: the positions before this one in the game, oldest first (for repetitions), may
    // be empty. variant: kKingMustDie or kAllMustDie. onInfo (may be empty) is called after
    // each iteration, from the thread running Think. With a node or depth limit alone the
    // result depends only on the arguments and what the table held before.
    ExpertResult Think(const Board& board, Side sideToMove, int variant, const ExpertLimits& limits,
                       std::span<const Board> history = {},
                       const std::function<void(const ExpertInfo&)>& onInfo = {});

    // For tests: plain alpha-beta, without reductions and using the table's results only at
    // the depth they were found at (off by default). On, the value at a fixed depth does not
    // depend on the table.
    void SetPlainAlphaBeta(bool on);

  private:
    std::atomic<bool> stop_{false};
    std::unique_ptr<expert::Searcher> searcher_;
};

}  // namespace kelvane
