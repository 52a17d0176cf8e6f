#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "cli/commands.h"
#include "rules/evaluation.h"
#include "rules/notation.h"

namespace kelvane::cli {
namespace {

struct CliRun {
    int status;
    std::string out;
    std::string err;
};

CliRun Cli(std::vector<std::string> args) {
    std::ostringstream out;
    std::ostringstream err;
    const int status = RunCli(args, out, err);
    SetRulesVariant(kKingMustDie);
    return {status, out.str(), err.str()};
}

std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    return lines;
}

constexpr const char* kStartFen = "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR";

TEST(CliMoves, ListsTheGeneratorsOrderInCoordinates) {
    const CliRun run = Cli({"moves", "start", "black"});
    EXPECT_EQ(run.status, 0);
    const std::vector<std::string> lines = Lines(run.out);
    ASSERT_EQ(lines.size(), 20u);
    EXPECT_EQ(lines[0], "a7a6");
    EXPECT_EQ(lines[2], "b8c6");
    EXPECT_EQ(lines[16], "g7g6");
    // A FEN with later fields and the side as a number give the same list.
    EXPECT_EQ(Cli({"moves", std::string(kStartFen) + " w - - 0 1", "1"}).out, run.out);
}

TEST(CliMoves, CompulsoryCaptureFromAFen) {
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
}

TEST(CliSearch, NoLegalMoveIsNoneAndOneMoveIsOneNode) {
    std::vector<std::string> lines =
        Lines(Cli({"search", "8/8/8/8/8/3p4/3P4/8", "white", "3"}).out);
    EXPECT_EQ(lines[0], "none");
    EXPECT_EQ(lines[1], "nodes 1");
    lines = Lines(Cli({"search", "8/8/8/8/8/8/4k3/4K3", "black", "5", "--rules", "all"}).out);
    EXPECT_EQ(lines[0], "e2e1");
    EXPECT_EQ(lines[1], "nodes 1");
}

TEST(CliBench, ReportsTheWholeSet) {
    const std::vector<std::string> lines = Lines(Cli({"bench", "--depth", "1"}).out);
    ASSERT_EQ(lines.size(), 6u);
    EXPECT_EQ(lines[0], "positions 51");
    EXPECT_EQ(lines[1], "depth 1");
    EXPECT_GT(std::stoll(lines[2].substr(6)), 51);  // more than the roots alone
    EXPECT_EQ(lines[4].rfind("calls per second ", 0), 0u);
}

TEST(CliPerft, CountsFromTheStart) {
    const char* expected[] = {"1", "20", "400", "8067", "153299"};
    for (int depth = 0; depth <= 4; ++depth)
        EXPECT_EQ(Cli({"perft", "start", "white", std::to_string(depth)}).out,
                  std::string(expected[depth]) + "\n");
}

TEST(CliSelfplay, OpensWithG7G6AndNamesAWinnerOrTheLimit) {
    const std::vector<std::string> lines = Lines(Cli({"selfplay", "--depth", "1"}).out);
    ASSERT_GE(lines.size(), 2u);
    EXPECT_EQ(lines[0], "g7g6");
    EXPECT_TRUE(lines.back() == "Black wins!" || lines.back() == "White wins!") << lines.back();
    const std::vector<std::string> limited =
        Lines(Cli({"selfplay", "--max-plies", "3", "--rules", "all"}).out);
    ASSERT_EQ(limited.size(), 4u);
    EXPECT_EQ(limited.back(), "No result within 3 plies.");
}

TEST(CliSavedGame, ReadsA64ByteFileAndRefusesOthers) {
    const std::filesystem::path dir = std::filesystem::temp_directory_path() / "kelvane-cli-test";
    std::filesystem::create_directories(dir);
    const std::string good = (dir / "good.sav").string();
    const std::string shortFile = (dir / "short.sav").string();
    const std::string junk = (dir / "junk.sav").string();
    Board start;
    SetUpStartingPosition(start);
    std::ofstream(good, std::ios::binary).write(reinterpret_cast<const char*>(start.data()), 64);
    std::ofstream(shortFile, std::ios::binary)
        .write(reinterpret_cast<const char*>(start.data()), 10);
    Board bad = start;
    bad[40] = 17;
    std::ofstream(junk, std::ios::binary).write(reinterpret_cast<const char*>(bad.data()), 64);

    EXPECT_EQ(Cli({"moves", good, "white"}).out, Cli({"moves", "start", "white"}).out);
    for (const std::string& path : {shortFile, junk, (dir / "missing.sav").string()}) {
        const CliRun run = Cli({"moves", path, "white"});
        EXPECT_EQ(run.status, 2) << path;
        EXPECT_TRUE(run.out.empty());
        EXPECT_EQ(Lines(run.err).size(), 1u) << run.err;
    }
    std::filesystem::remove_all(dir);
}

TEST(CliErrors, BadInputIsOneLineOnStderrWithStatusTwo) {
    const std::vector<std::vector<std::string>> bad = {
        {},
        {"dance"},
        {"moves", "start"},
        {"moves", "start", "green"},
        {"moves", "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP", "white"},
        {"moves", "rnbqkbnr/ppppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR", "white"},
        {"moves", "rnbqkbnr/pppxpppp/8/8/8/8/PPPPPPPP/RNBQKBNR", "white"},
        {"moves", "9/8/8/8/8/8/8/8", "white"},
        {"search", "start", "white", "-1"},
        {"search", "start", "white", "two"},
        {"search", "start", "white", "3x"},
        {"search", "start", "white", "2", "--rules", "queen"},
        {"search", "start", "white", "2", "--rules"},
        {"perft", "start", "white", ""},
        {"selfplay", "--depth", "-3"},
        {"selfplay", "--plies", "3"},
        {"bench", "--depth", "deep"},
    };
    for (const std::vector<std::string>& args : bad) {
        const CliRun run = Cli(args);
        std::string joined;
        for (const std::string& a : args) joined += a + " ";
        EXPECT_EQ(run.status, 2) << joined;
        EXPECT_EQ(Lines(run.err).size(), 1u) << joined << ": " << run.err;
        EXPECT_TRUE(run.out.empty()) << joined;
    }
}

TEST(CliHelp, EveryCommandHasHelp) {
    for (const char* command :
         {"moves", "search", "perft", "selfplay", "bench", "play", "replay"}) {
        const CliRun run = Cli({command, "--help"});
        EXPECT_EQ(run.status, 0);
        EXPECT_NE(run.out.find(std::string("kelvane-cli ") + command), std::string::npos);
    }
    EXPECT_EQ(Cli({"--help"}).status, 0);
}

}  // namespace
}  // namespace kelvane::cli
