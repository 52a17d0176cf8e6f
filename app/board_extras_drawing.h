// SPDX-License-Identifier: GPL-3.0-or-later
// The board as the window with extras shows it: the classic picture, turned when Black is at
// the bottom, with the files and ranks along its left and bottom edges, the pieces that must
// capture framed, and the keyboard's square cursor.
#pragma once

#include <optional>
#include <vector>

#include "framework/device_context.h"
#include "game/game_state.h"
#include "rules/board.h"
#include "rules/square.h"

namespace kelvane {

inline constexpr framework::COLORREF kCapturerColour = framework::RGB(255, 128, 0);
inline constexpr framework::COLORREF kCursorColour = framework::RGB(255, 0, 255);
inline constexpr framework::COLORREF kEdgeColour = framework::RGB(64, 64, 64);
inline constexpr framework::COLORREF kEdgeTextColour = framework::RGB(255, 255, 255);

struct BoardExtras {
    bool turned = false;            // Black at the bottom, file h at the left
    std::vector<Square> capturers;  // the pieces that can capture, in board squares
    std::optional<Square> cursor;   // the keyboard's square, when shown
};

// The width of the strip of ranks at the left and the height of the strip of files below.
constexpr int EdgeWidth(int squareSize) {
    return squareSize * 2 / 5;
}

// Where a board square stands on the screen, and back: turning is its own inverse.
constexpr Square ScreenSquare(Square square, bool turned) {
    return turned ? Square{kBoardDim - 1 - square.column, kBoardDim - 1 - square.row} : square;
}

// Draws the edges and the board at (EdgeWidth, 0), S being GetSquareSize(), as DrawBoard does
// for the classic window, then the extras' frames.
void DrawBoardWithExtras(framework::CDC* target, const Board& board, const GameState& state,
                         const BoardExtras& extras);

// The board square under a point of the view; nothing on the edges or beyond the board.
std::optional<Square> BoardSquareAt(int x, int y, bool turned);

}  // namespace kelvane
