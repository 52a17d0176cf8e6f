// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/sort_by_score.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace kelvane {
namespace {

struct SortCase {
    std::vector<std::int32_t> scores;
    std::vector<MoveWord> expectedOrder;  // moves m1..m5 are 1..5
};

std::string SortCaseName(const ::testing::TestParamInfo<SortCase>& param) {
    std::string name = "Scores";
    for (std::int32_t score : param.param.scores) {
        name += '_';
        name += std::to_string(score);
    }
    return name;
}

class SortByScoreOrder : public ::testing::TestWithParam<SortCase> {};

TEST_P(SortByScoreOrder, EqualScoresEndInTheQuicksortsOwnOrder) {
    std::vector<std::int32_t> scores = GetParam().scores;
    std::vector<MoveWord> moves;
    for (std::size_t i = 0; i < scores.size(); ++i) moves.push_back(static_cast<MoveWord>(i + 1));
    SortByScore(scores.data(), moves.data(), 0, static_cast<int>(scores.size()) - 1);
    EXPECT_EQ(moves, GetParam().expectedOrder);
    for (std::size_t i = 1; i < scores.size(); ++i) EXPECT_GE(scores[i - 1], scores[i]);
}

INSTANTIATE_TEST_SUITE_P(KnownOrders, SortByScoreOrder,
                         ::testing::Values(SortCase{{5, 5}, {2, 1}}, SortCase{{5, 5, 5}, {3, 2, 1}},
                                           SortCase{{5, 5, 5, 5}, {3, 4, 1, 2}},
                                           SortCase{{3, 7, 3, 9, 7}, {4, 2, 5, 1, 3}},
                                           SortCase{{1, 2, 3, 4, 5}, {5, 4, 3, 2, 1}},
                                           SortCase{{2, 7, 2, 7}, {4, 2, 1, 3}},
                                           SortCase{{3, 1, 3, 8, 1, 8}, {4, 6, 3, 1, 5, 2}},
                                           SortCase{{7}, {1}}),
                         SortCaseName);

TEST(SortByScore, EmptyAndReversedRangesAreLeftAlone) {
    std::int32_t scores[] = {1, 2};
    MoveWord moves[] = {10, 20};
    SortByScore(scores, moves, 0, -1);
    SortByScore(scores, moves, 1, 0);
    EXPECT_EQ(moves[0], 10);
    EXPECT_EQ(moves[1], 20);
}

TEST(SortByScore, SortsOnlyTheGivenRange) {
    std::int32_t scores[] = {1, 2, 3, 4};
    MoveWord moves[] = {1, 2, 3, 4};
    SortByScore(scores, moves, 1, 2);
    EXPECT_EQ((std::vector<MoveWord>(moves, moves + 4)), (std::vector<MoveWord>{1, 3, 2, 4}));
}

TEST(SortByEqualScores, LeavesTheOrderSortByScoreLeaves) {
    for (int count = 0; count <= 130; ++count) {
        std::vector<std::int32_t> scores(static_cast<std::size_t>(count), -7);
        std::vector<MoveWord> sorted;
        for (int i = 0; i < count; ++i) sorted.push_back(1000 + i);
        std::vector<MoveWord> replayed = sorted;
        std::vector<std::int32_t> replayedScores = scores;
        SortByScore(scores.data(), sorted.data(), 0, count - 1);
        SortByEqualScores(replayedScores.data(), replayed.data(), count);
        EXPECT_EQ(replayed, sorted) << "count " << count;
        EXPECT_EQ(replayedScores, scores);
    }
}

}  // namespace
}  // namespace kelvane
