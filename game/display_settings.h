// Settings shared by the game (mouse mapping) and the drawing.
#pragma once

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

}  // namespace kelvane
