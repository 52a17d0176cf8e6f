// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/expert_position.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <vector>

#include "rules/move_generation.h"
#include "tests/support/random_boards.h"

namespace kelvane::expert {
namespace {

std::vector<MoveWord> RulesMoves(const Board& board, Side side) {
    MoveList list;
    const int last = GenerateMoves(board, list, side);
    std::vector<MoveWord> moves(list.begin(), list.begin() + last + 1);
    std::ranges::sort(moves);
    return moves;
}

std::vector<MoveWord> ExpertMoves(const Position& position) {
    MoveBuffer buffer;
    position.GenerateLegal(buffer);
    std::vector<MoveWord> moves;
    for (int i = 0; i < buffer.count; ++i)
        moves.push_back(ToMoveWord(buffer.moves[static_cast<std::size_t>(i)]));
    std::ranges::sort(moves);
    return moves;
}

// The same moves as the rules' generator, for both sides, on positions of random games and on
// random placements; making and unmaking every move gives back the board and its key.
TEST(ExpertPositionTest, MovesAgreeWithTheRulesAndUnmakeRestores) {
    std::mt19937 random(15);
    for (int game = 0; game < 600; ++game) {
        const Board board = game % 2 == 0 ? testing::PositionAfterRandomGame(random, game % 80)
                                          : testing::RandomPlacement(random);
        for (Side side : {1, 2}) {
            Position position;
            position.Set(board, side);
            ASSERT_EQ(ExpertMoves(position), RulesMoves(board, side)) << testing::Describe(board);
            MoveBuffer buffer;
            const bool captures = position.GenerateLegal(buffer);
            EXPECT_EQ(captures, position.HasCapture(side));
            for (int i = 0; i < buffer.count; ++i) {
                const Move move = buffer.moves[static_cast<std::size_t>(i)];
                Board applied = board;
                ApplyMove(applied, ToMoveWord(move));
                Position fresh;
                fresh.Set(applied, Opponent(side));
                MoveUndo undo;
                position.Make(move, undo);
                ASSERT_EQ(position.ToBoard(), applied);
                EXPECT_EQ(position.Key(), fresh.Key());
                position.Unmake(move, undo);
                ASSERT_EQ(position.ToBoard(), board);
            }
        }
    }
}

}  // namespace
}  // namespace kelvane::expert
