// SPDX-License-Identifier: GPL-3.0-or-later
#include "rules/san.h"

#include <algorithm>
#include <span>
#include <vector>

#include "rules/move_generation.h"
#include "rules/notation.h"
#include "rules/square.h"

namespace kelvane {

namespace {

constexpr std::string_view kSanLetters = "PNBRQK";  // by kind 1 to 6
// A reason quotes no more of the text than this many bytes.
constexpr std::size_t kLongestQuote = 40;

// text in quotes, cut to kLongestQuote bytes before a whole UTF-8 character and followed by
// "..." when it is longer.
std::string Quoted(std::string_view text) {
    std::size_t end = std::min(text.size(), kLongestQuote);
    while (end > 0 && end < text.size() && (static_cast<unsigned char>(text[end]) & 0xc0) == 0x80)
        --end;
    std::string quoted(1, '\'');
    quoted.append(text.substr(0, end)).append(end < text.size() ? "...'" : "'");
    return quoted;
}

PieceKind MovingKind(const Board& board, MoveWord move) {
    return KindOf(board[IndexOf(OriginOf(move))]);
}

bool IsCapture(const Board& board, MoveWord move) {
    return board[IndexOf(DestinationOf(move))] != 0;
}

bool IsPromotion(const Board& board, MoveWord move) {
    const SquareCode code = board[IndexOf(OriginOf(move))];
    const int row = DestinationOf(move).row;
    return (code == kWhitePawn && row == 0) || (code == kBlackPawn && row == kBoardDim - 1);
}

std::vector<MoveWord> LegalMoves(const Board& board, Side side) {
    MoveList list;
    const int last = GenerateMoves(board, std::span<MoveWord>(list), side);
    return {list.begin(), list.begin() + (last + 1)};
}

}  // namespace

std::string MoveToSan(const Board& board, Side side, MoveWord move) {
    const Square from = OriginOf(move);
    const Square to = DestinationOf(move);
    const PieceKind kind = MovingKind(board, move);
    const std::string origin = SquareToText(from);
    std::string san;
    if (kind == kPawn) {
        if (IsCapture(board, move)) san += origin[0];
    } else {
        san += kSanLetters[static_cast<std::size_t>(kind - 1)];
        bool rival = false;
        bool rivalOnFile = false;
        bool rivalOnRank = false;
        for (const MoveWord other : LegalMoves(board, side)) {
            if (other == move || DestinationOf(other) != to || MovingKind(board, other) != kind)
                continue;
            rival = true;
            rivalOnFile = rivalOnFile || OriginOf(other).column == from.column;
            rivalOnRank = rivalOnRank || OriginOf(other).row == from.row;
        }
        if (rival && (!rivalOnFile || rivalOnRank)) san += origin[0];
        if (rivalOnFile) san += origin[1];
    }
    if (IsCapture(board, move)) san += 'x';
    san += SquareToText(to);
    if (IsPromotion(board, move)) san += "=Q";
    return san;
}

Result<MoveWord> MoveFromSan(const Board& board, Side side, std::string_view san) {
    const std::string quoted = Quoted(san);
    std::string_view text = san;
    while (!text.empty() && std::string_view("+#!?").find(text.back()) != std::string_view::npos)
        text.remove_suffix(1);
    const auto malformed = [&] { return Failure{quoted + " is not a move"}; };

    PieceKind kind = kPawn;
    if (!text.empty() && text[0] >= 'A' && text[0] <= 'Z') {
        const std::size_t letter = kSanLetters.find(text[0]);
        if (letter == std::string_view::npos)
            return Failure{"unknown piece letter '" + std::string(1, text[0]) + "' in " + quoted};
        kind = static_cast<PieceKind>(letter) + 1;
        text.remove_prefix(1);
    }
    bool promotion = false;
    if (text.size() >= 2 && text[text.size() - 2] == '=') {
        if (text.back() != 'Q') return Failure{quoted + ": a pawn can only become a queen"};
        promotion = true;
        text.remove_suffix(2);
    }
    if (text.size() < 2) return malformed();
    const std::optional<Square> to = SquareFromText(text.substr(text.size() - 2));
    if (!to) return malformed();
    text.remove_suffix(2);
    bool capture = false;
    if (!text.empty() && text.back() == 'x') {
        capture = true;
        text.remove_suffix(1);
    }
    int fromColumn = -1;
    int fromRow = -1;
    if (!text.empty() && text[0] >= 'a' && text[0] <= 'h') {
        fromColumn = text[0] - 'a';
        text.remove_prefix(1);
    }
    if (!text.empty() && text[0] >= '1' && text[0] <= '8') {
        fromRow = '8' - text[0];
        text.remove_prefix(1);
    }
    if (!text.empty()) return malformed();

    MoveWord found = NoMove;
    int matches = 0;
    for (const MoveWord move : LegalMoves(board, side)) {
        const Square from = OriginOf(move);
        if (DestinationOf(move) != *to || MovingKind(board, move) != kind ||
            (fromColumn >= 0 && from.column != fromColumn) ||
            (fromRow >= 0 && from.row != fromRow) || IsCapture(board, move) != capture ||
            (promotion && !IsPromotion(board, move)))
            continue;
        found = move;
        ++matches;
    }
    if (matches == 0) return Failure{quoted + " is not a legal move"};
    if (matches > 1) return Failure{quoted + " could be more than one move"};
    return found;
}

}  // namespace kelvane
