// The program's own bitmap resources: the two piece sheets, compiled into the program.
#pragma once

#include <cstdint>

namespace kelvane::res {

inline constexpr unsigned IDB_STANDARD_SET = 131;
inline constexpr unsigned IDB_EXTRA_SET = 133;

struct SheetData {
    int width = 0;
    int height = 0;
    const std::uint32_t* pixels = nullptr;  // 0x00BBGGRR, row by row from the top-left corner
};

// Null for an id that names no bitmap of ours.
const SheetData* FindBitmapResource(unsigned id);

}  // namespace kelvane::res
