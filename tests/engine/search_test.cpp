// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/search.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <string>

#include "engine/benchmark_positions.h"
#include "engine/search_depth.h"
#include "rules/evaluation.h"
#include "rules/move_generation.h"
#include "rules/notation.h"
#include "tests/engine/reference_search.h"
#include "tests/support/random_boards.h"

namespace kelvane {
namespace {

class SearchTest : public ::testing::Test {
  protected:
    void SetUp() override { SetRulesVariant(kKingMustDie); }
    void TearDown() override { SetRulesVariant(kKingMustDie); }

    Board Empty() {
        Board board{};
        return board;
    }
    static void Put(Board& board, int column, int row, int code) {
        board[static_cast<std::size_t>(SquareIndex(column, row))] = static_cast<SquareCode>(code);
    }
    static MoveWord RootSearch(Board& board, Side side, int depth) {
        return Search(board, 1, side, depth, kRootBound, 1);
    }
};

TEST_F(SearchTest, SingleLegalMoveIsReturnedWithoutScoring) {
    Board board = Empty();
    Put(board, 4, 7, 26);
    Put(board, 4, 6, 16);  // each side's only move takes the other king
    SetGameResult(2);
    ResetSearchCallCount();
    EXPECT_EQ(RootSearch(board, 1, 6), PackMove(4, 6, 4, 7));
    EXPECT_EQ(GetSearchCallCount(), 1u);
    EXPECT_EQ(GetGameResult(), 0);  // reset at the root all the same
}

TEST_F(SearchTest, NoLegalMoveAtTheRootIsNoMove) {
    Board board = Empty();
    Put(board, 3, 6, 21);
    Put(board, 3, 5, 11);  // the white pawn is blocked, and Black has nothing else to do
    EXPECT_EQ(RootSearch(board, 2, 4), NoMove);
    Board nothing = Empty();
    EXPECT_EQ(RootSearch(nothing, 1, 2), NoMove);
}

TEST_F(SearchTest, OnlyMovesThatHandTheOpponentTheWinGiveTheFirstInSortedOrder) {
    for (int variant : {kKingMustDie, kAllMustDie}) {
        SetRulesVariant(variant);
        // Two white rooks can each take Black's only piece, its king.
        Board board = Empty();
        Put(board, 0, 0, 16);
        Put(board, 0, 7, 24);
        Put(board, 7, 0, 24);
        Put(board, 7, 7, 26);
        // Both score -1000000 for White; the quicksort swaps the two, so the second comes first.
        EXPECT_EQ(RootSearch(board, 2, 3), PackMove(7, 0, 0, 0)) << "variant " << variant;
    }
}

TEST_F(SearchTest, EqualCapturesAreBrokenByTheSortNotByGeneratorOrder) {
    for (int variant : {kKingMustDie, kAllMustDie}) {
        SetRulesVariant(variant);
        for (int depth : {0, 1, 2, 4}) {
            Board board = Empty();
            Put(board, 4, 0, 16);
            Put(board, 3, 1, 11);
            Put(board, 5, 1, 11);
            Put(board, 4, 2, 21);
            Put(board, 4, 7, 26);
            EXPECT_EQ(RootSearch(board, 1, depth), PackMove(5, 1, 4, 2))
                << "variant " << variant << " depth " << depth;
        }
    }
}

// The fast search against the literal one: same result, same number of calls, same verdict
// left in GameResult, and the board untouched, over positions from random games and from
// random piece placements, under both rule sets, both sides and several depths and bounds.
struct AgreementCase {
    int variant;
    int depth;
};

// Same value, same number of calls, same verdict left in GameResult, board untouched.
::testing::AssertionResult AgreesWithReference(const Board& board, int maximizing, Side side,
                                               int depth, std::int32_t bound, int root) {
    Board fast = board;
    Board slow = board;
    ResetSearchCallCount();
    const std::int32_t got = Search(fast, maximizing, side, depth, bound, root);
    const std::uint64_t calls = GetSearchCallCount();
    const GameResult verdict = GetGameResult();
    const testing::ReferenceResult want =
        testing::ReferenceSearch(slow, maximizing, side, depth, bound, root);
    if (got == want.value && calls == want.calls && verdict == GetGameResult() && fast == board)
        return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure()
           << testing::Describe(board) << " side " << side << " depth " << depth << ": value "
           << got << " / " << want.value << ", calls " << calls << " / " << want.calls
           << ", verdict " << int(verdict) << " / " << int(GetGameResult());
}

std::string AgreementCaseName(const ::testing::TestParamInfo<AgreementCase>& param) {
    std::string name = param.param.variant == kAllMustDie ? "AllMustDie" : "KingMustDie";
    name += "Depth";
    name += std::to_string(param.param.depth);
    return name;
}

class SearchAgreesWithReference : public ::testing::TestWithParam<AgreementCase> {
  protected:
    void TearDown() override { SetRulesVariant(kKingMustDie); }
};

TEST_P(SearchAgreesWithReference, OnRandomPositions) {
    const AgreementCase c = GetParam();
    SetRulesVariant(c.variant);
    std::mt19937 random(static_cast<unsigned>(1000 * c.variant + c.depth));
    const int positions = c.depth >= 4 ? 40 : 150;
    for (int n = 0; n < positions; ++n) {
        Board board = n % 3 == 2 ? testing::RandomPlacement(random)
                                 : testing::PositionAfterRandomGame(random, n % 60);
        for (Side side : {1, 2}) {
            struct Call {
                int maximizing;
                std::int32_t bound;
                int root;
            };
            for (Call call : {Call{1, kRootBound, 1}, Call{0, 150, 0}, Call{1, -40, 0}}) {
                ASSERT_TRUE(AgreesWithReference(board, call.maximizing, side, c.depth, call.bound,
                                                call.root));
            }
        }
    }
}

INSTANTIATE_TEST_SUITE_P(
    BothRulesSeveralDepths, SearchAgreesWithReference,
    ::testing::Values(AgreementCase{kKingMustDie, 0}, AgreementCase{kKingMustDie, 1},
                      AgreementCase{kKingMustDie, 2}, AgreementCase{kKingMustDie, 3},
                      AgreementCase{kKingMustDie, 4}, AgreementCase{kAllMustDie, 0},
                      AgreementCase{kAllMustDie, 1}, AgreementCase{kAllMustDie, 2},
                      AgreementCase{kAllMustDie, 3}, AgreementCase{kAllMustDie, 4}),
    AgreementCaseName);

// Positions where the last ply can only promote, or cannot move at all, under both rules.
TEST(SearchAgreesWithReferenceOn, PromotionOnlyAndBlockedLeaves) {
    for (int variant : {kKingMustDie, kAllMustDie}) {
        SetRulesVariant(variant);
        for (const char* fen :
             {"8/3P4/8/8/r7/8/8/7k", "8/3P4/8/8/r6k/8/6K1/8", "7K/8/8/R7/8/8/2p5/8",
              "k7/8/8/8/3p4/3P4/8/7K", "8/8/8/8/3p4/3P4/8/8"}) {
            const Board board = *BoardFromFen(fen);
            for (Side side : {1, 2})
                for (int depth = 0; depth <= 3; ++depth)
                    EXPECT_TRUE(AgreesWithReference(board, 1, side, depth, kRootBound, 1));
        }
    }
    SetRulesVariant(kKingMustDie);
}

TEST(SearchOnAnyBoard, ArbitraryBytesNeverBreakTheSearch) {
    std::mt19937 random(7);
    for (int n = 0; n < 300; ++n) {
        Board board = testing::RandomBytes(random);
        const Board before = board;
        for (Side side : {1, 2}) {
            SetRulesVariant(n % 2);
            const std::int32_t move = Search(board, 1, side, 2, kRootBound, 1);
            ASSERT_EQ(board, before);
            if (move > 0) {
                MoveList list;
                const int last = GenerateMoves(board, list, side);
                ASSERT_NE(std::find(list.begin(), list.begin() + last + 1, move),
                          list.begin() + last + 1);
            }
        }
    }
    SetRulesVariant(kKingMustDie);
}

}  // namespace
}  // namespace kelvane

namespace kelvane {
namespace {

// The benchmark set's node count at depth 6 is the search's signature: any change to what is
// searched, in which order, or where it is cut off shows here.
TEST(SearchSignature, TheBenchmarkSetTakesItsKnownNumberOfCalls) {
    std::uint64_t calls = 0;
    for (const bench::BenchmarkPosition& position : bench::BenchmarkPositions()) {
        Board board = *BoardFromFen(position.placement);
        SetRulesVariant(position.rules);
        ResetSearchCallCount();
        Search(board, 1, position.side, 6, kRootBound, 1);
        calls += GetSearchCallCount();
    }
    SetRulesVariant(kKingMustDie);
    EXPECT_EQ(calls, 4981898u);
}

}  // namespace
}  // namespace kelvane
