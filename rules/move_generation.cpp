// SPDX-License-Identifier: GPL-3.0-or-later
#include "rules/move_generation.h"

#include <bit>
#include <initializer_list>

#include "rules/move_tables.h"
#include "rules/piece_moves.h"

namespace kelvane {

namespace {

using tables::SquareList;

// Every square of row 0; shifted by a row number, every square of that row.
using tables::kRowZero;

// Multiplying the squares of row 0 by this gathers column k's square into bit 56 + k: the
// other partial products land on distinct bits below 56 or past 63, so nothing carries.
constexpr std::uint64_t kColumnGather = 0x0102040810204080;
static_assert([] {
    for (std::size_t byte = 0; byte < 256; ++byte) {
        if (((tables::kColumnSpread[byte] * kColumnGather) >> 56) != byte) return false;
    }
    return true;
}());

// From and to are Board indices; the MoveWord fields follow from them.
constexpr MoveWord MoveBetween(int from, int to) {
    return PackMove(from >> 3, from & 7, to >> 3, to & 7);
}

// Appends while there is room; moves past the capacity are dropped.
class MoveSink {
  public:
    explicit MoveSink(std::span<MoveWord> list) : list_(list) {}
    void Add(int from, int to) {
        if (count_ < list_.size()) list_[count_++] = MoveBetween(from, to);
    }
    int Last() const { return static_cast<int>(count_) - 1; }

  private:
    std::span<MoveWord> list_;
    std::size_t count_ = 0;
};

// The nearest of a ray's occupied squares, onRay not empty: the lowest on a ray of rising
// indices, the highest on the others.
int NearestOnRay(std::size_t ray, std::uint64_t onRay) {
    return tables::kRayRising[ray] ? std::countr_zero(onRay) : 63 - std::countl_zero(onRay);
}

// Reads the board as square sets: the opponent's squares (its captures land there) and the
// occupied ones (which stop a ray and take no quiet move).
class PieceMoveGenerator {
  public:
    PieceMoveGenerator(std::uint64_t opponentSquares, std::uint64_t occupied, MoveSink& sink)
        : opponentSquares_(opponentSquares), occupied_(occupied), sink_(sink) {}

    void Captures(int from, SquareCode code) {
        const int column = from >> 3;
        const int row = from & 7;
        switch (code) {
            case kBlackPawn:
                if (row < 7) PawnCaptures(from, column, 1);
                break;
            case kWhitePawn:
                if (row > 0) PawnCaptures(from, column, -1);
                break;
            case 12:
            case 22:
                StepCaptures(from, tables::kKnightTargets[static_cast<std::size_t>(from)],
                             tables::kKnightTargetSets[static_cast<std::size_t>(from)]);
                break;
            case 13:
            case 23:
                SlidingCaptures(from, tables::kFirstBishopRay, 4);
                break;
            case 14:
            case 24:
                SlidingCaptures(from, tables::kFirstRookRay, 4);
                break;
            case 15:
            case 25:
                SlidingCaptures(from, 0, 8);
                break;
            case 16:
            case 26:
                StepCaptures(from, tables::kKingTargets[static_cast<std::size_t>(from)],
                             tables::kKingTargetSets[static_cast<std::size_t>(from)]);
                break;
            default:  // empty, or a byte that is no piece: it does not move
                break;
        }
    }

    void QuietMoves(int from, SquareCode code) {
        switch (code) {
            case kBlackPawn:
                PawnSteps(from, 1, 1);
                break;
            case kWhitePawn:
                PawnSteps(from, -1, 6);
                break;
            case 12:
            case 22:
                StepQuietMoves(from, tables::kKnightTargets[static_cast<std::size_t>(from)]);
                break;
            case 13:
            case 23:
                SlidingQuietMoves(from, tables::kFirstBishopRay, 4);
                break;
            case 14:
            case 24:
                SlidingQuietMoves(from, tables::kFirstRookRay, 4);
                break;
            case 15:
            case 25:
                SlidingQuietMoves(from, 0, 8);
                break;
            case 16:
            case 26:
                StepQuietMoves(from, tables::kKingTargets[static_cast<std::size_t>(from)]);
                break;
            default:
                break;
        }
    }

  private:
    bool IsEmpty(int square) const { return ((occupied_ >> square) & 1) == 0; }
    bool IsOpponentPiece(int square) const { return ((opponentSquares_ >> square) & 1) != 0; }

    void PawnCaptures(int from, int column, int forward) {
        // Towards the lower column first, then the higher.
        if (column > 0 && IsOpponentPiece(from - 8 + forward)) sink_.Add(from, from - 8 + forward);
        if (column < 7 && IsOpponentPiece(from + 8 + forward)) sink_.Add(from, from + 8 + forward);
    }
    void PawnSteps(int from, int forward, int startRow) {
        const int row = from & 7;
        const int aheadRow = row + forward;
        if (aheadRow < 0 || aheadRow > 7 || !IsEmpty(from + forward)) return;
        sink_.Add(from, from + forward);
        if (row == startRow && IsEmpty(from + 2 * forward)) sink_.Add(from, from + 2 * forward);
    }
    void StepCaptures(int from, const SquareList& targets, std::uint64_t targetSet) {
        if ((targetSet & opponentSquares_) == 0) return;
        for (std::uint8_t i = 0; i < targets.count; ++i) {
            if (IsOpponentPiece(targets.squares[i])) sink_.Add(from, targets.squares[i]);
        }
    }
    void StepQuietMoves(int from, const SquareList& targets) {
        for (std::uint8_t i = 0; i < targets.count; ++i) {
            if (IsEmpty(targets.squares[i])) sink_.Add(from, targets.squares[i]);
        }
    }
    void SlidingCaptures(int from, std::size_t firstRay, std::size_t rays) {
        const auto& raysFrom = tables::kRaySets[static_cast<std::size_t>(from)];
        for (std::size_t r = firstRay; r < firstRay + rays; ++r) {
            const std::uint64_t onRay = raysFrom[r] & occupied_;
            if (onRay == 0) continue;
            const int nearest = NearestOnRay(r, onRay);
            if (IsOpponentPiece(nearest)) sink_.Add(from, nearest);
        }
    }
    // Each ray's empty squares before its first occupied one, nearest first. The rays are
    // unrolled so that each one's direction is known when compiling: no branch depends on it.
    void SlidingQuietMoves(int from, std::size_t firstRay, std::size_t rays) {
        const auto& raysFrom = tables::kRaySets[static_cast<std::size_t>(from)];
        if (firstRay == tables::kFirstBishopRay) {
            RayQuietMoves<0>(from, raysFrom);
            RayQuietMoves<1>(from, raysFrom);
            RayQuietMoves<2>(from, raysFrom);
            RayQuietMoves<3>(from, raysFrom);
        }
        if (firstRay + rays > tables::kFirstRookRay) {
            RayQuietMoves<4>(from, raysFrom);
            RayQuietMoves<5>(from, raysFrom);
            RayQuietMoves<6>(from, raysFrom);
            RayQuietMoves<7>(from, raysFrom);
        }
    }

    template <std::size_t ray>
    void RayQuietMoves(int from, const std::array<std::uint64_t, 8>& raysFrom) {
        const std::uint64_t squares = raysFrom[ray];
        const std::uint64_t onRay = squares & occupied_;
        if constexpr (tables::kRayRising[ray]) {
            // Below the lowest occupied square; the whole ray when there is none (0 - 1).
            const std::uint64_t nearest = onRay & (~onRay + 1);
            AddInOrder<true>(from, squares & (nearest - 1));
        } else {
            // Above the highest occupied square; the whole ray when there is none.
            const std::uint64_t nearest = std::bit_floor(onRay);
            const std::uint64_t upToNearest = nearest == 0 ? 0 : nearest | (nearest - 1);
            AddInOrder<false>(from, squares & ~upToNearest);
        }
    }

    // Squares of one ray, nearest first: ascending on a rising ray, descending otherwise.
    template <bool rising>
    void AddInOrder(int from, std::uint64_t squares) {
        while (squares != 0) {
            const int to = rising ? std::countr_zero(squares) : 63 - std::countl_zero(squares);
            sink_.Add(from, to);
            squares ^= std::uint64_t{1} << to;
        }
    }

    std::uint64_t opponentSquares_;
    std::uint64_t occupied_;
    MoveSink& sink_;
};

}  // namespace

std::uint64_t SquaresOfSide(const Board& board, Side side) {
    std::uint64_t squares = 0;
    for (int index = 0; index < 64; ++index) {
        const SquareCode code = board[static_cast<std::size_t>(index)];
        if (code != 0 && SideOf(code) == side) squares |= std::uint64_t{1} << index;
    }
    return squares;
}

std::uint64_t OccupiedSquares(const Board& board) {
    std::uint64_t squares = 0;
    for (int index = 0; index < 64; ++index) {
        if (board[static_cast<std::size_t>(index)] != 0) squares |= std::uint64_t{1} << index;
    }
    return squares;
}

int GenerateCapturesOfSquares(const Board& board, std::span<MoveWord> list,
                              std::uint64_t sideSquares, std::uint64_t opponentSquares,
                              std::uint64_t occupied) {
    // Set bits in ascending order are the squares in Board index order.
    MoveSink sink(list);
    PieceMoveGenerator generator(opponentSquares, occupied, sink);
    for (std::uint64_t rest = sideSquares; rest != 0; rest &= rest - 1) {
        const int square = std::countr_zero(rest);
        generator.Captures(square, board[static_cast<std::size_t>(square)]);
    }
    return sink.Last();
}

namespace {

// The squares of a side, of its opponent and every occupied one, in one pass over the board.
struct BoardSquares {
    std::uint64_t own = 0;
    std::uint64_t opponent = 0;
    std::uint64_t occupied = 0;
};

// Bit k set for each byte k of word whose high bit is set.
std::uint64_t GatherHighBits(std::uint64_t word) {
    return (((word >> 7) & kRowZero) * kColumnGather) >> 56;
}

// Eight squares at a time: their codes as the bytes of one word, square first + k in byte k.
std::uint64_t CodesAt(const Board& board, int first) {
    std::uint64_t word = 0;
    for (int k = 0; k < 8; ++k) {
        const auto code = static_cast<std::uint8_t>(board[static_cast<std::size_t>(first + k)]);
        word |= std::uint64_t{code} << (8 * k);
    }
    return word;
}

constexpr std::uint64_t kHighBits = kRowZero * 0x80;

// The high bit of each byte that is not 0.
std::uint64_t NonZeroBytes(std::uint64_t word) {
    return (((word & ~kHighBits) + ~kHighBits) | word) & kHighBits;
}

// The high bit of each byte from lo to hi (both below 128); each byte's high bit is set in
// turn so that no subtraction borrows from the next byte.
std::uint64_t BytesBetween(std::uint64_t word, std::uint64_t lo, std::uint64_t hi) {
    const std::uint64_t atLeastLo = (word | kHighBits) - kRowZero * lo;
    const std::uint64_t atMostHi = kRowZero * (hi + 0x80) - (word & ~kHighBits);
    return atLeastLo & atMostHi & ~word & kHighBits;
}

BoardSquares SquaresSeenBy(const Board& board, Side side) {
    BoardSquares squares;
    if (side != 1 && side != 2) {  // any other side value: the plain scans
        squares.own = SquaresOfSide(board, side);
        squares.opponent = SquaresOfSide(board, Opponent(side));
        squares.occupied = OccupiedSquares(board);
        return squares;
    }
    // A code belongs to side s when it is 10 s to 10 s + 9.
    const auto own = static_cast<std::uint64_t>(10 * side);
    const auto opponent = static_cast<std::uint64_t>(10 * Opponent(side));
    for (int first = 0; first < 64; first += 8) {
        const std::uint64_t codes = CodesAt(board, first);
        squares.occupied |= GatherHighBits(NonZeroBytes(codes)) << first;
        squares.own |= GatherHighBits(BytesBetween(codes, own, own + 9)) << first;
        squares.opponent |= GatherHighBits(BytesBetween(codes, opponent, opponent + 9)) << first;
    }
    return squares;
}

}  // namespace

int GenerateQuietMovesOfSquares(const Board& board, std::span<MoveWord> list,
                                std::uint64_t sideSquares, std::uint64_t occupied) {
    MoveSink sink(list);
    PieceMoveGenerator generator(0, occupied, sink);
    for (std::uint64_t rest = sideSquares; rest != 0; rest &= rest - 1) {
        const int square = std::countr_zero(rest);
        generator.QuietMoves(square, board[static_cast<std::size_t>(square)]);
    }
    return sink.Last();
}

namespace {

// The squares a side's pawns capture on, all at once: side 1's (Black's) go one row up (+1),
// side 2's one row down (-1), each to the lower and the higher column. A pawn on its far row
// has no capture; shifts past either edge column fall off the 64 bits.
std::uint64_t PawnCaptureReach(std::uint64_t pawns, Side side) {
    if (side == 1) {
        pawns &= ~(kRowZero << 7);
        return (pawns >> 7) | (pawns << 9);
    }
    pawns &= ~kRowZero;
    return (pawns >> 9) | (pawns << 7);
}

// The union of the table's sets for every square in pieces.
std::uint64_t StepReach(std::uint64_t pieces, const std::array<std::uint64_t, 64>& targets) {
    std::uint64_t reach = 0;
    for (; pieces != 0; pieces &= pieces - 1)
        reach |= targets[static_cast<std::size_t>(std::countr_zero(pieces))];
    return reach;
}

// Multiplying by kRowZero copies a byte into all eight columns, and the top byte of (squares
// with at most one per row) times it collects their rows.
// What a slider on square reaches along a diagonal through it; the line's positions are rows.
std::uint64_t DiagonalLineReach(std::uint64_t line, int square, std::uint64_t occupied) {
    const std::uint64_t rowsOccupied = ((occupied & line) * kRowZero) >> 56;
    const std::uint64_t rowsReached =
        tables::kLineReach[static_cast<std::size_t>(square & 7)][rowsOccupied];
    return (rowsReached * kRowZero) & line;
}

// What the sliders reach along their diagonals, up to and including the first occupied square.
std::uint64_t DiagonalReach(std::uint64_t sliders, std::uint64_t occupied) {
    std::uint64_t reach = 0;
    for (; sliders != 0; sliders &= sliders - 1) {
        const int square = std::countr_zero(sliders);
        const auto s = static_cast<std::size_t>(square);
        reach |= DiagonalLineReach(tables::kRisingDiagonalSets[s], square, occupied) |
                 DiagonalLineReach(tables::kFallingDiagonalSets[s], square, occupied);
    }
    return reach;
}

// The same along their column (one byte of the set, positions are rows) and their row
// (positions are columns).
std::uint64_t StraightReach(std::uint64_t sliders, std::uint64_t occupied) {
    std::uint64_t reach = 0;
    for (; sliders != 0; sliders &= sliders - 1) {
        const int square = std::countr_zero(sliders);
        const int column = square >> 3;
        const int row = square & 7;
        const std::uint64_t columnOccupied = (occupied >> (8 * column)) & 0xFF;
        reach |= std::uint64_t{tables::kLineReach[static_cast<std::size_t>(row)][columnOccupied]}
                 << (8 * column);
        const std::uint64_t rowOccupied = (((occupied >> row) & kRowZero) * kColumnGather) >> 56;
        reach |=
            tables::kColumnSpread[tables::kLineReach[static_cast<std::size_t>(column)][rowOccupied]]
            << row;
    }
    return reach;
}

// The squares a side's pawns step to if they are empty (a double step needs the single one).
std::uint64_t PawnStepReach(std::uint64_t pawns, Side side) {
    if (side == 1) return (pawns & ~(kRowZero << 7)) << 1;
    return (pawns & ~kRowZero) >> 1;
}

}  // namespace

KindSquares KindSquaresOf(const Board& board, Side side) {
    KindSquares pieces{};
    // Only the two sides have pieces; any other side would index by a negative kind.
    if (side != 1 && side != 2) return pieces;
    for (std::size_t square = 0; square < board.size(); ++square) {
        const SquareCode code = board[square];
        if (code != 0 && SideOf(code) == side)
            pieces[static_cast<std::size_t>(KindOf(code))] |= std::uint64_t{1} << square;
    }
    return pieces;
}

QuietMoveSummary SummarizeQuietMoves(const KindSquares& pieces, Side side, std::uint64_t occupied) {
    const auto of = [&](PieceKind kind) { return pieces[static_cast<std::size_t>(kind)]; };
    const std::uint64_t empty = ~occupied;
    const std::uint64_t farRow = kRowZero << (side == 1 ? 7 : 0);
    const std::uint64_t pawnSteps = PawnStepReach(of(kPawn), side) & empty;
    // Only a pawn can promote; every other move to an empty square is one without promotion.
    // Most often a pawn step short of the far row answers both questions.
    if ((pawnSteps & ~farRow) != 0) return {true, true};
    const bool othersMove = ((StepReach(of(kKnight), tables::kKnightTargetSets) |
                              StepReach(of(kKing), tables::kKingTargetSets) |
                              StepReach(of(kBishop) | of(kQueen), tables::kDiagonalNeighbourSets) |
                              StepReach(of(kRook) | of(kQueen), tables::kStraightNeighbourSets)) &
                             empty) != 0;
    return {othersMove || pawnSteps != 0, othersMove};
}

CaptureTargets StepCaptureReach(const KindSquares& pieces, Side side) {
    const auto of = [&](PieceKind kind) { return pieces[static_cast<std::size_t>(kind)]; };
    // A pawn capture onto the far row always promotes; nothing else does.
    const std::uint64_t farRow = kRowZero << (side == 1 ? 7 : 0);
    const std::uint64_t pawnReach = PawnCaptureReach(of(kPawn), side);
    const std::uint64_t otherReach = StepReach(of(kKnight), tables::kKnightTargetSets) |
                                     StepReach(of(kKing), tables::kKingTargetSets);
    return {(pawnReach & ~farRow) | otherReach, pawnReach & farRow};
}

CaptureTargets CaptureTargetsOf(const CaptureTargets& stepReach, const KindSquares& pieces,
                                std::uint64_t opponentSquares, std::uint64_t occupied) {
    const auto of = [&](PieceKind kind) { return pieces[static_cast<std::size_t>(kind)]; };
    const std::uint64_t slidingReach = DiagonalReach(of(kBishop) | of(kQueen), occupied) |
                                       StraightReach(of(kRook) | of(kQueen), occupied);
    return {(stepReach.plain | slidingReach) & opponentSquares,
            stepReach.promoting & opponentSquares};
}

CaptureTargets CaptureTargetsOf(const KindSquares& pieces, Side side, std::uint64_t opponentSquares,
                                std::uint64_t occupied) {
    return CaptureTargetsOf(StepCaptureReach(pieces, side), pieces, opponentSquares, occupied);
}

MoveWord LastCapture(const Board& board, std::uint64_t sideSquares, std::uint64_t opponentSquares,
                     std::uint64_t occupied) {
    // The list runs in square order, so the last capture starts on the highest square that
    // has one; its own captures come in the generator's order.
    std::array<MoveWord, 8> captures;  // a piece captures on at most 8 squares
    for (std::uint64_t rest = sideSquares; rest != 0;) {
        const int square = 63 - std::countl_zero(rest);
        const std::uint64_t origin = std::uint64_t{1} << square;
        const int last =
            GenerateCapturesOfSquares(board, captures, origin, opponentSquares, occupied);
        if (last >= 0) return captures[static_cast<std::size_t>(last)];
        rest &= ~origin;
    }
    return NoMove;
}

int GenerateMoves(const Board& board, std::span<MoveWord> list, Side side) {
    const BoardSquares squares = SquaresSeenBy(board, side);
    // A side that can capture must capture: no move to an empty square is even computed then.
    const int lastCapture =
        GenerateCapturesOfSquares(board, list, squares.own, squares.opponent, squares.occupied);
    if (lastCapture >= 0) return lastCapture;
    return GenerateQuietMovesOfSquares(board, list, squares.own, squares.occupied);
}

int IsLegalSide2Move(const Board& board, int fromColumn, int fromRow, int toColumn, int toRow) {
    // A coordinate off the board would wrap onto another move in the packed word (or
    // overflow it), so it is refused before packing.
    for (const int coordinate : {fromColumn, fromRow, toColumn, toRow}) {
        if (coordinate < 0 || coordinate > 7) return 0;
    }
    return IsLegalMove(board, 2, PackMove(fromColumn, fromRow, toColumn, toRow)) ? 1 : 0;
}

bool IsLegalMove(const Board& board, Side side, MoveWord move) {
    MoveList list;
    const int last = GenerateMoves(board, list, side);
    for (int i = 0; i <= last; ++i) {
        if (list[static_cast<std::size_t>(i)] == move) return true;
    }
    return false;
}

void GeneratePieceMoves(const Board& board, int column, int row, TargetMoveList& targets,
                        int& targetCount, Side side) {
    // The side's list keeps the selected piece's moves together and in its own order, so
    // filtering it by origin gives exactly the piece's legal moves.
    MoveList list;
    const int last = GenerateMoves(board, list, side);
    targetCount = 0;
    for (int i = 0; i <= last; ++i) {
        const MoveWord move = list[static_cast<std::size_t>(i)];
        const UnpackedMove m = UnpackMove(move);
        if (m.fromColumn == column && m.fromRow == row &&
            targetCount < static_cast<int>(targets.size())) {
            targets[static_cast<std::size_t>(targetCount++)] = move;
        }
    }
}

}  // namespace kelvane
