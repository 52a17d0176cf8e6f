// SPDX-License-Identifier: GPL-3.0-or-later
// What the status line and a screen reader say, and the record of the game in the window.
#include <gtest/gtest.h>

#include "app/status_text.h"
#include "app/window_record.h"
#include "rules/notation.h"

namespace kelvane {
namespace {

Board FromFen(const char* fen) {
    return *BoardFromFen(fen);
}
Square At(const char* name) {
    return *SquareFromText(name);
}
constexpr const char* kStart = "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR";
// White must take on d5 with the knight or the pawn; Black, to move, must take on e4.
constexpr const char* kCaptures = "4k3/3p4/8/3p4/4P3/2N5/8/R3K3";

TEST(StatusTextTest, NamesTheSquareAndItsPiece) {
    EXPECT_EQ(DescribeSquare(FromFen(kStart), At("e2")), "e2, white pawn");
    EXPECT_EQ(DescribeSquare(FromFen(kStart), At("e8")), "e8, black king");
    EXPECT_EQ(DescribeSquare(FromFen(kStart), At("g1")), "g1, white knight");
    EXPECT_EQ(DescribeSquare(FromFen(kStart), At("e4")), "e4, empty");
}

TEST(StatusTextTest, ExplainsEveryCaptureDueAndWhyATargetIsRefused) {
    const Board captures = FromFen(kCaptures);
    EXPECT_EQ(MustCaptureText(captures, 2, CapturesOf(captures, 2)),
              "You must capture: Nxd5, exd5.");
    EXPECT_EQ(MustCaptureText(captures, 1, CapturesOf(captures, 1)), "You must capture: dxe4.");
    EXPECT_TRUE(CapturesOf(FromFen(kStart), 2).empty());

    struct Row {
        const char* fen;
        Side side;
        const char* from;
        const char* to;
        bool byCapture;
        const char* text;
    };
    for (const Row& row : {
             Row{kCaptures, 2, "e4", "e5", true, "You must capture: Nxd5, exd5."},
             Row{kCaptures, 2, "a1", "a5", true, "You must capture: Nxd5, exd5."},
             Row{kCaptures, 1, "d7", "d6", true, "You must capture: dxe4."},
             Row{kCaptures, 2, "e1", "e3", false, "The king on e1 cannot go to e3."},
             Row{kCaptures, 2, "a1", "e1", false,
                 "The rook on a1 cannot go to e1: your king stands there."},
             Row{kStart, 2, "e2", "e5", false, "The pawn on e2 cannot go to e5."},
             Row{kStart, 2, "b1", "d2", false,
                 "The knight on b1 cannot go to d2: your pawn stands there."},
             Row{kStart, 1, "g8", "g6", false, "The knight on g8 cannot go to g6."},
         }) {
        const Board board = FromFen(row.fen);
        EXPECT_EQ(ForbiddenByCapture(board, row.side, At(row.from), At(row.to)), row.byCapture)
            << row.from << row.to;
        EXPECT_EQ(RefusalText(board, row.side, At(row.from), At(row.to)), row.text);
    }
    EXPECT_EQ(NoMoveText(FromFen(kStart), At("a1")), "The rook on a1 has no move.");
}

TEST(StatusTextTest, TellsTheMoveNumberWhoseTurnItIsAndTheLastMove) {
    struct Row {
        TurnFacts facts;
        const char* text;
    };
    for (const Row& row : {
             Row{{1, 2, true, false, false, ""}, "Move 1: White to move, your turn."},
             Row{{1, 1, false, true, false, "1. e4"},
                 "Move 1: Black to move, thinking... Last move: 1. e4"},
             Row{{12, 2, false, false, true, "11...Nxe4"},
                 "Move 12: White to move, stopped: choose a level to go on. Last move: "
                 "11...Nxe4"},
             Row{{3, 1, false, false, false, "3. d3"}, "Move 3: Black to move. Last move: 3. d3"},
         }) {
        EXPECT_EQ(TurnText(row.facts), row.text);
    }
}

// Plays the moves, given in coordinates, from board as a front end reports them.
void Play(WindowRecord& record, Board& board, Side side, std::initializer_list<const char*> moves) {
    for (const char* text : moves) {
        const MoveWord move = *MoveFromText(text);
        ApplyMove(board, move);
        record.Add(side, move, Mover::Computer, board);
        side = Opponent(side);
    }
}

TEST(WindowRecordTest, NumbersTheMovesFromWhicheverSideOpened) {
    struct Row {
        Side first;
        std::initializer_list<const char*> moves;
        int next;
        const char* last;
    };
    for (const Row& row : {
             Row{2, {}, 1, ""},
             Row{2, {"e2e4"}, 1, "1. e4"},
             Row{2, {"e2e4", "b7b5"}, 2, "1...b5"},
             Row{2, {"e2e4", "b7b5", "f1b5"}, 2, "2. Bxb5"},
             Row{1, {"g7g6"}, 2, "1...g6"},
             Row{1, {"g7g6", "e2e3"}, 2, "2. e3"},
             Row{1, {"g7g6", "e2e3", "g6g5"}, 3, "2...g5"},
         }) {
        WindowRecord record;
        Board board = FromFen(kStart);
        Play(record, board, row.first, row.moves);
        EXPECT_EQ(record.Record().MoveNumber(), row.next) << row.last;
        EXPECT_EQ(record.LastMove(), row.last);
        EXPECT_EQ(record.History().size(), row.moves.size());
        EXPECT_EQ(record.Record().Current(), board);
    }
}

// Autoplay after the human's move has Black move twice: the record goes on from before it.
TEST(WindowRecordTest, StartsAnewWhenASideMovesTwice) {
    WindowRecord record;
    Board board = FromFen(kStart);
    Play(record, board, 2, {"e2e3"});
    EXPECT_TRUE(record.Follows(1));
    EXPECT_FALSE(record.Follows(2));
    const Board afterE3 = board;
    Play(record, board, 2, {"d2d3"});
    EXPECT_EQ(record.Record().First(), afterE3);
    EXPECT_EQ(record.Record().Moves().size(), 1u);
    EXPECT_EQ(record.LastMove(), "1. d3");
}

}  // namespace
}  // namespace kelvane
