// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/uci_position.h"

#include <charconv>

#include "rules/evaluation.h"
#include "rules/move_generation.h"
#include "rules/notation.h"

namespace kelvane::cli {

namespace {

// Words as they may be quoted back: short, and only the bytes a terminal shows safely.
std::string Quoted(std::string_view word) {
    std::string text;
    for (char c : word.substr(0, 40)) {
        const auto byte = static_cast<unsigned char>(c);
        text += byte >= 0x21 && byte < 0x7f ? c : '?';
    }
    return "'" + text + (word.size() > 40 ? "...'" : "'");
}

bool IsCounter(std::string_view word) {
    unsigned value = 0;
    const auto [end, ec] = std::from_chars(word.data(), word.data() + word.size(), value);
    return ec == std::errc() && end == word.data() + word.size() && !word.empty();
}

bool IsPromotion(const Board& board, MoveWord move) {
    const SquareCode moved = board[IndexOf(OriginOf(move))];
    const int row = DestinationOf(move).row;
    return (moved == kWhitePawn && row == 0) || (moved == kBlackPawn && row == 7);
}

bool GameIsOver(const Board& board, int variant) {
    for (Side side : {1, 2}) {
        bool reached = true;
        for (SquareCode code : board) {
            if (variant == kAllMustDie ? SideOf(code) == side : code == side * 10 + kKing)
                reached = false;
        }
        if (reached) return true;
    }
    return false;
}

// The FEN from words[first] on, up to "moves" or the end; next is left at the word after it.
Result<UciPosition> ParseFen(const std::vector<std::string_view>& words, std::size_t& next) {
    std::vector<std::string_view> fields;
    while (next < words.size() && words[next] != "moves") fields.push_back(words[next++]);
    if (fields.empty()) return Failure{"fen needs a position"};
    if (fields.size() < 2) return Failure{"the FEN has no side to move"};
    if (fields.size() > 6) return Failure{"the FEN has more than 6 fields"};
    const Result<Board> board = BoardFromFen(fields[0]);
    if (!board)
        return Failure{"malformed FEN placement " + Quoted(fields[0]) + ": " + board.reason()};
    UciPosition position;
    position.board = *board;
    if (fields[1] == "w") {
        position.side = 2;
    } else if (fields[1] == "b") {
        position.side = 1;
    } else {
        return Failure{"the side to move must be w or b, not " + Quoted(fields[1])};
    }
    if (fields.size() > 2 && fields[2] != "-")
        return Failure{"there is no castling: the castling field must be -"};
    if (fields.size() > 3 && fields[3] != "-")
        return Failure{"there is no en passant: the en-passant field must be -"};
    for (std::size_t i = 4; i < fields.size(); ++i) {
        if (!IsCounter(fields[i]))
            return Failure{"the move counters must be numbers, not " + Quoted(fields[i])};
    }
    return position;
}

}  // namespace

UciPosition StartingUciPosition() {
    UciPosition position;
    SetUpStartingPosition(position.board);
    return position;
}

Result<UciPosition> ParseUciPosition(const std::vector<std::string_view>& words, int variant) {
    if (words.empty()) return Failure{"position needs startpos or fen"};
    std::size_t next = 1;
    UciPosition position;
    if (words[0] == "startpos") {
        position = StartingUciPosition();
    } else if (words[0] == "fen") {
        Result<UciPosition> parsed = ParseFen(words, next);
        if (!parsed) return Failure{parsed.reason()};
        position = *parsed;
    } else {
        return Failure{"position needs startpos or fen, not " + Quoted(words[0])};
    }
    if (next >= words.size()) return position;
    if (words[next] != "moves")
        return Failure{"expected moves after the position, not " + Quoted(words[next])};
    MoveList legal;
    for (++next; next < words.size(); ++next) {
        const std::string_view text = words[next];
        const std::optional<MoveWord> move = MoveFromText(text.substr(0, 4));
        if (!move || (text.size() != 4 && text != std::string(text.substr(0, 4)) + "q"))
            return Failure{"malformed move " + Quoted(text)};
        if (GameIsOver(position.board, variant))
            return Failure{"illegal move " + Quoted(text) + ": the game is over"};
        const int last = GenerateMoves(position.board, legal, position.side);
        bool found = false;
        for (int i = 0; i <= last && !found; ++i)
            found = legal[static_cast<std::size_t>(i)] == *move;
        if (!found) return Failure{"illegal move " + Quoted(text)};
        if (text.size() == 5 && !IsPromotion(position.board, *move))
            return Failure{"illegal move " + Quoted(text) + ": it promotes no pawn"};
        position.history.push_back(position.board);
        ApplyMove(position.board, *move);
        position.side = Opponent(position.side);
    }
    return position;
}

std::string UciMoveText(const Board& board, MoveWord move) {
    return MoveToText(move) + (IsPromotion(board, move) ? "q" : "");
}

}  // namespace kelvane::cli
