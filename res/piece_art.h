// SPDX-License-Identifier: GPL-3.0-or-later
// The piece sheets are kept as text: one character grid per piece and side, with a palette.
// This turns that text into the 144 by 130 sheets that the board drawing cuts pieces from.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace kelvane::res {

inline constexpr int kCellWidth = 24;
inline constexpr int kCellHeight = 32;
inline constexpr int kSheetWidth = 144;
inline constexpr int kSheetHeight = 130;

// Where the cell of a piece of side (1 black, 2 white) and kind (1 pawn .. 6 king) starts on
// a sheet: white pieces at y 0 and black ones at y 32 on the light colour, the same at y 64
// and 96 on the dark colour; kinds from pawn to king at x 0, 24, ... 120.
constexpr int CellX(int kind) {
    return (kind - 1) * kCellWidth;
}
constexpr int CellY(int side, bool onDarkSquare) {
    return (onDarkSquare ? 2 * kCellHeight : 0) + (side == 1 ? kCellHeight : 0);
}

// A cell pixel that takes the square colour of its sheet row; no real colour has a high byte.
inline constexpr std::uint32_t kCellBackground = 0xFF000000;

using PieceCell = std::array<std::uint32_t, kCellWidth * kCellHeight>;

struct PieceArt {
    std::uint32_t lightSquare = 0;
    std::uint32_t darkSquare = 0;
    // cells[side - 1][kind - 1]; side 1 black, side 2 white; kinds pawn to king.
    std::array<std::array<PieceCell, 6>, 2> cells{};
};

struct PieceArtParse {
    bool ok = false;
    std::string error;  // the first fault, with its line number
    PieceArt art;
};

// The text: "light R G B" and "dark R G B" for the square colours, "colour C R G B" for each
// symbol C ('.' is always the square colour), then "piece <white|black> <kind>" followed by
// 32 lines of 24 symbols, once for each of the twelve pieces. '#' starts a comment line.
PieceArtParse ParsePieceArt(std::string_view text);

// The sheet, row by row: white pieces at y 0 and black ones at y 32 on the light colour, the
// same at y 64 and 96 on the dark colour; kinds from pawn to king at x 0, 24, ... 120.
std::vector<std::uint32_t> ComposeSheet(const PieceArt& art);

// The two sets' texts as compiled into the program.
std::string_view StandardSetArt();
std::string_view ExtraSetArt();

}  // namespace kelvane::res
