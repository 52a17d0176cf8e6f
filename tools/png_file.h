// SPDX-License-Identifier: GPL-3.0-or-later
// Writes 8-bit pixels to a PNG file: the board's pictures and the icon's sizes.
#pragma once

#include <span>
#include <string>

namespace kelvane {

enum class PngPixels { Rgb, Rgba };

// pixels holds the rows from the top, 3 or 4 bytes a pixel. False when the size does not
// match the pixels or the file cannot be written.
bool WritePngFile(const std::string& path, int width, int height, PngPixels format,
                  std::span<const unsigned char> pixels);

}  // namespace kelvane
