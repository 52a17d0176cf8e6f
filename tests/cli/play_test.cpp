#include <gtest/gtest.h>
#include <unistd.h>

#include <csignal>
#include <filesystem>
#include <fstream>
#include <map>
#include <memory>
#include <sstream>

#include "cli/board_text.h"
#include "cli/interrupt.h"
#include "cli/play_session.h"
#include "cli/replay.h"
#include "engine/search.h"
#include "engine/search_depth.h"
#include "game/messages.h"
#include "rules/move_generation.h"
#include "rules/notation.h"

namespace kelvane::cli {
namespace {

namespace fs = std::filesystem;

std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    return lines;
}

// The moves announced with "<Side> plays ", in coordinates.
std::vector<std::string> Announced(const std::string& text, std::string_view side) {
    std::vector<std::string> moves;
    const std::string prefix = std::string(side) + " plays ";
    for (const std::string& line : Lines(text)) {
        if (line.rfind(prefix, 0) == 0) moves.push_back(line.substr(prefix.size()));
    }
    return moves;
}

bool HasLine(const std::string& text, std::string_view wanted) {
    for (const std::string& line : Lines(text)) {
        if (line == wanted) return true;
    }
    return false;
}

// The last board printed, as its nine lines.
std::string LastBoard(const std::string& text) {
    const std::size_t files = text.rfind("  a b c d e f g h\n");
    if (files == std::string::npos) return {};
    std::size_t start = files;
    for (int line = 0; line < 9 && start != std::string::npos; ++line)
        start = text.rfind('\n', start - 1);
    return text.substr(start + 1, files + 18 - start - 1);
}

// The session of the terminal front end, driven a line at a time.
class Session {
  public:
    explicit Session(PlayOptions options = {}) : session_(options, out_) {
        session_.Start();
        seen_ = out_.str().size();
    }
    ~Session() { SetRulesVariant(kKingMustDie); }
    // What the line made the program print.
    std::string Say(const std::string& line) {
        session_.Handle(line);
        std::string said = out_.str().substr(seen_);
        seen_ = out_.str().size();
        return said;
    }
    const Board& GetBoard() const { return session_.TheGame().GetBoard(); }
    void Finish() { session_.Finish(); }

  private:
    std::ostringstream out_;
    PlaySession session_;
    std::size_t seen_ = 0;
};

// A fresh directory as the current one for the test's lifetime; the user's files are never
// touched.
class InTempDir {
  public:
    InTempDir()
        : old_(fs::current_path()),
          dir_(fs::temp_directory_path() /
               ("kelvane-play-" + std::to_string(getpid()) + "-" + std::to_string(++count_))) {
        fs::create_directories(dir_);
        fs::current_path(dir_);
    }
    ~InTempDir() {
        fs::current_path(old_);
        fs::remove_all(dir_);
    }

  private:
    static inline int count_ = 0;
    fs::path old_;
    fs::path dir_;
};

void WriteSavedGame(const std::string& fen) {
    const Result<Board> board = BoardFromFen(fen);
    ASSERT_TRUE(board.ok()) << board.reason();
    std::ofstream("game.sav", std::ios::binary)
        .write(reinterpret_cast<const char*>(board->data()), 64);
}

PlayOptions Options(int depth, bool ascii, bool draws, std::string pgnFile = "") {
    PlayOptions options;
    options.depth = depth;
    options.ascii = ascii;
    options.draws = draws;
    options.pgnFile = std::move(pgnFile);
    return options;
}

MoveWord SearchFor(Board board, Side side, int depth) {
    return Search(board, 1, side, depth, kRootBound, 1);
}

std::string FirstLegalMove(Session& session) {
    return Lines(session.Say("moves")).at(0).substr(0, 4);
}

std::string ReadFile(const std::string& name) {
    std::ifstream file(name);
    return {std::istreambuf_iterator<char>(file), {}};
}

// The placements replay prints for a PGN file.
std::string Replayed(const std::string& pgnFile) {
    const Result<std::vector<std::string>> placements = ReplayPgnFile(pgnFile);
    EXPECT_TRUE(placements.ok()) << placements.reason();
    return placements.ok() && !placements->empty() ? placements->back() : std::string();
}

TEST(CliPlay, AWholeGameAtEasyRepliesAsTheSearchAtDepthTwo) {
    InTempDir temp;
    Session session(Options(kDepthEasy, false, false, "game.pgn"));
    Board board = session.GetBoard();
    std::string said;
    for (int turn = 0; turn < 300; ++turn) {
        const std::string move = FirstLegalMove(session);
        ApplyMove(board, *MoveFromText(move));
        said = session.Say(move);
        const std::vector<std::string> replies = Announced(said, "Black");
        ASSERT_LE(replies.size(), 1u) << said;
        if (!replies.empty()) {
            EXPECT_EQ(replies[0], MoveToText(SearchFor(board, 1, kDepthEasy)));
            ApplyMove(board, *MoveFromText(replies[0]));
        }
        if (HasLine(said, kHumanWonText) || HasLine(said, kComputerWonText)) break;
        ASSERT_EQ(replies.size(), 1u) << said;
        ASSERT_EQ(LastBoard(said), BoardToText(board, false));
    }
    TestEndOfGame(board, kKingMustDie);
    const bool won = HasLine(said, kHumanWonText);
    ASSERT_TRUE(won || HasLine(said, kComputerWonText)) << said;
    if (GetGameResult() != 0) {
        EXPECT_EQ(won, GetGameResult() == 2);
    }
    Board start;
    SetUpStartingPosition(start);
    EXPECT_EQ(session.GetBoard(), start);  // the next game has begun
    EXPECT_EQ(LastBoard(said), BoardToText(start, false));
    const std::string pgn = ReadFile("game.pgn");
    EXPECT_NE(pgn.find(won ? "[Result \"1-0\"]" : "[Result \"0-1\"]"), std::string::npos) << pgn;
    EXPECT_EQ(pgn.find("[SetUp"), std::string::npos);
    EXPECT_EQ(Replayed("game.pgn"), BoardToFen(board));
}

TEST(CliPlay, RefusedMovesSayWhyAndListTheCompulsoryCaptures) {
    InTempDir temp;
    WriteSavedGame("4k3/8/8/8/8/2p1p3/3P4/R3K3");
    Session session(Options(kDepthEasy, true, false));
    session.Say("load");
    const Board loaded = session.GetBoard();
    EXPECT_EQ(session.Say("a1a5"), "You must capture: d2c3 d2e3\n");
    EXPECT_EQ(session.Say("a1b3"),
              "Your rook on a1 cannot go to b3.\nYou must capture: d2c3 d2e3\n");
    EXPECT_EQ(session.Say("c3c2"), "There is no piece of yours on c3.\n");
    EXPECT_EQ(session.Say("d2"), "Pawn on d2: d2c3 d2e3\n");
    EXPECT_EQ(session.Say("a1"), "Rook on a1 has no legal move.\nYou must capture: d2c3 d2e3\n");
    EXPECT_EQ(session.Say("moves"), "d2c3 d2e3\n");
    EXPECT_EQ(session.GetBoard(), loaded);
    EXPECT_EQ(LastBoard(session.Say("board")), BoardToText(loaded, true));
    EXPECT_NE(session.Say("board").find("4 . . . . . . . .\n3 . . p . p . . .\n2 . . . P"),
              std::string::npos);
}

TEST(CliPlay, UndoGoesBackToTheStartAndHintIsTheSearchsMove) {
    InTempDir temp;
    Session session(Options(kDepthEasy, false, false, "game.pgn"));
    const Board start = session.GetBoard();
    EXPECT_EQ(session.Say("hint"), "Hint: " + MoveToText(SearchFor(start, 2, kHintDepth)) + "\n");
    session.Say(FirstLegalMove(session));
    session.Say(FirstLegalMove(session));
    EXPECT_NE(session.GetBoard(), start);
    session.Say("undo");
    EXPECT_EQ(LastBoard(session.Say("undo")), BoardToText(start, false));
    EXPECT_EQ(session.GetBoard(), start);
    EXPECT_EQ(session.Say("undo"), "There is no move to take back.\n");
    // The record keeps only what was not taken back.
    session.Say("e2e3");
    const Board played = session.GetBoard();
    session.Finish();
    const std::string pgn = ReadFile("game.pgn");
    EXPECT_NE(pgn.find("\n1. e3 "), std::string::npos) << pgn;
    EXPECT_EQ(pgn.find("[SetUp"), std::string::npos);
    EXPECT_EQ(Replayed("game.pgn"), BoardToFen(played));
}

TEST(CliPlay, LevelAndRulesChangeTheGame) {
    Session session;
    EXPECT_EQ(session.Say("level medium"), "Level medium.\n");
    EXPECT_EQ(GetSearchDepth(), kDepthMedium);
    Board board = session.GetBoard();
    ApplyMove(board, *MoveFromText("e2e3"));
    EXPECT_EQ(Announced(session.Say("e2e3"), "Black").at(0),
              MoveToText(SearchFor(board, 1, kDepthMedium)));
    EXPECT_EQ(session.Say("rules all"), "Rules: all must die.\n");
    EXPECT_EQ(GetRulesVariant(), kAllMustDie);
    EXPECT_EQ(session.Say("level hard"), "Level hard.\n");
    EXPECT_EQ(GetSearchDepth(), kDepthHard);
    EXPECT_EQ(session.Say("level expert"), "level takes easy, medium or hard.\n");
    EXPECT_EQ(session.Say("rules queen"), "rules takes king or all.\n");
    EXPECT_EQ(GetSearchDepth(), kDepthHard);
    EXPECT_EQ(GetRulesVariant(), kAllMustDie);
}

TEST(CliPlay, SaveAndLoadRoundTripAndABadFileIsRefused) {
    InTempDir temp;
    Session session;
    session.Say("e2e3");
    const Board played = session.GetBoard();
    EXPECT_EQ(session.Say("save"), "Saved the position to game.sav.\n");
    session.Say("new");
    EXPECT_NE(session.GetBoard(), played);
    EXPECT_EQ(LastBoard(session.Say("load")), BoardToText(played, false));
    EXPECT_EQ(session.GetBoard(), played);

    std::ofstream("game.sav", std::ios::binary).write("not a game", 10);
    const std::vector<std::string> refused = Lines(session.Say("load"));
    ASSERT_EQ(refused.size(), 1u);
    EXPECT_NE(refused[0].find("game.sav"), std::string::npos);
    EXPECT_EQ(session.GetBoard(), played);
    fs::remove("game.sav");
    EXPECT_EQ(session.Say("load"), "There is no saved game (game.sav) here.\n");
}

TEST(CliPlay, AutoplayAnnouncesEachMoveAndEndsWithTheResult) {
    Session session(Options(kDepthMedium, false, false));
    const std::string said = session.Say("autoplay 1000");
    const std::vector<std::string> black = Announced(said, "Black");
    ASSERT_FALSE(black.empty());
    EXPECT_EQ(black[0], "g7g6");
    EXPECT_FALSE(Announced(said, "White").empty());
    EXPECT_TRUE(HasLine(said, kBlackWinsText) || HasLine(said, kWhiteWinsText)) << said;
    const std::vector<std::string> lines = Lines(said);
    EXPECT_EQ(lines[lines.size() - 10], "New game: you play White.");
}

// White plays the depth-2 search's moves: the game falls into a cycle, which --draws ends at
// the third occurrence of a position, before the computer's reply when White's move makes it.
TEST(CliPlay, RepetitionIsADrawOnlyWithDraws) {
    int drawsByWhitesMove = 0;
    for (const char* start : {"computer", "new"}) {
        for (const bool draws : {true, false}) {
            Session session(Options(kDepthEasy, false, draws));
            session.Say(start);
            std::map<std::pair<Board, Side>, int> seen;
            Board board = session.GetBoard();
            Side toMove = 2;
            ++seen[{board, toMove}];
            bool repeated = false;
            std::string said;
            for (int ply = 0; ply < 80 && !repeated; ++ply) {
                if (toMove == 2) {
                    const MoveWord move = SearchFor(board, 2, kDepthEasy);
                    said = session.Say(MoveToText(move));
                    ApplyMove(board, move);
                } else {
                    ASSERT_EQ(Announced(said, "Black").size(), 1u) << said;
                    ApplyMove(board, *MoveFromText(Announced(said, "Black")[0]));
                }
                toMove = Opponent(toMove);
                repeated = ++seen[{board, toMove}] == 3;
                if (toMove == 2) {
                    ASSERT_EQ(HasLine(said, "Draw by repetition."), repeated && draws);
                }
            }
            ASSERT_TRUE(repeated) << start;
            EXPECT_EQ(HasLine(said, "Draw by repetition."), draws);
            EXPECT_EQ(HasLine(said, "New game: you play White."), draws);
            if (draws && toMove == 1) {
                EXPECT_TRUE(Announced(said, "Black").empty()) << said;
                ++drawsByWhitesMove;
            }
            // Autoplay from the start falls into a cycle at Easy as well.
            session.Say("new");
            EXPECT_EQ(HasLine(session.Say("autoplay 200"), "Draw by repetition."), draws);
        }
    }
    EXPECT_GT(drawsByWhitesMove, 0);
}

TEST(CliPlay, MalformedLinesGetOneLineAndTheGameGoesOn) {
    Session session;
    const std::string board = session.Say("board");
    for (const char* line : {"e2e9", "xyz", "e2-e4", "level", "autoplay x", "autoplay 0",
                             "moves now", "\x01\x1b[2J", "rules"}) {
        const std::vector<std::string> said = Lines(session.Say(line));
        ASSERT_EQ(said.size(), 1u) << line;
        EXPECT_TRUE(said[0].find("Unknown input") == 0 ||
                    said[0].find(" takes ") != std::string::npos)
            << said[0];
        EXPECT_EQ(said[0].find('\x1b'), std::string::npos);
    }
    EXPECT_EQ(session.Say("   "), "");
    EXPECT_EQ(session.Say("board"), board);
}

TEST(CliPlay, EndOfInputQuitAndCtrlCEndTheSessionAndWriteTheGame) {
    InTempDir temp;
    std::ostringstream out;
    std::istringstream script("e2e3\nquit\ne3e4\n");
    EXPECT_EQ(RunPlay(Options(kDepthEasy, false, false, "games.pgn"), script, out), 0);
    EXPECT_EQ(Announced(out.str(), "Black").size(), 1u);
    const std::string text = ReadFile("games.pgn");
    EXPECT_NE(text.find("[Result \"*\"]"), std::string::npos);
    EXPECT_NE(text.find("1. e3 "), std::string::npos);

    CatchInterrupt();
    std::raise(SIGINT);
    std::istringstream unread("e2e3\n");
    std::ostringstream interrupted;
    EXPECT_EQ(RunPlay({}, unread, interrupted), kExitInterrupted);
    EXPECT_TRUE(Announced(interrupted.str(), "Black").empty());
    ClearInterrupt();
}

}  // namespace
}  // namespace kelvane::cli
