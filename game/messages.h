// SPDX-License-Identifier: GPL-3.0-or-later
// What the game says to the player, and its fixed first move.
#pragma once

#include "rules/board.h"
#include "rules/evaluation.h"

namespace kelvane {

// End of a game against the human: the computer speaks as "I".
inline constexpr const char* kComputerWonText = "I won!";
inline constexpr const char* kHumanWonText = "You won!";
// End of an autoplay game.
inline constexpr const char* kBlackWinsText = "Black wins!";
inline constexpr const char* kWhiteWinsText = "White wins!";

constexpr const char* HumanGameResultText(GameResult result) {
    return result == 1 ? kComputerWonText : kHumanWonText;
}
constexpr const char* AutoplayResultText(GameResult result) {
    return result == 1 ? kBlackWinsText : kWhiteWinsText;
}

// Why a game ended, read from its final board.
enum class EndReason { None, KingTaken, LastPieceTaken, NoLegalMove };

struct Verdict {
    Side winner = 0;  // 0 while the game goes on
    EndReason reason = EndReason::None;
};

// The result with its reason, spoken to the human who plays humanSide: "You won: your king was
// taken.", "I won: you took my last piece.", ...
const char* VerdictText(const Verdict& verdict, Side humanSide);
// The same for a game the computer played on both sides: "White won: its king was taken."
const char* AutoplayVerdictText(const Verdict& verdict);

// The computer's fixed first move: side 1's pawn from column 6, row 1 to column 6, row 2.
inline constexpr MoveWord OpeningMove = PackMove(6, 1, 6, 2);

}  // namespace kelvane
