// SPDX-License-Identifier: GPL-3.0-or-later
#include "rules/evaluation.h"

#include <gtest/gtest.h>

#include <random>

#include "rules/notation.h"
#include "tests/support/random_boards.h"

namespace kelvane {
namespace {

GameResult Verdict(const char* fen, int variant) {
    TestEndOfGame(*BoardFromFen(fen), variant);
    return GetGameResult();
}

// Side 1 is looked at first; any variant other than 0 is King must die.
TEST(Evaluation, TheVerdictNamesTheSideThatReachedItsGoal) {
    struct Row {
        const char* fen;
        int variant;
        GameResult result;
    };
    for (const Row& row : {
             Row{"rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR", kKingMustDie, 0},
             Row{"rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR", kAllMustDie, 0},
             Row{"p7/8/8/8/8/8/8/8", kKingMustDie, 1},  // neither king: side 1 first
             Row{"K7/8/8/8/8/8/8/8", kKingMustDie, 1},
             Row{"k7/8/8/8/8/8/8/8", kKingMustDie, 2},
             Row{"k7/8/8/8/8/8/8/8", 2, 2},
             Row{"k7/8/8/8/8/8/8/8", -1, 2},
             Row{"k7/8/8/8/8/8/8/7P", kAllMustDie, 0},  // Black's lone king still stands
             Row{"8/8/8/8/8/8/8/7P", kAllMustDie, 1},
             Row{"8/1b6/2N5/8/8/8/8/8", kAllMustDie, 0},  // kings gone, pieces left
             Row{"8/1b6/8/8/8/8/8/8", kAllMustDie, 2},
             Row{"8/8/8/8/8/8/8/8", kKingMustDie, 1},
             Row{"8/8/8/8/8/8/8/8", kAllMustDie, 1},
         }) {
        EXPECT_EQ(Verdict(row.fen, row.variant), row.result) << row.fen << " " << row.variant;
    }
}

TEST(Evaluation, MaterialIsTheOpponentsValueMinusOnesOwn) {
    ResetEvaluation();
    const Board start = *BoardFromFen("rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR");
    EXPECT_EQ(CountMaterial(start, 1), 0);
    const Board board = *BoardFromFen("8/8/2q5/8/8/5P2/8/8");
    EXPECT_EQ(CountMaterial(board, 2), 80);
    EXPECT_EQ(CountMaterial(board, 1), -80);
    EXPECT_EQ(CountMaterial(*BoardFromFen("8/8/8/8/8/8/8/8"), 1), 0);
}

TEST(Evaluation, AnyByteIsCountedSafelyAndSymmetrically) {
    std::mt19937 random(9);
    for (int n = 0; n < 2000; ++n) {
        const Board board = testing::RandomBytes(random);
        EXPECT_EQ(CountMaterial(board, 1), -CountMaterial(board, 2));
        TestEndOfGame(board, n % 2);
        EXPECT_GE(GetGameResult(), 0);
        EXPECT_LE(GetGameResult(), 2);
    }
}

}  // namespace
}  // namespace kelvane
