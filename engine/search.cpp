// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/search.h"

#include <algorithm>
#include <array>
#include <bit>

#include "engine/sort_by_score.h"
#include "rules/evaluation.h"
#include "rules/move_generation.h"
#include "rules/move_tables.h"

namespace kelvane {

namespace {

constexpr std::int32_t kScanStart = 2000000000;
constexpr std::int32_t kNoMoveScore = 2000000001;

std::uint64_t searchCalls = 0;

// What the end-of-game test and the material count need, kept up to date move by move beside
// the board so that neither has to scan the 64 squares at every node. Indexed by side (1, 2),
// counting every square whose code belongs to that side, exactly as the full scans do.
struct Tally {
    std::array<std::uint64_t, 3> squares{};
    std::uint64_t occupied = 0;          // every square whose code is not 0, which stops a ray
    std::array<KindSquares, 3> kinds{};  // each side's squares again, by the kind of their code
    std::array<int, 3> pieces{};
    std::array<int, 3> kings{};
    std::array<std::int32_t, 3> material{};
};

// Every square of row 0; shifted by a row number, every square of that row.
using tables::kRowZero;

constexpr std::uint64_t Bit(int index) {
    return std::uint64_t{1} << index;
}

Tally CountBoard(const Board& board) {
    Tally tally;
    for (int side = 1; side <= 2; ++side) {
        tally.squares[side] = SquaresOfSide(board, side);
        tally.kinds[side] = KindSquaresOf(board, side);
    }
    tally.occupied = OccupiedSquares(board);
    for (SquareCode code : board) {
        const int side = SideOf(code);
        if (code == 0 || (side != 1 && side != 2)) continue;
        ++tally.pieces[side];
        tally.material[side] += PieceValueOf(code);
        if (code == kBlackKing || code == kWhiteKing) ++tally.kings[side];
    }
    return tally;
}

// Each move's score, beside the MoveList that holds the moves.
using ScoreList = std::array<std::int32_t, kMoveListCapacity>;

// One move as the board and the tally see it.
struct MoveFacts {
    int from;
    int to;
    SquareCode moved;
    SquareCode captured;
    bool promotes;
};

MoveFacts FactsOf(const Board& board, MoveWord move) {
    const UnpackedMove m = UnpackMove(move);
    const int from = SquareIndex(m.fromColumn, m.fromRow);
    const int to = SquareIndex(m.toColumn, m.toRow);
    const SquareCode moved = board[static_cast<std::size_t>(from)];
    const bool promotes =
        (moved == kWhitePawn && m.toRow == 0) || (moved == kBlackPawn && m.toRow == 7);
    return {from, to, moved, board[static_cast<std::size_t>(to)], promotes};
}

// What the destination holds once the move is made: a pawn reaching its far row is a queen.
SquareCode PlacedCode(const MoveFacts& f) {
    return f.promotes ? static_cast<SquareCode>(f.moved + (kQueen - kPawn)) : f.moved;
}

class Searcher {
  public:
    Searcher(Board& board, int variant)
        : board_(board),
          kingMustDie_(variant != kAllMustDie),
          tally_(CountBoard(board)),
          promotionGain_(PieceValueOf(kWhiteQueen) - PieceValueOf(kWhitePawn)) {
        for (int code = -128; code < 128; ++code)
            valueOf_[static_cast<std::uint8_t>(code)] = PieceValueOf(static_cast<SquareCode>(code));
    }

    std::int32_t Node(int maximizing, Side side, int depth, std::int32_t bound, bool root);

  private:
    // Node below the root. Most of them are leaves, which are valued here without entering
    // Node and its large frame. stepReach is the side's StepCaptureReach, for a leaf.
    std::int32_t Child(int maximizing, Side side, int depth, std::int32_t bound,
                       const CaptureTargets& stepReach) {
        if (depth == 0 && CurrentVerdict() == 0) {
            ++searchCalls;
            return LeafValue(maximizing, side, stepReach);
        }
        return Node(maximizing, side, depth, bound, false);
    }

    // The verdict TestEndOfGame would give and the count CountMaterial would give for side
    // once the move is made, without making it.
    GameResult VerdictAfter(const MoveFacts& f, Side side) const;
    std::int32_t CountAfter(const MoveFacts& f, Side side) const;

    // The one-ply score of a move from the mover's view: the game won or lost at once, or the
    // material count after it. verdict receives what the end-of-game test would say.
    std::int32_t FirstPassScore(const MoveFacts& f, Side side, GameResult& verdict) const {
        verdict = VerdictAfter(f, side);
        if (verdict == side) return GameOverScore;
        if (verdict != 0) return -GameOverScore;
        return CountAfter(f, side);
    }
    // Make plays the move on the board and in the tally; Unmake takes it back exactly.
    void Make(const MoveFacts& f, Side side);
    void Unmake(const MoveFacts& f, Side side);
    GameResult CurrentVerdict() const;
    std::int32_t CurrentCount(Side side) const {
        return tally_.material[Opponent(side)] - tally_.material[side];
    }
    // The first-pass scores of moves[0..last]; each returns the verdict after the last move.
    GameResult ScoreCaptures(const MoveList& moves, int last, Side side, ScoreList& scores) const;
    // allEqual tells whether every score came out the same.
    GameResult ScoreQuietMoves(const MoveList& moves, int last, Side side, ScoreList& scores,
                               bool& allEqual) const;
    // The value of a non-root node at depth 0, whose moves only need their best score.
    std::int32_t LeafValue(int maximizing, Side side, const CaptureTargets& stepReach);
    bool CaptureEndsGame(SquareCode captured, Side opponent) const;
    // The lowest value plus promotion gain among the captures that leave the game on.
    struct CheapestCapture {
        bool found = false;
        std::int32_t cost = 0;
        bool endsGameSomewhere = false;  // some capture ends the game
    };
    CheapestCapture FindCheapestCapture(const CaptureTargets& captures, Side opponent) const;
    // The end-of-game test after side's last capture in generator order.
    GameResult VerdictOfLastCapture(Side side, bool endsGameSomewhere) const;

    Board& board_;
    bool kingMustDie_;
    Tally tally_;
    std::int32_t promotionGain_;
    // PieceValueOf by the code's byte, so that the hot path needs no call.
    std::array<std::int32_t, 256> valueOf_{};
    std::int32_t ValueOf(SquareCode code) const {
        return valueOf_[static_cast<std::uint8_t>(code)];
    }
};

GameResult Searcher::VerdictAfter(const MoveFacts& f, Side side) const {
    // Only a capture takes anything off the board, and only the mover's opponent loses by it.
    const Side opponent = Opponent(side);
    if (kingMustDie_) {
        std::array<int, 3> kings = tally_.kings;
        if (f.captured == kBlackKing || f.captured == kWhiteKing) --kings[opponent];
        if (kings[1] == 0) return 1;
        return kings[2] == 0 ? 2 : 0;
    }
    std::array<int, 3> pieces = tally_.pieces;
    if (f.captured != 0) --pieces[opponent];
    if (pieces[1] == 0) return 1;
    return pieces[2] == 0 ? 2 : 0;
}

std::int32_t Searcher::CountAfter(const MoveFacts& f, Side side) const {
    const Side opponent = Opponent(side);
    const std::int32_t own = tally_.material[side] + (f.promotes ? promotionGain_ : 0);
    const std::int32_t theirs = tally_.material[opponent] - ValueOf(f.captured);
    return theirs - own;
}

void Searcher::Make(const MoveFacts& f, Side side) {
    const Side opponent = Opponent(side);
    const SquareCode placed = PlacedCode(f);
    board_[static_cast<std::size_t>(f.from)] = 0;
    board_[static_cast<std::size_t>(f.to)] = placed;
    KindSquares& own = tally_.kinds[side];
    own[static_cast<std::size_t>(KindOf(f.moved))] &= ~Bit(f.from);
    own[static_cast<std::size_t>(KindOf(placed))] |= Bit(f.to);
    tally_.squares[side] ^= Bit(f.from) | Bit(f.to);
    tally_.occupied = (tally_.occupied & ~Bit(f.from)) | Bit(f.to);
    if (f.promotes) tally_.material[side] += promotionGain_;
    if (f.captured != 0) {
        tally_.squares[opponent] &= ~Bit(f.to);
        tally_.kinds[opponent][static_cast<std::size_t>(KindOf(f.captured))] &= ~Bit(f.to);
        --tally_.pieces[opponent];
        tally_.material[opponent] -= ValueOf(f.captured);
        if (f.captured == kBlackKing || f.captured == kWhiteKing) --tally_.kings[opponent];
    }
}

void Searcher::Unmake(const MoveFacts& f, Side side) {
    const Side opponent = Opponent(side);
    board_[static_cast<std::size_t>(f.from)] = f.moved;
    board_[static_cast<std::size_t>(f.to)] = f.captured;
    KindSquares& own = tally_.kinds[side];
    own[static_cast<std::size_t>(KindOf(PlacedCode(f)))] &= ~Bit(f.to);
    own[static_cast<std::size_t>(KindOf(f.moved))] |= Bit(f.from);
    tally_.squares[side] ^= Bit(f.from) | Bit(f.to);
    tally_.occupied |= Bit(f.from);
    if (f.captured == 0) tally_.occupied &= ~Bit(f.to);
    if (f.promotes) tally_.material[side] -= promotionGain_;
    if (f.captured != 0) {
        tally_.squares[opponent] |= Bit(f.to);
        tally_.kinds[opponent][static_cast<std::size_t>(KindOf(f.captured))] |= Bit(f.to);
        ++tally_.pieces[opponent];
        tally_.material[opponent] += ValueOf(f.captured);
        if (f.captured == kBlackKing || f.captured == kWhiteKing) ++tally_.kings[opponent];
    }
}

GameResult Searcher::ScoreCaptures(const MoveList& moves, int last, Side side,
                                   ScoreList& scores) const {
    GameResult verdict = 0;
    for (int i = 0; i <= last; ++i) {
        scores[static_cast<std::size_t>(i)] =
            FirstPassScore(FactsOf(board_, moves[static_cast<std::size_t>(i)]), side, verdict);
    }
    return verdict;
}

// A move to an empty square leaves the verdict as it is and the count too, except that a
// pawn reaching its far row becomes a queen.
GameResult Searcher::ScoreQuietMoves(const MoveList& moves, int last, Side side, ScoreList& scores,
                                     bool& allEqual) const {
    const GameResult verdict = CurrentVerdict();
    const std::int32_t count = verdict == side ? GameOverScore
                               : verdict != 0  ? -GameOverScore
                                               : CurrentCount(side);
    std::fill(scores.begin(), scores.begin() + last + 1, count);
    allEqual = true;
    const int farRow = side == 1 ? 7 : 0;
    const std::uint64_t rowBeforeFar = kRowZero << (side == 1 ? 6 : 1);
    if (verdict != 0 || (tally_.kinds[side][kPawn] & rowBeforeFar) == 0) return verdict;
    const SquareCode pawn = side == 1 ? kBlackPawn : kWhitePawn;
    for (int i = 0; i <= last; ++i) {
        const UnpackedMove m = UnpackMove(moves[static_cast<std::size_t>(i)]);
        const int from = SquareIndex(m.fromColumn, m.fromRow);
        if (m.toRow == farRow && board_[static_cast<std::size_t>(from)] == pawn) {
            scores[static_cast<std::size_t>(i)] -= promotionGain_;
            allEqual = false;
        }
    }
    return verdict;
}

GameResult Searcher::CurrentVerdict() const {
    const std::array<int, 3>& remaining = kingMustDie_ ? tally_.kings : tally_.pieces;
    if (remaining[1] == 0) return 1;
    return remaining[2] == 0 ? 2 : 0;
}

// At depth 0 a node scores every move by the count after it, from the maximizing side's view,
// and returns the best: the maximum of its first-pass scores, negated in a minimizing node. The
// order of the moves does not matter for that, so they are not even listed: the best capture is
// the one that takes the cheapest piece without ending the game, a promotion adding its gain.
// When there is no capture and the game is on, moves to empty squares leave the count as it is,
// except a promotion, which lowers it.
std::int32_t Searcher::LeafValue(int maximizing, Side side, const CaptureTargets& stepReach) {
    const Side opponent = Opponent(side);
    const CaptureTargets captures =
        CaptureTargetsOf(stepReach, tally_.kinds[side], tally_.squares[opponent], tally_.occupied);
    std::int32_t bestScore = 0;
    if ((captures.plain | captures.promoting) != 0) {
        const CheapestCapture cheapest = FindCheapestCapture(captures, opponent);
        bestScore = cheapest.found ? CurrentCount(side) - cheapest.cost : -GameOverScore;
        SetGameResult(VerdictOfLastCapture(side, cheapest.endsGameSomewhere));
    } else {
        const QuietMoveSummary quiet =
            SummarizeQuietMoves(tally_.kinds[side], side, tally_.occupied);
        if (!quiet.any) return maximizing ? kNoMoveScore : -kNoMoveScore;
        SetGameResult(0);
        bestScore = CurrentCount(side) - (quiet.anyWithoutPromotion ? 0 : promotionGain_);
    }
    return maximizing ? bestScore : -bestScore;
}

// Which captured code ends the game at once, given that it is on: under King must die, the
// opponent's last king; under All must die, any code when it is the opponent's last piece.
bool Searcher::CaptureEndsGame(SquareCode captured, Side opponent) const {
    if (!kingMustDie_) return tally_.pieces[opponent] == 1;
    const SquareCode king = opponent == 1 ? kBlackKing : kWhiteKing;
    return captured == king && tally_.kings[opponent] == 1;
}

Searcher::CheapestCapture Searcher::FindCheapestCapture(const CaptureTargets& captures,
                                                        Side opponent) const {
    CheapestCapture cheapest;
    const auto consider = [&](std::uint64_t targets, std::int32_t extraCost) {
        for (; targets != 0; targets &= targets - 1) {
            const SquareCode captured = board_[static_cast<std::size_t>(std::countr_zero(targets))];
            if (CaptureEndsGame(captured, opponent)) {
                cheapest.endsGameSomewhere = true;
                continue;
            }
            const std::int32_t cost = ValueOf(captured) + extraCost;
            if (!cheapest.found || cost < cheapest.cost) cheapest.cost = cost;
            cheapest.found = true;
        }
    };
    consider(captures.plain, 0);
    consider(captures.promoting, promotionGain_);
    return cheapest;
}

// The end-of-game test after the last capture in generator order: the last one its origin
// square lists. Only under King must die can it differ from one capture to another.
GameResult Searcher::VerdictOfLastCapture(Side side, bool endsGameSomewhere) const {
    const Side opponent = Opponent(side);
    if (!endsGameSomewhere) return 0;
    if (!kingMustDie_) return static_cast<GameResult>(opponent);
    const MoveWord last =
        LastCapture(board_, tally_.squares[side], tally_.squares[opponent], tally_.occupied);
    if (last == NoMove) return 0;
    const MoveFacts f = FactsOf(board_, last);
    return CaptureEndsGame(f.captured, opponent) ? static_cast<GameResult>(opponent) : 0;
}

std::int32_t Searcher::Node(int maximizing, Side side, int depth, std::int32_t bound, bool root) {
    if (depth == 0 && !root && CurrentVerdict() == 0) {
        ++searchCalls;
        return LeafValue(maximizing, side, StepCaptureReach(tally_.kinds[side], side));
    }
    ++searchCalls;
    const Side opponent = Opponent(side);
    std::int32_t best = maximizing ? -kRootBound : kRootBound;

    MoveList moves;
    ScoreList scores;
    // The capture targets say which of the generator's two passes gives the side's moves.
    const CaptureTargets captures =
        CaptureTargetsOf(tally_.kinds[side], side, tally_.squares[opponent], tally_.occupied);
    const bool mustCapture = (captures.plain | captures.promoting) != 0;
    const int last =
        mustCapture
            ? GenerateCapturesOfSquares(board_, moves, tally_.squares[side],
                                        tally_.squares[opponent], tally_.occupied)
            : GenerateQuietMovesOfSquares(board_, moves, tally_.squares[side], tally_.occupied);
    if (root && last == 0) return moves[0];

    // First pass: every move scored one ply deep from the mover's view. The caller reads the
    // verdict on the last board tested, as a full test there would leave it.
    bool scoresEqual = false;
    if (last >= 0) {
        SetGameResult(mustCapture ? ScoreCaptures(moves, last, side, scores)
                                  : ScoreQuietMoves(moves, last, side, scores, scoresEqual));
    }

    if (scoresEqual) {
        SortByEqualScores(scores.data(), moves.data(), last + 1);
    } else {
        SortByScore(scores.data(), moves.data(), 0, last);
    }

    // Moves to empty squares leave the opponent's pieces where they are, so what its pawns,
    // knights and king could capture on is the same after each of them.
    const CaptureTargets opponentStepReach =
        mustCapture ? CaptureTargets{} : StepCaptureReach(tally_.kinds[opponent], opponent);

    // Second pass, best first; moves that end the game at once are never searched.
    for (int i = 0; i <= last; ++i) {
        std::int32_t& score = scores[static_cast<std::size_t>(i)];
        if (score == GameOverScore || score == -GameOverScore) {
            if (!maximizing) score = -score;
            continue;
        }
        if (depth == 0) {
            // The material count after the move from the maximizing side's view is the
            // first-pass score, negated in a minimizing node.
            if (!maximizing) score = -score;
            continue;
        }
        const MoveWord move = moves[static_cast<std::size_t>(i)];
        const MoveFacts f = FactsOf(board_, move);
        Make(f, side);
        const std::int32_t v = Child(
            1 - maximizing, opponent, depth - 1, best,
            mustCapture ? StepCaptureReach(tally_.kinds[opponent], opponent) : opponentStepReach);
        Unmake(f, side);
        score = v;
        if (maximizing) {
            if (v > best) best = v;
            if (best >= bound) return root ? move : best + 1;
        } else {
            if (v < best) best = v;
            if (best <= bound) return root ? move : best - 1;
        }
    }

    if (last < 0) {
        if (root) return NoMove;
        return maximizing ? kNoMoveScore : -kNoMoveScore;
    }
    std::int32_t run = maximizing ? -kScanStart : kScanStart;
    MoveWord chosen = moves[static_cast<std::size_t>(last)];
    for (int i = 0; i <= last; ++i) {
        const std::int32_t score = scores[static_cast<std::size_t>(i)];
        if (maximizing ? score > run : score < run) {
            run = score;
            chosen = moves[static_cast<std::size_t>(i)];
        }
    }
    return root ? chosen : run;
}

}  // namespace

std::int32_t Search(Board& board, int maximizing, Side side, int depth, std::int32_t bound,
                    int root) {
    if (root == 1) ResetEvaluation();
    if (side != 1 && side != 2) {  // no such side: it has no move
        ++searchCalls;
        return root == 1 ? NoMove : (maximizing ? kNoMoveScore : -kNoMoveScore);
    }
    Searcher searcher(board, GetRulesVariant());
    return searcher.Node(maximizing != 0 ? 1 : 0, side, depth < 0 ? 0 : depth, bound, root == 1);
}

std::uint64_t GetSearchCallCount() {
    return searchCalls;
}
void ResetSearchCallCount() {
    searchCalls = 0;
}

}  // namespace kelvane
