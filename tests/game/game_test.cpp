// SPDX-License-Identifier: GPL-3.0-or-later
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>

#include "game/game_state.h"
#include "game/messages.h"
#include "rules/move_generation.h"
#include "tests/game/game_fixture.h"

namespace kelvane::testing {
namespace {

constexpr const char* kStart = "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR";

std::string After(const std::string& fen, const char* move) {
    Board board = *BoardFromFen(fen);
    ApplyMove(board, *MoveFromText(move));
    return BoardToFen(board);
}

MoveWord FirstLegalMove(const Board& board, Side side) {
    MoveList list;
    return GenerateMoves(board, list, side) >= 0 ? list[0] : NoMove;
}

TEST_F(GameTest, TheFirstClickSelectsAWhitePieceWithItsLegalTargetsOnly) {
    struct Row {
        const char* fen;
        const char* click;
        SquareRef selected;
        int targets;
    };
    // White must capture with the e4 pawn: every other piece is selected with no target.
    const char* capture = "4k3/8/8/3p4/4P3/8/8/4K3";
    for (const Row& row : {Row{kStart, "e2", 406, 2}, Row{kStart, "g1", 607, 2},
                           Row{kStart, "e7", kNoSquare, 0}, Row{kStart, "e4", kNoSquare, 0},
                           Row{capture, "e1", 407, 0}, Row{capture, "e4", 404, 1}}) {
        LoadPosition(row.fen);
        Click(row.click);
        EXPECT_EQ(State().SelectedSquare, row.selected) << row.fen << " " << row.click;
        EXPECT_EQ(row.selected != kNoSquare ? State().TargetCount : 0, row.targets) << row.click;
        game_.Click(std::nullopt);  // beside the board: drops any selection
        EXPECT_EQ(State().SelectedSquare, kNoSquare);
    }
    Click("e4");
    EXPECT_EQ(MoveToText(State().TargetMoves[0]), "e4d5");
    Click("e5");  // the quiet move is refused while a capture is there
    EXPECT_EQ(State().SelectedSquare, kNoSquare);
    EXPECT_EQ(Fen(), BoardToFen(*BoardFromFen(capture)));
    EXPECT_TRUE(host_.moves.empty());
}

// The level's depth decides Black's reply to a2a3.
TEST_F(GameTest, AMoveIsShownBeforeTheReplyThatTheSearchChoosesAtTheLevel) {
    for (const auto& [depth, reply, square] :
         {std::tuple{kDepthEasy, "f7f6", 502}, std::tuple{kDepthMedium, "e7e6", 402}}) {
        SetSearchDepth(depth);
        game_.NewGame();
        host_.seen.clear();
        Click("a2");
        Click("a3");
        const std::string shown = After(kStart, "a2a3");
        ASSERT_EQ(host_.seen.size(), 1u);
        EXPECT_EQ(host_.seen[0].board, shown) << "drawn before the search";
        EXPECT_EQ(host_.seen[0].waitDepth, 1);
        EXPECT_EQ(Fen(), After(shown, reply));
        EXPECT_EQ(State().LastMoveSquare, square);
        EXPECT_EQ(State().SelectedSquare, kNoSquare);
        EXPECT_EQ(State().UndoCount, 1);
        EXPECT_EQ(host_.waitDepth, 0);
    }
}

TEST_F(GameTest, APawnReachingTheLastRowBecomesAQueen) {
    LoadPosition("4k3/P7/8/8/8/8/8/4K3");
    Click("a7");
    Click("a8");
    EXPECT_EQ(game_.GetBoard()[SquareIndex(0, 0)], kWhiteQueen);
    SetRulesVariant(kAllMustDie);
    LoadPosition("8/8/8/8/8/8/7p/K7");  // Black's pawn reaches h1 in the reply
    Click("a1");
    Click("a2");
    EXPECT_EQ(game_.GetBoard()[SquareIndex(7, 7)], kBlackQueen);
}

TEST_F(GameTest, AFinishedGameIsDrawnThenAnnouncedThenStartsAnew) {
    struct Row {
        const char* name;
        int rules;
        const char* fen;
        const char* move;
        const char* finalFen;  // as drawn before the box
        const char* text;
    };
    for (const Row& row : {
             Row{"White's king is taken", kKingMustDie, "r6k/8/8/8/8/8/7P/K7", "h2h3",
                 "7k/8/8/8/8/7P/8/r7", "You won!"},
             Row{"Black's king is taken", kKingMustDie, "k7/8/8/8/8/8/8/R6K", "a1a8",
                 "R7/8/8/8/8/8/8/7K", "I won!"},
             Row{"White has no piece left", kAllMustDie, "r6k/8/8/8/8/8/8/1K6", "b1a1",
                 "7k/8/8/8/8/8/8/r7", "You won!"},
             Row{"Black cannot move", kAllMustDie, "8/8/p7/P7/8/8/8/7K", "h1h2",
                 "8/8/p7/P7/8/8/7K/8", "I won!"},
             Row{"White cannot move after the reply", kAllMustDie, "8/7p/8/8/3p4/8/3P4/8", "d2d3",
                 "8/8/7p/8/3p4/3P4/8/8", "You won!"},
         }) {
        SetRulesVariant(row.rules);
        LoadPosition(row.fen);
        game_.StartAutoplay();  // a running autoplay must not play on the finished game
        const std::string move = row.move;
        Click(move.substr(0, 2).c_str());
        Click(move.substr(2).c_str());
        ASSERT_GE(host_.seen.size(), 2u) << row.name;
        const Seen& drawn = host_.seen[host_.seen.size() - 2];
        const Seen& box = host_.seen.back();
        EXPECT_EQ(drawn.what, "draw") << row.name;
        EXPECT_EQ(drawn.board, row.finalFen) << row.name;
        EXPECT_EQ(box.what, "result") << row.name;
        EXPECT_EQ(box.text, row.text) << row.name;
        EXPECT_FALSE(box.timerRunning) << row.name;
        EXPECT_EQ(Fen(), kStart) << row.name;
        EXPECT_EQ(State().LastMoveSquare, kNoSquare);
        EXPECT_EQ(State().UndoCount, 0);
        EXPECT_EQ(host_.waitDepth, 0);
    }
}

TEST_F(GameTest, ComputerStartsWithTheFixedOpeningAndAutoplayPlaysItFromANewGame) {
    game_.ComputerStarts();
    EXPECT_EQ(Fen(), After(kStart, "g7g6"));
    EXPECT_EQ(State().LastMoveSquare, kNoSquare);
    EXPECT_EQ(State().OpeningPending, 0);
    game_.Undo();
    EXPECT_EQ(Fen(), After(kStart, "g7g6")) << "the opening is not taken back";

    game_.NewGame();
    game_.StartAutoplay();
    game_.AutoplayTick();
    game_.AutoplayTick();
    EXPECT_EQ(host_.moves, (std::vector<std::string>{"b:g7g6", "b:g7g6", "w:g2g3"}));
    EXPECT_EQ(Fen(), After(After(kStart, "g7g6"), "g2g3"));
    EXPECT_EQ(State().AutoplayTurn, 1);
    EXPECT_EQ(State().UndoCount, 0);
    EXPECT_TRUE(host_.timerRunning);
    game_.StopAutoplay();
    EXPECT_FALSE(host_.timerRunning);
}

TEST_F(GameTest, AutoplayRunsToAResultWithTheTimerStoppedBeforeTheBox) {
    for (const int rules : {kKingMustDie, kAllMustDie}) {
        SetRulesVariant(rules);
        SetSearchDepth(3);  // games at this depth end within a hundred moves
        game_.NewGame();
        host_.seen.clear();
        game_.StartAutoplay();
        int ticks = 0;
        while (host_.seen.empty() || host_.seen.back().what != "result") {
            ASSERT_LT(++ticks, 1000) << "no result";
            game_.AutoplayTick();
        }
        const Seen& box = host_.seen.back();
        const Seen& last = host_.seen[host_.seen.size() - 2];
        EXPECT_EQ(last.what, "draw");
        EXPECT_EQ(last.board, host_.seen[host_.seen.size() - 3].board) << "the final position";
        EXPECT_FALSE(box.timerRunning);
        // The winner, from the final board: the side whose king (or every piece) is gone, else
        // the side to move, which had no move.
        const Board final = *BoardFromFen(last.board);
        const auto gone = [&final](auto owns) {
            return std::none_of(final.begin(), final.end(), owns);
        };
        const bool king = rules == kKingMustDie;
        const bool black =
            gone([king](SquareCode c) { return king ? c == kBlackKing : SideOf(c) == 1; });
        const bool white =
            gone([king](SquareCode c) { return king ? c == kWhiteKing : SideOf(c) == 2; });
        const bool blackToMove = host_.moves.back()[0] == 'w';
        EXPECT_EQ(box.text, black || (!white && blackToMove) ? "Black wins!" : "White wins!")
            << last.board;
        EXPECT_EQ(Fen(), kStart);
        EXPECT_EQ(host_.waitDepth, 0);
    }
}

// Here White's choice at depth 4 differs from those at depths 2 and 6.
TEST_F(GameTest, HintLooksFourPliesAheadForWhiteAtEveryLevel) {
    const std::string position = "rnbqkbnr/pppp1ppp/8/4p3/8/3P4/PPP1PPPP/RNBQKBNR";
    LoadPosition(position);
    for (const int depth : {kDepthEasy, kDepthMedium, kDepthHard}) {
        SetSearchDepth(depth);
        game_.Hint();
        EXPECT_EQ(MoveToText(PackMove(State().HintFrom, State().HintTo)), "b2b4");  // depth 2: c1h6
        EXPECT_EQ(Fen(), position);
    }
    Click("a2");  // any click drops the hint
    EXPECT_FALSE(State().HasHint());
}

TEST_F(GameTest, UndoTakesBackEachTurnToTheStartAndNoFurther) {
    std::vector<std::string> before;
    for (int turn = 0; turn < 3; ++turn) {
        before.push_back(Fen());
        const MoveWord move = FirstLegalMove(game_.GetBoard(), 2);
        game_.Click(OriginOf(move));
        game_.Click(DestinationOf(move));
    }
    for (int turn = 2; turn >= 0; --turn) {
        game_.Undo();
        EXPECT_EQ(Fen(), before[static_cast<std::size_t>(turn)]);
        EXPECT_EQ(State().UndoCount, turn);
        EXPECT_EQ(State().LastMoveSquare, kNoSquare);
    }
    game_.Undo();
    EXPECT_EQ(Fen(), kStart);
}

TEST_F(GameTest, TheHistoryRecordsNineHundredNinetyNineMovesAndPlaysOn) {
    TheGameState().UndoCount = 998;
    Click("e2");
    Click("e3");
    const Board recorded = State().UndoHistory[999];
    EXPECT_EQ(BoardToFen(recorded), kStart);
    const MoveWord move = FirstLegalMove(game_.GetBoard(), 2);
    const std::string before = Fen();
    game_.Click(OriginOf(move));
    game_.Click(DestinationOf(move));
    EXPECT_NE(Fen(), before) << "the move is still played";
    EXPECT_EQ(State().UndoCount, 999);
    EXPECT_EQ(State().UndoHistory[999], recorded);
}

TEST_F(GameTest, SaveAndLoadGiveBackTheBoardAndLoadEndsTheOpening) {
    Click("e2");
    Click("e4");
    const std::string saved = Fen();
    game_.Save(kSavedGameFileName);
    game_.NewGame();
    game_.StartAutoplay();
    game_.Load(kSavedGameFileName);
    EXPECT_FALSE(host_.timerRunning) << "a loaded game stops autoplay";
    EXPECT_EQ(Fen(), saved);
    EXPECT_EQ(State().UndoCount, 0);
    EXPECT_EQ(State().OpeningPending, 0);
    game_.StartAutoplay();
    game_.AutoplayTick();  // Black searches instead of playing the fixed opening
    EXPECT_EQ(host_.moves.back(), "b:f5e4");
    EXPECT_TRUE(host_.seen.back().what == "draw");
}

// A file that is no saved game is refused with the reason, and the game goes on as it was;
// what is no regular file is not even opened, and only the history and marks are cleared.
TEST_F(GameTest, LoadRefusesWhatIsNoSavedGameAndNeverBlocks) {
    Board start;
    SetUpStartingPosition(start);
    std::vector<unsigned char> bad(start.begin(), start.end());
    bad[5] = 0x80;
    WriteFile("bad.sav", bad);
    WriteFile("short.sav", std::vector<unsigned char>(start.begin(), start.end() - 1));
    bad.resize(1000, 0);
    bad[5] = 0;
    WriteFile("long.sav", bad);
    bad.resize(65);
    WriteFile("65.sav", bad);
    WriteFile("empty.sav", std::string());
    std::filesystem::create_directory("folder");
    ASSERT_EQ(::mkfifo("fifo", 0600), 0);
    const int writer = ::open("fifo", O_RDWR | O_NONBLOCK);  // keeps it open, never writes
    struct Row {
        const char* file;
        const char* reason;  // null: not opened
    };
    for (const Row& row : {Row{"bad.sav", "byte 5 has the value 128, which is no square code"},
                           Row{"short.sav", "it holds 63 bytes where a saved game has exactly 64"},
                           Row{"long.sav", "it holds 1000 bytes where a saved game has exactly 64"},
                           Row{"65.sav", "it holds 65 bytes where a saved game has exactly 64"},
                           Row{"empty.sav", "it holds 0 bytes where a saved game has exactly 64"},
                           Row{"missing", nullptr}, Row{"folder", nullptr}, Row{"fifo", nullptr},
                           Row{"/dev/zero", nullptr}}) {
        game_.NewGame();
        Click("e2");
        Click("e4");
        game_.Hint();
        const std::string before = Fen();
        const int repaints = host_.invalidations;
        host_.seen.clear();
        game_.Load(row.file);
        EXPECT_EQ(Fen(), before) << row.file;
        EXPECT_FALSE(State().HasHint());
        EXPECT_GT(host_.invalidations, repaints) << "the hint's marks go";
        if (row.reason == nullptr) {
            EXPECT_TRUE(host_.seen.empty()) << row.file;
            EXPECT_EQ(State().UndoCount, 0) << row.file;
            EXPECT_EQ(State().LastMoveSquare, kNoSquare) << row.file;
            continue;
        }
        ASSERT_EQ(host_.seen.size(), 1u) << row.file;
        std::string message = "\"";
        message.append(row.file).append("\" does not hold a saved game: ").append(row.reason);
        EXPECT_EQ(host_.seen[0].text, message + ". The board is left as it was.");
        EXPECT_EQ(State().UndoCount, 1) << row.file;
        EXPECT_NE(State().LastMoveSquare, kNoSquare) << row.file;
    }
    ::close(writer);
}

}  // namespace
}  // namespace kelvane::testing
