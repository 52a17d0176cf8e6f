#include "ui/board_drawing.h"

#include <gtest/gtest.h>

#include <climits>

#include "game/display_settings.h"
#include "res/bitmap_resources.h"

namespace kelvane {
namespace {

using platform::CBitmap;
using platform::CDC;
using platform::COLORREF;
using platform::RGB;

constexpr COLORREF kRed = RGB(255, 0, 0);
constexpr COLORREF kGreen = RGB(0, 255, 0);
constexpr COLORREF kBlue = RGB(0, 0, 255);
constexpr COLORREF kYellow = RGB(255, 255, 0);
// The window around the board, which the drawing must leave alone.
constexpr COLORREF kWindow = RGB(12, 34, 56);
constexpr int kMargin = 7;

struct Look {
    int pieceSet;
    COLORREF light;
    COLORREF dark;
    unsigned sheetId;
};
constexpr Look kStandard = {kStandardSet, RGB(192, 192, 192), RGB(128, 128, 128),
                            res::IDB_STANDARD_SET};
constexpr Look kExtra = {kExtraSet, RGB(255, 255, 255), RGB(192, 192, 192), res::IDB_EXTRA_SET};

Board EmptyBoard() {
    return Board{};
}

Board WithPiece(int column, int row, SquareCode code) {
    Board board{};
    board[static_cast<std::size_t>(SquareIndex(column, row))] = code;
    return board;
}

// Draws into a target a little larger than the board, as a window's client area may be.
class Picture {
  public:
    Picture(const Board& board, const GameState& state, int squareSize, const Look& look)
        : squareSize_(squareSize) {
        SetSquareSize(squareSize);
        SetPieceSet(look.pieceSet);
        const int side = 8 * squareSize + kMargin;
        target_.CreateCompatibleDC(nullptr);
        bitmap_.CreateCompatibleBitmap(&target_, side, side);
        target_.SelectObject(&bitmap_);
        target_.FillSolidRect(0, 0, side, side, kWindow);
        DrawBoard(&target_, board, state);
        sheet_.LoadBitmap(look.sheetId);
    }
    COLORREF At(int x, int y) const { return bitmap_.GetPixel(x, y); }
    COLORREF Sheet(int x, int y) const { return sheet_.GetPixel(x, y); }
    int Size() const { return bitmap_.Width(); }

    // The square's top-left corner, which every frame covers.
    COLORREF FrameColour(int column, int row) const {
        return At(column * squareSize_, row * squareSize_);
    }
    // Every pixel within thickness of the square's edges has the colour, and none just inside.
    void ExpectFrame(int column, int row, COLORREF colour, int thickness) const {
        const int left = column * squareSize_;
        const int top = row * squareSize_;
        const int last = squareSize_ - 1;
        for (int along = 0; along < squareSize_; ++along) {
            for (int depth = 0; depth < thickness; ++depth) {
                ASSERT_EQ(At(left + along, top + depth), colour) << "top " << along;
                ASSERT_EQ(At(left + along, top + last - depth), colour) << "bottom " << along;
                ASSERT_EQ(At(left + depth, top + along), colour) << "left " << along;
                ASSERT_EQ(At(left + last - depth, top + along), colour) << "right " << along;
            }
        }
        // Just inside the frame, at the middle of each side, the square shows again.
        const int mid = squareSize_ / 2;
        EXPECT_NE(At(left + mid, top + thickness), colour);
        EXPECT_NE(At(left + thickness, top + mid), colour);
        EXPECT_NE(At(left + last - thickness, top + mid), colour);
        EXPECT_NE(At(left + mid, top + last - thickness), colour);
    }
    bool AnyPixelOf(COLORREF colour) const {
        for (COLORREF pixel : bitmap_.Pixels()) {
            if (pixel == colour) return true;
        }
        return false;
    }

  private:
    int squareSize_;
    CDC target_;
    CBitmap bitmap_;
    CBitmap sheet_;
};

COLORREF SquareColour(const Look& look, int column, int row) {
    return (column + row) % 2 == 0 ? look.light : look.dark;
}

struct SizeAndSet {
    int squareSize;
    Look look;
};

class EmptyBoardTest : public ::testing::TestWithParam<SizeAndSet> {};

TEST_P(EmptyBoardTest, PaintsTheSquaresAndNothingOutsideTheBoard) {
    const auto [squareSize, look] = GetParam();
    const Picture picture(EmptyBoard(), GameState{}, squareSize, look);
    const int board = 8 * squareSize;
    for (int y = 0; y < picture.Size(); ++y) {
        for (int x = 0; x < picture.Size(); ++x) {
            const COLORREF expected = x < board && y < board
                                          ? SquareColour(look, x / squareSize, y / squareSize)
                                          : kWindow;
            ASSERT_EQ(picture.At(x, y), expected) << x << "," << y;
        }
    }
}

INSTANTIATE_TEST_SUITE_P(AllSizesBothSets, EmptyBoardTest,
                         ::testing::Values(SizeAndSet{35, kStandard}, SizeAndSet{40, kStandard},
                                           SizeAndSet{80, kStandard}, SizeAndSet{35, kExtra},
                                           SizeAndSet{40, kExtra}, SizeAndSet{80, kExtra}));

// Every piece, on a light and on a dark square, in both sets and at every size: the square
// shows the sheet cell of its side and square colour, stretched to S*24/40 by S*32/40 at
// S/4 from the left and flush with the top, and the square's colour everywhere else.
class PiecePlacementTest : public ::testing::TestWithParam<SizeAndSet> {};

TEST_P(PiecePlacementTest, CopiesTheRightCellToTheRightPlace) {
    const auto [size, look] = GetParam();
    const int width = size * 24 / 40;
    const int height = size * 32 / 40;
    for (SquareCode code : {11, 12, 13, 14, 15, 16, 21, 22, 23, 24, 25, 26}) {
        for (auto [column, row] : {std::pair{2, 4}, {5, 2}}) {  // light, dark
            const Picture picture(WithPiece(column, row, code), GameState{}, size, look);
            const bool dark = (column + row) % 2 != 0;
            const int cellX = (KindOf(code) - 1) * 24;
            const int cellY = (dark ? 64 : 0) + (SideOf(code) == 1 ? 32 : 0);
            for (int y = 0; y < size; ++y) {
                for (int x = 0; x < size; ++x) {
                    const int pieceX = x - size / 4;
                    const bool inPiece = pieceX >= 0 && pieceX < width && y < height;
                    const COLORREF expected = inPiece ? picture.Sheet(cellX + pieceX * 24 / width,
                                                                      cellY + y * 32 / height)
                                                      : SquareColour(look, column, row);
                    ASSERT_EQ(picture.At(column * size + x, row * size + y), expected)
                        << "code " << int{code} << " on " << column << "," << row << " at " << x
                        << "," << y;
                }
            }
        }
    }
}

INSTANTIATE_TEST_SUITE_P(AllSizesBothSets, PiecePlacementTest,
                         ::testing::Values(SizeAndSet{35, kStandard}, SizeAndSet{40, kStandard},
                                           SizeAndSet{80, kStandard}, SizeAndSet{35, kExtra},
                                           SizeAndSet{40, kExtra}, SizeAndSet{80, kExtra}));

// The two kings of the starting position at S = 40: copied one to one from their cells.
TEST(BoardDrawingTest, KingsOfTheStartingPositionComeFromTheirCells) {
    Board board;
    SetUpStartingPosition(board);
    for (const Look& look : {kStandard, kExtra}) {
        const Picture picture(board, GameState{}, 40, look);
        for (int y = 0; y < 32; ++y) {
            for (int x = 0; x < 24; ++x) {
                ASSERT_EQ(picture.At(170 + x, 280 + y), picture.Sheet(120 + x, 64 + y));
                ASSERT_EQ(picture.At(170 + x, 0 + y), picture.Sheet(120 + x, 32 + y));
            }
        }
        // Side 2's king differs from side 1's, so the side's row matters.
        bool differ = false;
        for (int y = 0; y < 32 && !differ; ++y) {
            for (int x = 0; x < 24 && !differ; ++x) {
                differ = picture.Sheet(120 + x, 64 + y) != picture.Sheet(120 + x, 96 + y);
            }
        }
        EXPECT_TRUE(differ);
    }
}

TEST(BoardDrawingTest, EmptySquaresAndUnknownCodesDrawNoPiece) {
    Board board{};
    const SquareCode odd[] = {0, 10, 17, 19, 20, 27, 30, 31, 1, 6, -11, -16, 127, -128};
    for (std::size_t i = 0; i < std::size(odd); ++i) {
        board[i * 4] = odd[i];
    }
    const Picture withOdd(board, GameState{}, 40, kStandard);
    const Picture empty(EmptyBoard(), GameState{}, 40, kStandard);
    for (int y = 0; y < 320; ++y) {
        for (int x = 0; x < 320; ++x) {
            ASSERT_EQ(withOdd.At(x, y), empty.At(x, y)) << x << "," << y;
        }
    }
}

TEST(BoardDrawingTest, SwitchingTheSetChangesSquaresAndPieces) {
    Board board;
    SetUpStartingPosition(board);
    const Picture standard(board, GameState{}, 40, kStandard);
    const Picture extra(board, GameState{}, 40, kExtra);
    EXPECT_EQ(standard.At(0 * 40 + 2, 3 * 40 + 2), kStandard.dark);
    EXPECT_EQ(extra.At(0 * 40 + 2, 3 * 40 + 2), kExtra.dark);
    EXPECT_TRUE(extra.AnyPixelOf(RGB(255, 251, 240)));
    EXPECT_FALSE(standard.AnyPixelOf(RGB(255, 251, 240)));
    EXPECT_TRUE(extra.AnyPixelOf(RGB(64, 64, 64)));
}

struct FrameCase {
    int squareSize;
    int thickness;
};

class FrameTest : public ::testing::TestWithParam<FrameCase> {};

TEST_P(FrameTest, EachFrameHasItsColourAndThickness) {
    const auto [size, thickness] = GetParam();
    Board board;
    SetUpStartingPosition(board);  // frames lie over the pieces too
    GameState state;
    state.LastMoveSquare = MakeSquareRef(0, 0);
    state.HintFrom = {1, 6};
    state.HintTo = {7, 2};
    state.SelectedSquare = MakeSquareRef(4, 7);
    state.TargetMoves[0] = PackMove(4, 7, 4, 5);
    state.TargetMoves[1] = PackMove(4, 7, 6, 3);
    state.TargetCount = 2;
    const Picture picture(board, state, size, kStandard);
    picture.ExpectFrame(0, 0, kBlue, thickness);
    picture.ExpectFrame(1, 6, kGreen, thickness);
    picture.ExpectFrame(7, 2, kGreen, thickness);
    picture.ExpectFrame(4, 7, kRed, thickness);
    picture.ExpectFrame(4, 5, kYellow, thickness);
    picture.ExpectFrame(6, 3, kYellow, thickness);
}

INSTANTIATE_TEST_SUITE_P(AllSizes, FrameTest,
                         ::testing::Values(FrameCase{35, 2}, FrameCase{40, 2}, FrameCase{80, 5}));

// Later frames cover earlier ones on the same square: red over blue, yellow over green.
TEST(BoardDrawingTest, FramesAreDrawnInTheirOrder) {
    GameState state;
    state.LastMoveSquare = MakeSquareRef(3, 3);
    state.SelectedSquare = MakeSquareRef(3, 3);
    state.HintFrom = {3, 3};
    state.HintTo = {5, 5};
    state.TargetMoves[0] = PackMove(3, 3, 5, 5);
    state.TargetCount = 1;
    const Picture picture(EmptyBoard(), state, 40, kExtra);
    picture.ExpectFrame(3, 3, kRed, 2);
    picture.ExpectFrame(5, 5, kYellow, 2);
    EXPECT_FALSE(picture.AnyPixelOf(kBlue));
    EXPECT_FALSE(picture.AnyPixelOf(kGreen));
}

TEST(BoardDrawingTest, TheHintCoversTheLastMove) {
    GameState state;
    state.HintFrom = {2, 2};
    state.HintTo = {2, 2};
    state.LastMoveSquare = MakeSquareRef(2, 2);  // the hint is drawn after the last move
    const Picture picture(EmptyBoard(), state, 40, kStandard);
    picture.ExpectFrame(2, 2, kGreen, 2);
    EXPECT_FALSE(picture.AnyPixelOf(kBlue));
}

TEST(BoardDrawingTest, OnlyTheHintOriginsColumnDecidesWhetherTheHintShows) {
    GameState shown;
    shown.HintFrom = {0, -1};
    shown.HintTo = {6, 6};
    const Picture withHint(EmptyBoard(), shown, 40, kStandard);
    withHint.ExpectFrame(6, 6, kGreen, 2);

    GameState hidden;
    hidden.HintFrom = {-1, 4};
    hidden.HintTo = {6, 6};
    const Picture withoutHint(EmptyBoard(), hidden, 40, kStandard);
    EXPECT_FALSE(withoutHint.AnyPixelOf(kGreen));
}

TEST(BoardDrawingTest, NoTargetsWithoutASelection) {
    GameState state;
    state.SelectedSquare = kNoSquare;
    state.TargetMoves[0] = PackMove(1, 6, 1, 5);
    state.TargetMoves[1] = PackMove(1, 6, 1, 4);
    state.TargetCount = 2;  // left over from a dropped selection
    const Picture picture(EmptyBoard(), state, 40, kStandard);
    EXPECT_FALSE(picture.AnyPixelOf(kYellow));
    EXPECT_FALSE(picture.AnyPixelOf(kRed));
}

TEST(BoardDrawingTest, ASelectionWithoutTargetsShowsOnlyRed) {
    GameState state;
    state.SelectedSquare = MakeSquareRef(7, 7);
    state.TargetMoves[0] = PackMove(7, 7, 7, 6);  // beyond the count: not shown
    state.TargetCount = 0;
    const Picture picture(EmptyBoard(), state, 80, kStandard);
    picture.ExpectFrame(7, 7, kRed, 5);
    EXPECT_FALSE(picture.AnyPixelOf(kYellow));
}

TEST(BoardDrawingTest, OnlyTheCountedTargetsShow) {
    GameState state;
    state.SelectedSquare = MakeSquareRef(1, 7);
    state.TargetMoves[0] = PackMove(1, 7, 0, 5);
    state.TargetMoves[1] = PackMove(1, 7, 2, 5);
    state.TargetMoves[2] = PackMove(1, 7, 3, 6);
    state.TargetCount = 2;
    const Picture picture(EmptyBoard(), state, 40, kStandard);
    picture.ExpectFrame(0, 5, kYellow, 2);
    picture.ExpectFrame(2, 5, kYellow, 2);
    EXPECT_NE(picture.FrameColour(3, 6), kYellow);
}

// Values no game produces, as a hand-made state might hold: the board is drawn, frames that
// would lie off the board are not, and nothing is read beyond the target list.
TEST(BoardDrawingTest, NonsenseStateDrawsTheBoardSafely) {
    GameState state;
    state.SelectedSquare = INT_MAX;
    state.LastMoveSquare = 899;  // column 8
    state.HintFrom = {INT_MAX, INT_MIN};
    state.HintTo = {INT_MIN, INT_MAX};
    state.TargetMoves.fill(PackMove(0, 0, 200, 250));
    state.TargetMoves.back() = PackMove(0, 0, 1, 1);
    state.TargetCount = INT_MAX;
    const Picture picture(EmptyBoard(), state, 40, kStandard);
    picture.ExpectFrame(1, 1, kYellow, 2);
    EXPECT_FALSE(picture.AnyPixelOf(kRed));
    EXPECT_FALSE(picture.AnyPixelOf(kBlue));
    EXPECT_FALSE(picture.AnyPixelOf(kGreen));
    EXPECT_EQ(picture.At(320, 0), kWindow);
    EXPECT_EQ(picture.At(0, 320), kWindow);
}

// A client area smaller than the board shows the board's top-left part; no target at all
// gets nothing.
TEST(BoardDrawingTest, ASmallTargetGetsTheTopLeftOfTheBoard) {
    SetSquareSize(40);
    SetPieceSet(kStandardSet);
    DrawBoard(nullptr, EmptyBoard(), GameState{});
    CDC withoutBitmap;
    DrawBoard(&withoutBitmap, EmptyBoard(), GameState{});
    EXPECT_EQ(withoutBitmap.GetSelectedBitmap(), nullptr);

    CDC small;
    CBitmap pixels;
    ASSERT_TRUE(pixels.CreateCompatibleBitmap(&small, 50, 30));
    small.SelectObject(&pixels);
    DrawBoard(&small, EmptyBoard(), GameState{});
    EXPECT_EQ(small.GetSelectedBitmap(), &pixels);
    EXPECT_EQ(pixels.GetPixel(39, 29), kStandard.light);
    EXPECT_EQ(pixels.GetPixel(40, 29), kStandard.dark);
}

}  // namespace
}  // namespace kelvane
