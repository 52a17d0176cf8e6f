// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <set>
#include <utility>

#include "record/game_record.h"
#include "record/pgn_writer.h"
#include "rules/move_generation.h"
#include "rules/notation.h"
#include "rules/san.h"
#include "tests/cli/cli_test_util.h"

namespace kelvane::cli {
namespace {

Board FromFen(const std::string& fen) {
    return *BoardFromFen(fen);
}

MoveWord Move(const char* text) {
    return *MoveFromText(text);
}

// Every legal move has its own SAN, which reads back as the move.
TEST(CliSan, EveryLegalMoveRoundTrips) {
    const char* fens[] = {"rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR", "6k1/8/8/8/8/Q7/8/Q1Q5",
                          "1n5k/P7/8/3p4/2P1P3/8/8/8", "r3r1k1/1P4P1/8/8/3N1N2/8/2p5/R3K2R",
                          "8/8/8/2n1n3/8/3K4/8/8"};
    for (const char* fen : fens) {
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
    for (const char* bad : {"Zf3", "e9", "Nf", "", "e4e5", "O-O", "e8=N", "Ne4", "exd3"})
        EXPECT_FALSE(MoveFromSan(FromFen(fens[0]), 2, bad).ok()) << bad;
}

TEST(CliGameRecord, FiftyMovesOfEachSideWithoutCaptureOrPawnMoveAreADraw) {
    // White's king snakes through ranks 6 to 1 and back, Black's goes a8-b8: no threefold.
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
            EXPECT_EQ(record.DrawByRule(), Draw::None) << move;
            record.Add(1, move % 2 == 0 ? Move("a8b8") : Move("b8a8"));
            const bool fifty = move == 49 && pawnMove < 0;
            EXPECT_EQ(record.DrawByRule(), fifty ? Draw::FiftyMoves : Draw::None) << move;
        }
    }
}

// A game from a set-up position with disambiguated moves and promotions, and a whole game of
// the computer against itself, both read back by replay.
TEST(CliReplay, GamesWrittenInPgnReplayToTheirFinalPositions) {
    ScopedTempDirectory scratch;
    GameRecord record;
    record.Start(FromFen("8/2P5/8/R7/8/8/8/RN3N1n"), true);
    Side side = 2;
    for (const char* text :
         {"a1a3", "h1f2", "c7c8", "f2h1", "b1d2", "h1f2", "c8c2", "f2d1", "c2d1"})
        record.Add(std::exchange(side, Opponent(side)), Move(text));
    // Black's last piece is taken: under All must die, Black has won.
    record.Remark("a remark {in braces}");
    const std::string pgn =
        FormatPgn(record, {"Test", "1", "A", "B", kAllMustDie, "last piece taken"}, "0-1");
    for (const char* expected :
         {"[Variant \"Losing chess, All must die\"]\n[Termination \"last piece taken\"]",
          "[SetUp \"1\"]", "[FEN \"8/2P5/8/R7/8/8/8/RN3N1n w - - 0 1\"]", "1. R1a3 Nf2",
          "2. c8=Q Nh1 3. Nbd2 Nf2 4. Qc2 Nd1 5. Qxd1 {a remark in braces} 0-1"})
        EXPECT_NE(pgn.find(expected), std::string::npos) << expected << "\n" << pgn;

    const CliRun played =
        Cli({"selfplay", "--depth", "1", "--rules", "all", "--positions", "--pgn", "self.pgn"});
    EXPECT_EQ(played.out.rfind("g7g6 ", 0), 0u);
    EXPECT_TRUE(HasLine(played.out, "Black wins!") || HasLine(played.out, "White wins!"));
    const std::string selfplayPgn = ReadText("self.pgn");
    EXPECT_NE(selfplayPgn.find("[FEN \"rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR b - - 0 1\"]"),
              std::string::npos);
    EXPECT_NE(selfplayPgn.find("1... g6 2. "), std::string::npos);
    // The line before the result: the last move and the placement after it.
    const std::string lastMove =
        played.out.substr(0, played.out.rfind('\n', played.out.size() - 2));
    const std::string finalPlacement = lastMove.substr(lastMove.rfind(' ') + 1);
    const std::string selfplayResult = HasLine(played.out, "Black wins!") ? "0-1" : "1-0";
    const CliRun replayed =
        Cli({"replay", WriteText("both.pgn", "\xEF\xBB\xBF" + pgn + "\n" + selfplayPgn)});
    EXPECT_EQ(replayed.out, "game 1: 0-1 " + BoardToFen(record.Current()) +
                                "\ngame 2: " + selfplayResult + " " + finalPlacement + "\n");
    // Brackets in a variation's comments; bare result tokens are no games.
    EXPECT_EQ(Cli({"replay", WriteText("v.pgn", "* 1. e3 (1. e4 { ) } e5 ; )\n) b5 * * *")}).out,
              "game 1: * rnbqkbnr/p1pppppp/8/1p6/8/4P3/PPPP1PPP/RNBQKBNR\n");
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
        {"1. e3 b5 *\n\n1. Nf3 Nf6 2. Ng5 Nd5 3. Nh3 *\n", "game 2, move 3 (White): 'Nh3'"},
        {"* * 1/2-1/2\n", "no game"},
        {"1. " + std::string(9999, 'N') + " *", "'NNNNNNNNNNNNNNNNNNNNNNNNNNNNNNNNNNNNNNNN...' is"},
        {"[Event \"x\"]\n1. Zf3 *\n", "unknown piece letter 'Z'"},
        {"[Event \"x\n1. e3 *\n", "line 1"},
        {"[Event \"x\"]\n[Site \"y\"\n", "line 2"},
        {"hello, world\n", "'hello,' is not a move"},
        {"\x7f\x45LF\x02\x01\x01", "is not text"},
        {"", "no game"},
        {"[FEN \"8/8/9/8/8/8/8/8 w - - 0 1\"]\n*\n", "FEN"},
        {"1. e3 { never closed\n", "never closed"},
        {tags, "line 257: a game has more than 256 tags"}};
    for (const auto& [text, reason] : rows) {
        const CliRun run = Cli({"replay", WriteText("bad.pgn", text)});
        EXPECT_EQ(run.status, 2) << text;
        // Games before the bad one are printed as they are replayed.
        EXPECT_EQ(Lines(run.out).size(), std::string(reason).rfind("game 2", 0) == 0) << text;
        EXPECT_EQ(std::count(run.err.begin(), run.err.end(), '\n'), 1) << run.err;
        EXPECT_NE(run.err.find(reason), std::string::npos) << run.err;
        EXPECT_LT(run.err.size(), 160u);
    }
    EXPECT_EQ(Cli({"replay", "missing.pgn"}).status, 2);
    EXPECT_EQ(Cli({"replay"}).status, 2);
}

}  // namespace
}  // namespace kelvane::cli
