// SPDX-License-Identifier: GPL-3.0-or-later
// The one game in play: everything but the Board, which the game's owner holds.
#pragma once

#include <array>
#include <cstdint>

#include "rules/board.h"
#include "rules/piece_moves.h"
#include "rules/square.h"

namespace kelvane {

// A square as column*100 + row; -1 for none.
using SquareRef = std::int32_t;
inline constexpr SquareRef kNoSquare = -1;
constexpr SquareRef MakeSquareRef(Square square) {
    return square.column * 100 + square.row;
}
constexpr Square SquareOf(SquareRef ref) {
    return {ref / 100, ref % 100};
}

inline constexpr int kUndoHistorySize = 1000;  // snapshot 0 is never written

struct GameState {
    SquareRef SelectedSquare = kNoSquare;
    TargetMoveList TargetMoves{};
    std::int32_t TargetCount = 0;
    SquareRef LastMoveSquare = kNoSquare;
    // A hint is shown while HintFrom is on the board; only its column is ever cleared.
    Square HintFrom{-1, -1};
    Square HintTo{-1, -1};
    std::int32_t OpeningPending = 1;  // no move made yet in this game
    std::int32_t AutoplayTurn = 1;    // 1: side 1 moves at the next tick, 0: side 2
    std::int32_t UndoCount = 0;
    std::array<Board, kUndoHistorySize> UndoHistory{};

    bool HasHint() const { return HintFrom.column >= 0; }
    void ClearHint() { HintFrom.column = -1; }
};

// There is one game per process.
GameState& TheGameState();
// Back to the state of a program that has just started; for tests.
void ResetGameState();

}  // namespace kelvane
