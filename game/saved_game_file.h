// SPDX-License-Identifier: GPL-3.0-or-later
// The saved game on disk: one file holding the Board's 64 square codes.
#pragma once

#include <string>

#include "rules/board.h"
#include "rules/result.h"

namespace kelvane {

inline constexpr const char* kSavedGameFileName = "game.sav";

// Replaces fileName's contents whole or not at all: the bytes go to a fresh temporary file
// beside it (beside a symbolic link's target), which is renamed over it with the old file's
// permissions. An existing file that cannot be opened for writing is left untouched, and so is
// the target of a link in a sticky folder that everyone may write when the link belongs
// neither to the player nor to the folder's owner. Where no temporary file can be made but the
// file itself is writable, it is rewritten in place.
// A failure's reason is the sentence for the player, naming the file and the cause.
Status WriteSavedGame(const Board& board, const std::string& fileName);

struct SavedGameRead {
    enum class Status {
        NotOpened,  // missing, not openable, or no regular file: nothing was read; message says
                    // why a file that is there cannot be opened
        Loaded,     // board holds the saved game
        Refused,    // unreadable, or not a saved game: message says why
    };
    Status status = Status::NotOpened;
    Board board{};
    std::string message;
};

// Never blocks and never reads more than 65 bytes.
SavedGameRead ReadSavedGame(const std::string& fileName);

}  // namespace kelvane
