// SPDX-License-Identifier: GPL-3.0-or-later
// A move as a chess player writes it, read against a position: coordinates (e2e4, E2-E4,
// f1xb5, e7e8q) or standard algebraic notation (e4, Nf3, Bxb5, exd5, e8=Q), and when it is
// refused, why.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "rules/board.h"
#include "rules/square.h"

namespace kelvane::cli {

// What the text names; every field left empty matches any move.
struct MovePattern {
    PieceKind kind = 0;  // 0: whatever stands on the origin (coordinates)
    std::optional<int> fromColumn;
    std::optional<int> fromRow;
    Square to;
    bool coordinates = false;
};

// Castling, which this game does not have.
struct CastlingInput {};
// A promotion to anything but a queen, which this game does not have.
struct UnderPromotionInput {};

using MoveInput = std::variant<MovePattern, CastlingInput, UnderPromotionInput>;

// Nothing when the text is no move at all. Trailing "+", "#", "!" and "?" are ignored, and so
// is "x": a capture is the same move with or without it.
std::optional<MoveInput> ReadMoveInput(std::string_view text);

// Why a move is refused, in the words of the one who typed it (you, your) or of a record
// (White, White's).
enum class Voice { Player, Record };

struct MoveReading {
    MoveWord move = NoMove;            // the legal move the text names, when there is one
    std::string why;                   // otherwise one sentence, without a final period
    std::vector<MoveWord> candidates;  // the moves a text that names several could be
    std::vector<MoveWord> captures;    // side's compulsory captures, when it has any
    bool onlyForCapture = false;       // the move would be legal if no capture were compulsory
};

// The legal move of side that input names on board, or why there is none. previous is the
// move just played, or NoMove: it tells a pawn taking en passant from any other mistake.
MoveReading ReadMove(const Board& board, Side side, const MoveInput& input, MoveWord previous,
                     Voice voice);

// side's legal moves, in the generator's order.
std::vector<MoveWord> LegalMoves(const Board& board, Side side);
// side's captures, which it must make; empty when it has none.
std::vector<MoveWord> CompulsoryCaptures(const Board& board, Side side);

}  // namespace kelvane::cli
