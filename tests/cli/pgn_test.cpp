#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <set>
#include <sstream>

#include "cli/commands.h"
#include "cli/game_record.h"
#include "cli/pgn_writer.h"
#include "cli/replay.h"
#include "rules/evaluation.h"
#include "rules/move_generation.h"
#include "rules/notation.h"
#include "rules/san.h"

namespace kelvane::cli {
namespace {

namespace fs = std::filesystem;

Board FromFen(const std::string& fen) {
    const Result<Board> board = BoardFromFen(fen);
    EXPECT_TRUE(board.ok()) << fen;
    return board.ok() ? *board : Board{};
}

MoveWord Move(const char* text) {
    return *MoveFromText(text);
}

TEST(CliSan, DisambiguatesByFileThenRankThenBoth) {
    const Board queens = FromFen("6k1/8/8/8/8/Q7/8/Q1Q5");
    EXPECT_EQ(MoveToSan(queens, 2, Move("a1b2")), "Qa1b2");
    EXPECT_EQ(MoveToSan(queens, 2, Move("a3b2")), "Q3b2");
    EXPECT_EQ(MoveToSan(queens, 2, Move("c1b2")), "Qcb2");
    EXPECT_EQ(MoveToSan(queens, 2, Move("c1c2")), "Qc2");
    const Board captures = FromFen("1n5k/P7/8/3p4/2P1P3/8/8/8");
    EXPECT_EQ(MoveToSan(captures, 2, Move("c4d5")), "cxd5");
    EXPECT_EQ(MoveToSan(captures, 2, Move("a7b8")), "axb8=Q");
}

// Every legal move's SAN is its own and reads back as the same move.
TEST(CliSan, EveryLegalMoveRoundTrips) {
    for (const char* fen : {"rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR", "6k1/8/8/8/8/Q7/8/Q1Q5",
                            "1n5k/P7/8/3p4/2P1P3/8/8/8", "r3r1k1/1P4P1/8/8/3N1N2/8/2p5/R3K2R",
                            "8/8/8/2n1n3/8/3K4/8/8"}) {
        const Board board = FromFen(fen);
        for (const Side side : {1, 2}) {
            MoveList list;
            const int last = GenerateMoves(board, list, side);
            std::set<std::string> seen;
            for (int i = 0; i <= last; ++i) {
                const MoveWord move = list[static_cast<std::size_t>(i)];
                const std::string san = MoveToSan(board, side, move);
                EXPECT_TRUE(seen.insert(san).second) << fen << " " << san;
                const Result<MoveWord> back = MoveFromSan(board, side, san + "+");
                ASSERT_TRUE(back.ok()) << fen << " " << san << ": " << back.reason();
                EXPECT_EQ(*back, move) << fen << " " << san;
            }
        }
    }
    const Board start = FromFen("rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR");
    for (const char* bad : {"Zf3", "e9", "Nf", "", "e4e5", "O-O", "e8=N", "Ne4", "exd3"})
        EXPECT_FALSE(MoveFromSan(start, 2, bad).ok()) << bad;
}

TEST(CliGameRecord, FiftyMovesOfEachSideWithoutCaptureOrPawnMoveAreADraw) {
    // White's king walks a snake through ranks 6 to 1 and back, Black's between a8 and b8: no
    // position occurs a third time.
    std::vector<Square> path;
    for (int row = 2; row < 8; ++row)
        for (int i = 0; i < 8; ++i) path.push_back({row % 2 == 0 ? i : 7 - i, row});
    for (std::size_t i = path.size() - 1; i-- > 0;) path.push_back(path[i]);
    for (const int pawnMove : {-1, 10}) {
        GameRecord record;
        record.Start(FromFen("k7/7P/K7/8/8/8/8/8"), true);
        std::size_t step = 0;
        for (int move = 0; move < 50; ++move) {
            record.Add(2, move == pawnMove ? Move("h7h8") : PackMove(path[step], path[step + 1]));
            step += move == pawnMove ? 0 : 1;
            EXPECT_EQ(record.DrawNow(), Draw::None) << move;
            record.Add(1, move % 2 == 0 ? Move("a8b8") : Move("b8a8"));
            const bool fifty = move == 49 && pawnMove < 0;
            EXPECT_EQ(record.DrawNow(), fifty ? Draw::FiftyMoves : Draw::None) << move;
        }
        record.TakeBackTo(FromFen("k7/7P/K7/8/8/8/8/8"));
        EXPECT_TRUE(record.Moves().empty());
    }
}

// The board comes back after five plies with the other side to move: only the same side to
// move counts.
TEST(CliGameRecord, RepetitionCountsPositionsWithTheSameSideToMove) {
    GameRecord record;
    record.Start(FromFen("k7/8/K7/8/8/8/8/8"), true);
    const char* cycle[] = {"a6b6", "a8b8", "b6b5", "b8a8", "b5a6",
                           "a8b8", "a6b6", "b8b7", "b6a6", "b7a8"};
    for (int ply = 0; ply < 20; ++ply) {
        EXPECT_EQ(record.DrawNow(), Draw::None) << ply;
        record.Add(ply % 2 == 0 ? 2 : 1, Move(cycle[ply % 10]));
    }
    EXPECT_EQ(record.First(), record.Current());
    EXPECT_EQ(record.DrawNow(), Draw::Repetition);
}

std::string WriteFile(const fs::path& path, const std::string& text) {
    std::ofstream(path, std::ios::binary) << text;
    return path.string();
}

struct CliRun {
    int status;
    std::string out;
    std::string err;
};

CliRun Cli(std::vector<std::string> args) {
    std::ostringstream out;
    std::ostringstream err;
    const int status = RunCli(args, out, err);
    return {status, out.str(), err.str()};
}

class CliReplay : public testing::Test {
  protected:
    void TearDown() override { fs::remove_all(dir_); }
    fs::path dir_ = fs::temp_directory_path() / ("kelvane-pgn-" + std::to_string(getpid()));
    bool made_ = fs::create_directories(dir_);
};

// A game from a set-up position with disambiguated moves and promotions, and a whole game of
// the computer against itself, both read back by replay.
TEST_F(CliReplay, GamesWrittenInPgnReplayToTheirFinalPositions) {
    GameRecord record;
    record.Start(FromFen("8/2P5/8/R7/8/8/8/RN3N1n"), true);
    const char* moves[] = {"a1a3", "h1f2", "c7c8", "f2h1", "b1d2", "h1f2", "c8c2", "f2d1", "c2d1"};
    Side side = 2;
    for (const char* text : moves) {
        ASSERT_EQ(
            MoveFromSan(record.Current(), side, MoveToSan(record.Current(), side, Move(text))).ok(),
            true);
        record.Add(side, Move(text));
        side = Opponent(side);
    }
    const std::string pgn = FormatPgn(record, {"Test", "1", "A", "B", kAllMustDie}, "1-0");
    for (const char* expected : {"[Variant \"Losing chess, All must die\"]", "[SetUp \"1\"]",
                                 "[FEN \"8/2P5/8/R7/8/8/8/RN3N1n w - - 0 1\"]", "1. R1a3 Nf2",
                                 "2. c8=Q Nh1 3. Nbd2 Nf2 4. Qc2 Nd1 5. Qxd1 1-0"})
        EXPECT_NE(pgn.find(expected), std::string::npos) << expected << "\n" << pgn;

    const std::string selfplay = (dir_ / "selfplay.pgn").string();
    const CliRun played =
        Cli({"selfplay", "--depth", "1", "--rules", "all", "--positions", "--pgn", selfplay});
    std::ifstream selfplayFile(selfplay);
    const std::string selfplayPgn((std::istreambuf_iterator<char>(selfplayFile)), {});
    EXPECT_NE(selfplayPgn.find("[FEN \"rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR b - - 0 1\"]"),
              std::string::npos);
    EXPECT_NE(selfplayPgn.find("1... g6 2. "), std::string::npos);
    // The line before the result: the last move and the placement after it.
    const std::string lastMove =
        played.out.substr(0, played.out.rfind('\n', played.out.size() - 2));
    const std::string finalPlacement = lastMove.substr(lastMove.rfind(' ') + 1);

    const CliRun replayed = Cli({"replay", WriteFile(dir_ / "both.pgn", pgn + "\n" + selfplayPgn)});
    EXPECT_EQ(replayed.status, 0) << replayed.err;
    EXPECT_EQ(replayed.out, BoardToFen(record.Current()) + "\n" + finalPlacement + "\n");
}

TEST_F(CliReplay, BadMovesAndBadFilesAreOneLineWithStatusTwo) {
    const std::pair<std::string, const char*> bad[] = {
        {"[Event \"x\"]\n\n1. e3 b5 2. e4 *\n", "game 1, move 2. e4 (White)"},
        {"1. e3 b5 *\n\n1. Nf3 Nf6 2. Ng5 Nd5 3. Nh3 *\n", "game 2, move 3. Nh3"},
        {"[Event \"x\"]\n1. Zf3 *\n", "unknown piece letter 'Z'"},
        {"[Event \"x\n1. e3 *\n", "line 1"},
        {"[Event \"x\"]\n[Site \"y\"\n", "line 2"},
        {"hello, world\n", "'hello,' is not a move"},
        {std::string("\x7f"
                     "ELF\x02\x01\x01",
                     7)
             .c_str(),
         "is not text"},
        {"", "no game"},
        {"[FEN \"8/8/9/8/8/8/8/8 w - - 0 1\"]\n*\n", "FEN"},
        {"1. e3 { never closed\n", "never closed"},
    };
    int index = 0;
    for (const auto& [text, reason] : bad) {
        const std::string file = WriteFile(dir_ / ("bad" + std::to_string(++index) + ".pgn"), text);
        const CliRun run = Cli({"replay", file});
        EXPECT_EQ(run.status, 2) << text;
        EXPECT_TRUE(run.out.empty()) << text;
        EXPECT_EQ(std::count(run.err.begin(), run.err.end(), '\n'), 1) << run.err;
        EXPECT_NE(run.err.find(reason), std::string::npos) << run.err;
    }
    EXPECT_EQ(Cli({"replay", (dir_ / "missing.pgn").string()}).status, 2);
    EXPECT_EQ(Cli({"replay"}).status, 2);
}

}  // namespace
}  // namespace kelvane::cli
