// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/expert_searcher.h"

#include <algorithm>
#include <bit>

#include "rules/evaluation.h"

namespace kelvane::expert {

namespace {

// How often, in nodes, the clock and the stop request are read.
constexpr std::uint64_t kPollInterval = 1024;

int ScoreToTable(int score, int ply) {
    if (score >= kProvenWin) return score + ply;
    if (score <= -kProvenWin) return score - ply;
    return score;
}

int ScoreFromTable(int score, int ply) {
    if (score >= kProvenWin) return score - ply;
    if (score <= -kProvenWin) return score + ply;
    return score;
}

int MateInPlies(int score) {
    if (score >= kProvenWin) return kWin - score;
    if (score <= -kProvenWin) return -(kWin + score);
    return 0;
}

// Whether going from one game position to the next can never be undone: a capture (a piece
// fewer) or a pawn move (a pawn square changed).
bool IsIrreversible(const Board& before, const Board& after) {
    int piecesBefore = 0;
    int piecesAfter = 0;
    for (std::size_t square = 0; square < 64; ++square) {
        piecesBefore += before[square] != 0;
        piecesAfter += after[square] != 0;
        const bool pawnBefore = before[square] == kBlackPawn || before[square] == kWhitePawn;
        const bool pawnAfter = after[square] == kBlackPawn || after[square] == kWhitePawn;
        if ((pawnBefore || pawnAfter) && before[square] != after[square]) return true;
    }
    return piecesBefore != piecesAfter;
}

// Picks the best-scored of the moves from index first on and swaps it there.
void PickNext(MoveBuffer& buffer, std::array<int, kMaxMoves>& scores, int first) {
    int best = first;
    for (int i = first + 1; i < buffer.count; ++i) {
        if (scores[static_cast<std::size_t>(i)] > scores[static_cast<std::size_t>(best)]) best = i;
    }
    std::swap(buffer.moves[static_cast<std::size_t>(first)],
              buffer.moves[static_cast<std::size_t>(best)]);
    std::swap(scores[static_cast<std::size_t>(first)], scores[static_cast<std::size_t>(best)]);
}

std::uint64_t Mix(std::uint64_t value) {
    value ^= value >> 33;
    value *= 0xFF51AFD7ED558CCDULL;
    value ^= value >> 33;
    value *= 0xC4CEB9FE1A85EC53ULL;
    return value ^ (value >> 33);
}

// Opening moves of the game (plies) in which the variety may choose among near-equal moves,
// and how far below the best such a move may be.
constexpr int kVarietyPlies = 12;
constexpr int kVarietyMargin = 30;

}  // namespace

Searcher::Searcher(std::atomic<bool>& stop, std::size_t hashMegabytes) : stop_(stop) {
    table_.Resize(hashMegabytes);
    keys_.reserve(1024 + kMaxPly + 1);
}

void Searcher::NewGame() {
    table_.Clear();
    killers_ = {};
    for (auto& side : history_) side.fill(0);
}

bool Searcher::IsDeepEnough(const TableEntry& entry, int depth) const {
    // A deeper result is a better one, but not the one plain alpha-beta would find.
    return tuning_.plain ? entry.depth == depth : entry.depth >= depth;
}

bool Searcher::HasReachedGoal() const {
    const Side side = position_.SideToMove();
    if (variant_ == kAllMustDie) return position_.Pieces(side) == 0;
    return position_.Pieces(side, kKing) == 0;
}

bool Searcher::IsRepetition(int ply) const {
    const int index = historyCount_ + ply;
    const int earliest = std::max(0, index - position_.QuietPlies());
    const std::uint64_t key = keys_[static_cast<std::size_t>(index)];
    for (int i = index - 2; i >= earliest; i -= 2) {
        if (keys_[static_cast<std::size_t>(i)] == key) return true;
    }
    return false;
}

bool Searcher::ShouldStop() {
    if (aborted_) return true;
    if (limits_.nodes != 0 && nodes_ >= limits_.nodes) {
        aborted_ = true;
    } else if (nodes_ % kPollInterval == 0) {
        if (stop_.load(std::memory_order_relaxed) ||
            (limits_.movetimeMs != 0 && ElapsedMs() >= limits_.movetimeMs))
            aborted_ = true;
    }
    return aborted_;
}

std::int64_t Searcher::ElapsedMs() const {
    return std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() -
                                                                 start_)
        .count();
}

void Searcher::OrderMoves(MoveBuffer& buffer, std::array<int, kMaxMoves>& scores, Move tableMove,
                          int ply, SquareSet offered) const {
    const auto& history = history_[static_cast<std::size_t>(position_.SideToMove())];
    const auto& killers = killers_[static_cast<std::size_t>(ply)];
    for (int i = 0; i < buffer.count; ++i) {
        const Move move = buffer.moves[static_cast<std::size_t>(i)];
        int score = history[move];
        if (move == tableMove) {
            score = 1 << 30;
        } else if (move == killers[0]) {
            score = (1 << 29) + 1;
        } else if (move == killers[1]) {
            score = 1 << 29;
        } else if ((Bit(ToOf(move)) & offered) != 0) {
            score += 1 << 28;
        }
        scores[static_cast<std::size_t>(i)] = score;
    }
}

void Searcher::RememberGoodMove(Move move, int depth, int ply, bool capture) {
    auto& history = history_[static_cast<std::size_t>(position_.SideToMove())];
    history[move] += depth * depth;
    if (history[move] > (1 << 28)) {
        for (int& value : history) value /= 2;
    }
    if (!capture) {
        auto& killers = killers_[static_cast<std::size_t>(ply)];
        if (killers[0] != move) {
            killers[1] = killers[0];
            killers[0] = move;
        }
    }
}

bool Searcher::TakeValue(NodeBest& best, int& alpha, int beta, Move move, int value, int ply) {
    if (value <= best.value) return false;
    best.value = value;
    if (value <= alpha) return false;
    alpha = value;
    best.move = move;
    UpdatePv(ply, move);
    return value >= beta;
}

void Searcher::StoreNode(const NodeBest& best, int originalAlpha, int beta, int depth, int ply) {
    const Bound bound = best.value >= beta           ? Bound::Lower
                        : best.value > originalAlpha ? Bound::Exact
                                                     : Bound::Upper;
    table_.Store(position_.Key(), best.move, ScoreToTable(best.value, ply), depth, bound);
}

void Searcher::UpdatePv(int ply, Move move) {
    auto& line = pv_[static_cast<std::size_t>(ply)];
    const auto& childLine = pv_[static_cast<std::size_t>(ply + 1)];
    line[static_cast<std::size_t>(ply)] = move;
    const int childLength = pvLength_[static_cast<std::size_t>(ply + 1)];
    for (int i = ply + 1; i < childLength; ++i)
        line[static_cast<std::size_t>(i)] = childLine[static_cast<std::size_t>(i)];
    pvLength_[static_cast<std::size_t>(ply)] = std::max(childLength, ply + 1);
}

int Searcher::Quiesce(int alpha, int beta, int depth, int ply) {
    pvLength_[static_cast<std::size_t>(ply)] = ply;
    if (HasReachedGoal()) return kWin - ply;
    if (aborted_) return 0;
    ++nodes_;
    if (ShouldStop()) return 0;
    selectiveDepth_ = std::max(selectiveDepth_, ply);
    if (ply >= kMaxPly || depth <= -tuning_.captureDepth) return Evaluate(position_, *weights_);

    MoveBuffer moves;
    const bool captures = position_.GenerateLegal(moves);
    if (moves.count == 0) return kWin - ply;
    // Without a capture the side may choose any quiet move: the evaluation stands for them,
    // or one of the moves that force the other side to capture, the way to give pieces away.
    if (!captures) return QuiesceQuiet(moves, alpha, beta, depth, ply);

    Move tableMove = kNoMove;
    if (const TableEntry* entry = table_.Probe(position_.Key())) {
        tableMove = entry->move;
        const int score = ScoreFromTable(entry->score, ply);
        if (IsDeepEnough(*entry, depth) &&
            (entry->bound == Bound::Exact || (entry->bound == Bound::Lower && score >= beta) ||
             (entry->bound == Bound::Upper && score <= alpha)))
            return score;
    }

    // A side that can capture must: every capture is searched, there is no standing pat. A
    // single capture is no choice and does not count against the depth.
    const int childDepth = moves.count == 1 ? depth : depth - 1;
    std::array<int, kMaxMoves> scores;
    OrderMoves(moves, scores, tableMove, ply, 0);
    const int originalAlpha = alpha;
    NodeBest best;
    for (int i = 0; i < moves.count; ++i) {
        PickNext(moves, scores, i);
        const Move move = moves.moves[static_cast<std::size_t>(i)];
        MoveUndo undo;
        position_.Make(move, undo);
        table_.Prefetch(position_.Key());
        const int value = -Quiesce(-beta, -alpha, childDepth, ply + 1);
        position_.Unmake(move, undo);
        if (aborted_) return 0;
        if (TakeValue(best, alpha, beta, move, value, ply)) break;
    }
    StoreNode(best, originalAlpha, beta, depth, ply);
    return best.value;
}

int Searcher::QuiesceQuiet(MoveBuffer& moves, int alpha, int beta, int depth, int ply) {
    NodeBest best{.value = Evaluate(position_, *weights_)};
    if (best.value >= beta || depth <= -tuning_.forcingDepth) return best.value;
    alpha = std::max(alpha, best.value);
    for (int i = 0; i < moves.count; ++i) {
        const Move move = moves.moves[static_cast<std::size_t>(i)];
        MoveUndo undo;
        position_.Make(move, undo);
        int value = -kInfinity;
        if (position_.HasCapture(position_.SideToMove())) {
            table_.Prefetch(position_.Key());
            value = -Quiesce(-beta, -alpha, depth - 1, ply + 1);
        }
        position_.Unmake(move, undo);
        if (aborted_) return 0;
        if (TakeValue(best, alpha, beta, move, value, ply)) break;
    }
    return best.value;
}

int Searcher::Search(int alpha, int beta, int depth, int ply, bool pvNode) {
    pvLength_[static_cast<std::size_t>(ply)] = ply;
    if (HasReachedGoal()) return kWin - ply;
    if (ply >= kMaxPly) return Evaluate(position_, *weights_);
    keys_[static_cast<std::size_t>(historyCount_ + ply)] = position_.Key();
    if (position_.QuietPlies() >= 100 || IsRepetition(ply)) return 0;

    // No line from here can end sooner than a win on the next move.
    alpha = std::max(alpha, -(kWin - ply));
    beta = std::min(beta, kWin - ply - 1);
    if (alpha >= beta) return alpha;

    if (depth <= 0) return Quiesce(alpha, beta, 0, ply);
    if (aborted_) return 0;
    ++nodes_;
    if (ShouldStop()) return 0;

    Move tableMove = kNoMove;
    if (const TableEntry* entry = table_.Probe(position_.Key())) {
        tableMove = entry->move;
        const int score = ScoreFromTable(entry->score, ply);
        if (!pvNode && IsDeepEnough(*entry, depth) &&
            (entry->bound == Bound::Exact || (entry->bound == Bound::Lower && score >= beta) ||
             (entry->bound == Bound::Upper && score <= alpha)))
            return score;
    }

    MoveBuffer moves;
    const bool captures = position_.GenerateLegal(moves);
    if (moves.count == 0) return kWin - ply;
    // A forced move costs nothing to look past.
    const int extension = moves.count == 1 && ply + depth < kMaxPly - 8 ? 1 : 0;
    const int childDepth = depth - 1 + extension;

    // A side free to choose that stands well even if it passed is taken to be above beta: the
    // other side's reply to doing nothing, searched less deep, shows it.
    if (!pvNode && !captures && tuning_.nullMove && !tuning_.plain && depth >= 3 &&
        !nullMoved_[static_cast<std::size_t>(ply)] && beta > -kProvenWin && beta < kProvenWin &&
        CountSquares(position_.Pieces(position_.SideToMove())) >= 3 &&
        Evaluate(position_, *weights_) >= beta) {
        const int reduction = 2 + depth / 4;
        MoveUndo undo;
        position_.MakeNull(undo);
        nullMoved_[static_cast<std::size_t>(ply + 1)] = true;
        const int value = -Search(-beta, -beta + 1, depth - 1 - reduction, ply + 1, false);
        nullMoved_[static_cast<std::size_t>(ply + 1)] = false;
        position_.UnmakeNull(undo);
        if (aborted_) return 0;
        if (value >= beta) return value >= kProvenWin ? beta : value;
    }

    std::array<int, kMaxMoves> scores;
    // A quiet move onto a square the other side attacks offers it a piece it must take: the
    // forcing moves of this game, tried early and never searched less deep.
    const SquareSet offered = captures ? 0 : position_.Attacks(Opponent(position_.SideToMove()));
    OrderMoves(moves, scores, tableMove, ply, offered);
    const int originalAlpha = alpha;
    NodeBest best;
    const auto& killers = killers_[static_cast<std::size_t>(ply)];
    for (int i = 0; i < moves.count; ++i) {
        PickNext(moves, scores, i);
        const Move move = moves.moves[static_cast<std::size_t>(i)];
        const bool isKiller = move == killers[0] || move == killers[1];
        const bool offers = (Bit(ToOf(move)) & offered) != 0;
        MoveUndo undo;
        position_.Make(move, undo);
        table_.Prefetch(position_.Key());
        int value = 0;
        if (i == 0) {
            value = -Search(-beta, -alpha, childDepth, ply + 1, pvNode);
        } else {
            int reduction = 0;
            if (!tuning_.plain && depth >= 3 && i >= 3 && !captures && !isKiller && !offers)
                reduction = i >= 8 ? 2 : 1;
            value = -Search(-alpha - 1, -alpha, childDepth - reduction, ply + 1, false);
            if (value > alpha && reduction > 0)
                value = -Search(-alpha - 1, -alpha, childDepth, ply + 1, false);
            if (pvNode && value > alpha && value < beta)
                value = -Search(-beta, -alpha, childDepth, ply + 1, true);
        }
        position_.Unmake(move, undo);
        if (aborted_) return 0;
        if (TakeValue(best, alpha, beta, move, value, ply)) {
            RememberGoodMove(move, depth, ply, captures);
            break;
        }
    }
    StoreNode(best, originalAlpha, beta, depth, ply);
    return best.value;
}

void Searcher::SearchRoot(int depth, int alpha, int beta) {
    pvLength_[0] = 0;
    for (int i = 0; i < rootMoveCount_; ++i) {
        RootMove& root = rootMoves_[static_cast<std::size_t>(i)];
        MoveUndo undo;
        position_.Make(root.move, undo);
        // The variety's bonus counts as part of the move's value.
        const int bonus = root.bonus;
        int value = 0;
        if (i == 0) {
            value = -Search(-beta + bonus, -alpha + bonus, depth - 1, 1, true) + bonus;
        } else {
            value = -Search(-alpha + bonus - 1, -alpha + bonus, depth - 1, 1, false) + bonus;
            if (value > alpha && value < beta)
                value = -Search(-beta + bonus, -alpha + bonus, depth - 1, 1, true) + bonus;
        }
        position_.Unmake(root.move, undo);
        if (aborted_) break;
        root.score = value;
        if (value > alpha) {
            alpha = value;
            UpdatePv(0, root.move);
            bestMove_ = root.move;
            bestScore_ = value - bonus;
            // The best move so far leads the list, the others keep their order.
            std::rotate(rootMoves_.begin(), rootMoves_.begin() + i, rootMoves_.begin() + i + 1);
            if (value >= beta) break;
        }
    }
}

void Searcher::PrepareHistory(std::span<const Board> history, Side sideToMove) {
    historyCount_ = static_cast<int>(history.size());
    keys_.assign(history.size() + kMaxPly + 1, 0);
    int quiet = 0;
    bool counting = true;
    Position earlier;
    for (std::size_t back = 1; back <= history.size(); ++back) {
        const std::size_t index = history.size() - back;
        // The position `back` plies ago had the other side to move when back is odd.
        const Side side = back % 2 == 1 ? Opponent(sideToMove) : sideToMove;
        earlier.Set(history[index], side);
        keys_[index] = earlier.Key();
        if (counting) {
            const Board& next = back == 1 ? position_.ToBoard() : history[index + 1];
            if (IsIrreversible(history[index], next)) {
                counting = false;
            } else {
                ++quiet;
            }
        }
    }
    position_.SetQuietPlies(quiet);
}

void Searcher::Report(int depth, int score, const std::function<void(const ExpertInfo&)>& onInfo) {
    if (!onInfo) return;
    const int length = std::min(pvLength_[0], kMaxPly);
    for (int i = 0; i < length; ++i)
        pvWords_[static_cast<std::size_t>(i)] = ToMoveWord(pv_[0][static_cast<std::size_t>(i)]);
    ExpertInfo info;
    info.depth = depth;
    info.selectiveDepth = std::max(selectiveDepth_, depth);
    info.score = score;
    info.mateInPlies = MateInPlies(score);
    info.nodes = nodes_;
    info.timeMs = ElapsedMs();
    info.nodesPerSecond =
        nodes_ * 1000 / static_cast<std::uint64_t>(std::max<std::int64_t>(1, info.timeMs));
    info.pv = std::span<const MoveWord>(pvWords_.data(), static_cast<std::size_t>(length));
    onInfo(info);
}

ExpertResult Searcher::Think(const Board& board, Side sideToMove, int variant,
                             const ExpertLimits& limits, std::span<const Board> history,
                             const std::function<void(const ExpertInfo&)>& onInfo) {
    start_ = std::chrono::steady_clock::now();
    limits_ = limits;
    nodes_ = 0;
    selectiveDepth_ = 0;
    aborted_ = false;
    variant_ = variant == kAllMustDie ? kAllMustDie : kKingMustDie;
    weights_ = &DefaultWeights(variant_);
    position_.Set(board, sideToMove);
    PrepareHistory(history, position_.SideToMove());
    table_.NextGeneration();
    for (auto& side : history_) {
        for (int& value : side) value /= 4;
    }
    killers_ = {};

    ExpertResult result;
    MoveBuffer moves;
    position_.GenerateLegal(moves);
    if (moves.count == 0) {
        result.score = kWin;
        return result;
    }
    rootMoveCount_ = moves.count;
    const Move tableMove = [&] {
        const TableEntry* entry = table_.Probe(position_.Key());
        return entry != nullptr ? entry->move : kNoMove;
    }();
    for (int i = 0; i < moves.count; ++i) {
        RootMove& root = rootMoves_[static_cast<std::size_t>(i)];
        root = RootMove{};
        root.move = moves.moves[static_cast<std::size_t>(i)];
        if (varietySeed_ != 0 && historyCount_ < kVarietyPlies)
            root.bonus = static_cast<int>(
                Mix(varietySeed_ ^ position_.Key() ^ (std::uint64_t{root.move} << 48)) %
                (kVarietyMargin + 1));
    }
    for (int i = 0; i < moves.count; ++i) {
        if (rootMoves_[static_cast<std::size_t>(i)].move == tableMove)
            std::rotate(rootMoves_.begin(), rootMoves_.begin() + i, rootMoves_.begin() + i + 1);
    }
    bestMove_ = rootMoves_[0].move;
    bestScore_ = 0;
    result.move = ToMoveWord(bestMove_);
    // A forced move is played at once: there is nothing to choose.
    if (moves.count == 1) return result;

    const int maxDepth = limits.depth > 0 ? std::min(limits.depth, kMaxPly - 1) : kMaxPly - 1;
    for (int depth = 1; depth <= maxDepth; ++depth) {
        SearchRoot(depth, -kInfinity, kInfinity);
        if (aborted_) break;
        result.depth = depth;
        result.score = bestScore_;
        Report(depth, bestScore_, onInfo);
        // A proven result stands once the search sees well past it: the reductions that
        // could hide a defence at first no longer reach that far.
        const int mate = MateInPlies(bestScore_);
        if (mate != 0 && depth > std::abs(mate) + 8) break;
        // Sort the root moves for the next iteration: the best first, then by score.
        std::stable_sort(rootMoves_.begin() + 1, rootMoves_.begin() + rootMoveCount_,
                         [](const RootMove& a, const RootMove& b) { return a.score > b.score; });
    }
    result.move = ToMoveWord(bestMove_);
    result.score = bestScore_;
    result.mateInPlies = MateInPlies(bestScore_);
    result.nodes = nodes_;
    return result;
}

}  // namespace kelvane::expert
