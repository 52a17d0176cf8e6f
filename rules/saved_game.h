// SPDX-License-Identifier: GPL-3.0-or-later
// The saved game's bytes: exactly the Board's 64 square codes in index order, nothing else.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>

#include "rules/board.h"
#include "rules/result.h"

namespace kelvane {

inline constexpr std::size_t kSavedGameSize = 64;

// Why a file of size bytes is no saved game.
std::string WrongSizeReason(std::uint64_t size);

// Refuses anything but 64 bytes that are each 0 or a piece's code, saying which byte is wrong.
Result<Board> DecodeSavedGame(std::span<const unsigned char> bytes);

}  // namespace kelvane
