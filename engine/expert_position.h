// SPDX-License-Identifier: GPL-3.0-or-later
// The Expert search's own view of a position: square sets per side and kind, a Zobrist key,
// and moves made and unmade in place. The bit of a square is its Board index (column*8 + row),
// so converting to and from a Board or a MoveWord costs nothing.
#pragma once

#include <array>
#include <cstdint>

#include "rules/board.h"

namespace kelvane::expert {

using SquareSet = std::uint64_t;

// from | to << 6; 0 is no move (a move never goes from a square to itself).
using Move = std::uint16_t;
inline constexpr Move kNoMove = 0;

constexpr Move MakeMove(int from, int to) {
    return static_cast<Move>(from | (to << 6));
}
constexpr int FromOf(Move move) {
    return move & 63;
}
constexpr int ToOf(Move move) {
    return move >> 6;
}
constexpr MoveWord ToMoveWord(Move move) {
    return PackMove(FromOf(move) >> 3, FromOf(move) & 7, ToOf(move) >> 3, ToOf(move) & 7);
}
// The Move of a MoveWord whose fields are each 0 to 7.
constexpr Move FromMoveWord(MoveWord word) {
    const UnpackedMove m = UnpackMove(word);
    return MakeMove(SquareIndex(m.fromColumn, m.fromRow), SquareIndex(m.toColumn, m.toRow));
}

constexpr SquareSet Bit(int square) {
    return SquareSet{1} << square;
}

// The number of squares in a set, without the library call that std::popcount becomes on a
// processor not known to count bits itself.
constexpr int CountSquares(SquareSet set) {
    set -= (set >> 1) & 0x5555555555555555ULL;
    set = (set & 0x3333333333333333ULL) + ((set >> 2) & 0x3333333333333333ULL);
    set = (set + (set >> 4)) & 0x0F0F0F0F0F0F0F0FULL;
    return static_cast<int>((set * 0x0101010101010101ULL) >> 56);
}

// More than any side has in a position that arises in play (at most 16 pieces, 27 moves each).
inline constexpr int kMaxMoves = 256;

struct MoveBuffer {
    std::array<Move, kMaxMoves> moves;
    int count = 0;
};

// What Unmake needs to put back.
struct MoveUndo {
    SquareCode captured;
    SquareCode moved;
    std::uint64_t key;
    int quietPlies;
};

class Position {
  public:
    // Only the twelve piece codes are read; any other byte counts as an empty square.
    void Set(const Board& board, Side sideToMove);
    Board ToBoard() const;

    Side SideToMove() const { return side_; }
    std::uint64_t Key() const { return key_; }
    SquareCode At(int square) const { return squares_[static_cast<std::size_t>(square)]; }
    SquareSet Pieces(Side side) const { return bySide_[static_cast<std::size_t>(side)]; }
    SquareSet Pieces(Side side, PieceKind kind) const {
        return byKind_[static_cast<std::size_t>(side)][static_cast<std::size_t>(kind)];
    }
    SquareSet Occupied() const { return bySide_[1] | bySide_[2]; }
    // Plies since the last capture or pawn move.
    int QuietPlies() const { return quietPlies_; }
    void SetQuietPlies(int plies) { quietPlies_ = plies; }

    // The squares side's pieces attack (would capture on if an opponent stood there).
    SquareSet Attacks(Side side) const;
    bool HasCapture(Side side) const { return (Attacks(side) & Pieces(Opponent(side))) != 0; }

    // The side to move's legal moves: its captures if it has any, else its moves to empty
    // squares. Returns whether they are captures.
    bool GenerateLegal(MoveBuffer& buffer) const;
    // The number of moves to empty squares side would have (whether or not it must capture).
    int CountQuietMoves(Side side) const;

    bool IsCapture(Move move) const { return At(ToOf(move)) != 0; }

    void Make(Move move, MoveUndo& undo);
    void Unmake(Move move, const MoveUndo& undo);
    // Passes the turn without a move, for pruning: nothing on the board changes.
    void MakeNull(MoveUndo& undo);
    void UnmakeNull(const MoveUndo& undo);

  private:
    void Put(int square, SquareCode code);
    void Remove(int square, SquareCode code);

    std::array<SquareCode, 64> squares_{};
    std::array<SquareSet, 3> bySide_{};
    std::array<std::array<SquareSet, 8>, 3> byKind_{};
    Side side_ = 2;
    std::uint64_t key_ = 0;
    int quietPlies_ = 0;
};

// The squares a piece of the given code on square attacks with everything in occupied blocking.
SquareSet AttacksOf(SquareCode code, int square, SquareSet occupied);
SquareSet BishopAttacks(int square, SquareSet occupied);
SquareSet RookAttacks(int square, SquareSet occupied);

std::uint64_t SideToMoveKey();

}  // namespace kelvane::expert
