// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <csignal>
#include <map>

#include "cli/board_text.h"
#include "cli/interrupt.h"
#include "cli/play_session.h"
#include "engine/search.h"
#include "engine/search_depth.h"
#include "game/messages.h"
#include "rules/move_generation.h"
#include "rules/notation.h"
#include "tests/cli/cli_test_util.h"

namespace kelvane::cli {
namespace {

// The moves announced with "<Side> plays ", in coordinates.
std::vector<std::string> Announced(const std::string& text, const std::string& side) {
    std::vector<std::string> moves;
    for (const std::string& line : Lines(text))
        if (line.rfind(side + " plays ", 0) == 0) moves.push_back(line.substr(side.size() + 7));
    return moves;
}

// Whether the last board printed in `said` is `board`.
bool LastBoardIs(const std::string& said, const Board& board, bool ascii = false) {
    const std::string text = BoardToText(board, ascii);
    const std::size_t at = said.rfind(text);
    return at != std::string::npos &&
           said.find(text.substr(text.size() - 18), at + text.size()) == std::string::npos;
}

// The session of the terminal front end, driven a line at a time.
struct Session {
    explicit Session(PlayOptions options = {}) : play(options, out, out) { play.Start(); }
    ~Session() { SetRulesVariant(kKingMustDie); }
    std::string Say(const std::string& line) {
        out.str("");
        play.Handle(line);
        return out.str();
    }
    const Board& GetBoard() const { return play.TheGame().GetBoard(); }
    std::ostringstream out;
    PlaySession play;
};

MoveWord SearchFor(Board board, Side side, int depth) {
    return ChooseMove(board, side, depth);
}

struct Outcome {
    std::string said;  // by White's last move
    Board board;
};

// White plays the first legal move until a result, or the search's move until a position
// occurs a third time with the same side to move. Every reply is the search's at Easy, the
// board shown is the game's, and "Draw by repetition." comes exactly at the third occurrence,
// with --draws only.
Outcome PlayOut(Session& session, bool searchWhite, bool draws) {
    Outcome game{"", session.GetBoard()};
    std::map<std::pair<Board, Side>, int> seen;
    ++seen[{game.board, 2}];
    for (int turn = 0; turn < 300; ++turn) {
        const std::string move = searchWhite ? MoveToText(SearchFor(game.board, 2, kDepthEasy))
                                             : Lines(session.Say("moves")).at(0).substr(0, 4);
        ApplyMove(game.board, *MoveFromText(move));
        game.said = session.Say(move);
        bool third = ++seen[{game.board, 1}] == 3;
        const bool over = HasLine(game.said, kHumanWonText) || HasLine(game.said, kComputerWonText);
        const std::vector<std::string> replies = Announced(game.said, "Black");
        EXPECT_EQ(replies.size(), (third && draws) || (over && replies.empty()) ? 0u : 1u);
        if (replies.size() == 1) {
            EXPECT_EQ(replies[0], MoveToText(SearchFor(game.board, 1, kDepthEasy)));
            ApplyMove(game.board, *MoveFromText(replies[0]));
            third = third || ++seen[{game.board, 2}] == 3;
        }
        EXPECT_EQ(HasLine(game.said, "Draw by repetition."), third && draws) << turn;
        if (over || (third && (draws || searchWhite))) return game;
        EXPECT_TRUE(LastBoardIs(game.said, game.board)) << game.said;
    }
    ADD_FAILURE() << "neither a result nor a repetition in 300 moves";
    return game;
}

TEST(CliPlay, AWholeGameAtEasyRepliesAsTheSearchAndIsWrittenInPgn) {
    ScopedTempDirectory scratch;
    Session session({.pgnFile = "game.pgn"});
    const Outcome game = PlayOut(session, false, false);
    const bool won = HasLine(game.said, kHumanWonText);
    ASSERT_TRUE(won || HasLine(game.said, kComputerWonText)) << game.said;
    const Board start = *BoardFromFen("rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR");
    EXPECT_EQ(session.GetBoard(), start);  // the next game has begun
    EXPECT_TRUE(LastBoardIs(game.said, start));
    const std::string pgn = ReadText("game.pgn");
    EXPECT_NE(pgn.find(won ? "[Result \"1-0\"]" : "[Result \"0-1\"]"), std::string::npos) << pgn;
    EXPECT_EQ(pgn.find("[SetUp"), std::string::npos);
    EXPECT_EQ(Cli({"replay", "game.pgn"}).out, BoardToFen(game.board) + "\n");
}

// White plays the depth-2 search's moves: the game falls into a cycle, which --draws ends at
// the third occurrence of a position, before the computer's reply when White's move makes it.
TEST(CliPlay, RepetitionIsADrawOnlyWithDraws) {
    int drawsByWhitesMove = 0;
    for (const char* start : {"computer", "new"}) {
        for (const bool draws : {true, false}) {
            Session session({.draws = draws, .pgnFile = ""});
            session.Say(start);
            const Outcome game = PlayOut(session, true, draws);
            EXPECT_EQ(HasLine(game.said, "New game: you play White."), draws);
            drawsByWhitesMove += draws && Announced(game.said, "Black").empty();
            // Autoplay from the start falls into a cycle at Easy as well.
            session.Say("new");
            EXPECT_EQ(HasLine(session.Say("autoplay 200"), "Draw by repetition."), draws);
        }
    }
    EXPECT_GT(drawsByWhitesMove, 0);
}

TEST(CliPlay, UndoGoesBackToTheStartAndHintIsTheSearchsMove) {
    ScopedTempDirectory scratch;
    Session session({.pgnFile = "game.pgn"});
    const Board start = session.GetBoard();
    EXPECT_EQ(session.Say("hint"), "Hint: " + MoveToText(SearchFor(start, 2, kHintDepth)) + "\n");
    session.Say("a2a3");
    session.Say(Lines(session.Say("moves")).at(0).substr(0, 4));
    session.Say("undo");
    EXPECT_TRUE(LastBoardIs(session.Say("undo"), start));
    EXPECT_EQ(session.GetBoard(), start);
    EXPECT_EQ(session.Say("undo"), "There is no move to take back.\n");
    // The record keeps only what was not taken back.
    session.Say("e2e3");
    const Board played = session.GetBoard();
    session.play.Finish();
    EXPECT_NE(ReadText("game.pgn").find("\n1. e3 "), std::string::npos) << ReadText("game.pgn");
    EXPECT_EQ(Cli({"replay", "game.pgn"}).out, BoardToFen(played) + "\n");
}

TEST(CliPlay, LevelRulesAutoplayAndMalformedLines) {
    Session session;
    const std::string board = session.Say("board");
    for (const char* line :
         {"e2e9", "xyz", "e2-e4", "level", "autoplay x", "autoplay 0", "moves now", "\x01\x1b[2J",
          "\xc2\x9b\x9b", "rules", "level genius", "rules queen"}) {
        const std::vector<std::string> said = Lines(session.Say(line));
        ASSERT_EQ(said.size(), 1u) << line;
        EXPECT_TRUE(
            (said[0].find("Unknown input") == 0 || said[0].find(" takes ") != std::string::npos) &&
            said[0].find_first_of("\x1b\x9b") == std::string::npos)
            << said[0];
    }
    EXPECT_EQ(session.Say("   "), "");
    // A long line is cut before a whole character.
    const std::string x39(39, 'x');
    EXPECT_EQ(session.Say(x39 + "\xc3\xa9").find(x39 + "...'."), 15u);
    EXPECT_EQ(session.Say("board"), board);
    EXPECT_EQ(session.Say("level medium"), "Level medium.\n");
    // Autoplay announces each move, ends with the result and begins the next game.
    const std::string said = session.Say("autoplay 1000");
    EXPECT_EQ(Announced(said, "Black").at(0), "g7g6");
    EXPECT_FALSE(Announced(said, "White").empty());
    EXPECT_TRUE(HasLine(said, kBlackWinsText) || HasLine(said, kWhiteWinsText)) << said;
    EXPECT_EQ(Lines(said).rbegin()[9], "New game: you play White.");
    Board after = session.GetBoard();
    ApplyMove(after, *MoveFromText("e2e3"));
    EXPECT_EQ(Announced(session.Say("e2e3"), "Black").at(0),
              MoveToText(SearchFor(after, 1, kDepthMedium)));
    EXPECT_EQ(session.Say("rules all"), "Rules: all must die.\n");
    EXPECT_EQ(GetRulesVariant(), kAllMustDie);
    EXPECT_EQ(session.Say("level hard"), "Level hard.\n");
    EXPECT_EQ(GetSearchDepth(), kDepthHard);
}

// Save and load round trip; a bad file is refused; refused moves say why and list the
// compulsory captures.
TEST(CliPlay, SaveLoadAndRefusedMoves) {
    ScopedTempDirectory scratch;
    Session session({.ascii = true, .pgnFile = ""});
    session.Say("e2e3");
    const Board played = session.GetBoard();
    EXPECT_EQ(session.Say("save"), "Saved the position to game.sav.\n");
    session.Say("new");
    EXPECT_TRUE(LastBoardIs(session.Say("load"), played, true));
    EXPECT_EQ(session.GetBoard(), played);
    WriteText("game.sav", "not a game");
    const std::string refused = session.Say("load");
    EXPECT_TRUE(Lines(refused).size() == 1 && refused.find("game.sav") != std::string::npos)
        << refused;
    EXPECT_EQ(session.GetBoard(), played);
    std::filesystem::remove("game.sav");
    EXPECT_EQ(session.Say("load"), "There is no saved game (game.sav) here.\n");
    const Board loaded = *BoardFromFen("4k3/8/8/8/8/2p1p3/3P4/R3K3");
    WriteText("game.sav", std::string(reinterpret_cast<const char*>(loaded.data()), 64));
    session.Say("load");
    const std::pair<const char*, const char*> rows[] = {
        {"a1a5", "You must capture: d2c3 d2e3\n"},
        {"a1b3", "Your rook on a1 cannot go to b3.\nYou must capture: d2c3 d2e3\n"},
        {"c3c2", "There is no piece of yours on c3.\n"},
        {"d2", "Pawn on d2: d2c3 d2e3\n"},
        {"a1", "Rook on a1 has no legal move.\nYou must capture: d2c3 d2e3\n"},
        {"moves", "d2c3 d2e3\n"}};
    for (const auto& [line, expected] : rows) EXPECT_EQ(session.Say(line), expected) << line;
    EXPECT_EQ(session.GetBoard(), loaded);
    EXPECT_NE(session.Say("board").find("4 . . . . . . . .\n3 . . p . p . . .\n2 . . . P"),
              std::string::npos);
}

TEST(CliPlay, EndOfInputQuitAndCtrlCEndTheSessionAndWriteTheGame) {
    ScopedTempDirectory scratch;
    std::ostringstream out;
    std::istringstream script("e2e3\nquit\ne3e4\n");
    EXPECT_EQ(*RunPlay({.pgnFile = "games.pgn"}, script, out, out), 0);
    EXPECT_EQ(Announced(out.str(), "Black").size(), 1u);
    const std::string text = ReadText("games.pgn");
    EXPECT_NE(text.find("[Result \"*\"]"), std::string::npos);
    EXPECT_NE(text.find("1. e3 "), std::string::npos);
    CatchInterrupt();
    std::raise(SIGINT);
    std::istringstream unread("e2e3\n");
    std::ostringstream interrupted;
    EXPECT_EQ(*RunPlay({}, unread, interrupted, interrupted), kExitInterrupted);
    EXPECT_TRUE(Announced(interrupted.str(), "Black").empty());
    ClearInterrupt();
}

}  // namespace
}  // namespace kelvane::cli
