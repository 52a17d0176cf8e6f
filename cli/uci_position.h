// SPDX-License-Identifier: GPL-3.0-or-later
// The position a UCI "position" command describes: a start or a FEN, then moves, each checked
// against the rules.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "rules/board.h"
#include "rules/result.h"

namespace kelvane::cli {

struct UciPosition {
    Board board{};
    Side side = 2;
    std::vector<Board> history;  // the positions before board, oldest first
};

// The start position, White to move.
UciPosition StartingUciPosition();

// The words after "position": startpos|fen FEN [moves M...]. The FEN's castling and en-passant
// fields must be "-"; the move counters may be left out. Under variant, a move after the end of
// the game is refused like an illegal one.
Result<UciPosition> ParseUciPosition(const std::vector<std::string_view>& words, int variant);

// A move in UCI's coordinate form, with the "q" of a pawn promoting.
std::string UciMoveText(const Board& board, MoveWord move);

}  // namespace kelvane::cli
