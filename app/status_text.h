// SPDX-License-Identifier: GPL-3.0-or-later
// What the status line under the board and a screen reader say: whose turn it is, the last
// move, why a click did not move, and how the game ended.
#pragma once

#include <string>
#include <vector>

#include "rules/board.h"
#include "rules/square.h"

namespace kelvane {

// "pawn", "knight", "bishop", "rook", "queen", "king"; "" for any other kind.
const char* PieceKindName(PieceKind kind);

// "e2, white pawn", "e4, empty".
std::string DescribeSquare(const Board& board, Square square);

// side's captures, in the generator's order; empty when it has none.
std::vector<MoveWord> CapturesOf(const Board& board, Side side);

// "You must capture: exd5, Nxd5." for side's captures, in standard algebraic notation.
std::string MustCaptureText(const Board& board, Side side, const std::vector<MoveWord>& captures);

// Whether only side's duty to capture elsewhere forbids the move from `from` to `to`: it is one of
// the piece's moves to an empty square, and side has a capture.
bool ForbiddenByCapture(const Board& board, Side side, Square from, Square to);

// Why the move of side's piece from `from` to `to`, which is not one of side's legal moves, was
// refused: "You must capture: ..." when only a capture elsewhere forbids it, else "The pawn on
// e2 cannot go to e5.", with what stands in the way when it is one of side's own pieces.
std::string RefusalText(const Board& board, Side side, Square from, Square to);

// "The rook on a1 has no move." for a piece of side with no legal move while side has no
// capture either.
std::string NoMoveText(const Board& board, Square square);

struct TurnFacts {
    int moveNumber = 1;
    Side toMove = 2;
    bool humanToMove = true;
    bool thinking = false;  // the computer thinks while the window goes on
    bool stopped = false;   // the computer is to move and its thinking was stopped
    std::string lastMove;   // "12. e4", "11...Nxe4", or "" before the first move
};

// "Move 12: White to move, your turn. Last move: 11...Nxe4"
std::string TurnText(const TurnFacts& facts);

// "12. e4" for White's move number 12, "11...Nxe4" for Black's move number 11.
std::string NumberedMove(int moveNumber, Side side, const std::string& san);

}  // namespace kelvane
