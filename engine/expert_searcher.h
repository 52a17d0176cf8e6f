// SPDX-License-Identifier: GPL-3.0-or-later
// The Expert search's tree walk: iterative deepening, principal-variation alpha-beta with the
// table, forced captures searched to the end, and the move ordering tables it learns.
#pragma once

#include <array>
#include <atomic>
#include <chrono>
#include <cstdint>
#include <functional>
#include <span>
#include <vector>

#include "engine/expert_evaluation.h"
#include "engine/expert_position.h"
#include "engine/expert_search.h"
#include "engine/expert_table.h"

namespace kelvane::expert {

inline constexpr int kMaxPly = 128;
// A side that reaches its goal after p plies scores kWin - p.
inline constexpr int kWin = 30000;
inline constexpr int kInfinity = 32000;
inline constexpr int kProvenWin = kWin - 1000;

// What the search does beyond plain alpha-beta.
struct SearchTuning {
    // No reductions, and the table's results used only at the depth they were found at.
    bool plain = false;
    int captureDepth = 8;  // plies of chosen captures past the tree's end
    int forcingDepth = 2;  // of those, in which a quiet move forcing a capture is tried
    bool nullMove = true;
};

class Searcher {
  public:
    Searcher(std::atomic<bool>& stop, std::size_t hashMegabytes);

    void SetHashMegabytes(std::size_t megabytes) { table_.Resize(megabytes); }
    void SetVariety(std::uint64_t seed) { varietySeed_ = seed; }
    void SetPlainAlphaBeta(bool on) { tuning_.plain = on; }
    void NewGame();

    ExpertResult Think(const Board& board, Side sideToMove, int variant, const ExpertLimits& limits,
                       std::span<const Board> history,
                       const std::function<void(const ExpertInfo&)>& onInfo);

  private:
    struct RootMove {
        Move move = kNoMove;
        int score = -kInfinity;
        int previousScore = -kInfinity;
        int bonus = 0;  // the variety's share
    };
    // The best of a node's moves searched so far: its value, and its move once one raised
    // alpha.
    struct NodeBest {
        int value = -kInfinity;
        Move move = kNoMove;
    };

    void PrepareHistory(std::span<const Board> history, Side sideToMove);
    void SearchRoot(int depth, int alpha, int beta);
    int Search(int alpha, int beta, int depth, int ply, bool pvNode);
    // depth is 0 or less: how many choices among captures were made since the tree's end.
    int Quiesce(int alpha, int beta, int depth, int ply);
    // The same for a side without a capture, whose quiet moves are in moves.
    int QuiesceQuiet(MoveBuffer& moves, int alpha, int beta, int depth, int ply);
    // Whether the side to move has already won by the rules: its king, or all its pieces, gone.
    bool HasReachedGoal() const;
    bool IsDeepEnough(const TableEntry& entry, int depth) const;
    bool IsRepetition(int ply) const;
    void OrderMoves(MoveBuffer& buffer, std::array<int, kMaxMoves>& scores, Move tableMove, int ply,
                    SquareSet offered) const;
    void RememberGoodMove(Move move, int depth, int ply, bool capture);
    bool ShouldStop();
    void UpdatePv(int ply, Move move);
    // Takes a move's value into the node's best and alpha; true when it reaches beta, so that
    // the other moves need no search.
    bool TakeValue(NodeBest& best, int& alpha, int beta, Move move, int value, int ply);
    // The node's value in the table, as a bound of the kind its window makes it.
    void StoreNode(const NodeBest& best, int originalAlpha, int beta, int depth, int ply);
    void Report(int depth, int score, const std::function<void(const ExpertInfo&)>& onInfo);
    std::int64_t ElapsedMs() const;

    std::atomic<bool>& stop_;
    TranspositionTable table_;
    Position position_;
    int variant_ = 1;
    const EvaluationWeights* weights_ = nullptr;
    std::uint64_t varietySeed_ = 0;
    SearchTuning tuning_;

    // Keys of the game's earlier positions, then of the search's line: index historyCount_ +
    // ply holds the key at ply. Sized once per Think.
    std::vector<std::uint64_t> keys_;
    int historyCount_ = 0;

    std::array<RootMove, kMaxMoves> rootMoves_{};
    int rootMoveCount_ = 0;
    Move bestMove_ = kNoMove;
    int bestScore_ = 0;

    std::array<std::array<Move, 2>, kMaxPly + 1> killers_{};
    std::array<std::array<int, 64 * 64>, 3> history_{};
    std::array<std::array<Move, kMaxPly + 1>, kMaxPly + 1> pv_{};
    std::array<int, kMaxPly + 1> pvLength_{};
    std::array<bool, kMaxPly + 2> nullMoved_{};  // the move to this ply was a pass
    std::array<MoveWord, kMaxPly> pvWords_{};

    ExpertLimits limits_;
    std::chrono::steady_clock::time_point start_;
    std::uint64_t nodes_ = 0;
    int selectiveDepth_ = 0;
    bool aborted_ = false;
};

}  // namespace kelvane::expert
