// SPDX-License-Identifier: GPL-3.0-or-later
// The game as the front ends beyond the classic window play it: the final position kept, the
// human on either side, and a reply that is searched elsewhere.
#include "tests/game/game_fixture.h"

namespace kelvane::testing {
namespace {

constexpr const char* kStart = "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR";

MoveWord Move(const char* text) {
    return *MoveFromText(text);
}

TEST_F(GameTest, AKeptFinalPositionStaysWithItsReasonUntilUndoOrNew) {
    struct Row {
        const char* name;
        int rules;
        const char* fen;
        const char* move;
        const char* finalFen;
        Side winner;
        const char* text;
    };
    game_.SetKeepFinalPosition(true);
    for (const Row& row : {
             Row{"White's king is taken", kKingMustDie, "r6k/8/8/8/8/8/7P/K7", "h2h3",
                 "7k/8/8/8/8/7P/8/r7", 2, "You won: your king was taken."},
             Row{"Black's king is taken", kKingMustDie, "k7/8/8/8/8/8/8/R6K", "a1a8",
                 "R7/8/8/8/8/8/8/7K", 1, "I won: you took my king."},
             Row{"White has no piece left", kAllMustDie, "r6k/8/8/8/8/8/8/1K6", "b1a1",
                 "7k/8/8/8/8/8/8/r7", 2, "You won: I took your last piece."},
             Row{"Black cannot move", kAllMustDie, "8/8/p7/P7/8/8/8/7K", "h1h2",
                 "8/8/p7/P7/8/8/7K/8", 1, "I won: I have no move."},
         }) {
        SetRulesVariant(row.rules);
        LoadPosition(row.fen);
        game_.StartAutoplay();
        const std::string move = row.move;
        Click(move.substr(0, 2).c_str());
        Click(move.substr(2).c_str());
        ASSERT_FALSE(host_.seen.empty()) << row.name;
        EXPECT_EQ(host_.seen.back().what, "over") << row.name;
        EXPECT_FALSE(host_.seen.back().timerRunning) << row.name;
        for (const Seen& seen : host_.seen) EXPECT_NE(seen.what, "result") << row.name;
        EXPECT_EQ(Fen(), row.finalFen) << row.name;
        EXPECT_TRUE(game_.IsOver()) << row.name;
        EXPECT_EQ(game_.GetVerdict().winner, row.winner) << row.name;
        EXPECT_STREQ(VerdictText(game_.GetVerdict(), 2), row.text) << row.name;
        EXPECT_NE(State().LastMoveSquare, kNoSquare) << row.name;

        // A finished game takes no move and no autoplay move.
        Click("a1");
        Click("h8");
        game_.AutoplayTick();
        EXPECT_EQ(Fen(), row.finalFen) << row.name;
        EXPECT_EQ(State().SelectedSquare, kNoSquare) << row.name;

        game_.Undo();
        EXPECT_EQ(Fen(), BoardToFen(*BoardFromFen(row.fen))) << row.name;
        EXPECT_FALSE(game_.IsOver()) << row.name;
    }
    game_.NewGame();
    EXPECT_EQ(Fen(), kStart);
    EXPECT_EQ(host_.waitDepth, 0);
}

TEST(VerdictTextTest, EachEndingIsToldFromItsWinnersSide) {
    struct Row {
        Side winner;
        EndReason reason;
        const char* toWhite;  // the human plays White
        const char* toBlack;  // the human plays Black
        const char* autoplay;
    };
    for (const Row& row : {
             Row{2, EndReason::KingTaken, "You won: your king was taken.",
                 "I won: you took my king.", "White won: its king was taken."},
             Row{1, EndReason::KingTaken, "I won: you took my king.",
                 "You won: your king was taken.", "Black won: its king was taken."},
             Row{2, EndReason::LastPieceTaken, "You won: I took your last piece.",
                 "I won: you took my last piece.", "White won: its last piece was taken."},
             Row{1, EndReason::LastPieceTaken, "I won: you took my last piece.",
                 "You won: I took your last piece.", "Black won: its last piece was taken."},
             Row{2, EndReason::NoLegalMove, "You won: you have no move.", "I won: I have no move.",
                 "White won: it has no move."},
             Row{1, EndReason::NoLegalMove, "I won: I have no move.", "You won: you have no move.",
                 "Black won: it has no move."},
         }) {
        const Verdict verdict{row.winner, row.reason};
        EXPECT_STREQ(VerdictText(verdict, 2), row.toWhite);
        EXPECT_STREQ(VerdictText(verdict, 1), row.toBlack);
        EXPECT_STREQ(AutoplayVerdictText(verdict), row.autoplay);
    }
}

TEST_F(GameTest, TheHumanPlaysBlackAgainstTheComputerOpeningWithWhite) {
    game_.SetHumanSide(1);
    game_.NewGame();
    EXPECT_EQ(game_.SideToMove(), 2);
    Click("e2");  // the computer's pieces cannot be picked
    EXPECT_EQ(State().SelectedSquare, kNoSquare);

    game_.PlayComputerMove();
    ASSERT_EQ(host_.moves.size(), 1u);
    EXPECT_EQ(host_.moves[0].substr(0, 2), "w:");
    EXPECT_EQ(game_.SideToMove(), 1);
    EXPECT_EQ(State().UndoCount, 0);  // nothing of the human's to take back yet

    // Black's pawn on d7 must take on e6; its king may not move meanwhile.
    LoadPosition("8/3p4/4P3/8/8/8/8/K6k");
    Click("h1");
    EXPECT_EQ(State().SelectedSquare, 707);  // column h, row 7 from the top
    EXPECT_EQ(State().TargetCount, 0);
    Click("h1");
    game_.Hint();
    EXPECT_EQ(State().HintFrom, SquareFromText("d7"));
    EXPECT_EQ(State().HintTo, SquareFromText("e6"));
    Click("d7");
    EXPECT_EQ(State().TargetCount, 1);
    Click("e6");
    ASSERT_EQ(host_.moves.size(), 2u);
    EXPECT_EQ(host_.moves[0], "b:d7e6");
    EXPECT_EQ(host_.moves[1].substr(0, 4), "w:a1");  // White's king is all it has left
    EXPECT_EQ(game_.SideToMove(), 1);
    game_.Undo();
    EXPECT_EQ(Fen(), "8/3p4/4P3/8/8/8/8/K6k");
}

TEST_F(GameTest, AReplySearchedElsewhereArrivesThroughPlayMove) {
    game_.SetReplyAtOnce(false);
    Click("e2");
    Click("e4");
    ASSERT_FALSE(host_.seen.empty());
    EXPECT_EQ(host_.seen.back().what, "reply due");
    EXPECT_EQ(host_.seen.back().text, "1");
    EXPECT_EQ(host_.seen.back().board, "rnbqkbnr/pppppppp/8/8/4P3/8/PPPP1PPP/RNBQKBNR");
    EXPECT_EQ(game_.SideToMove(), 1);

    Click("d2");  // no move of the human's while the reply is awaited
    EXPECT_EQ(State().SelectedSquare, kNoSquare);
    EXPECT_FALSE(game_.PlayMove(Move("d2d4")));  // not Black's
    EXPECT_FALSE(game_.PlayMove(Move("e7e4")));  // no such move
    EXPECT_TRUE(game_.PlayMove(Move("d7d5")));
    EXPECT_EQ(Fen(), "rnbqkbnr/ppp1pppp/8/3p4/4P3/8/PPPP1PPP/RNBQKBNR");
    EXPECT_EQ(game_.SideToMove(), 2);

    // Now White must take on d5.
    EXPECT_FALSE(game_.PlayMove(Move("a2a3")));
    EXPECT_TRUE(game_.PlayMove(Move("e4d5")));
    EXPECT_EQ(host_.seen.back().what, "reply due");
    game_.Undo();
    EXPECT_EQ(Fen(), "rnbqkbnr/ppp1pppp/8/3p4/4P3/8/PPPP1PPP/RNBQKBNR");
}

TEST_F(GameTest, AnAutoplayMoveFoundElsewhereIsPlayedAsTheTickWouldPlayIt) {
    game_.SetKeepFinalPosition(true);
    EXPECT_EQ(game_.AutoplaySide(), 1);
    EXPECT_TRUE(game_.AutoplayOpeningDue());
    EXPECT_FALSE(game_.PlayAutoplayMove(Move("e2e4")));  // not Black's
    EXPECT_FALSE(game_.PlayAutoplayMove(NoMove));        // Black has moves
    EXPECT_TRUE(game_.PlayAutoplayMove(Move("b7b5")));
    EXPECT_EQ(Fen(), "rnbqkbnr/p1pppppp/8/1p6/8/8/PPPPPPPP/RNBQKBNR");
    EXPECT_FALSE(game_.AutoplayOpeningDue());  // the first move has been made
    EXPECT_EQ(game_.AutoplaySide(), 2);
    EXPECT_EQ(game_.SideToMove(), 2);
    EXPECT_EQ(State().LastMoveSquare, 103);
    ASSERT_EQ(host_.seen.size(), 1u);
    EXPECT_EQ(host_.seen[0].what, "draw");  // each move is shown before the next search
    EXPECT_EQ(host_.moves, std::vector<std::string>{"b:b7b5"});

    // White, whose tick it is, has no move left and wins.
    SetRulesVariant(kAllMustDie);
    LoadPosition("8/8/p7/P7/8/8/8/8");
    EXPECT_TRUE(game_.PlayAutoplayMove(NoMove));
    EXPECT_TRUE(game_.IsOver());
    EXPECT_STREQ(AutoplayVerdictText(game_.GetVerdict()), "White won: it has no move.");
    EXPECT_FALSE(game_.PlayAutoplayMove(NoMove));
}

}  // namespace
}  // namespace kelvane::testing
