// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <algorithm>
#include <sstream>
#include <string>
#include <vector>

#include "cli/uci_session.h"
#include "engine/search.h"
#include "rules/evaluation.h"
#include "rules/move_generation.h"
#include "rules/notation.h"
#include "tests/cli/cli_test_util.h"

namespace kelvane::cli {
namespace {

// The whole conversation: every line of input, then the end of input.
std::string Converse(const std::string& input) {
    std::istringstream in(input);
    std::ostringstream out;
    EXPECT_EQ(RunUci(in, out), 0);
    SetRulesVariant(kKingMustDie);
    return out.str();
}

std::vector<std::string> LinesStartingWith(const std::string& text, const std::string& start) {
    std::vector<std::string> found;
    for (const std::string& line : Lines(text)) {
        if (line.rfind(start, 0) == 0) found.push_back(line);
    }
    return found;
}

std::string MoveOf(const std::string& bestmove) {
    return bestmove.substr(std::string("bestmove ").size());
}

bool IsNumber(const std::string& word, bool signedNumber) {
    const std::size_t first = signedNumber && word.size() > 1 && word[0] == '-' ? 1 : 0;
    return word.size() > first && word.find_first_not_of("0123456789", first) == std::string::npos;
}

bool IsMoveText(const std::string& word) {
    return (word.size() == 4 || (word.size() == 5 && word[4] == 'q')) && word[0] >= 'a' &&
           word[0] <= 'h' && word[1] >= '1' && word[1] <= '8' && word[2] >= 'a' && word[2] <= 'h' &&
           word[3] >= '1' && word[3] <= '8';
}

// info depth D seldepth S score cp|mate X nodes N nps N time T pv M...
bool IsInfoLine(const std::string& line) {
    std::istringstream in(line);
    std::vector<std::string> w;
    for (std::string word; in >> word;) w.push_back(word);
    if (w.size() < 16) return false;
    const char* names[] = {"info", "depth", nullptr, "seldepth", nullptr, "score"};
    for (std::size_t i = 0; i < 6; ++i) {
        if (names[i] != nullptr ? w[i] != names[i] : !IsNumber(w[i], false)) return false;
    }
    if ((w[6] != "cp" && w[6] != "mate") || !IsNumber(w[7], true)) return false;
    if (w[8] != "nodes" || !IsNumber(w[9], false) || w[10] != "nps" || !IsNumber(w[11], false) ||
        w[12] != "time" || !IsNumber(w[13], false) || w[14] != "pv")
        return false;
    return std::all_of(w.begin() + 15, w.end(), IsMoveText);
}

bool IsLegalText(const Board& board, Side side, const std::string& text) {
    MoveList list;
    const int last = GenerateMoves(board, list, side);
    for (int i = 0; i <= last; ++i) {
        if (MoveToText(list[static_cast<std::size_t>(i)]) == text) return true;
    }
    return false;
}

TEST(Uci, HandshakeOptionsAndReady) {
    const std::string out = Converse("uci\nisready\n");
    const std::vector<std::string> lines = Lines(out);
    ASSERT_GE(lines.size(), 4u);
    EXPECT_EQ(lines[0].rfind("id name Kelvane ", 0), 0u);
    EXPECT_EQ(lines[1], "id author Kelvane developers");
    for (const char* option :
         {"option name UCI_Variant type combo default king-must-die var king-must-die var "
          "all-must-die",
          "option name Hash type spin default 64 min 1 max 1024",
          "option name Threads type spin default 1 min 1 max 1",
          "option name Vary type spin default 0 min 0 max 2147483647",
          "option name Level type combo default expert var expert var easy var medium var hard"})
        EXPECT_TRUE(HasLine(out, option)) << option;
    EXPECT_EQ(lines[lines.size() - 2], "uciok");
    EXPECT_EQ(lines.back(), "readyok");
}

struct Exchange {
    const char* input;
    const char* bestmove;  // the one answer the position allows
};

// Positions where exactly one answer is right: a forced move, a promotion, no move at all.
TEST(Uci, BestMoveOfForcedPositions) {
    const Exchange cases[] = {
        {"position startpos moves e2e3 b7b5\ngo depth 4\n", "bestmove f1b5"},
        {"position fen 8/P7/8/8/8/8/8/k7 w - - 0 1\ngo nodes 100\n", "bestmove a7a8q"},
        {"position fen 8/8/8/8/8/8/8/8 w\ngo movetime 50\n", "bestmove 0000"},
        {"setoption name UCI_Variant value all-must-die\n"
         "position fen 8/8/8/8/8/p7/8/P7 b - - 3 20 moves a3a2\ngo depth 2\n",
         "bestmove 0000"},
    };
    for (const Exchange& exchange : cases) {
        const std::string out = Converse(exchange.input);
        EXPECT_EQ(LinesStartingWith(out, "bestmove"), std::vector<std::string>{exchange.bestmove})
            << exchange.input << out;
    }
}

// After e3, b5 forces the bishop to take it and then the king: a win in 4 plies, 2 moves.
TEST(Uci, InfoLinesReportAProvenWinAsMate) {
    const std::string out = Converse("position startpos moves e2e3\ngo depth 6\n");
    const std::vector<std::string> info = LinesStartingWith(out, "info depth");
    ASSERT_FALSE(info.empty()) << out;
    for (const std::string& line : info) EXPECT_TRUE(IsInfoLine(line)) << line;
    EXPECT_NE(info.back().find(" score mate 2 "), std::string::npos) << info.back();
    EXPECT_EQ(LinesStartingWith(out, "bestmove"), std::vector<std::string>{"bestmove b7b5"});
    // White must take Black's king with a pawn, and so loses in 1 move.
    const std::string lost =
        Converse("position fen 8/8/8/3k4/2P1P3/8/8/7K w - - 0 1\ngo depth 4\n");
    const std::vector<std::string> lostInfo = LinesStartingWith(lost, "info depth");
    ASSERT_FALSE(lostInfo.empty()) << lost;
    EXPECT_NE(lostInfo.back().find(" score mate -1 "), std::string::npos) << lostInfo.back();
}

// A refused position leaves the previous one: the move that follows is legal there.
TEST(Uci, BadInputIsExplainedAndChangesNothing) {
    const std::string bad[] = {
        "position fen rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNX w - - 0 1",
        "position fen rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP w",
        "position fen rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq - 0 1",
        "position fen rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w - e3 0 1",
        "position fen rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR x",
        "position fen",
        "position startpos moves e2e5",
        "position startpos moves e2e4 d7d5 e4e5",
        "position startpos moves e2e4q",
        "position startpos moves e2",
        "position startpos e2e4",
        "position",
        "position somewhere",
    };
    for (const std::string& line : bad) {
        const std::string out =
            Converse("position startpos moves g2g3\n" + line + "\ngo depth 2\n");
        const std::vector<std::string> said = LinesStartingWith(out, "info string ");
        ASSERT_EQ(said.size(), 1u) << line << "\n" << out;
        EXPECT_NE(said[0].find("the position stays as it was"), std::string::npos) << said[0];
        Board board;
        SetUpStartingPosition(board);
        ApplyMove(board, *MoveFromText("g2g3"));
        const std::vector<std::string> best = LinesStartingWith(out, "bestmove ");
        ASSERT_EQ(best.size(), 1u) << out;
        EXPECT_TRUE(IsLegalText(board, 1, MoveOf(best[0]))) << line << ": " << best[0];
    }
}

TEST(Uci, UnknownCommandsBadOptionsAndGoWordsAreNamed) {
    const Exchange cases[] = {
        {"foo bar", "info string unknown command foo"},
        {"\x01\xff\x7f", "info string unknown command \\x01\\xff\\x7f"},
        {"setoption name Hash value lots", "info string Hash must be a number from 1 to 1024"},
        {"setoption name Threads value 2", "info string Threads must be a number from 1 to 1"},
        {"setoption name UCI_Variant value suicide",
         "info string UCI_Variant is king-must-die or all-must-die"},
        {"setoption name Level value genius", "info string Level is expert, easy, medium or hard"},
        {"setoption name Colour value red", "info string unknown option Colour"},
        {"setoption Hash 16", "info string setoption needs: name NAME value VALUE"},
        {"go movetime soon", "info string go movetime needs a number"},
        {"go ponder", "info string go does not take 'ponder'"},
    };
    for (const Exchange& exchange : cases) {
        const std::string out = Converse(std::string(exchange.input) + "\nisready\n");
        EXPECT_EQ(out, std::string(exchange.bestmove) + "\nreadyok\n") << exchange.input;
    }
}

TEST(Uci, LongLinesAndEndOfInputInTheMiddleOfALine) {
    const std::string longLine = "position startpos moves " + std::string(3 << 20, 'x');
    const std::string out = Converse(longLine + "\nisready\ngo depth 1");
    EXPECT_EQ(Lines(out).at(0), "info string a line longer than 1048576 bytes was ignored");
    EXPECT_EQ(Lines(out).at(1), "readyok");
    ASSERT_EQ(LinesStartingWith(out, "bestmove ").size(), 1u) << out;
    Board start;
    SetUpStartingPosition(start);
    EXPECT_TRUE(IsLegalText(start, 2, MoveOf(LinesStartingWith(out, "bestmove ")[0])));
}

// An infinite search answers isready at once and gives its move only when told to stop.
TEST(Uci, InfiniteSearchWaitsForStop) {
    const std::string out = Converse("position startpos\ngo infinite\nisready\nstop\nquit\n");
    const std::vector<std::string> lines = Lines(out);
    const auto ready = std::find(lines.begin(), lines.end(), "readyok");
    const auto best = std::find_if(lines.begin(), lines.end(), [](const std::string& line) {
        return line.rfind("bestmove ", 0) == 0;
    });
    ASSERT_NE(ready, lines.end());
    ASSERT_NE(best, lines.end());
    EXPECT_LT(ready - lines.begin(), best - lines.begin());
    Board start;
    SetUpStartingPosition(start);
    EXPECT_TRUE(IsLegalText(start, 2, MoveOf(*best)));
}

// The rule set decides whether a game has ended, and the exact levels play their fixed depth.
TEST(Uci, VariantAndLevelOptions) {
    const std::string kingTaken = "position fen 4k3/7p/8/8/8/8/8/4Q2K w - - 0 1 moves e1e8 h7h6\n";
    EXPECT_TRUE(HasLine(Converse(kingTaken),
                        "info string illegal move 'h7h6': the game is over; the position stays "
                        "as it was"));
    EXPECT_EQ(Converse("setoption name UCI_Variant value all-must-die\n" + kingTaken), "");

    Board board;
    SetUpStartingPosition(board);
    ApplyMove(board, *MoveFromText("d2d4"));
    const MoveWord hard = ChooseMove(board, 1, 6);
    const std::string out =
        Converse("setoption name Level value hard\nposition startpos moves d2d4\ngo movetime 5\n");
    EXPECT_EQ(LinesStartingWith(out, "bestmove "),
              std::vector<std::string>{"bestmove " + MoveToText(hard)});
}

}  // namespace
}  // namespace kelvane::cli
