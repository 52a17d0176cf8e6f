// SPDX-License-Identifier: GPL-3.0-or-later
#include "rules/evaluation.h"

namespace kelvane {

namespace {
constexpr PieceValueTable kStandardValues = {0, 10, 29, 30, 50, 90, 1000};
constexpr std::int32_t kKingValueAllMustDie = 20;

int rulesVariant = kKingMustDie;
GameResult gameResult = 0;
PieceValueTable pieceValues = kStandardValues;
}  // namespace

void SetRulesVariant(int variant) {
    rulesVariant = variant;
    pieceValues[kKing] = variant == kAllMustDie ? kKingValueAllMustDie : kStandardValues[kKing];
}

int GetRulesVariant() {
    return rulesVariant;
}

void SetGameResult(GameResult result) {
    gameResult = result;
}
GameResult GetGameResult() {
    return gameResult;
}

const PieceValueTable& GetPieceValues() {
    return pieceValues;
}

std::int32_t PieceValueOf(SquareCode code) {
    const int kind = KindOf(code);
    // A hand-made board may hold bytes whose kind is no index of the table.
    if (kind < 0 || kind > kKing) return 0;
    return pieceValues[static_cast<std::size_t>(kind)];
}

void ResetEvaluation() {
    pieceValues = kStandardValues;
    gameResult = 0;
}

namespace {
bool AnyPieceOfSide(const Board& board, Side side) {
    for (SquareCode code : board) {
        if (SideOf(code) == side) return true;
    }
    return false;
}

bool AnySquareHolds(const Board& board, SquareCode wanted) {
    for (SquareCode code : board) {
        if (code == wanted) return true;
    }
    return false;
}
}  // namespace

void TestEndOfGame(const Board& board, int variant) {
    if (variant == kAllMustDie) {
        if (!AnyPieceOfSide(board, 1)) {
            gameResult = 1;
        } else {
            gameResult = AnyPieceOfSide(board, 2) ? 0 : 2;
        }
        return;
    }
    if (!AnySquareHolds(board, kBlackKing)) {
        gameResult = 1;
    } else {
        gameResult = AnySquareHolds(board, kWhiteKing) ? 0 : 2;
    }
}

std::int32_t CountMaterial(const Board& board, Side side) {
    std::int32_t count = 0;
    const Side opponent = Opponent(side);
    for (SquareCode code : board) {
        if (code == 0) continue;
        const int owner = SideOf(code);
        if (owner == side) {
            count -= PieceValueOf(code);
        } else if (owner == opponent) {
            count += PieceValueOf(code);
        }
    }
    return count;
}

}  // namespace kelvane
