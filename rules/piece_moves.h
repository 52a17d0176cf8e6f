// SPDX-License-Identifier: GPL-3.0-or-later
// The legal moves of the one piece the human has selected.
#pragma once

#include <array>

#include "rules/board.h"

namespace kelvane {

// A piece never has more than 27 moves (a queen in the middle of an empty board).
using TargetMoveList = std::array<MoveWord, 64>;

// Fills targets with the moves of side's piece on (column, row) that are in side's legal move
// list, in that list's order, and sets targetCount to their number. The human is side 2 unless
// a front end lets them play Black.
void GeneratePieceMoves(const Board& board, int column, int row, TargetMoveList& targets,
                        int& targetCount, Side side = 2);

}  // namespace kelvane
