// SPDX-License-Identifier: GPL-3.0-or-later
// replay: games read back through the rules, and what is wrong with a bad one in one line.
#include <gtest/gtest.h>

#include "tests/cli/cli_test_util.h"

namespace kelvane::cli {
namespace {

constexpr const char* kBlackFirst =
    "[FEN \"rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR b - - 0 1\"]\n1... g6 2. e3 b5 ";

TEST(CliReplay, PrintsEachGamesFinalPlacement) {
    ScopedTempDirectory scratch;
    const std::pair<std::string, const char*> rows[] = {
        {std::string(kBlackFirst) + "3. Bxb5 Bb7 *\n",
         "game 1: * rn1qkbnr/pbpppp1p/6p1/1B6/8/4P3/PPPP1PPP/RNBQK1NR\n"},
        // Black's last piece is taken: under All must die, Black has won.
        {"[Variant \"Losing chess, All must die\"]\n[SetUp \"1\"]\n"
         "[FEN \"8/2P5/8/R7/8/8/8/RN3N1n w - - 0 1\"]\n\n1. R1a3 Nf2 2. c8=Q Nh1 "
         "3. Nbd2 Nf2 4. Qc2 Nd1 5. Qxd1 0-1\n\n1. d3 *",
         "game 1: 0-1 8/8/8/R7/8/R7/3N4/3Q1N2\n"
         "game 2: * rnbqkbnr/pppppppp/8/8/8/3P4/PPP1PPPP/RNBQKBNR\n"},
        // A byte-order mark; brackets in a variation's comments; bare results are no games.
        {"\xEF\xBB\xBF* 1. e3 (1. e4 { ) } e5 ; )\n) b5 * * *",
         "game 1: * rnbqkbnr/p1pppppp/8/1p6/8/4P3/PPPP1PPP/RNBQKBNR\n"}};
    for (const auto& [text, expected] : rows) {
        const CliRun run = Cli({"replay", WriteText("good.pgn", text)});
        EXPECT_EQ(run.status, 0) << run.err;
        EXPECT_EQ(run.out, expected) << text;
    }
}

TEST(CliReplay, BadMovesAndBadFilesAreOneLineWithStatusTwo) {
    ScopedTempDirectory scratch;
    std::string tags;
    for (int i = 0; i < 257; ++i) tags += "[T \"\"]\n";
    const std::pair<std::string, const char*> rows[] = {
        {"[Event \"x\"]\n\n1. e3 b5 2. e4 *\n",
         "game 1, move 2 (White): 'e4' is not a legal move: White must capture: Bxb5"},
        {"1. e3 b5 2. O-O *",
         "'O-O' is not a legal move: there is no castling in this game; "
         "White must capture: Bxb5"},
        {"1. e4 h6 2. e5 d5 3. exd6 *", "there is no en passant in this game"},
        {"[FEN \"k7/8/8/8/8/8/8/R6K w - - 0 1\"]\n1. Rxa8 Kh2 0-1",
         "game 1, move 1 (Black): 'Kh2' comes after the end of the game: the black king was taken"},
        {"[FEN \"k7/8/8/8/8/8/8/R6K w - - 0 1\"]\n1. Rxa8 1-0",
         "game 1, its result is 1-0 but the black king was taken, so Black has won (0-1)"},
        {"1. e3 1-0", "game 1, its result is 1-0 but the game is not over on the board"},
        {"[Result \"0-1\"]\n1. e3 1-0", "its Result tag says 0-1 but its moves end with 1-0"},
        {tags, "line 257: a game has more than 256 tags"},
        {"1. e3 b5 *\n\n1. Nf3 Nf6 2. Ng5 Nd5 3. Nh3 *\n", "game 2, move 3 (White): 'Nh3'"},
        {std::string(kBlackFirst) + "3. Bxb5 Bb6 *", "game 1, move 3 (Black): 'Bb6' is not a"},
        {std::string(kBlackFirst) + "3. a3 *",
         "game 1, move 3 (White): 'a3' is not a legal move: White must capture: Bxb5"},
        {"[FEN \"8/8/8/8/8/8/8/8 x - - 0 1\"]\n*\n", "game 1, its FEN tag names no side to move"},
        {"* * 1/2-1/2\n", "no game"},
        {"1. " + std::string(9999, 'N') + " *", "'NNNNNNNNNNNNNNNNNNNNNNNNNNNNNNNNNNNNNNNN...' is"},
        {"[Event \"x\"]\n1. Zf3 *\n", "unknown piece letter 'Z'"},
        {"[Event \"x\n1. e3 *\n", "line 1"},
        {"hello, world\n", "'hello,' is not a move"},
        {"\x7f\x45LF\x02\x01\x01", "is not text"},
        {"[FEN \"8/8/9/8/8/8/8/8 w - - 0 1\"]\n*\n", "FEN"}};
    for (const auto& [text, reason] : rows) {
        const CliRun run = Cli({"replay", WriteText("bad.pgn", text)});
        EXPECT_EQ(run.status, 2) << text;
        // Games before the bad one are printed as they are replayed.
        EXPECT_EQ(Lines(run.out).size(), std::string(reason).rfind("game 2", 0) == 0) << text;
        EXPECT_EQ(std::count(run.err.begin(), run.err.end(), '\n'), 1) << run.err;
        EXPECT_EQ(run.err.rfind("kelvane-cli replay: bad.pgn: ", 0), 0u) << run.err;
        EXPECT_NE(run.err.find(reason), std::string::npos) << run.err;
        EXPECT_LT(run.err.size(), 160u);
    }
    EXPECT_EQ(Cli({"replay", "missing.pgn"}).err,
              "kelvane-cli replay: cannot open missing.pgn: No such file or directory\n");
    EXPECT_EQ(Cli({"replay"}).err, "kelvane-cli replay: replay needs one PGN file (see --help)\n");
}

}  // namespace
}  // namespace kelvane::cli
