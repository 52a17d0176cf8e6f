// SPDX-License-Identifier: GPL-3.0-or-later
// The board and the moves as plain lines, for a terminal, a screen reader or a log file.
#pragma once

#include <optional>
#include <string>

#include "rules/board.h"
#include "rules/square.h"

namespace kelvane::cli {

struct BoardLook {
    bool ascii = false;            // letters PNBRQK / pnbrqk instead of the chess symbols
    Side bottom = 2;               // the side whose first rank is the lowest line: the player's
    std::optional<Square> marked;  // shown in brackets: the last move's destination
};

// Eight lines, each starting with its rank number, then a line of the files. From White's
// side rank 8 comes first and the files run a to h; from Black's side the other way round.
// "." is an empty square.
std::string BoardToText(const Board& board, const BoardLook& look);

// Whether the terminal's character set, as the locale names it, is UTF-8: the only one in
// which the chess symbols can be shown.
bool LocaleIsUtf8();

// "pawn", "knight", ... "king" for a piece's code.
std::string PieceName(SquareCode code);

// "White" or "Black".
const char* SideName(Side side);

// The move in words, from the board before it, e.g. "pawn from e2 to e3" or
// "knight from c6 to d4, takes the pawn".
std::string DescribeMove(const Board& before, MoveWord move);

}  // namespace kelvane::cli
