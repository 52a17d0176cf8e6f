// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/status_text.h"

#include <algorithm>
#include <span>

#include "rules/move_generation.h"
#include "rules/notation.h"
#include "rules/san.h"

namespace kelvane {

namespace {

const char* SideName(Side side) {
    return side == 1 ? "Black" : "White";
}

std::string PieceOn(const Board& board, Square square) {
    return std::string("The ") + PieceKindName(KindOf(board[IndexOf(square)])) + " on " +
           SquareToText(square);
}

// Whether to is one of the piece's moves to an empty square, as if no capture were due: the
// generator's second pass lists them whatever the side could capture.
bool IsQuietMoveOfPiece(const Board& board, Side side, Square from, Square to) {
    MoveList list;
    const int last = GenerateQuietMovesOfSquares(
        board, std::span<MoveWord>(list), SquaresOfSide(board, side), OccupiedSquares(board));
    const MoveWord wanted = PackMove(from, to);
    return std::find(list.begin(), list.begin() + (last + 1), wanted) != list.begin() + (last + 1);
}

}  // namespace

const char* PieceKindName(PieceKind kind) {
    switch (kind) {
        case 1:
            return "pawn";
        case 2:
            return "knight";
        case 3:
            return "bishop";
        case 4:
            return "rook";
        case 5:
            return "queen";
        case 6:
            return "king";
        default:
            return "";
    }
}

std::string DescribeSquare(const Board& board, Square square) {
    const SquareCode code = board[IndexOf(square)];
    if (!IsPieceCode(code)) return SquareToText(square) + ", empty";
    return SquareToText(square) + ", " + (SideOf(code) == 1 ? "black " : "white ") +
           PieceKindName(KindOf(code));
}

std::vector<MoveWord> CapturesOf(const Board& board, Side side) {
    MoveList list;
    const int last = GenerateMoves(board, std::span<MoveWord>(list), side);
    // The generator lists captures only, or no capture at all.
    if (last < 0 || board[IndexOf(DestinationOf(list[0]))] == 0) return {};
    return {list.begin(), list.begin() + (last + 1)};
}

std::string MustCaptureText(const Board& board, Side side, const std::vector<MoveWord>& captures) {
    std::string text = "You must capture:";
    for (std::size_t i = 0; i < captures.size(); ++i) {
        text += (i == 0 ? " " : ", ") + MoveToSan(board, side, captures[i]);
    }
    return text + ".";
}

bool ForbiddenByCapture(const Board& board, Side side, Square from, Square to) {
    return !CapturesOf(board, side).empty() && IsQuietMoveOfPiece(board, side, from, to);
}

std::string RefusalText(const Board& board, Side side, Square from, Square to) {
    if (ForbiddenByCapture(board, side, from, to))
        return MustCaptureText(board, side, CapturesOf(board, side));
    std::string text = PieceOn(board, from) + " cannot go to " + SquareToText(to);
    const SquareCode there = board[IndexOf(to)];
    if (SideOf(there) == side && IsPieceCode(there))
        text += std::string(": your ") + PieceKindName(KindOf(there)) + " stands there";
    return text + ".";
}

std::string NoMoveText(const Board& board, Square square) {
    return PieceOn(board, square) + " has no move.";
}

std::string NumberedMove(int moveNumber, Side side, const std::string& san) {
    return std::to_string(moveNumber) + (side == 2 ? ". " : "...") + san;
}

std::string TurnText(const TurnFacts& facts) {
    std::string text =
        "Move " + std::to_string(facts.moveNumber) + ": " + SideName(facts.toMove) + " to move";
    if (facts.humanToMove) {
        text += ", your turn.";
    } else if (facts.thinking) {
        text += ", thinking...";
    } else if (facts.stopped) {
        text += ", stopped: choose a level to go on.";
    } else {
        text += ".";
    }
    if (!facts.lastMove.empty()) text += " Last move: " + facts.lastMove;
    return text;
}

}  // namespace kelvane
