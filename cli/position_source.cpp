// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/position_source.h"

#include "game/saved_game_file.h"
#include "rules/notation.h"

namespace kelvane::cli {

namespace {

bool LooksLikeFen(const std::string& text) {
    const std::string placement = text.substr(0, text.find(' '));
    if (placement.find('/') == std::string::npos) return false;
    return placement.find_first_not_of("pnbrqkPNBRQK12345678/") == std::string::npos;
}

}  // namespace

Result<Board> LoadPosition(const std::string& text) {
    if (text == "start") {
        Board board;
        SetUpStartingPosition(board);
        return board;
    }
    if (LooksLikeFen(text)) {
        Result<Board> board = BoardFromFen(text);
        if (!board) return Failure{"malformed FEN '" + text + "': " + board.reason()};
        return board;
    }
    const SavedGameRead saved = ReadSavedGame(text);
    switch (saved.status) {
        case SavedGameRead::Status::Loaded:
            return saved.board;
        case SavedGameRead::Status::Refused:
            return Failure{saved.message};
        case SavedGameRead::Status::NotOpened:
            break;
    }
    return Failure{"cannot open '" + text +
                   "' as a regular file, and it is not a FEN placement field"};
}

}  // namespace kelvane::cli
