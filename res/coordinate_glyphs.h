// SPDX-License-Identifier: GPL-3.0-or-later
// The letters a to h and the digits 1 to 8 drawn along the board's edges, as small pixel
// glyphs.
#pragma once

#include <array>
#include <optional>

namespace kelvane::res {

inline constexpr int kGlyphWidth = 5;
inline constexpr int kGlyphHeight = 7;

// One string per pixel row, top first: '#' a pixel of the glyph, '.' background.
using Glyph = std::array<const char*, kGlyphHeight>;

// The glyph of 'a' to 'h' or '1' to '8'; nothing for any other character.
std::optional<Glyph> CoordinateGlyph(char c);

}  // namespace kelvane::res
