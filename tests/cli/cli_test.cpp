// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>

#include "rules/notation.h"
#include "tests/cli/cli_test_util.h"

namespace kelvane::cli {
namespace {

void WriteBoard(const std::string& path, const Board& board, std::streamsize size) {
    std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(board.data()), size);
}

TEST(CliMoves, ListsTheGeneratorsOrderFromAFenOrASavedGame) {
    ScopedTempDirectory scratch;
    Board start;
    SetUpStartingPosition(start);
    WriteBoard("good.sav", start, 64);
    const CliRun run = Cli({"moves", "start", "black"});
    EXPECT_EQ(run.status, 0);
    const std::vector<std::string> lines = Lines(run.out);
    ASSERT_EQ(lines.size(), 20u);
    EXPECT_EQ(lines[0] + lines[2] + lines[16], "a7a6b8c6g7g6");
    // A FEN with later fields, the side as a number and a saved game give the same list.
    EXPECT_EQ(Cli({"moves", "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w - - 0 1", "2"}).out,
              Cli({"moves", "good.sav", "white"}).out);
    EXPECT_EQ(Cli({"moves", "start", "1"}).out, run.out);
    // White pawn d2 may take c3 or e3; the rook's quiet moves are left out.
    EXPECT_EQ(Cli({"moves", "8/8/8/8/8/2p1p3/3P4/R7", "white"}).out, "d2c3\nd2e3\n");
}

TEST(CliSearch, PrintsMoveNodesAndTime) {
    const std::vector<std::string> lines = Lines(Cli({"search", "start", "black", "2"}).out);
    ASSERT_EQ(lines.size(), 3u);
    EXPECT_EQ(lines[0].size(), 4u);
    EXPECT_EQ(lines[1].rfind("nodes ", 0), 0u);
    EXPECT_GT(std::stoll(lines[1].substr(6)), 20);
    EXPECT_EQ(lines[2].rfind("time ", 0), 0u);
    EXPECT_EQ(lines[2].substr(lines[2].size() - 3), " ms");
    const auto head = [](std::vector<std::string> args) { return Cli(args).out.substr(0, 13); };
    EXPECT_EQ(head({"search", "8/8/8/8/8/3p4/3P4/8", "white", "3"}), "none\nnodes 1\n");
    EXPECT_EQ(head({"search", "8/8/8/8/8/8/4k3/4K3", "black", "5", "--rules", "all"}),
              "e2e1\nnodes 1\n");
}

// Expert's answer: the move, the score, the depth reached, the nodes within the limit, the time.
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

TEST(CliCounts, PerftBenchAndSelfplay) {
    EXPECT_EQ(Cli({"perft", "start", "white", "0"}).out, "1\n");
    EXPECT_EQ(Cli({"perft", "start", "white", "4"}).out, "153299\n");
    const std::vector<std::string> bench = Lines(Cli({"bench", "--depth", "1"}).out);
    ASSERT_EQ(bench.size(), 6u);
    EXPECT_EQ(bench[0], "positions 51");
    EXPECT_EQ(bench[1], "depth 1");
    EXPECT_GT(std::stoll(bench[2].substr(6)), 51);  // more than the roots alone
    EXPECT_EQ(bench[4].rfind("calls per second ", 0), 0u);
    const std::vector<std::string> limited =
        Lines(Cli({"selfplay", "--max-plies", "3", "--rules", "all"}).out);
    ASSERT_EQ(limited.size(), 4u);
    EXPECT_EQ(limited.back(), "No result within 3 plies.");
}

TEST(CliErrors, BadInputIsOneLineOnStderrWithStatusTwo) {
    ScopedTempDirectory scratch;
    Board bad;
    SetUpStartingPosition(bad);
    WriteBoard("short.sav", bad, 10);
    bad[40] = 17;
    WriteBoard("junk.sav", bad, 64);
    for (const std::string row : {"",
                                  "dance",
                                  "moves start",
                                  "moves start green",
                                  "moves rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP white",
                                  "moves rnbqkbnr/ppppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR white",
                                  "moves rnbqkbnr/pppxpppp/8/8/8/8/PPPPPPPP/RNBQKBNR white",
                                  "moves 9/8/8/8/8/8/8/8 white",
                                  "moves short.sav white",
                                  "moves junk.sav white",
                                  "moves missing.sav white",
                                  "search start white -1",
                                  "search start white 3x",
                                  "search start white 2 --rules queen",
                                  "search start white 2 --rules",
                                  "selfplay --plies 3",
                                  "bench --depth deep",
                                  "search start white --level expert --nodes 0",
                                  "search start white --level expert 3",
                                  "search start --level expert",
                                  "search start white --level expert --movetime x",
                                  "search start white --level expert --vary",
                                  "bench --level expert --nodes 5",
                                  "play --level master",
                                  "play --level expert --movetime 0",
                                  "uci now"}) {
        std::vector<std::string> args;
        std::istringstream words(row);
        for (std::string word; words >> word;) args.push_back(word);
        const CliRun run = Cli(args);
        EXPECT_EQ(run.status, 2) << row;
        EXPECT_EQ(Lines(run.err).size(), 1u) << row << ": " << run.err;
        EXPECT_TRUE(run.out.empty()) << row;
    }
}

TEST(CliHelp, EveryCommandHasHelp) {
    for (const std::string command :
         {"moves", "search", "perft", "selfplay", "bench", "play", "replay", "uci"}) {
        const CliRun run = Cli({command, "--help"});
        EXPECT_EQ(run.status, 0);
        EXPECT_NE(run.out.find("kelvane-cli " + command), std::string::npos);
    }
    EXPECT_EQ(Cli({"--help"}).status, 0);
}

// The built program under a shell: errors in one readable line, a depth it can finish, a FIFO
// refused instead of waited on, lost output reported. The time limit only stops a hang.
TEST(CliShell, ErrorsAreOneLineWithTheirStatus) {
    ScopedTempDirectory scratch;
    ASSERT_EQ(::mkfifo("position", 0600), 0);
    std::filesystem::resize_file(WriteText("big.pgn", ""), 65 << 20);  // sparse
    const std::tuple<std::string, int, std::string> rows[] = {
        {"perft start white 11 >/dev/null", 2, "kelvane-cli perft: depth must be 0 to 10\n"},
        {"\"$(printf 'mo\\nves\\033[31m')\" start white >/dev/null", 2, "'mo\\nves\\x1b[31m'"},
        {"\"$(printf 'm\\302\\233o\\233v\\342\\202\\254')\"", 2,
         "'m\\xc2\\x9bo\\x9bv\xe2\x82\xac'"},
        {"moves position white >/dev/null", 2, "position"},
        {"replay position", 2, "replay: position: is not a regular file\n"},
        {"replay .", 2, "replay: .: is a folder\n"},
        {"replay big.pgn", 2, "big.pgn: is larger than 64 MB\n"},
        {"play --pgn no/x.pgn </dev/null >out", 2, "play: cannot open no/x.pgn to write"},
        {"selfplay --pgn . >out", 2, "selfplay: cannot open . to write the games"},
        {"play --pgn position </dev/null >out", 2,
         "play: cannot write the games to position: it is a FIFO"},
        {"selfplay --max-plies 2 --pgn /dev/full >/dev/null", 1, "/dev/full: No space left"},
        {"--version >/dev/full", 1, "cannot write the output: No space left on device"},
        {"play </dev/null >/dev/full", 1, "play: cannot write the output: No space left"},
        {"--version >&-", 1, "cannot write the output"},
        {"search --help >help", 0, ""}};
    for (const auto& [arguments, status, error] : rows) {
        const std::string command = "timeout 20 " KELVANE_CLI_PATH " " + arguments + " 2>errors";
        const int outcome = std::system(command.c_str());
        EXPECT_EQ(WIFEXITED(outcome) ? WEXITSTATUS(outcome) : -1, status) << arguments;
        const std::string err = ReadText("errors");
        EXPECT_EQ(Lines(err).size(), error.empty() ? 0u : 1u) << err;
        EXPECT_NE(err.find(error), std::string::npos) << err;
    }
    EXPECT_NE(ReadText("help").find("DEPTH is 0 to 10"), std::string::npos);
    EXPECT_EQ(ReadText("out"), "");  // refused before the game
}

}  // namespace
}  // namespace kelvane::cli
