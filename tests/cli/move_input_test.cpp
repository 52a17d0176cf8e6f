// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/move_input.h"

#include <gtest/gtest.h>

#include "cli/board_text.h"
#include "rules/notation.h"

namespace kelvane::cli {
namespace {

constexpr const char* kStart = "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR";
// After 1. e3 b5: White's bishop must take on b5.
constexpr const char* kMustTake = "rnbqkbnr/p1pppppp/8/1p6/8/4P3/PPPP1PPP/RNBQKBNR";
// Both of White's knights reach e6.
constexpr const char* kKnights = "6k1/8/8/8/3N1N2/8/8/4K3";
// White's pawn on b7 must take on a8; its king is on its first square between its rooks.
constexpr const char* kPromotion = "r3r1k1/1P4P1/8/8/8/8/8/R3K2R";
// White's pawn on e5 beside Black's pawn on d5, which has just come from d7.
constexpr const char* kPassed = "4k3/8/8/3pP3/8/8/8/4K3";

struct Row {
    const char* fen;
    Side side;
    const char* text;
    const char* move;  // the move read, in coordinates; or the start of why it is refused
    MoveWord previous = NoMove;
};

std::string Read(const Row& row, Voice voice) {
    const std::optional<MoveInput> input = ReadMoveInput(row.text);
    if (!input) return "no move";
    const MoveReading reading =
        ReadMove(*BoardFromFen(row.fen), row.side, *input, row.previous, voice);
    if (reading.move != NoMove) return MoveToText(reading.move);
    std::string said = reading.why;
    for (const MoveWord move : reading.candidates) said.append(" ").append(MoveToText(move));
    if (!reading.captures.empty()) said += " |";
    for (const MoveWord move : reading.captures) said.append(" ").append(MoveToText(move));
    return said;
}

TEST(MoveInput, StandardNotationAndCoordinatesInEitherCase) {
    const MoveWord d7d5 = *MoveFromText("d7d5");
    for (const Row& row : std::initializer_list<Row>{
             {kStart, 2, "e4", "e2e4"},
             {kStart, 2, "Nf3", "g1f3"},
             {kStart, 2, "E2E4", "e2e4"},
             {kStart, 2, "e2-e4", "e2e4"},
             {kStart, 2, "E4", "e2e4"},
             {kStart, 2, "Nc3+", "b1c3"},
             {kStart, 1, "Nf6", "g8f6"},
             {kStart, 2, "Ne5", "None of your knights can go to e5"},
             {kStart, 2, "e5", "None of your pawns can go to e5"},
             {kStart, 2, "e2e5", "Your pawn on e2 cannot go to e5"},
             {kStart, 2, "c3c2", "There is no piece of yours on c3"},
             {kStart, 2, "Ng1f3", "g1f3"},
             {kStart, 2, "Nb1f3", "Your knight on b1 cannot go to f3"},
             {kStart, 2, "Nb2c4", "There is no knight of yours on b2"},
             {kStart, 2, "O-O", "There is no castling in this game"},
             {kStart, 2, "0-0-0", "There is no castling in this game"},
             {kMustTake, 2, "Bxb5", "f1b5"},
             {kMustTake, 2, "Bb5", "f1b5"},
             {kMustTake, 2, "f1xb5", "f1b5"},
             {kMustTake, 2, "d3", "You must capture | f1b5"},
             {kMustTake, 2, "Nf3", "You must capture | f1b5"},
             {kMustTake, 2, "Bc4", "You must capture | f1b5"},
             {kMustTake, 2, "Ba6", "None of your bishops can go to a6 | f1b5"},
             {kKnights, 2, "Ne6", "More than one move fits d4e6 f4e6"},
             {kKnights, 2, "Nde6", "d4e6"},
             {kKnights, 2, "N4e6", "More than one move fits d4e6 f4e6"},
             {kPromotion, 2, "bxa8=Q", "b7a8"},
             {kPromotion, 2, "bxa8Q", "b7a8"},
             {kPromotion, 2, "b7a8q", "b7a8"},
             {kPromotion, 2, "B7A8Q", "b7a8"},
             {kPromotion, 2, "bxa8=N", "A pawn always becomes a queen in this game"},
             {kPromotion, 2, "b7a8r", "A pawn always becomes a queen in this game"},
             {kPromotion, 2, "e1g1", "There is no castling in this game"},
             {kPassed, 2, "exd6", "There is no en passant in this game", d7d5},
             {kPassed, 2, "e5d6", "There is no en passant in this game", d7d5},
             {kPassed, 2, "exd6", "None of your pawns can go to d6"},
             {kStart, 2, "hint", "no move"},
             {kStart, 2, "e9", "no move"},
             {kStart, 2, "22", "no move"},
             {kStart, 2, "K2", "no move"},
             {kStart, 2, "Zf3", "no move"},
             {kStart, 2, "", "no move"}}) {
        const std::string said = Read(row, Voice::Player);
        EXPECT_EQ(said.substr(0, std::string(row.move).size()), row.move)
            << row.fen << " " << row.text;
    }
}

TEST(MoveInput, ARecordsRefusalsNameTheSide) {
    EXPECT_EQ(Read({kMustTake, 2, "d3", ""}, Voice::Record), "White must capture | f1b5");
    EXPECT_EQ(Read({kStart, 1, "Ne4", ""}, Voice::Record), "no Black knight can go to e4");
    EXPECT_EQ(Read({kStart, 2, "O-O", ""}, Voice::Record), "there is no castling in this game");
    EXPECT_EQ(Read({kStart, 2, "a2a5", ""}, Voice::Record), "White's pawn on a2 cannot go to a5");
}

// From White's side rank 8 is on top; from Black's, rank 1 and file h. The last move's square
// is in brackets, the other columns where they were.
TEST(BoardText, EitherSideUpAndTheLastMoveInBrackets) {
    const Board board = *BoardFromFen("4k3/8/8/8/8/8/8/R3K2P");
    const std::string white = BoardToText(board, {true, 2, Square{7, 7}});
    EXPECT_EQ(white,
              "8 . . . . k . . .\n7 . . . . . . . .\n6 . . . . . . . .\n5 . . . . . . . .\n"
              "4 . . . . . . . .\n3 . . . . . . . .\n2 . . . . . . . .\n1 R . . . K . .[P]\n"
              "  a b c d e f g h\n");
    const std::string black = BoardToText(board, {true, 1, Square{0, 7}});
    EXPECT_EQ(black.substr(0, 19), "1 P . . K . . .[R]\n");
    EXPECT_EQ(black.substr(black.size() - 36), "8 . . . k . . . .\n  h g f e d c b a\n");
    EXPECT_NE(BoardToText(board, {false, 2, std::nullopt}).find("1 ♖ . . . ♔ . . ♙\n"),
              std::string::npos);
}

}  // namespace
}  // namespace kelvane::cli
