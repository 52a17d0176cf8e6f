#include <gtest/gtest.h>

#include <random>
#include <vector>

#include "rules/notation.h"
#include "rules/saved_game.h"
#include "tests/support/random_boards.h"

namespace kelvane {
namespace {

TEST(Notation, FenRoundTripsOverRandomPositions) {
    std::mt19937 random(7);
    for (int i = 0; i < 300; ++i) {
        const Board board = i % 2 == 0 ? testing::PositionAfterRandomGame(random, i % 60)
                                       : testing::RandomPlacement(random);
        const Result<Board> back = BoardFromFen(BoardToFen(board));
        ASSERT_TRUE(back.ok()) << BoardToFen(board);
        EXPECT_EQ(*back, board) << BoardToFen(board);
    }
    Board board{};
    board[SquareIndex(4, 0)] = kBlackKing;  // e8
    board[SquareIndex(0, 7)] = kWhitePawn;  // a1
    EXPECT_EQ(BoardToFen(board), "4k3/8/8/8/8/8/8/P7");
}

TEST(Notation, SquaresAndMovesFollowTheRanks) {
    EXPECT_EQ(MoveToText(PackMove(6, 1, 6, 2)), "g7g6");
    EXPECT_EQ(MoveToText(PackMove(0, 7, 7, 0)), "a1h8");
    EXPECT_EQ(MoveFromText("e2e4"), PackMove(4, 6, 4, 4));
    EXPECT_EQ(SquareFromText("h1"), (Square{7, 7}));
    for (const char* bad : {"", "e", "e9", "i2", "E2", "e2e", "e2e4 ", "a0a1"}) {
        EXPECT_FALSE(MoveFromText(bad).has_value()) << bad;
    }
}

TEST(Notation, MalformedFenIsRefusedWithTheReason) {
    for (const char* bad : {"8/8/8/8/8/8/8", "9/8/8/8/8/8/8/8", "rnbqkbnrr/8/8/8/8/8/8/8",
                            "8/8/8/8/8/8/8/8/8", "x7/8/8/8/8/8/8/8", "7/8/8/8/8/8/8/8"}) {
        const Result<Board> board = BoardFromFen(bad);
        EXPECT_FALSE(board.ok()) << bad;
        if (!board.ok()) {
            EXPECT_FALSE(board.reason().empty());
        }
    }
}

std::vector<unsigned char> BytesOf(const Board& board) {
    return {board.begin(), board.end()};
}

TEST(SavedGame, DecodesExactlySixtyFourSquareCodes) {
    Board start;
    SetUpStartingPosition(start);
    std::vector<unsigned char> bytes = BytesOf(start);
    ASSERT_TRUE(DecodeSavedGame(bytes).ok());
    EXPECT_EQ(*DecodeSavedGame(bytes), start);

    struct Case {
        std::size_t size;
        const char* reason;
    };
    for (const Case& c : {Case{0, "it holds 0 bytes where a saved game has exactly 64"},
                          Case{63, "it holds 63 bytes where a saved game has exactly 64"},
                          Case{65, "it holds 65 bytes where a saved game has exactly 64"}}) {
        std::vector<unsigned char> sized = bytes;
        sized.resize(c.size, 0);
        const Result<Board> decoded = DecodeSavedGame(sized);
        ASSERT_FALSE(decoded.ok());
        EXPECT_EQ(decoded.reason(), c.reason);
    }
    for (const unsigned char bad : {1, 10, 17, 20, 27, 0x80, 0xff}) {
        bytes[40] = bad;
        const Result<Board> decoded = DecodeSavedGame(bytes);
        ASSERT_FALSE(decoded.ok());
        EXPECT_EQ(decoded.reason(),
                  "byte 40 has the value " + std::to_string(bad) + ", which is no square code");
    }
}

}  // namespace
}  // namespace kelvane
