// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/expert_search.h"

#include <gtest/gtest.h>

#include <random>
#include <set>
#include <vector>

#include "engine/benchmark_positions.h"
#include "engine/search.h"
#include "rules/evaluation.h"
#include "rules/move_generation.h"
#include "rules/notation.h"
#include "tests/support/random_boards.h"

namespace kelvane {
namespace {

struct Position {
    Board board;
    Side side;
    int variant;
};

// A legal move, or NoMove when there is none.
bool IsLegal(const Board& board, Side side, MoveWord move) {
    MoveList list;
    const int last = GenerateMoves(board, list, side);
    if (last < 0) return move == NoMove;
    for (int i = 0; i <= last; ++i) {
        if (list[static_cast<std::size_t>(i)] == move) return true;
    }
    return false;
}

// The exact search's value for side, looking depth + 1 plies ahead; a value of GameOverScore or
// more proves that side wins within those plies whatever the other side does.
std::int32_t ExactValue(Board board, Side side, int variant, int depth) {
    SetRulesVariant(variant);
    const std::int32_t value = Search(board, 1, side, depth, kRootBound, 0);
    SetRulesVariant(kKingMustDie);
    return value;
}

// Positions of random games that go on, in which the side to move has more than one move.
std::vector<Position> RandomGamePositions(unsigned seed, int count) {
    std::mt19937 random(seed);
    std::vector<Position> positions;
    while (static_cast<int>(positions.size()) < count) {
        const int plies = static_cast<int>(random() % 40);
        const Board board = testing::PositionAfterRandomGame(random, plies);
        const Side side = plies % 2 == 0 ? 2 : 1;
        const int variant = random() % 2 == 0 ? kKingMustDie : kAllMustDie;
        TestEndOfGame(board, variant);
        const bool over = GetGameResult() != 0;
        MoveList list;
        if (!over && GenerateMoves(board, list, side) >= 1)
            positions.push_back({board, side, variant});
    }
    return positions;
}

// Wherever the exact search proves a win within N plies, Expert finds one at least as short,
// and its move keeps it; where the exact search proves a loss, Expert sees it too.
TEST(ExpertSearchTest, FindsTheForcedResultsTheExactSearchProves) {
    constexpr int kExactDepth = 4;  // 5 plies
    int wins = 0;
    int losses = 0;
    for (const Position& p : RandomGamePositions(7, 3000)) {
        const std::int32_t exact = ExactValue(p.board, p.side, p.variant, kExactDepth);
        if (exact > -GameOverScore && exact < GameOverScore) continue;
        ExpertSearch expert(4);
        ExpertLimits limits;
        limits.depth = kExactDepth + 2;
        const ExpertResult result = expert.Think(p.board, p.side, p.variant, limits);
        SCOPED_TRACE(BoardToFen(p.board) + (p.side == 2 ? " w" : " b") +
                     (p.variant == kKingMustDie ? " king" : " all"));
        ASSERT_TRUE(IsLegal(p.board, p.side, result.move));
        if (exact >= GameOverScore) {
            ++wins;
            EXPECT_GE(result.mateInPlies, 1);
            EXPECT_LE(result.mateInPlies, kExactDepth + 1);
            // After Expert's move the exact search proves the loss of the other side.
            Board after = p.board;
            ApplyMove(after, result.move);
            EXPECT_LE(ExactValue(after, Opponent(p.side), p.variant, result.mateInPlies - 1),
                      -GameOverScore);
        } else {
            ++losses;
            EXPECT_LE(result.mateInPlies, -1);
        }
    }
    // The sample must hold enough of both to mean something.
    EXPECT_GE(wins, 20);
    EXPECT_GE(losses, 20);
}

// Plain alpha-beta's value at a fixed depth does not depend on what the table remembers, only
// the time it takes does. 4 plies are too few for a position to come back in a line other
// than as a repetition of the root, which would make values depend on the path.
TEST(ExpertSearchTest, TheValueAtAFixedDepthIsTheSameWithAndWithoutTheTable) {
    std::vector<Position> positions = RandomGamePositions(11, 40);
    for (const bench::BenchmarkPosition& b : bench::BenchmarkPositions())
        positions.push_back({*BoardFromFen(b.placement), b.side, b.rules});
    for (const Position& p : positions) {
        SCOPED_TRACE(BoardToFen(p.board));
        ExpertSearch withTable(16);
        ExpertSearch withoutTable(0);
        withTable.SetPlainAlphaBeta(true);
        withoutTable.SetPlainAlphaBeta(true);
        ExpertLimits limits;
        limits.depth = 4;
        const ExpertResult a = withTable.Think(p.board, p.side, p.variant, limits);
        const ExpertResult b = withoutTable.Think(p.board, p.side, p.variant, limits);
        EXPECT_EQ(a.score, b.score);
        EXPECT_EQ(a.mateInPlies, b.mateInPlies);
    }
}

TEST(ExpertSearchTest, ANodeLimitedSearchRepeatsItsMove) {
    for (const bench::BenchmarkPosition& b : bench::BenchmarkPositions()) {
        const Board board = *BoardFromFen(b.placement);
        ExpertLimits limits;
        limits.nodes = 20000;
        const ExpertResult first = ExpertSearch(8).Think(board, b.side, b.rules, limits);
        const ExpertResult second = ExpertSearch(8).Think(board, b.side, b.rules, limits);
        EXPECT_EQ(first.move, second.move);
        EXPECT_EQ(first.nodes, second.nodes);
        EXPECT_TRUE(IsLegal(board, b.side, first.move));
    }
}

// The variety chooses among near-equal opening moves, the same way for the same seed; past the
// opening the choice is the search's own again.
TEST(ExpertSearchTest, VarietyVariesTheOpeningBySeed) {
    Board start;
    SetUpStartingPosition(start);
    ExpertLimits limits;
    limits.depth = 5;
    const std::vector<Board> longHistory(12, Board{});
    ExpertSearch plain(4);
    const MoveWord later = plain.Think(start, 2, kKingMustDie, limits, longHistory).move;
    std::set<MoveWord> chosen;
    for (std::uint64_t seed = 1; seed <= 8; ++seed) {
        ExpertSearch first(4);
        ExpertSearch second(4);
        first.SetVariety(seed);
        second.SetVariety(seed);
        const MoveWord move = first.Think(start, 2, kKingMustDie, limits).move;
        EXPECT_EQ(second.Think(start, 2, kKingMustDie, limits).move, move);
        EXPECT_TRUE(IsLegal(start, 2, move));
        chosen.insert(move);
        first.NewGame();
        EXPECT_EQ(first.Think(start, 2, kKingMustDie, limits, longHistory).move, later);
    }
    EXPECT_GE(chosen.size(), 2u);
}

// All must die: Black must take the knight. With the c-pawn, White's last pawn is blocked and
// White, left without a move, wins; with the e-pawn the game goes on. Seen at any depth.
TEST(ExpertSearchTest, ACaptureThatLeavesTheOpponentWithoutAMoveLoses) {
    const Board board = *BoardFromFen("8/8/8/2p1p3/3NP3/8/8/8");
    for (const int depth : {1, 2, 4}) {
        ExpertSearch expert(4);
        ExpertLimits limits;
        limits.depth = depth;
        const ExpertResult result = expert.Think(board, 1, kAllMustDie, limits);
        EXPECT_EQ(MoveToText(result.move), "e5d4") << depth;
        EXPECT_LE(result.mateInPlies, 0) << depth;
    }
}

// King must die, Black to move after 1. Kb3 Kh8 2. Kb4: every move loses, but Kg8 brings back
// the game's first position, a draw that Black takes.
TEST(ExpertSearchTest, ALostSideTakesTheRepetitionTheGameOffers) {
    std::vector<Board> history{*BoardFromFen("6k1/8/4p2p/5p2/1K6/8/3NPPP1/5BN1")};
    Board now = history.front();
    for (const char* move : {"b4b3", "g8h8", "b3b4"}) {
        ApplyMove(now, *MoveFromText(move));
        history.push_back(now);
    }
    history.pop_back();
    ASSERT_LE(ExactValue(now, 1, kKingMustDie, 6), -GameOverScore);
    ExpertLimits limits;
    limits.depth = 4;
    const ExpertResult result = ExpertSearch(4).Think(now, 1, kKingMustDie, limits, history);
    EXPECT_EQ(MoveToText(result.move), "h8g8");
    EXPECT_EQ(result.score, 0);
    EXPECT_EQ(result.mateInPlies, 0);
}

}  // namespace
}  // namespace kelvane
