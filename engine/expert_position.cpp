// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/expert_position.h"

#include <bit>

#include "rules/move_tables.h"

namespace kelvane::expert {

namespace {

// One random key per piece code and square; the same on every run, so that node-limited
// searches repeat.
constexpr std::uint64_t SplitMix(std::uint64_t& state) {
    std::uint64_t z = (state += 0x9E3779B97F4A7C15ULL);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ULL;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBULL;
    return z ^ (z >> 31);
}

struct Keys {
    std::array<std::array<std::uint64_t, 64>, 12> piece{};
    std::uint64_t side = 0;
};

constexpr Keys MakeKeys() {
    Keys keys;
    std::uint64_t state = 0x4B656C76616E65ULL;
    for (auto& squares : keys.piece) {
        for (auto& key : squares) key = SplitMix(state);
    }
    keys.side = SplitMix(state);
    return keys;
}

constexpr Keys kKeys = MakeKeys();

constexpr std::size_t KeyIndex(SquareCode code) {
    return static_cast<std::size_t>((SideOf(code) - 1) * 6 + KindOf(code) - 1);
}

std::uint64_t PieceKey(SquareCode code, int square) {
    return kKeys.piece[KeyIndex(code)][static_cast<std::size_t>(square)];
}

template <std::size_t ray>
SquareSet RayAttacks(int square, SquareSet occupied) {
    SquareSet attacks = tables::kRaySets[static_cast<std::size_t>(square)][ray];
    const SquareSet blockers = attacks & occupied;
    if (blockers != 0) {
        const int nearest =
            tables::kRayRising[ray] ? std::countr_zero(blockers) : 63 - std::countl_zero(blockers);
        attacks ^= tables::kRaySets[static_cast<std::size_t>(nearest)][ray];
    }
    return attacks;
}

constexpr SquareSet kRow0 = tables::kRowZero;
constexpr SquareSet kRow7 = tables::kRowZero << 7;

SquareSet PawnCaptureSet(Side side, int square) {
    return side == 1 ? tables::kBlackPawnCaptureSets[static_cast<std::size_t>(square)]
                     : tables::kWhitePawnCaptureSets[static_cast<std::size_t>(square)];
}

// All squares side's pawns capture on.
SquareSet PawnAttacks(SquareSet pawns, Side side) {
    if (side == 1) {
        pawns &= ~kRow7;
        return (pawns >> 7) | (pawns << 9);
    }
    pawns &= ~kRow0;
    return (pawns >> 9) | (pawns << 7);
}

class MoveWriter {
  public:
    explicit MoveWriter(MoveBuffer& buffer) : buffer_(buffer) { buffer_.count = 0; }
    void AddAll(int from, SquareSet targets) {
        for (; targets != 0; targets &= targets - 1) {
            if (buffer_.count < kMaxMoves)
                buffer_.moves[static_cast<std::size_t>(buffer_.count++)] =
                    MakeMove(from, std::countr_zero(targets));
        }
    }
    int Count() const { return buffer_.count; }

  private:
    MoveBuffer& buffer_;
};

}  // namespace

SquareSet BishopAttacks(int square, SquareSet occupied) {
    return RayAttacks<0>(square, occupied) | RayAttacks<1>(square, occupied) |
           RayAttacks<2>(square, occupied) | RayAttacks<3>(square, occupied);
}

SquareSet RookAttacks(int square, SquareSet occupied) {
    return RayAttacks<4>(square, occupied) | RayAttacks<5>(square, occupied) |
           RayAttacks<6>(square, occupied) | RayAttacks<7>(square, occupied);
}

SquareSet AttacksOf(SquareCode code, int square, SquareSet occupied) {
    const auto s = static_cast<std::size_t>(square);
    switch (KindOf(code)) {
        case kPawn:
            return PawnCaptureSet(SideOf(code), square);
        case kKnight:
            return tables::kKnightTargetSets[s];
        case kBishop:
            return BishopAttacks(square, occupied);
        case kRook:
            return RookAttacks(square, occupied);
        case kQueen:
            return BishopAttacks(square, occupied) | RookAttacks(square, occupied);
        case kKing:
            return tables::kKingTargetSets[s];
        default:
            return 0;
    }
}

std::uint64_t SideToMoveKey() {
    return kKeys.side;
}

void Position::Put(int square, SquareCode code) {
    squares_[static_cast<std::size_t>(square)] = code;
    const auto side = static_cast<std::size_t>(SideOf(code));
    bySide_[side] |= Bit(square);
    byKind_[side][static_cast<std::size_t>(KindOf(code))] |= Bit(square);
    key_ ^= PieceKey(code, square);
}

void Position::Remove(int square, SquareCode code) {
    squares_[static_cast<std::size_t>(square)] = 0;
    const auto side = static_cast<std::size_t>(SideOf(code));
    bySide_[side] &= ~Bit(square);
    byKind_[side][static_cast<std::size_t>(KindOf(code))] &= ~Bit(square);
    key_ ^= PieceKey(code, square);
}

void Position::Set(const Board& board, Side sideToMove) {
    squares_.fill(0);
    bySide_ = {};
    byKind_ = {};
    key_ = 0;
    quietPlies_ = 0;
    side_ = sideToMove == 1 ? 1 : 2;
    for (int square = 0; square < 64; ++square) {
        const SquareCode code = board[static_cast<std::size_t>(square)];
        if (IsPieceCode(code)) Put(square, code);
    }
    if (side_ == 1) key_ ^= kKeys.side;
}

Board Position::ToBoard() const {
    Board board{};
    for (std::size_t square = 0; square < 64; ++square) board[square] = squares_[square];
    return board;
}

SquareSet Position::Attacks(Side side) const {
    const SquareSet occupied = Occupied();
    SquareSet attacks = PawnAttacks(Pieces(side, kPawn), side);
    for (SquareSet knights = Pieces(side, kKnight); knights != 0; knights &= knights - 1)
        attacks |= tables::kKnightTargetSets[static_cast<std::size_t>(std::countr_zero(knights))];
    for (SquareSet kings = Pieces(side, kKing); kings != 0; kings &= kings - 1)
        attacks |= tables::kKingTargetSets[static_cast<std::size_t>(std::countr_zero(kings))];
    const SquareSet queens = Pieces(side, kQueen);
    for (SquareSet diagonal = Pieces(side, kBishop) | queens; diagonal != 0;
         diagonal &= diagonal - 1)
        attacks |= BishopAttacks(std::countr_zero(diagonal), occupied);
    for (SquareSet straight = Pieces(side, kRook) | queens; straight != 0; straight &= straight - 1)
        attacks |= RookAttacks(std::countr_zero(straight), occupied);
    return attacks;
}

bool Position::GenerateLegal(MoveBuffer& buffer) const {
    MoveWriter writer(buffer);
    const Side side = side_;
    const SquareSet own = Pieces(side);
    const SquareSet opponent = Pieces(Opponent(side));
    const SquareSet occupied = own | opponent;
    if ((Attacks(side) & opponent) != 0) {
        for (SquareSet rest = own; rest != 0; rest &= rest - 1) {
            const int from = std::countr_zero(rest);
            writer.AddAll(from, AttacksOf(At(from), from, occupied) & opponent);
        }
        return true;
    }
    const int forward = side == 1 ? 1 : -1;
    const int startRow = side == 1 ? 1 : 6;
    for (SquareSet rest = own; rest != 0; rest &= rest - 1) {
        const int from = std::countr_zero(rest);
        const SquareCode code = At(from);
        if (KindOf(code) == kPawn) {
            const int row = from & 7;
            const int ahead = from + forward;
            if (row + forward < 0 || row + forward > 7 || (occupied & Bit(ahead)) != 0) continue;
            SquareSet targets = Bit(ahead);
            if (row == startRow && (occupied & Bit(ahead + forward)) == 0)
                targets |= Bit(ahead + forward);
            writer.AddAll(from, targets);
        } else {
            writer.AddAll(from, AttacksOf(code, from, occupied) & ~occupied);
        }
    }
    return false;
}

int Position::CountQuietMoves(Side side) const {
    const SquareSet occupied = Occupied();
    const SquareSet empty = ~occupied;
    int count = 0;
    const SquareSet pawns = Pieces(side, kPawn);
    if (side == 1) {
        const SquareSet single = ((pawns & ~kRow7) << 1) & empty;
        const SquareSet twice = ((single & (kRow0 << 2)) << 1) & empty;
        count += CountSquares(single) + CountSquares(twice);
    } else {
        const SquareSet single = ((pawns & ~kRow0) >> 1) & empty;
        const SquareSet twice = ((single & (kRow0 << 5)) >> 1) & empty;
        count += CountSquares(single) + CountSquares(twice);
    }
    for (SquareSet rest = Pieces(side) & ~pawns; rest != 0; rest &= rest - 1) {
        const int from = std::countr_zero(rest);
        count += CountSquares(AttacksOf(At(from), from, occupied) & empty);
    }
    return count;
}

void Position::Make(Move move, MoveUndo& undo) {
    const int from = FromOf(move);
    const int to = ToOf(move);
    const SquareCode moved = At(from);
    const SquareCode captured = At(to);
    undo = {captured, moved, key_, quietPlies_};
    if (captured != 0) Remove(to, captured);
    Remove(from, moved);
    SquareCode arriving = moved;
    if (moved == kWhitePawn && (to & 7) == 0) arriving = kWhiteQueen;
    if (moved == kBlackPawn && (to & 7) == 7) arriving = kBlackQueen;
    Put(to, arriving);
    quietPlies_ = (captured != 0 || KindOf(moved) == kPawn) ? 0 : quietPlies_ + 1;
    side_ = Opponent(side_);
    key_ ^= kKeys.side;
}

void Position::Unmake(Move move, const MoveUndo& undo) {
    const int from = FromOf(move);
    const int to = ToOf(move);
    Remove(to, At(to));
    Put(from, undo.moved);
    if (undo.captured != 0) Put(to, undo.captured);
    side_ = Opponent(side_);
    key_ = undo.key;
    quietPlies_ = undo.quietPlies;
}

void Position::MakeNull(MoveUndo& undo) {
    undo = {0, 0, key_, quietPlies_};
    side_ = Opponent(side_);
    key_ ^= kKeys.side;
    ++quietPlies_;
}

void Position::UnmakeNull(const MoveUndo& undo) {
    side_ = Opponent(side_);
    key_ = undo.key;
    quietPlies_ = undo.quietPlies;
}

}  // namespace kelvane::expert
