// SPDX-License-Identifier: GPL-3.0-or-later
// End of game and material: the rules' verdict on a board and the computer's evaluation.
#pragma once

#include <array>
#include <cstdint>

#include "rules/board.h"

namespace kelvane {

inline constexpr int kKingMustDie = 1;  // a side wins when its king has been taken
inline constexpr int kAllMustDie = 0;   // a side wins when it has no piece left

// 0 the game goes on, 1 side 1 has won, 2 side 2 has won.
using GameResult = std::int8_t;

// Indexed by PieceKind; index 0 stands for an empty square.
using PieceValueTable = std::array<std::int32_t, 7>;

void SetRulesVariant(int variant);  // also weighs the king: 20 for All must die, else 1000
int GetRulesVariant();

void SetGameResult(GameResult result);
GameResult GetGameResult();

const PieceValueTable& GetPieceValues();
// Value of a square code's kind; 0 for anything that is no piece kind.
std::int32_t PieceValueOf(SquareCode code);

// Writes the standard piece values (the king weighs 1000) and clears the game result.
void ResetEvaluation();

// Records in GameResult which side, if any, has reached its goal; side 1 is examined first.
// Any variant other than 0 is "King must die".
void TestEndOfGame(const Board& board, int variant);

// Value of the opponent's pieces minus the value of side's own: larger is better for side,
// which wants to get rid of its pieces.
std::int32_t CountMaterial(const Board& board, Side side);

}  // namespace kelvane
