// SPDX-License-Identifier: GPL-3.0-or-later
#include "rules/notation.h"

namespace kelvane {

namespace {
constexpr std::string_view kPieceLetters = "pnbrqk";  // by kind 1 to 6

char LetterOf(SquareCode code) {
    const char letter = kPieceLetters[static_cast<std::size_t>(KindOf(code) - 1)];
    return SideOf(code) == 2 ? static_cast<char>(letter - 'a' + 'A') : letter;
}

}  // namespace

std::string SquareToText(Square square) {
    return {static_cast<char>('a' + square.column), static_cast<char>('8' - square.row)};
}

std::optional<Square> SquareFromText(std::string_view text) {
    if (text.size() != 2 || text[0] < 'a' || text[0] > 'h' || text[1] < '1' || text[1] > '8')
        return std::nullopt;
    return Square{text[0] - 'a', '8' - text[1]};
}

std::string MoveToText(MoveWord move) {
    return SquareToText(OriginOf(move)) + SquareToText(DestinationOf(move));
}

std::optional<MoveWord> MoveFromText(std::string_view text) {
    if (text.size() != 4) return std::nullopt;
    const std::optional<Square> from = SquareFromText(text.substr(0, 2));
    const std::optional<Square> to = SquareFromText(text.substr(2));
    if (!from || !to) return std::nullopt;
    return PackMove(*from, *to);
}

namespace {

std::optional<Board> ParsePlacement(std::string_view fen, std::string& error) {
    fen = fen.substr(0, fen.find(' '));
    Board board{};
    int row = 0;
    int column = 0;
    for (char c : fen) {
        if (c == '/') {
            if (column != kBoardDim) {
                error = "rank " + std::to_string(8 - row) + " does not have 8 squares";
                return std::nullopt;
            }
            ++row;
            column = 0;
            if (row >= kBoardDim) {
                error = "more than 8 ranks";
                return std::nullopt;
            }
            continue;
        }
        if (c >= '1' && c <= '8') {
            column += c - '0';
        } else {
            const char lower = (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
            const std::size_t kind = kPieceLetters.find(lower);
            if (kind == std::string_view::npos) {
                error = std::string("unexpected character '") + c + "'";
                return std::nullopt;
            }
            if (column < kBoardDim) {
                const int side = lower == c ? 1 : 2;
                board[static_cast<std::size_t>(SquareIndex(column, row))] =
                    static_cast<SquareCode>(side * 10 + static_cast<int>(kind) + 1);
            }
            ++column;
        }
        if (column > kBoardDim) {
            error = "rank " + std::to_string(8 - row) + " has more than 8 squares";
            return std::nullopt;
        }
    }
    if (row != kBoardDim - 1 || column != kBoardDim) {
        error = "expected 8 ranks of 8 squares";
        return std::nullopt;
    }
    return board;
}

}  // namespace

Result<Board> BoardFromFen(std::string_view fen) {
    std::string error;
    std::optional<Board> board = ParsePlacement(fen, error);
    if (!board) return Failure{error};
    return *board;
}

std::string BoardToFen(const Board& board) {
    std::string fen;
    for (int row = 0; row < kBoardDim; ++row) {
        if (row > 0) fen += '/';
        int empty = 0;
        for (int column = 0; column < kBoardDim; ++column) {
            const SquareCode code = board[static_cast<std::size_t>(SquareIndex(column, row))];
            if (!IsPieceCode(code)) {
                ++empty;
                continue;
            }
            if (empty > 0) fen += static_cast<char>('0' + empty);
            empty = 0;
            fen += LetterOf(code);
        }
        if (empty > 0) fen += static_cast<char>('0' + empty);
    }
    return fen;
}

std::optional<Side> SideFromText(std::string_view text) {
    if (text == "white" || text == "2") return 2;
    if (text == "black" || text == "1") return 1;
    return std::nullopt;
}

}  // namespace kelvane
