// SPDX-License-Identifier: GPL-3.0-or-later
// How the board is shown: the square size and the piece set, read by the drawing, the mouse
// and the window's size.
#pragma once

#include <optional>

#include "rules/square.h"

namespace kelvane {

inline constexpr int kSmallSquare = 35;
inline constexpr int kMediumSquare = 40;
inline constexpr int kLargeSquare = 80;

inline constexpr int kStandardSet = 1;
inline constexpr int kExtraSet = 0;

void SetSquareSize(int pixels);
int GetSquareSize();

void SetPieceSet(int set);
int GetPieceSet();

// Back to the settings of a program that has just started; for tests.
void ResetDisplaySettings();

// The square under a point of the view's client area; nothing beyond the eighth column or
// row, nor left of or above the board (where truncating division would fold onto 0).
std::optional<Square> SquareAt(int x, int y);

}  // namespace kelvane
