// SPDX-License-Identifier: GPL-3.0-or-later
// search and bench at the Expert level, as a user runs them.
#include <gtest/gtest.h>

#include "tests/cli/cli_test_util.h"

namespace kelvane::cli {
namespace {

TEST(CliSearch, ExpertPrintsMoveScoreDepthNodesAndTime) {
    const std::vector<std::string> lines = Lines(
        Cli({"search", "start", "black", "--level", "expert", "--nodes", "3000", "--rules", "all"})
            .out);
    ASSERT_EQ(lines.size(), 5u);
    EXPECT_EQ(lines[0].size(), 4u);
    EXPECT_EQ(lines[1].rfind("score cp ", 0), 0u);
    EXPECT_GE(std::stoi(lines[2].substr(6)), 1);
    EXPECT_EQ(lines[3], "nodes 3000");
    EXPECT_EQ(lines[4].rfind("time ", 0), 0u);
    // After e3, b5 forces the bishop to take it and then the king.
    const std::vector<std::string> win =
        Lines(Cli({"search", "rnbqkbnr/pppppppp/8/8/8/4P3/PPPP1PPP/RNBQKBNR", "black", "--level",
                   "expert", "--depth", "6"})
                  .out);
    ASSERT_EQ(win.size(), 5u);
    EXPECT_EQ(win[0], "b7b5");
    EXPECT_EQ(win[1], "score win in 4 plies");
    const std::vector<std::string> bench =
        Lines(Cli({"bench", "--level", "expert", "--movetime", "1"}).out);
    ASSERT_EQ(bench.size(), 7u);
    EXPECT_EQ(bench[1].rfind("positions 51 (", 0), 0u);
    EXPECT_EQ(bench[5].rfind("nodes per second ", 0), 0u);
}

}  // namespace
}  // namespace kelvane::cli
