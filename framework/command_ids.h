// SPDX-License-Identifier: GPL-3.0-or-later
// The framework's own command identifiers, with the framework's values.
#pragma once

namespace kelvane::framework {

inline constexpr int ID_FILE_NEW = 0xE100;
inline constexpr int ID_FILE_OPEN = 0xE101;
inline constexpr int ID_EDIT_COPY = 0xE122;
inline constexpr int ID_EDIT_CUT = 0xE123;
inline constexpr int ID_EDIT_PASTE = 0xE125;
inline constexpr int ID_EDIT_UNDO = 0xE12B;
inline constexpr int ID_APP_ABOUT = 0xE140;
inline constexpr int ID_APP_EXIT = 0xE141;
inline constexpr int ID_NEXT_PANE = 0xE150;
inline constexpr int ID_PREV_PANE = 0xE151;

}  // namespace kelvane::framework
