// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/display_settings.h"

namespace kelvane {

namespace {
int squareSize = kMediumSquare;
int pieceSet = kStandardSet;
}  // namespace

// Only the three board sizes exist; any other value would break the mouse mapping (a zero
// would divide by zero) and the window size, so it is ignored.
void SetSquareSize(int pixels) {
    if (pixels == kSmallSquare || pixels == kMediumSquare || pixels == kLargeSquare) {
        squareSize = pixels;
    }
}

int GetSquareSize() {
    return squareSize;
}

// The drawing picks a sheet by this value; anything but the two sets is ignored.
void SetPieceSet(int set) {
    if (set == kStandardSet || set == kExtraSet) pieceSet = set;
}

int GetPieceSet() {
    return pieceSet;
}

void ResetDisplaySettings() {
    squareSize = kMediumSquare;
    pieceSet = kStandardSet;
}

std::optional<Square> SquareAt(int x, int y) {
    if (x < 0 || y < 0) return std::nullopt;
    const Square square{x / squareSize, y / squareSize};
    if (!IsOnBoard(square)) return std::nullopt;
    return square;
}

}  // namespace kelvane
