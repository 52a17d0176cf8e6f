// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/board_text.h"

#include <langinfo.h>

#include <array>
#include <clocale>
#include <cstring>
#include <string_view>

#include "rules/notation.h"

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

bool LocaleIsUtf8() {
    // The user's locale as the environment names it, looked at and put back.
    const char* current = std::setlocale(LC_CTYPE, nullptr);
    const std::string previous = current != nullptr ? current : "C";
    bool utf8 = false;
    if (std::setlocale(LC_CTYPE, "") != nullptr) {
        const char* codeset = nl_langinfo(CODESET);
        utf8 = codeset != nullptr && std::strcmp(codeset, "UTF-8") == 0;
    }
    std::setlocale(LC_CTYPE, previous.c_str());
    return utf8;
}

std::string BoardToText(const Board& board, const BoardLook& look) {
    const bool flipped = look.bottom == 1;
    std::string text;
    for (int line = 0; line < kBoardDim; ++line) {
        const int row = flipped ? kBoardDim - 1 - line : line;
        text += static_cast<char>('8' - row);
        // Brackets take the places of the spaces on either side of the marked square, so the
        // columns stay where they are.
        bool closing = false;
        for (int step = 0; step < kBoardDim; ++step) {
            const int column = flipped ? kBoardDim - 1 - step : step;
            const bool marked = look.marked == Square{column, row};
            text += marked ? '[' : closing ? ']' : ' ';
            closing = marked;
            text +=
                SquareSymbol(board[static_cast<std::size_t>(SquareIndex(column, row))], look.ascii);
        }
        if (closing) text += ']';
        text += '\n';
    }
    text += flipped ? "  h g f e d c b a\n" : "  a b c d e f g h\n";
    return text;
}

const char* SideName(Side side) {
    return side == 2 ? "White" : "Black";
}

std::string DescribeMove(const Board& before, MoveWord move) {
    const SquareCode moving = before[IndexOf(OriginOf(move))];
    const SquareCode taken = before[IndexOf(DestinationOf(move))];
    std::string text = PieceName(moving) + " from " + SquareToText(OriginOf(move)) + " to " +
                       SquareToText(DestinationOf(move));
    if (taken != 0) text += ", takes the " + PieceName(taken);
    const int row = DestinationOf(move).row;
    if ((moving == kWhitePawn && row == 0) || (moving == kBlackPawn && row == kBoardDim - 1))
        text += ", becomes a queen";
    return text;
}

}  // namespace kelvane::cli
