// SPDX-License-Identifier: GPL-3.0-or-later
#include "game/messages.h"

namespace kelvane {

const char* VerdictText(const Verdict& verdict, Side humanSide) {
    const bool humanWon = verdict.winner == humanSide;
    switch (verdict.reason) {
        case EndReason::KingTaken:
            return humanWon ? "You won: your king was taken." : "I won: you took my king.";
        case EndReason::LastPieceTaken:
            return humanWon ? "You won: I took your last piece." : "I won: you took my last piece.";
        case EndReason::NoLegalMove:
            return humanWon ? "You won: you have no move." : "I won: I have no move.";
        case EndReason::None:
            break;
    }
    return "";
}

const char* AutoplayVerdictText(const Verdict& verdict) {
    const bool whiteWon = verdict.winner == 2;
    switch (verdict.reason) {
        case EndReason::KingTaken:
            return whiteWon ? "White won: its king was taken." : "Black won: its king was taken.";
        case EndReason::LastPieceTaken:
            return whiteWon ? "White won: its last piece was taken."
                            : "Black won: its last piece was taken.";
        case EndReason::NoLegalMove:
            return whiteWon ? "White won: it has no move." : "Black won: it has no move.";
        case EndReason::None:
            break;
    }
    return "";
}

}  // namespace kelvane
