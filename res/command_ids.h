// SPDX-License-Identifier: GPL-3.0-or-later
// The program's own command identifiers, from 32771 up.
#pragma once

namespace kelvane::res {

// The game, handled by the board view.
inline constexpr int ID_GAME_COMPUTER_STARTS = 32771;
inline constexpr int ID_GAME_AUTOPLAY = 32772;
inline constexpr int ID_GAME_SAVE = 32774;
inline constexpr int ID_GAME_LOAD = 32775;
inline constexpr int ID_GAME_STOP = 32779;
inline constexpr int ID_GAME_HINT = 32780;

// Level, rules and options, handled by the main frame.
inline constexpr int ID_LEVEL_MEDIUM = 32776;
inline constexpr int ID_LEVEL_EASY = 32777;
inline constexpr int ID_LEVEL_HARD = 32778;
inline constexpr int ID_RULES_KING_MUST_DIE = 32781;
inline constexpr int ID_RULES_ALL_MUST_DIE = 32782;
inline constexpr int ID_OPTIONS_SMALL_BOARD = 32783;
inline constexpr int ID_OPTIONS_MEDIUM_BOARD = 32784;
inline constexpr int ID_OPTIONS_LARGE_BOARD = 32785;
inline constexpr int ID_OPTIONS_STANDARD_SET = 32786;
inline constexpr int ID_OPTIONS_EXTRA_SET = 32787;

// Only in the window with extras (kelvane --extras).
inline constexpr int ID_GAME_YOU_PLAY_BLACK = 32788;
inline constexpr int ID_GAME_SAVE_RECORD = 32789;
inline constexpr int ID_LEVEL_EXPERT = 32790;

}  // namespace kelvane::res
