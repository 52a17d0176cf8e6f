// SPDX-License-Identifier: GPL-3.0-or-later
#include "rules/saved_game.h"

#include <string>

namespace kelvane {

std::string WrongSizeReason(std::uint64_t size) {
    return "it holds " + std::to_string(size) + (size == 1 ? " byte" : " bytes") +
           " where a saved game has exactly 64";
}

Result<Board> DecodeSavedGame(std::span<const unsigned char> bytes) {
    if (bytes.size() != kSavedGameSize) return Failure{WrongSizeReason(bytes.size())};
    Board board{};
    for (std::size_t i = 0; i < kSavedGameSize; ++i) {
        const auto code = static_cast<SquareCode>(bytes[i]);
        if (code != 0 && !IsPieceCode(code)) {
            return Failure{"byte " + std::to_string(i) + " has the value " +
                           std::to_string(static_cast<unsigned>(bytes[i])) +
                           ", which is no square code"};
        }
        board[i] = code;
    }
    return board;
}

}  // namespace kelvane
