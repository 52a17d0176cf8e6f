// The saved game on disk: the Board's 64 square codes in index order, nothing else.
#pragma once

#include <string>

#include "rules/board.h"

namespace kelvane {

inline constexpr const char* kSavedGameFileName = "game.sav";

// Whether a byte of the file can stand on the Board: 0 or a piece of either side.
constexpr bool IsSavedSquareCode(SquareCode code) {
    return code == 0 || IsPieceCode(code);
}

// Writes board to fileName through a temporary file beside it, which replaces fileName only
// once it has been written whole, so a failed save never costs the game saved before.
// Returns an empty string on success, otherwise the sentence to show the player.
std::string WriteSavedGame(const Board& board, const std::string& fileName);

struct SavedGameRead {
    enum class Status {
        NotOpened,   // missing or not openable: nothing was read
        Loaded,      // codes[0 .. count - 1] hold the file's first bytes, all square codes
        ReadFailed,  // opened, but the system failed to read it
        Refused,     // holds a byte that is no square code
    };
    Status status = Status::NotOpened;
    Board codes{};
    int count = 0;
    std::string message;  // for ReadFailed and Refused
};

// Reads at most the first 64 bytes of fileName.
SavedGameRead ReadSavedGame(const std::string& fileName);

}  // namespace kelvane
