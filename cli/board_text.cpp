// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/board_text.h"

#include <array>
#include <string_view>

#include "rules/notation.h"
#include "rules/square.h"

namespace kelvane::cli {

namespace {

constexpr std::array<std::string_view, 7> kKindNames = {"",     "pawn",  "knight", "bishop",
                                                        "rook", "queen", "king"};
constexpr std::array<std::string_view, 6> kWhiteSymbols = {"♙", "♘", "♗", "♖", "♕", "♔"};
constexpr std::array<std::string_view, 6> kBlackSymbols = {"♟", "♞", "♝", "♜", "♛", "♚"};
constexpr std::string_view kAsciiLetters = "pnbrqk";

std::string SquareSymbol(SquareCode code, bool ascii) {
    if (!IsPieceCode(code)) return ".";
    const auto kind = static_cast<std::size_t>(KindOf(code) - 1);
    const bool white = SideOf(code) == 2;
    if (ascii) {
        const char letter = kAsciiLetters[kind];
        return std::string(1, white ? static_cast<char>(letter - 'a' + 'A') : letter);
    }
    return std::string(white ? kWhiteSymbols[kind] : kBlackSymbols[kind]);
}

}  // namespace

std::string PieceName(SquareCode code) {
    return std::string(IsPieceCode(code) ? kKindNames[static_cast<std::size_t>(KindOf(code))]
                                         : "piece");
}

std::string BoardToText(const Board& board, bool ascii) {
    std::string text;
    for (int row = 0; row < kBoardDim; ++row) {
        text += static_cast<char>('8' - row);
        for (int column = 0; column < kBoardDim; ++column) {
            text += ' ';
            text += SquareSymbol(board[static_cast<std::size_t>(SquareIndex(column, row))], ascii);
        }
        text += '\n';
    }
    text += "  a b c d e f g h\n";
    return text;
}

const char* SideName(Side side) {
    return side == 2 ? "White" : "Black";
}

std::string DescribeMove(const Board& before, Side side, MoveWord move) {
    const SquareCode moving = before[IndexOf(OriginOf(move))];
    const SquareCode taken = before[IndexOf(DestinationOf(move))];
    std::string text = std::string(SideName(side)) + ": " + PieceName(moving) + " from " +
                       SquareToText(OriginOf(move)) + " to " + SquareToText(DestinationOf(move));
    if (taken != 0) text += ", takes the " + PieceName(taken);
    const int row = DestinationOf(move).row;
    if ((moving == kWhitePawn && row == 0) || (moving == kBlackPawn && row == kBoardDim - 1))
        text += ", becomes a queen";
    return text + ".";
}

}  // namespace kelvane::cli
