// SPDX-License-Identifier: GPL-3.0-or-later
// The program's own bitmap resources: the two piece sheets, compiled into the program.
#pragma once

#include <cstdint>

#include "framework/resources.h"

namespace kelvane::res {

inline constexpr unsigned IDB_STANDARD_SET = 131;
inline constexpr unsigned IDB_EXTRA_SET = 133;

// The two square colours a sheet's cells are drawn on (0x00BBGGRR); black for an id that
// names no sheet.
struct SquareColours {
    std::uint32_t light = 0;
    std::uint32_t dark = 0;
};
SquareColours SquareColoursOf(unsigned sheetId);

// Null for an id that names no bitmap of ours.
const framework::BitmapResource* FindBitmapResource(unsigned id);

}  // namespace kelvane::res
