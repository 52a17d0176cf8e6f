// SPDX-License-Identifier: GPL-3.0-or-later
// The board and the last move as plain lines, for a terminal, a screen reader or a log file.
#pragma once

#include <string>

#include "rules/board.h"

namespace kelvane::cli {

// Eight lines, rank 8 first, each starting with its rank number, then a line of the files a to
// h. Unicode chess symbols, or with ascii PNBRQK for White, pnbrqk for Black; "." is empty.
std::string BoardToText(const Board& board, bool ascii);

// "pawn", "knight", ... "king" for a piece's code.
std::string PieceName(SquareCode code);

// "White" or "Black".
const char* SideName(Side side);

// The move in words, from the board before it, e.g. "White: pawn from e2 to e3." or
// "Black: knight from c6 to d4, takes the pawn."
std::string DescribeMove(const Board& before, Side side, MoveWord move);

}  // namespace kelvane::cli
