// SPDX-License-Identifier: GPL-3.0-or-later
// The legal moves of the one piece the human has selected.
#pragma once

#include <array>

#include "rules/board.h"

namespace kelvane {

// A piece never has more than 27 moves (a queen in the middle of an empty board).
using TargetMoveList = std::array<MoveWord, 64>;

// Fills targets with the moves of the side-2 piece on (column, row) that are in side 2's legal
// move list, in that list's order, and sets targetCount to their number.
void GeneratePieceMoves(const Board& board, int column, int row, TargetMoveList& targets,
                        int& targetCount);

}  // namespace kelvane
