// SPDX-License-Identifier: GPL-3.0-or-later
// The board view's picture: squares, pieces cut from the piece sheet, and the frames of the
// last move, the hint, the selection and its targets.
#pragma once

#include "framework/device_context.h"
#include "game/game_state.h"
#include "rules/board.h"

namespace kelvane {

// Draws the 8S by 8S board at the top-left corner of target, S being GetSquareSize(), in the
// colours and with the sheet of GetPieceSet(). Builds the picture off-screen and copies it in
// one block; changes nothing but the target's pixels.
void DrawBoard(framework::CDC* target, const Board& board, const GameState& state);

}  // namespace kelvane
