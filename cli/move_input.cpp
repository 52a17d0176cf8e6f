// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/move_input.h"

#include <algorithm>
#include <array>
#include <span>

#include "cli/board_text.h"
#include "rules/move_generation.h"
#include "rules/notation.h"

namespace kelvane::cli {

namespace {

constexpr std::string_view kPieceLetters = "PNBRQK";  // by kind 1 to 6

char Lower(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

bool IsFile(char c) {
    return c >= 'a' && c <= 'h';
}

bool IsRank(char c) {
    return c >= '1' && c <= '8';
}

// Coordinates in either case: e2e4, E2-E4, f1xb5.
std::optional<MovePattern> ReadCoordinates(std::string_view text) {
    std::string lower;
    for (const char c : text) lower += Lower(c);
    if (lower.size() == 5 && std::string_view("-x:").find(lower[2]) != std::string_view::npos)
        lower.erase(2, 1);
    const std::optional<MoveWord> move = MoveFromText(lower);
    if (!move) return std::nullopt;
    MovePattern pattern;
    pattern.fromColumn = OriginOf(*move).column;
    pattern.fromRow = OriginOf(*move).row;
    pattern.to = DestinationOf(*move);
    pattern.coordinates = true;
    return pattern;
}

// [piece] [file] [rank] [x] square, as in e4, Nf3, Nbd2, R1a3, Qh4xe1, exd5.
std::optional<MovePattern> ReadSan(std::string_view text) {
    MovePattern pattern;
    pattern.kind = kPawn;
    if (!text.empty() && kPieceLetters.find(text[0]) != std::string_view::npos) {
        pattern.kind = static_cast<PieceKind>(kPieceLetters.find(text[0])) + 1;
        text.remove_prefix(1);
    }
    // A pawn's square in capitals, E4.
    const std::string square =
        text.size() == 2 && pattern.kind == kPawn && text[0] >= 'A' && text[0] <= 'H'
            ? std::string{Lower(text[0]), text[1]}
            : std::string(text);
    text = square;
    if (text.size() < 2) return std::nullopt;
    const std::optional<Square> to = SquareFromText(text.substr(text.size() - 2));
    if (!to) return std::nullopt;
    pattern.to = *to;
    text.remove_suffix(2);
    if (!text.empty() && (text.back() == 'x' || text.back() == ':')) text.remove_suffix(1);
    if (!text.empty() && IsFile(text[0])) {
        pattern.fromColumn = text[0] - 'a';
        text.remove_prefix(1);
    }
    if (!text.empty() && IsRank(text[0])) {
        pattern.fromRow = '8' - text[0];
        text.remove_prefix(1);
    }
    if (!text.empty()) return std::nullopt;
    return pattern;
}

bool Matches(const Board& board, const MovePattern& pattern, MoveWord move) {
    const Square from = OriginOf(move);
    return DestinationOf(move) == pattern.to &&
           (pattern.kind == 0 || KindOf(board[IndexOf(from)]) == pattern.kind) &&
           (!pattern.fromColumn || *pattern.fromColumn == from.column) &&
           (!pattern.fromRow || *pattern.fromRow == from.row);
}

std::vector<MoveWord> Matching(const Board& board, const MovePattern& pattern,
                               const std::vector<MoveWord>& moves) {
    std::vector<MoveWord> found;
    for (const MoveWord move : moves)
        if (Matches(board, pattern, move)) found.push_back(move);
    return found;
}

// Every move side could make if no capture were compulsory.
std::vector<MoveWord> MovesWithoutCompulsion(const Board& board, Side side) {
    std::vector<MoveWord> moves = CompulsoryCaptures(board, side);
    MoveList list;
    const int last = GenerateQuietMovesOfSquares(
        board, std::span<MoveWord>(list), SquaresOfSide(board, side), OccupiedSquares(board));
    moves.insert(moves.end(), list.begin(), list.begin() + (last + 1));
    return moves;
}

// A pawn of side taking, on to, the pawn that has just gone two steps past it.
bool IsEnPassant(const Board& board, Side side, const MovePattern& pattern, MoveWord previous) {
    const int forward = side == 2 ? -1 : 1;
    const Square passed{pattern.to.column, pattern.to.row - forward};
    if (previous == NoMove || (pattern.kind != kPawn && pattern.kind != 0) ||
        board[IndexOf(pattern.to)] != 0 || (pattern.fromRow && *pattern.fromRow != passed.row))
        return false;
    const Square started{pattern.to.column, pattern.to.row + forward};
    if (!IsOnBoard(passed) || !IsOnBoard(started) || OriginOf(previous) != started ||
        DestinationOf(previous) != passed ||
        board[IndexOf(passed)] != (side == 2 ? kBlackPawn : kWhitePawn))
        return false;
    for (const int column : {pattern.to.column - 1, pattern.to.column + 1}) {
        const Square from{column, passed.row};
        if (IsOnBoard(from) && board[IndexOf(from)] == (side == 2 ? kWhitePawn : kBlackPawn) &&
            (!pattern.fromColumn || *pattern.fromColumn == column))
            return true;
    }
    return false;
}

// A king on its first square going two squares sideways, as it would to castle.
bool LooksLikeCastling(const Board& board, Side side, Square from, Square to) {
    const int homeRow = side == 2 ? kBoardDim - 1 : 0;
    return board[IndexOf(from)] == (side == 2 ? kWhiteKing : kBlackKing) && from.column == 4 &&
           from.row == homeRow && to.row == homeRow && (to.column == 2 || to.column == 6);
}

struct Words {
    std::string owner;    // "Your", "White's"
    std::string ofOwner;  // "of yours", "of White's"
    std::string mustWho;  // "You", "White"
};

Words WordsFor(Voice voice, Side side) {
    if (voice == Voice::Player) return {"Your", "of yours", "You"};
    const std::string name = SideName(side);
    return {name + "'s", "of " + name + "'s", name};
}

std::string Plural(PieceKind kind) {
    return PieceName(static_cast<SquareCode>(10 + kind)) + "s";
}

// The sentence for the voice: a record's words go after a colon, in lower case.
std::string InVoice(std::string sentence, Voice voice) {
    if (voice == Voice::Record && !sentence.empty() && sentence[0] >= 'A' && sentence[0] <= 'Z' &&
        sentence.rfind("White", 0) != 0 && sentence.rfind("Black", 0) != 0)
        sentence[0] = Lower(sentence[0]);
    return sentence;
}

MoveReading Refused(std::string why, Voice voice, std::vector<MoveWord> captures = {}) {
    return {NoMove, InVoice(std::move(why), voice), {}, std::move(captures), false};
}

MoveReading ReadPattern(const Board& board, Side side, const MovePattern& pattern,
                        MoveWord previous, Voice voice) {
    const std::vector<MoveWord> found = Matching(board, pattern, LegalMoves(board, side));
    if (found.size() == 1) return {found.front(), {}, {}, {}, false};
    const Words words = WordsFor(voice, side);
    if (found.size() > 1) {
        MoveReading several = Refused("More than one move fits", voice);
        several.candidates = found;
        return several;
    }
    const bool originKnown = pattern.fromColumn && pattern.fromRow;
    const Square from{pattern.fromColumn.value_or(0), pattern.fromRow.value_or(0)};
    const SquareCode piece = originKnown ? board[IndexOf(from)] : SquareCode{0};
    if (originKnown &&
        (SideOf(piece) != side || (pattern.kind != 0 && KindOf(piece) != pattern.kind))) {
        const std::string what =
            pattern.kind == 0 ? "piece" : PieceName(static_cast<SquareCode>(10 + pattern.kind));
        return Refused("There is no " + what + " " + words.ofOwner + " on " + SquareToText(from),
                       voice);
    }
    std::vector<MoveWord> captures = CompulsoryCaptures(board, side);
    if (IsEnPassant(board, side, pattern, previous))
        return Refused("There is no en passant in this game", voice, captures);
    if (originKnown && LooksLikeCastling(board, side, from, pattern.to))
        return Refused("There is no castling in this game", voice, captures);
    if (!captures.empty() &&
        !Matching(board, pattern, MovesWithoutCompulsion(board, side)).empty()) {
        MoveReading forced = Refused(words.mustWho + " must capture", voice, captures);
        forced.onlyForCapture = true;
        return forced;
    }
    if (originKnown)
        return Refused(words.owner + " " + PieceName(piece) + " on " + SquareToText(from) +
                           " cannot go to " + SquareToText(pattern.to),
                       voice, captures);
    const std::string none = voice == Voice::Player
                                 ? "None of your " + Plural(pattern.kind)
                                 : "No " + std::string(SideName(side)) + " " +
                                       PieceName(static_cast<SquareCode>(10 + pattern.kind));
    return Refused(none + " can go to " + SquareToText(pattern.to), voice, captures);
}

}  // namespace

std::vector<MoveWord> LegalMoves(const Board& board, Side side) {
    MoveList list;
    const int last = GenerateMoves(board, std::span<MoveWord>(list), side);
    return {list.begin(), list.begin() + (last + 1)};
}

std::vector<MoveWord> CompulsoryCaptures(const Board& board, Side side) {
    std::vector<MoveWord> moves = LegalMoves(board, side);
    // The generator lists captures only, or no capture at all.
    if (!moves.empty() && board[IndexOf(DestinationOf(moves.front()))] == 0) moves.clear();
    return moves;
}

std::optional<MoveInput> ReadMoveInput(std::string_view text) {
    while (!text.empty() && std::string_view("+#!?").find(text.back()) != std::string_view::npos)
        text.remove_suffix(1);
    for (const std::string_view castling : {"O-O", "O-O-O", "0-0", "0-0-0", "o-o", "o-o-o"})
        if (text == castling) return CastlingInput{};
    // A promotion at the end: e8=Q, e8Q, e7e8q; any piece but a queen is refused.
    bool underPromotion = false;
    if (text.size() >= 3 &&
        std::string_view("QNBRqnbr").find(text.back()) != std::string_view::npos &&
        (IsRank(text[text.size() - 2]) || text[text.size() - 2] == '=')) {
        underPromotion = Lower(text.back()) != 'q';
        text.remove_suffix(text[text.size() - 2] == '=' ? 2 : 1);
    }
    std::optional<MovePattern> pattern = ReadCoordinates(text);
    if (!pattern) pattern = ReadSan(text);
    if (!pattern) return std::nullopt;
    if (underPromotion) return UnderPromotionInput{};
    return *pattern;
}

MoveReading ReadMove(const Board& board, Side side, const MoveInput& input, MoveWord previous,
                     Voice voice) {
    if (std::holds_alternative<CastlingInput>(input))
        return Refused("There is no castling in this game", voice, CompulsoryCaptures(board, side));
    if (std::holds_alternative<UnderPromotionInput>(input))
        return Refused("A pawn always becomes a queen in this game", voice);
    return ReadPattern(board, side, std::get<MovePattern>(input), previous, voice);
}

}  // namespace kelvane::cli
