// SPDX-License-Identifier: GPL-3.0-or-later
// Boards for randomised tests: positions of random legal games, random placements of the
// twelve piece codes, and arbitrary bytes such as a hand-made saved game could hold.
#pragma once

#include <random>
#include <string>

#include "rules/board.h"

namespace kelvane::testing {

// The position after up to plies random legal moves from the start (fewer if a side runs out
// of moves), sides alternating with White first.
Board PositionAfterRandomGame(std::mt19937& random, int plies);
// Up to 20 random piece codes on random squares; kings may be missing or doubled.
Board RandomPlacement(std::mt19937& random);
// 64 arbitrary bytes.
Board RandomBytes(std::mt19937& random);

std::string Describe(const Board& board);  // the 64 codes, for failure messages

}  // namespace kelvane::testing
