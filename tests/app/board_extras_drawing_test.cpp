// SPDX-License-Identifier: GPL-3.0-or-later
// The board of the window with extras: the classic picture moved right of the ranks and turned
// for Black, the files and ranks along the edges, the capturing pieces' frames and the cursor.
#include "app/board_extras_drawing.h"

#include <gtest/gtest.h>

#include <string>

#include "app/board_drawing.h"
#include "app/display_settings.h"

namespace kelvane {
namespace {

using namespace framework;

constexpr COLORREF kWindow = RGB(12, 34, 56);

class Canvas {
  public:
    Canvas(int width, int height) {
        bitmap_.CreateCompatibleBitmap(&dc_, width, height);
        dc_.SelectObject(&bitmap_);
        dc_.FillSolidRect(0, 0, width, height, kWindow);
    }
    CDC* DC() { return &dc_; }
    COLORREF At(int x, int y) const { return bitmap_.GetPixel(x, y); }

  private:
    CDC dc_;
    CBitmap bitmap_;
};

// A position with pieces of both sides on both square colours, and marks of every kind.
Board TestBoard() {
    Board board;
    SetUpStartingPosition(board);
    board[SquareIndex(4, 6)] = 0;
    board[SquareIndex(4, 4)] = kWhitePawn;
    board[SquareIndex(3, 3)] = kBlackPawn;
    return board;
}
GameState TestMarks() {
    GameState state{.SelectedSquare = 404, .TargetCount = 1, .LastMoveSquare = 303};
    state.TargetMoves[0] = PackMove(4, 4, 3, 3);
    state.HintFrom = {4, 4};
    state.HintTo = {3, 3};
    return state;
}

// The board turned by hand: square (c, r) shows at (7 - c, 7 - r), marks with it.
Board TurnedByHand(const Board& board) {
    Board turned{};
    for (int i = 0; i < 64; ++i) turned[static_cast<std::size_t>(63 - i)] = board[i];
    return turned;
}
GameState TurnedMarksByHand() {
    GameState state{.SelectedSquare = 303, .TargetCount = 1, .LastMoveSquare = 404};
    state.TargetMoves[0] = PackMove(3, 3, 4, 4);
    state.HintFrom = {3, 3};
    state.HintTo = {4, 4};
    return state;
}

class ExtrasPictureTest : public ::testing::TestWithParam<int> {
  protected:
    void SetUp() override { SetSquareSize(GetParam()); }
    void TearDown() override { ResetDisplaySettings(); }
    int S() const { return GetParam(); }
    int Edge() const { return S() * 2 / 5; }
};

// Right of the ranks, the classic picture of the same board, or of the board turned by hand.
TEST_P(ExtrasPictureTest, ShowsTheClassicPictureRightOfTheRanksTurnedForBlack) {
    for (const bool turned : {false, true}) {
        Canvas extras(8 * S() + Edge(), 8 * S() + Edge());
        DrawBoardWithExtras(extras.DC(), TestBoard(), TestMarks(), {turned, {}, {}});
        Canvas classic(8 * S(), 8 * S());
        if (turned) {
            DrawBoard(classic.DC(), TurnedByHand(TestBoard()), TurnedMarksByHand());
        } else {
            DrawBoard(classic.DC(), TestBoard(), TestMarks());
        }
        for (int y = 0; y < 8 * S(); ++y) {
            for (int x = 0; x < 8 * S(); ++x) {
                ASSERT_EQ(extras.At(Edge() + x, y), classic.At(x, y))
                    << (turned ? "turned " : "") << x << "," << y;
            }
        }
    }
}

// The glyph found in a strip cell, as rows of '#' and '.', cropped to its ink and read one
// glyph pixel (scale by scale screen pixels) at a time.
std::string InkIn(const Canvas& canvas, int left, int top, int width, int height, int scale) {
    int x0 = width, y0 = height, x1 = -1, y1 = -1;
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            const COLORREF pixel = canvas.At(left + x, top + y);
            EXPECT_TRUE(pixel == kEdgeColour || pixel == kEdgeTextColour)
                << left + x << "," << top + y;
            if (pixel != kEdgeTextColour) continue;
            x0 = std::min(x0, x), y0 = std::min(y0, y), x1 = std::max(x1, x), y1 = std::max(y1, y);
        }
    }
    std::string ink;
    for (int y = y0; y <= y1; y += scale) {
        for (int x = x0; x <= x1; x += scale)
            ink += canvas.At(left + x, top + y) == kEdgeTextColour ? '#' : '.';
        ink += '/';
    }
    return ink;
}

// The strips carry rank 8 at the top and file a at the left, or 1 and h on the turned board,
// drawn in full in every cell; the corner below the ranks stays plain.
TEST_P(ExtrasPictureTest, NamesTheFilesAndRanksAlongTheEdgesAsTheBoardIsShown) {
    const int k = S() == 80 ? 2 : 1;  // twice as large on the large board
    const std::string eight = ".###./#...#/#...#/.###./#...#/#...#/.###./";
    const std::string one = ".#./##./.#./.#./.#./.#./###/";
    const std::string a = ".###./....#/.####/#...#/.####/";  // no ink in its top two rows
    const std::string h = "#..../#..../#.##./##..#/#...#/#...#/#...#/";
    for (const bool turned : {false, true}) {
        Canvas canvas(8 * S() + Edge(), 8 * S() + Edge());
        DrawBoardWithExtras(canvas.DC(), TestBoard(), GameState{}, {turned, {}, {}});
        EXPECT_EQ(InkIn(canvas, 0, 0, Edge(), S(), k), turned ? one : eight);
        EXPECT_EQ(InkIn(canvas, 0, 7 * S(), Edge(), S(), k), turned ? eight : one);
        EXPECT_EQ(InkIn(canvas, Edge(), 8 * S(), S(), Edge(), k), turned ? h : a);
        EXPECT_EQ(InkIn(canvas, Edge() + 7 * S(), 8 * S(), S(), Edge(), k), turned ? a : h);
        for (int i = 1; i < 7; ++i) {
            EXPECT_NE(InkIn(canvas, 0, i * S(), Edge(), S(), k), "") << i;
            EXPECT_NE(InkIn(canvas, Edge() + i * S(), 8 * S(), S(), Edge(), k), "") << i;
        }
        EXPECT_EQ(InkIn(canvas, 0, 8 * S(), Edge(), Edge(), k), "");
    }
}

// Orange over the capturing pieces, after every classic frame; the cursor is a magenta ring
// just inside the frames, so that a mark on its square stays visible.
TEST_P(ExtrasPictureTest, FramesTheCapturingPiecesAndTheCursorOnTheirScreenSquares) {
    const int t = S() / 16;
    for (const bool turned : {false, true}) {
        const BoardExtras extras{turned, {{4, 4}, {2, 5}}, Square{4, 4}};
        Canvas plain(8 * S() + Edge(), 8 * S() + Edge());
        DrawBoardWithExtras(plain.DC(), TestBoard(), TestMarks(), {turned, {}, {}});
        Canvas framed(8 * S() + Edge(), 8 * S() + Edge());
        DrawBoardWithExtras(framed.DC(), TestBoard(), TestMarks(), extras);
        // e4 and c3 on the screen: (4, 4) and (2, 5), or (3, 3) and (5, 2) turned.
        const Square e4 = turned ? Square{3, 3} : Square{4, 4};
        const Square c3 = turned ? Square{5, 2} : Square{2, 5};
        for (int y = 0; y < 8 * S(); ++y) {
            for (int x = 0; x < 8 * S(); ++x) {
                const Square at{x / S(), y / S()};
                const int depth =
                    std::min({x % S(), y % S(), S() - 1 - x % S(), S() - 1 - y % S()});
                COLORREF expected = plain.At(Edge() + x, y);
                if ((at == e4 || at == c3) && depth < t) expected = kCapturerColour;
                if (at == e4 && depth >= t && depth < 2 * t) expected = kCursorColour;
                ASSERT_EQ(framed.At(Edge() + x, y), expected) << turned << " " << x << "," << y;
            }
        }
    }
}

INSTANTIATE_TEST_SUITE_P(AllSizes, ExtrasPictureTest, ::testing::Values(35, 40, 80));

TEST(BoardSquareAtTest, MapsPointsRightOfTheRanksToBoardSquaresAsShown) {
    struct Row {
        int x, y;
        bool turned;
        std::optional<Square> square;
    };
    SetSquareSize(40);  // ranks 16 pixels wide
    for (const Row& row :
         {Row{16, 0, false, Square{0, 0}}, Row{15, 0, false, std::nullopt},
          Row{16 + 4 * 40 + 39, 6 * 40, false, Square{4, 6}},
          Row{16 + 4 * 40 + 39, 6 * 40, true, Square{3, 1}}, Row{16 + 320, 10, false, std::nullopt},
          Row{20, 320, false, std::nullopt}, Row{20, -1, true, std::nullopt},
          Row{16 + 319, 319, true, Square{0, 0}}}) {
        EXPECT_EQ(BoardSquareAt(row.x, row.y, row.turned), row.square) << row.x << "," << row.y;
    }
    ResetDisplaySettings();
}

}  // namespace
}  // namespace kelvane
