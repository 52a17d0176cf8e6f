#include "rules/evaluation.h"

#include <gtest/gtest.h>

#include <random>

#include "tests/support/random_boards.h"

namespace kelvane {
namespace {

class Evaluation : public ::testing::Test {
  protected:
    void SetUp() override {
        SetRulesVariant(kKingMustDie);
        ResetEvaluation();
    }
    void TearDown() override { SetUp(); }
    static void Put(Board& board, int column, int row, int code) {
        board[static_cast<std::size_t>(SquareIndex(column, row))] = static_cast<SquareCode>(code);
    }
    static GameResult Verdict(const Board& board, int variant) {
        TestEndOfGame(board, variant);
        return GetGameResult();
    }
    Board empty_{};
};

TEST_F(Evaluation, StartingPositionGoesOnAndBalances) {
    Board board;
    SetUpStartingPosition(board);
    EXPECT_EQ(Verdict(board, kKingMustDie), 0);
    EXPECT_EQ(Verdict(board, kAllMustDie), 0);
    EXPECT_EQ(CountMaterial(board, 1), 0);
    EXPECT_EQ(CountMaterial(board, 2), 0);
}

TEST_F(Evaluation, KingMustDieLooksAtSideOneFirst) {
    Board noKings = empty_;
    Put(noKings, 0, 0, 11);
    EXPECT_EQ(Verdict(noKings, kKingMustDie), 1);
    Board onlyWhiteKing = empty_;
    Put(onlyWhiteKing, 0, 0, 26);
    EXPECT_EQ(Verdict(onlyWhiteKing, kKingMustDie), 1);
    Board onlyBlackKing = empty_;
    Put(onlyBlackKing, 0, 0, 16);
    EXPECT_EQ(Verdict(onlyBlackKing, kKingMustDie), 2);
    // Any variant other than 0 is King must die.
    EXPECT_EQ(Verdict(onlyBlackKing, 2), 2);
    EXPECT_EQ(Verdict(onlyBlackKing, -1), 2);
}

TEST_F(Evaluation, AllMustDieCountsEveryPiece) {
    Board board = empty_;
    Put(board, 0, 0, 16);
    Put(board, 7, 7, 21);
    EXPECT_EQ(Verdict(board, kAllMustDie), 0);  // Black's lone king still stands
    Put(board, 0, 0, 0);
    EXPECT_EQ(Verdict(board, kAllMustDie), 1);
    Board kingsGone = empty_;
    Put(kingsGone, 1, 1, 13);
    Put(kingsGone, 2, 2, 22);
    EXPECT_EQ(Verdict(kingsGone, kAllMustDie), 0);
    Board blackOnly = empty_;
    Put(blackOnly, 1, 1, 13);
    EXPECT_EQ(Verdict(blackOnly, kAllMustDie), 2);
}

TEST_F(Evaluation, EmptyBoardIsSideOnesWinAndCountsNothing) {
    EXPECT_EQ(Verdict(empty_, kKingMustDie), 1);
    EXPECT_EQ(Verdict(empty_, kAllMustDie), 1);
    EXPECT_EQ(CountMaterial(empty_, 1), 0);
}

TEST_F(Evaluation, MaterialIsTheOpponentsValueMinusOnesOwn) {
    Board board = empty_;
    Put(board, 2, 2, 15);
    Put(board, 5, 5, 21);
    EXPECT_EQ(CountMaterial(board, 2), 80);
    EXPECT_EQ(CountMaterial(board, 1), -80);
}

TEST_F(Evaluation, AnyByteIsCountedSafelyAndSymmetrically) {
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
