// SPDX-License-Identifier: GPL-3.0-or-later
// Writes a bitmap to a PNG file, so the board's pictures can be looked at outside the program.
#pragma once

#include <string>

#include "framework/device_context.h"

namespace kelvane {

// An 8-bit RGB PNG of the bitmap. False when the bitmap is empty or the file cannot be written.
bool WritePngFile(const std::string& path, const framework::CBitmap& bitmap);

}  // namespace kelvane
