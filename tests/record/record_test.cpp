// SPDX-License-Identifier: GPL-3.0-or-later
// A game's record: the draw rules, and PGN as other programs write it and as this one does.
#include <gtest/gtest.h>

#include <ctime>
#include <sstream>

#include "game/messages.h"
#include "record/game_record.h"
#include "record/pgn_reader.h"
#include "record/pgn_writer.h"
#include "rules/notation.h"
#include "rules/san.h"

namespace kelvane {
namespace {

Board FromFen(const char* fen) {
    return *BoardFromFen(fen);
}

// White's king goes a1-b1 and back, Black's round the triangle h8-g8-h7: the kings stand as at
// the start every 6 plies, but with the same side to move only every 12.
TEST(GameRecord, RepetitionCountsOnlyPositionsWithTheSameSideToMove) {
    GameRecord record;
    record.Start(FromFen("7k/8/8/8/8/8/8/K7"), true);
    const char* white[] = {"a1b1", "b1a1"};
    const char* black[] = {"h8g8", "g8h7", "h7h8"};
    for (int ply = 1; ply <= 24; ++ply) {
        const bool whites = ply % 2 == 1;
        record.Add(whites ? 2 : 1,
                   *MoveFromText(whites ? white[(ply / 2) % 2] : black[(ply / 2 - 1) % 3]));
        EXPECT_EQ(record.DrawByRule(), ply == 24 ? Draw::Repetition : Draw::None) << ply;
    }
    EXPECT_EQ(BoardToFen(record.Current()), "7k/8/8/8/8/8/8/K7");
}

TEST(GameRecord, FiftyMovesOfEachSideWithoutCaptureOrPawnMoveAreADraw) {
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
            record.Add(
                2, move == pawnMove ? *MoveFromText("h7h8") : PackMove(path[step], path[step + 1]));
            step += move == pawnMove ? 0 : 1;
            EXPECT_EQ(record.DrawByRule(), Draw::None) << move;
            record.Add(1, *MoveFromText(move % 2 == 0 ? "a8b8" : "b8a8"));
            const bool fifty = move == 49 && pawnMove < 0;
            EXPECT_EQ(record.DrawByRule(), fifty ? Draw::FiftyMoves : Draw::None) << move;
        }
    }
    EXPECT_STREQ(DrawText(Draw::Repetition), "Draw by repetition.");
    EXPECT_STREQ(DrawText(Draw::FiftyMoves), "Draw by the fifty-move rule.");
}

// Each game as "tag=value,...|moves|result", or the reader's reason.
std::string Read(const std::string& text) {
    PgnReader reader(text);
    std::string games;
    for (;;) {
        const Result<std::optional<PgnGame>> game = reader.Next();
        if (!game) return games + "error: " + game.reason();
        if (!*game) return games;
        for (const auto& [name, value] : (*game)->tags) games += name + "=" + value + ",";
        games += "|";
        for (const std::string& move : (*game)->moves) games += move + " ";
        games += "|" + (*game)->result + "\n";
    }
}

TEST(PgnReader, ReadsWhatRealFilesHold) {
    const std::pair<const char*, const char*> rows[] = {
        {"[Event \"a \\\"b\\\" \\\\ c\"]\n[Site \"x\"]\n\n1. e4 $1 e5!? 2. Nf3 {a {comment} ; to "
         "the end ( of the line\nNc6 (2... d6 (2... f6 3. c3) 3. d4) 3. Bb5 1-0\n",
         "Event=a \"b\" \\ c,Site=x,|e4 e5!? Nf3 Nc6 Bb5 |1-0\n"},
        {"[Event \"x\"]\r\n[Date \"2024.01.31\"]\r\n\r\n1. e4 e5\r\n2. a3 *\r\n",
         "Event=x,Date=2024.01.31,|e4 e5 a3 |*\n"},
        {"% a line for the program\n1.d4 d5 2.c4 1/2-1/2", "|d4 d5 c4 |1/2-1/2\n"},
        {"[FEN \"8/8/8/8/8/8/8/K6k b - - 0 1\"]\n1... Kg1 2. Kb1 0-1",
         "FEN=8/8/8/8/8/8/8/K6k b - - 0 1,|Kg1 Kb1 |0-1\n"},
        {"1. e4 1-0\n\n[Event \"2\"]\n1. d4\n", "|e4 |1-0\nEvent=2,|d4 |*\n"},
        {"* 1-0\n1. e3 *", "|e3 |*\n"},
        {"1. e3 { never closed\n2. e4 *", "error: line 1: the comment is never closed"},
        {"1. e3 (1. e4 e5\n\n2. d4 *", "error: line 1: the variation is never closed"},
        {"[Event \"x\"]\n[Site \"y\n1. e4 *", "error: line 2: the tag is cut short or malformed"},
        {"1. e4\n2. e5\x01 *", "error: line 2 is not text"},
        {"", "error: there is no game in it"},
    };
    for (const auto& [text, expected] : rows) EXPECT_EQ(Read(text), expected) << text;
}

std::string Today() {
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    std::ostringstream date;
    date << local.tm_year + 1900 << '.' << (local.tm_mon < 9 ? "0" : "") << local.tm_mon + 1 << '.'
         << (local.tm_mday < 10 ? "0" : "") << local.tm_mday;
    return date.str();
}

// The seven tags in their order, the rules, the set-up position when the game did not begin
// from the start with White; quotes and backslashes escaped; lines of at most 79 characters.
// A remark between White's move and Black's: Black's move keeps its number.
TEST(PgnWriter, ARemarkBeforeBlacksMoveKeepsItsNumber) {
    GameRecord record;
    Board start;
    SetUpStartingPosition(start);
    record.Start(start, false);
    record.Add(2, *MoveFromText("g2g3"));
    record.Remark("Level medium");
    record.Add(1, *MoveFromText("a7a6"));
    record.Add(2, *MoveFromText("e2e3"));
    const std::string pgn =
        FormatPgn(record, {"E", "1", "W", "B", kKingMustDie, "unterminated"}, "*");
    EXPECT_NE(pgn.find("\n1. g3 {Level medium} 1... a6 2. e3 *\n"), std::string::npos) << pgn;
}

TEST(PgnWriter, WritesTheTagsInOrderAndTheMovesAsSan) {
    GameRecord record;
    record.Start(FromFen("8/2P5/8/R7/8/8/8/RN3N1n"), true);
    Side side = 2;
    for (const char* move :
         {"a1a3", "h1f2", "c7c8", "f2h1", "b1d2", "h1f2", "c8c2", "f2d1", "c2d1"}) {
        record.Add(side, *MoveFromText(move));
        side = Opponent(side);
    }
    const std::string date = Today();
    const std::string pgn = FormatPgn(
        record, {"My \"club\"", "7", "A\\B", "C", kAllMustDie, "last piece taken"}, "1-0");
    // The seven tags first and in order; other tags may follow them.
    EXPECT_EQ(pgn.substr(0, pgn.find("[Variant")),
              "[Event \"My \\\"club\\\"\"]\n[Site \"Kelvane\"]\n[Date \"" + date +
                  "\"]\n[Round \"7\"]\n[White \"A\\\\B\"]\n[Black \"C\"]\n[Result \"1-0\"]\n");
    for (const char* line :
         {"\n[Variant \"Losing chess, All must die\"]\n", "\n[Termination \"last piece taken\"]\n",
          "\n[SetUp \"1\"]\n", "\n[FEN \"8/2P5/8/R7/8/8/8/RN3N1n w - - 0 1\"]\n",
          "\n\n1. R1a3 Nf2 2. c8=Q Nh1 3. Nbd2 Nf2 4. Qc2 Nd1 5. Qxd1 1-0\n"})
        EXPECT_NE(pgn.find(line), std::string::npos) << line << pgn;
    const std::string read = Read(pgn);
    EXPECT_EQ(
        read.substr(0, read.find(",Variant=")),
        "Event=My \"club\",Site=Kelvane,Date=" + date + ",Round=7,White=A\\B,Black=C,Result=1-0");
    EXPECT_EQ(read.substr(read.find('|')), "|R1a3 Nf2 c8=Q Nh1 Nbd2 Nf2 Qc2 Nd1 Qxd1 |1-0\n");

    // From the start with Black first: set up, "1...", and long games wrapped.
    Board start;
    SetUpStartingPosition(start);
    record.Start(start, false);
    record.Add(1, *MoveFromText("g7g6"));
    for (int i = 0; i < 30; ++i) {
        record.Add(2, *MoveFromText(i % 2 ? "f3g1" : "g1f3"));
        record.Add(1, *MoveFromText(i % 2 ? "f6g8" : "g8f6"));
    }
    const std::string longGame =
        FormatPgn(record, {"E", "1", "W", "B", kKingMustDie, "unterminated"}, "*");
    for (const char* line :
         {"\n[Variant \"Losing chess, King must die\"]\n",
          "\n[SetUp \"1\"]\n[FEN \"rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR b - - "
          "0 1\"]\n",
          "\n\n1... g6 2. Nf3 Nf6 3. Ng1 Ng8 4. Nf3"})
        EXPECT_NE(longGame.find(line), std::string::npos) << line << longGame;
    std::istringstream lines(longGame);
    int moveLines = 0;
    for (std::string line; std::getline(lines, line);) {
        EXPECT_LE(line.size(), 79u) << line;
        moveLines += !line.empty() && line[0] != '[';
    }
    EXPECT_EQ(moveLines, 5);
    EXPECT_NE(longGame.find(" 31. Ng1 Ng8 *\n"), std::string::npos) << longGame;
}

}  // namespace
}  // namespace kelvane
