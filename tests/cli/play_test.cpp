// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <map>

#include "cli/board_text.h"
#include "cli/play_session.h"
#include "engine/search.h"
#include "engine/search_depth.h"
#include "rules/move_generation.h"
#include "rules/notation.h"
#include "tests/cli/cli_test_util.h"

namespace kelvane::cli {
namespace {

constexpr const char* kStart = "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR";

// The moves announced with "<Side> plays ", in coordinates.
std::vector<std::string> Announced(const std::string& text, const std::string& side) {
    std::vector<std::string> moves;
    for (const std::string& line : Lines(text))
        if (line.rfind(side + " plays ", 0) == 0) moves.push_back(line.substr(side.size() + 7, 4));
    return moves;
}

// The line that gives a finished game's result, or "".
std::string ResultLine(const std::string& text) {
    for (const std::string& line : Lines(text))
        for (const char* start : {"I won: ", "You won: ", "White won: ", "Black won: ", "Draw by "})
            if (line.rfind(start, 0) == 0) return line;
    return "";
}

// Whether the last board printed in `said` is `board` seen from `bottom`'s side, whatever square
// is marked.
bool LastBoardIs(std::string said, const Board& board, bool ascii = false, Side bottom = 2) {
    for (std::size_t at; (at = said.find("]\n")) != std::string::npos;) said.erase(at, 1);
    for (char& c : said)
        if (c == '[' || c == ']') c = ' ';
    const std::string text = BoardToText(board, {ascii, bottom, std::nullopt});
    const std::size_t at = said.rfind(text);
    return at != std::string::npos &&
           said.find(text.substr(text.size() - 18), at + text.size()) == std::string::npos;
}

// The session of the terminal front end, driven a line at a time.
struct Session {
    explicit Session(PlayOptions options = {}) : play(options, out, out) {
        play.Start();
        started = out.str();
    }
    ~Session() { SetRulesVariant(kKingMustDie); }
    std::string Say(const std::string& line) {
        out.str("");
        play.Handle(line);
        return out.str();
    }
    const Board& GetBoard() const { return play.TheGame().GetBoard(); }
    std::ostringstream out;
    PlaySession play;
    std::string started;
};

MoveWord SearchFor(Board board, Side side, int depth) {
    return ChooseMove(board, side, depth);
}

Board Fen(const char* fen) {
    return *BoardFromFen(fen);
}

void WriteSavedGame(const char* fen) {
    const Board board = Fen(fen);
    WriteText("game.sav", std::string(reinterpret_cast<const char*>(board.data()), 64));
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
        const bool over = ResultLine(game.said).find(" won: ") != std::string::npos;
        const std::vector<std::string> replies = Announced(game.said, "Black");
        EXPECT_EQ(replies.size(), (third && draws) || (over && replies.empty()) ? 0u : 1u);
        if (replies.size() == 1) {
            ApplyMove(game.board, *MoveFromText(replies[0]));
            third = third || ++seen[{game.board, 2}] == 3;
        }
        EXPECT_EQ(ResultLine(game.said) == "Draw by repetition. 1/2-1/2", third && draws) << turn;
        EXPECT_TRUE(LastBoardIs(game.said, game.board)) << game.said;
        if (over || (third && (draws || searchWhite))) return game;
    }
    ADD_FAILURE() << "neither a result nor a repetition in 300 moves";
    return game;
}

TEST(CliPlay, AWholeGameAtEasyRepliesAsTheSearchStaysOnTheBoardAndIsWrittenInPgn) {
    ScopedTempDirectory scratch;
    Session session({.pgnFile = "game.pgn"});
    EXPECT_EQ(session.play.Prompt(), "1. White to move> ");
    const Outcome game = PlayOut(session, false, false);
    const std::string result = ResultLine(game.said);
    const std::string score = result.substr(result.size() - 3);
    // The winner, read from the final board: the side whose king is gone, or White left without
    // a move after Black's reply.
    const bool won = result.rfind("You won: ", 0) == 0;
    ASSERT_TRUE(won || result.rfind("I won: ", 0) == 0) << game.said;
    const bool blackKing = std::count(game.board.begin(), game.board.end(), kBlackKing) > 0;
    const bool whiteKing = std::count(game.board.begin(), game.board.end(), kWhiteKing) > 0;
    MoveList list;
    const bool whiteWins = !whiteKing || (blackKing && GenerateMoves(game.board, list, 2) < 0);
    EXPECT_EQ(won, whiteWins) << BoardToFen(game.board);
    EXPECT_EQ(score, won ? "1-0" : "0-1") << result;
    // The final position stays until the next game.
    EXPECT_EQ(session.GetBoard(), game.board);
    EXPECT_EQ(session.play.Prompt(), "Game over> ");
    EXPECT_EQ(session.Say("hint"),
              "The game is over (" + score + "): type new for another, or undo.\n");
    EXPECT_TRUE(LastBoardIs(session.Say("new"), Fen(kStart)));
    const std::string pgn = ReadText("game.pgn");
    EXPECT_NE(pgn.find("[Result \"" + score + "\"]"), std::string::npos) << pgn;
    EXPECT_NE(pgn.find("[White \"Human\"]\n[Black \"Kelvane, easy\"]"), std::string::npos);
    EXPECT_EQ(pgn.find("[SetUp"), std::string::npos);
    EXPECT_EQ(Cli({"replay", "game.pgn"}).out,
              "game 1: " + score + " " + BoardToFen(game.board) + "\n");
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
            EXPECT_EQ(session.play.Prompt() == "Game over> ", draws);
            drawsByWhitesMove += draws && Announced(game.said, "Black").empty();
            // Autoplay from the start falls into a cycle at Easy as well.
            session.Say("new");
            EXPECT_EQ(ResultLine(session.Say("autoplay 300")) == "Draw by repetition. 1/2-1/2",
                      draws);
        }
    }
    EXPECT_GT(drawsByWhitesMove, 0);
}

TEST(CliPlay, UndoGoesBackToTheStartAndHintIsTheSearchsMove) {
    ScopedTempDirectory scratch;
    Session session({.pgnFile = "game.pgn"});
    const Board start = session.GetBoard();
    EXPECT_EQ(session.Say("hint"), "Hint: g2g3\n");
    session.Say("a2a3");
    session.Say(Lines(session.Say("moves")).at(0).substr(0, 4));
    EXPECT_EQ(session.play.Prompt(), "3. White to move> ");
    session.Say("undo");
    EXPECT_TRUE(LastBoardIs(session.Say("undo"), start));
    EXPECT_EQ(session.GetBoard(), start);
    EXPECT_EQ(session.Say("undo"), "There is no move to take back.\n");
    // The record keeps only what was not taken back.
    session.Say("e3");
    const Board played = session.GetBoard();
    session.play.Finish();
    const std::string pgn = ReadText("game.pgn");
    EXPECT_NE(pgn.find("\n1. e3 "), std::string::npos) << pgn;
    EXPECT_NE(pgn.find("[Termination \"unterminated\"]"), std::string::npos) << pgn;
    EXPECT_EQ(Cli({"replay", "game.pgn"}).out, "game 1: * " + BoardToFen(played) + "\n");
}

// A finished game stays with its reason and score; undo takes the last move back from there.
TEST(CliPlay, TheEndOfAGameGivesItsReasonAndUndoGoesOnFromIt) {
    ScopedTempDirectory scratch;
    Session session({.ascii = true, .pgnFile = ""});
    WriteSavedGame("k7/8/8/8/8/8/8/R6K");
    session.Say("load");
    const std::string said = session.Say("Rxa8");
    EXPECT_EQ(Lines(said).back(), "I won: you took my king. 0-1");
    EXPECT_NE(said.find("8[R]. . . . . . .\n"), std::string::npos) << said;
    EXPECT_EQ(session.play.Prompt(), "Game over> ");
    EXPECT_EQ(Lines(session.Say("a8b8")).size(), 1u);
    session.Say("undo");
    EXPECT_EQ(session.GetBoard(), Fen("k7/8/8/8/8/8/8/R6K"));
    EXPECT_EQ(session.play.Prompt(), "1. White to move> ");
    EXPECT_EQ(session.Say("resign"), "I won: you resigned. 0-1\n");
    EXPECT_EQ(session.play.Prompt(), "Game over> ");
}

TEST(CliPlay, CommandsAnswerInOneLine) {
    Session session;
    const std::string board = session.Say("board");
    const std::pair<const char*, const char*> rows[] = {
        {"xyz", "Unknown input 'xyz': type ? for help."},
        {"moves now", "Unknown input 'moves now': type ? for help."},
        {"\x01\x1b[2J", "Unknown input '\\x01\\x1b[2J': type ? for help."},
        {"\xc2\x9b\x9b", "Unknown input '\\xc2\\x9b\\x9b': type ? for help."},
        {"level", "Level easy."},
        {"rules", "Rules: king must die."},
        {"level genius", "level takes easy, medium, hard or expert."},
        {"rules queen", "rules takes king or all."},
        {"new purple", "new takes white or black."},
        {"board maybe", "board takes on or off."},
        {"autoplay 0", "autoplay takes a number of moves, 1 to 100000."},
        {"last", "No move has been played in this game yet."},
        {"O-O", "There is no castling in this game."},
        {"e7e8n", "A pawn always becomes a queen in this game."},
        {"e2e5", "Your pawn on e2 cannot go to e5."},
        {"board off", "The board is shown on request."},
        {"level medium", "Level medium."}};
    for (const auto& [line, expected] : rows)
        EXPECT_EQ(session.Say(line), std::string(expected) + "\n") << line;
    EXPECT_EQ(session.Say("   "), "");
    EXPECT_EQ(Lines(session.Say("?")).front(), "You play White, the computer Black.");
    // A long line is cut before a whole character.
    const std::string x39(39, 'x');
    EXPECT_EQ(session.Say(x39 + "\xc3\xa9").find(x39 + "...'"), 15u);
    EXPECT_EQ(session.Say("board"), board);
    // Standard notation; the reply at the new level; with the board off, two lines.
    Board after = session.GetBoard();
    ApplyMove(after, *MoveFromText("g1f3"));
    const std::string said = session.Say("Nf3");
    EXPECT_EQ(Lines(said).size(), 2u) << said;
    EXPECT_EQ(Lines(said)[0], "White plays g1f3 (Nf3): knight from g1 to f3.");
    EXPECT_EQ(Announced(said, "Black").at(0), MoveToText(SearchFor(after, 1, kDepthMedium)));
    EXPECT_EQ(session.Say("last"), "Last move: " + Lines(said)[1] + "\n");
    EXPECT_EQ(session.Say("rules all"), "Rules: all must die.\n");
    EXPECT_EQ(GetRulesVariant(), kAllMustDie);
    EXPECT_FALSE(session.play.Handle("exit"));
}

// Either colour, the board from the player's side, and the computer's moves on demand.
TEST(CliPlay, BlackGoAndAutoplayFromTheSideToMove) {
    Session session({.humanSide = 1, .ascii = true});
    const Board start = Fen(kStart);
    const std::string opening = MoveToText(SearchFor(start, 2, kDepthEasy));
    EXPECT_EQ(Announced(session.started, "White"), std::vector<std::string>{opening});
    EXPECT_NE(session.started.find("1 R N B K Q B N R\n"), std::string::npos) << session.started;
    EXPECT_EQ(session.play.Prompt(), "1. Black to move> ");
    // go plays the player's side once; autoplay goes on from the side to move.
    EXPECT_EQ(Announced(session.Say("go"), "Black").size(), 1u);
    EXPECT_EQ(session.play.Prompt(), "2. White to move> ");
    const std::string two = session.Say("autoplay 2");
    EXPECT_EQ(Announced(two, "White").size() + Announced(two, "Black").size(), 2u);
    EXPECT_LT(two.find("White plays"), two.find("Black plays"));
    EXPECT_EQ(session.play.Prompt(), "3. White to move> ");

    EXPECT_EQ(Lines(session.Say("new white")).front(), "New game: you play White.");
    EXPECT_EQ(session.play.Prompt(), "1. White to move> ");
    EXPECT_EQ(Announced(session.Say("computer"), "Black"), std::vector<std::string>{"g7g6"});
    EXPECT_EQ(session.play.Prompt(), "2. White to move> ");
    Session opening2({.computerStarts = true});
    EXPECT_EQ(Announced(opening2.Say("new"), "Black"), std::vector<std::string>{"g7g6"});
}

// Tags hold what the game began with; a level change is a comment, a rules change a new
// record, and the computer is named for every side it moved.
TEST(CliPlay, RecordsTellWhoMovedAndHowTheGameEnded) {
    ScopedTempDirectory scratch;
    {
        Session session({.pgnFile = "games.pgn"});
        const auto firstMove = [&] { return Lines(session.Say("moves")).at(0).substr(0, 4); };
        session.Say("e3");
        session.Say("level medium");
        session.Say(firstMove());
        session.Say("rules all");
        session.Say(firstMove());
        session.Say("autoplay 2");
        session.Say("resign");
        session.play.Finish();
    }
    const std::string pgn = ReadText("games.pgn");
    const std::size_t second = pgn.find("[Event", 1);
    const std::string first = pgn.substr(0, second);
    for (const char* tag : {"[White \"Human\"]", "[Black \"Kelvane, easy\"]", "[Result \"*\"]",
                            "[Variant \"Losing chess, King must die\"]",
                            "[Termination \"unterminated\"]", "{Level medium} 2. "})
        EXPECT_NE(first.find(tag), std::string::npos) << tag << "\n" << first;
    for (const char* tag : {"[White \"Human and Kelvane, medium\"]", "[Black \"Kelvane, medium\"]",
                            "[Result \"0-1\"]", "[Variant \"Losing chess, All must die\"]",
                            "[Termination \"resignation\"]", "[SetUp \"1\"]"})
        EXPECT_NE(pgn.find(tag, second), std::string::npos) << tag << "\n" << pgn;
    const CliRun replayed = Cli({"replay", "games.pgn"});
    EXPECT_EQ(replayed.status, 0) << replayed.err;
    EXPECT_EQ(Lines(replayed.out).size(), 2u);
    EXPECT_EQ(Lines(replayed.out)[1].substr(0, 12), "game 2: 0-1 ");
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
    const char* loaded = "4k3/8/8/8/8/2p1p3/3P4/R3K3";
    WriteSavedGame(loaded);
    session.Say("load");
    const std::pair<const char*, const char*> rows[] = {
        {"a1a5", "You must capture: d2c3 d2e3\n"},
        {"Ra5", "You must capture: d2c3 d2e3\n"},
        {"a1b3", "Your rook on a1 cannot go to b3.\nYou must capture: d2c3 d2e3\n"},
        {"c3c2", "There is no piece of yours on c3.\n"},
        {"d2", "Pawn on d2: d2c3 d2e3\n"},
        {"a1", "Rook on a1 has no legal move.\nYou must capture: d2c3 d2e3\n"},
        {"moves", "d2c3 d2e3\n"}};
    for (const auto& [line, expected] : rows) EXPECT_EQ(session.Say(line), expected) << line;
    EXPECT_EQ(session.GetBoard(), Fen(loaded));
    EXPECT_NE(session.Say("board").find("4 . . . . . . . .\n3 . . p . p . . .\n2 . . . P"),
              std::string::npos);
}

// A line of more than 4096 bytes is said to be too long, once, and not read further; the line
// after it is played, and one that ends the input without a newline is read as well.
TEST(CliPlay, ALineTooLongIsRefusedOnceAndTheNextLineIsPlayed) {
    const std::string padded = "board" + std::string(4096 - 5, ' ');
    const std::pair<std::string, bool> rows[] = {
        {padded, false}, {padded + " ", true}, {std::string(600000, 'x'), true}};
    for (const auto& [line, refused] : rows) {
        for (const std::string after : {"\ne2e3", ""}) {
            std::istringstream script(line + after);
            std::ostringstream out;
            EXPECT_EQ(*RunPlay({}, script, out, out), 0);
            const std::vector<std::string> said = Lines(out.str());
            EXPECT_EQ(std::ranges::count(said, "Input line too long (over 4096 bytes): ignored."),
                      refused ? 1 : 0);
            // The boards: at the start, for board, and once the move and its reply are made.
            EXPECT_EQ(std::ranges::count(said, "  a b c d e f g h"), 1 + !refused + !after.empty());
            EXPECT_EQ(Announced(out.str(), "Black").size(), after.empty() ? 0u : 1u);
        }
    }
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
}

}  // namespace
}  // namespace kelvane::cli
