// SPDX-License-Identifier: GPL-3.0-or-later
// Legal moves under compulsory capture, in the fixed order the search's choices depend on.
#pragma once

#include <array>
#include <cstdint>
#include <span>

#include "rules/board.h"

namespace kelvane {

inline constexpr int kMoveListCapacity = 1000;
using MoveList = std::array<MoveWord, kMoveListCapacity>;

// A side's legal moves: its captures if it has any, otherwise its moves to empty squares,
// grouped by origin in Board index order. Returns the index of the last entry written, -1 when
// the side has no legal move. Never writes past the end of list: on a hand-made board with more
// moves than list can hold, the moves that do not fit are left out.
int GenerateMoves(const Board& board, std::span<MoveWord> list, Side side);

// Whether the move is among side 2's legal moves (1) or not (0); any coordinates are accepted.
int IsLegalSide2Move(const Board& board, int fromColumn, int fromRow, int toColumn, int toRow);
// Whether move is among side's legal moves.
bool IsLegalMove(const Board& board, Side side, MoveWord move);

// Bit i set for every square index i whose code belongs to side (SideOf(code) == side).
std::uint64_t SquaresOfSide(const Board& board, Side side);

// Every square whose code is not 0, whatever its side.
std::uint64_t OccupiedSquares(const Board& board);

// Only the capture pass of GenerateMoves: the captures of the side on sideSquares, or
// -1 when it has none. opponentSquares are the other side's, occupied is OccupiedSquares.
int GenerateCapturesOfSquares(const Board& board, std::span<MoveWord> list,
                              std::uint64_t sideSquares, std::uint64_t opponentSquares,
                              std::uint64_t occupied);

// What the search needs to know of a side's captures when it does not need the list: the
// squares they land on, split by whether a pawn promotes by landing there. A square that both
// kinds of capture reach is in both sets.
struct CaptureTargets {
    std::uint64_t plain = 0;
    std::uint64_t promoting = 0;
};
// A side's squares by the kind of the code on them (KindOf, 0 to 9: only 1 to 6 move).
using KindSquares = std::array<std::uint64_t, 10>;
KindSquares KindSquaresOf(const Board& board, Side side);
// occupied holds every square whose code is not 0, whatever its side: any of them stops a ray.
CaptureTargets CaptureTargetsOf(const KindSquares& pieces, Side side, std::uint64_t opponentSquares,
                                std::uint64_t occupied);

// The same in two steps, for a caller that asks many times while the side's pawns, knights and
// king stay put: what those would capture on if an opponent's piece stood there, which does not
// depend on the other pieces; then the sliders' share, and only the opponent's squares kept.
CaptureTargets StepCaptureReach(const KindSquares& pieces, Side side);
CaptureTargets CaptureTargetsOf(const CaptureTargets& stepReach, const KindSquares& pieces,
                                std::uint64_t opponentSquares, std::uint64_t occupied);

// Only the pass of GenerateMoves for a side without captures: its moves to empty
// squares, or -1 when it has none.
int GenerateQuietMovesOfSquares(const Board& board, std::span<MoveWord> list,
                                std::uint64_t sideSquares, std::uint64_t occupied);

// What the search needs to know of a side's moves to empty squares when it does not need the
// moves themselves: whether there is any, and whether any of them is not a promotion.
struct QuietMoveSummary {
    bool any = false;
    bool anyWithoutPromotion = false;
};
QuietMoveSummary SummarizeQuietMoves(const KindSquares& pieces, Side side, std::uint64_t occupied);

// A side's last capture in generator order, NoMove when it has none.
MoveWord LastCapture(const Board& board, std::uint64_t sideSquares, std::uint64_t opponentSquares,
                     std::uint64_t occupied);

}  // namespace kelvane
