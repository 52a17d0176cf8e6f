// The one game in play: everything but the Board, which the board view owns.
#pragma once

#include <array>
#include <cstdint>

#include "rules/board.h"
#include "rules/piece_moves.h"

namespace kelvane {

// A square as column*100 + row; -1 for none.
using SquareRef = std::int32_t;
inline constexpr SquareRef kNoSquare = -1;
constexpr SquareRef MakeSquareRef(int column, int row) {
    return column * 100 + row;
}
constexpr int SquareRefColumn(SquareRef ref) {
    return ref / 100;
}
constexpr int SquareRefRow(SquareRef ref) {
    return ref % 100;
}

struct HintSquare {
    std::int32_t column = -1;
    std::int32_t row = -1;
};

// One undo snapshot: the 64 codes in a 9 by 9 grid addressed column*9 + row.
using UndoSnapshot = std::array<std::int32_t, 81>;
inline constexpr int kUndoHistorySize = 1000;  // snapshot 0 is never written

struct GameState {
    SquareRef SelectedSquare = kNoSquare;
    TargetMoveList TargetMoves{};
    std::int32_t TargetCount = 0;
    SquareRef LastMoveSquare = kNoSquare;
    HintSquare HintFrom;  // a hint is shown while HintFrom.column >= 0
    HintSquare HintTo;
    std::int32_t OpeningPending = 1;  // no move made yet in this game
    std::int32_t AutoplayTurn = 1;    // 1: side 1 moves at the next tick, 0: side 2
    std::int32_t UndoCount = 0;
    std::array<UndoSnapshot, kUndoHistorySize> UndoHistory{};
};

// There is one game per process.
GameState& TheGameState();

}  // namespace kelvane
