// SPDX-License-Identifier: GPL-3.0-or-later
// The board picture: the piece art of both sets, and the board drawn from it.
#include "app/board_drawing.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <string>

#include "app/display_settings.h"
#include "res/piece_art.h"

namespace kelvane {
namespace {

using namespace framework;
using res::kCellBackground;

constexpr COLORREF kWindow = RGB(12, 34, 56);  // around the board: the drawing leaves it alone

struct PieceSet {
    const char* name;
    int pieceSet;
    std::string_view (*art)();
    COLORREF light, dark, whiteBody;
};
const PieceSet kSets[] = {
    {"Standard", kStandardSet, res::StandardSetArt, RGB(192, 192, 192), RGB(128, 128, 128),
     RGB(255, 255, 255)},
    {"Extra", kExtraSet, res::ExtraSetArt, RGB(255, 255, 255), RGB(192, 192, 192),
     RGB(255, 251, 240)},
};

// A set's art, cells[side - 1][kind - 1]; it must parse.
res::PieceArt ArtOf(const PieceSet& set) {
    const res::PieceArtParse parsed = res::ParsePieceArt(set.art());
    EXPECT_TRUE(parsed.ok) << parsed.error;
    return parsed.art;
}

class PieceArtTest : public ::testing::TestWithParam<PieceSet> {};

// A cell's border leaves the square showing, or the copied rectangle shows a seam. Shrunk for
// the small board or doubled for the large one, a white piece's body stays enclosed by its
// outline: no body pixel borders the square showing through.
TEST_P(PieceArtTest, CellsKeepTheirBordersAndWhitePiecesTheirOutlinesAtEveryBoardSize) {
    const res::PieceArt art = ArtOf(GetParam());
    for (const auto& side : art.cells) {
        for (const res::PieceCell& cell : side) {
            for (std::size_t i = 0; i < cell.size(); ++i) {
                const bool border = i % 24 == 0 || i % 24 == 23 || i < 24 || i >= 24 * 31;
                EXPECT_TRUE(cell[i] == kCellBackground || !border) << i;
            }
        }
    }
    for (auto [width, height] : {std::pair{21, 28}, {24, 32}, {48, 64}}) {
        for (const res::PieceCell& cell : art.cells[1]) {
            auto at = [&](int x, int y) {  // beyond the cell counts as outline
                if (x < 0 || y < 0 || x >= width || y >= height) return RGB(0, 0, 0);
                return cell[static_cast<std::size_t>((y * 32 / height) * 24 + x * 24 / width)];
            };
            int body = 0;
            for (int i = 0; i < width * height; ++i) {
                const int x = i % width;
                const int y = i / width;
                if (at(x, y) != GetParam().whiteBody) continue;
                ++body;
                for (auto [dx, dy] : {std::pair{1, 0}, {-1, 0}, {0, 1}, {0, -1}}) {
                    EXPECT_NE(at(x + dx, y + dy), kCellBackground)
                        << width << ": " << x << "," << y;
                }
            }
            EXPECT_GT(body, 0);
        }
    }
}

INSTANTIATE_TEST_SUITE_P(BothSets, PieceArtTest, ::testing::ValuesIn(kSets),
                         [](const auto& test) { return std::string(test.param.name); });

// Draws into a target a little larger than the board, as a window's client area may be.
class Picture {
  public:
    Picture(const Board& board, const GameState& state, int squareSize, const PieceSet& set)
        : size_(squareSize) {
        SetSquareSize(squareSize);
        SetPieceSet(set.pieceSet);
        const int side = 8 * squareSize + 7;
        bitmap_.CreateCompatibleBitmap(&target_, side, side);
        target_.SelectObject(&bitmap_);
        target_.FillSolidRect(0, 0, side, side, kWindow);
        DrawBoard(&target_, board, state);
    }
    COLORREF At(int x, int y) const { return bitmap_.GetPixel(x, y); }
    int Width() const { return bitmap_.Width(); }
    // This picture is plain with the frames laid over it, given by colour letter, column and
    // row ("R47": red on (4, 7)); a frame covers the pixels within thickness of its edges.
    void ExpectFramesOver(const Picture& plain, const std::string& frames, int thickness) const {
        const COLORREF bgry[] = {RGB(0, 0, 255), RGB(0, 255, 0), RGB(255, 0, 0), RGB(255, 255, 0)};
        std::map<int, COLORREF> framed;  // by column * 8 + row
        for (std::size_t i = 0; i + 2 < frames.size(); i += 4) {
            framed[(frames[i + 1] - '0') * 8 + frames[i + 2] - '0'] =
                bgry[std::string_view("BGRY").find(frames[i])];
        }
        for (int y = 0; y < Width(); ++y) {
            for (int x = 0; x < Width(); ++x) {
                const auto frame = framed.find(x / size_ * 8 + y / size_);
                const int depth =
                    std::min({x % size_, y % size_, size_ - 1 - x % size_, size_ - 1 - y % size_});
                const bool onFrame =
                    x < 8 * size_ && y < 8 * size_ && frame != framed.end() && depth < thickness;
                ASSERT_EQ(At(x, y), onFrame ? frame->second : plain.At(x, y)) << x << "," << y;
            }
        }
    }

  private:
    int size_;
    CDC target_;
    CBitmap bitmap_;
};

class BoardPictureTest : public ::testing::TestWithParam<std::tuple<int, PieceSet>> {};

// The starting position with each queen and king added on both square colours, and codes that
// name no piece on rows 3 and 4. Each square shows its colour and, for a piece, its art
// stretched to S*24/40 by S*32/40, S/4 in and flush with the top, the square showing through.
TEST_P(BoardPictureTest, DrawsEachSquareAndPieceExactly) {
    const auto [size, set] = GetParam();
    Board pieces;
    SetUpStartingPosition(pieces);
    const SquareCode added[] = {15, 15, 16, 16, 25, 25, 26, 26};
    const SquareCode odd[] = {0, 10, 17, 19, 20, 27, 30, 31, 1, 6, -11, -16, 127, -128};
    Board board = pieces;
    for (int n = 0; n < 8; ++n) pieces[SquareIndex(n, 2)] = board[SquareIndex(n, 2)] = added[n];
    for (int n = 0; n < 14; ++n) board[SquareIndex(n % 8, 3 + n / 8)] = odd[n];
    const Picture picture(board, GameState{}, size, set);
    const res::PieceArt cells = ArtOf(set);
    // Each size's piece: its offset from the square's left, its drawn size, and the art line
    // each drawn line shows: every one at 40, each twice at 80, and at 35 all but the art's
    // lines 7, 15, 23 (and row 31).
    const auto [offset, width, height] = size == 35   ? std::tuple{8, 21, 28}
                                         : size == 40 ? std::tuple{10, 24, 32}
                                                      : std::tuple{20, 48, 64};
    const auto art = [&](int line) {
        return size == 80 ? line / 2 : size == 40 ? line : line + line / 7;
    };
    for (int y = 0; y < picture.Width(); ++y) {
        for (int x = 0; x < picture.Width(); ++x) {
            const bool onBoard = x < 8 * size && y < 8 * size;
            const int code = onBoard ? pieces[SquareIndex(x / size, y / size)] : 0;
            const int pieceX = x % size - offset;
            const int pieceY = y % size;
            const bool dark = (x / size + y / size) % 2 != 0;
            COLORREF expected = !onBoard ? kWindow : dark ? set.dark : set.light;
            if (code != 0 && pieceX >= 0 && pieceX < width && pieceY < height) {
                const std::uint32_t pixel =
                    cells.cells[code / 10 - 1][code % 10 - 1][art(pieceY) * 24 + art(pieceX)];
                expected = pixel == kCellBackground ? expected : pixel;
            }
            ASSERT_EQ(picture.At(x, y), expected) << "at " << x << "," << y;
        }
    }
}

INSTANTIATE_TEST_SUITE_P(AllSizesBothSets, BoardPictureTest,
                         ::testing::Combine(::testing::Values(35, 40, 80),
                                            ::testing::ValuesIn(kSets)),
                         [](const auto& test) {
                             return std::get<1>(test.param).name +
                                    std::to_string(std::get<0>(test.param));
                         });

// A state's frames on the starting position. Squares are column*100 + row.
struct FrameCase {
    const char* name;
    int size, thickness;
    SquareRef lastMove, selected;
    Square hintFrom, hintTo;
    std::vector<std::pair<int, int>> targets;
    int targetCount;
    const char* frames;
};

// clang-format off
const FrameCase kFrameCases[] = {
    {"AllAt35", 35, 2, 0, 407, {1, 6}, {7, 2}, {{4, 5}, {6, 3}}, 2, "B00 G16 G72 R47 Y45 Y63"},
    {"AllAt40", 40, 2, 0, 407, {1, 6}, {7, 2}, {{4, 5}, {6, 3}}, 2, "B00 G16 G72 R47 Y45 Y63"},
    {"AllAt80", 80, 5, 0, 407, {1, 6}, {7, 2}, {{4, 5}, {6, 3}}, 2, "B00 G16 G72 R47 Y45 Y63"},
    {"RedOverBlueYellowOverGreen", 40, 2, 303, 303, {3, 3}, {5, 5}, {{5, 5}}, 1, "R33 Y55"},
    {"GreenOverBlue", 40, 2, 202, -1, {2, 2}, {2, 2}, {}, 0, "G22"},
    {"HintShownWithOriginRowOff", 40, 2, -1, -1, {0, -1}, {6, 6}, {}, 0, "G66"},
    {"HintHiddenWithOriginColumnOff", 40, 2, -1, -1, {-1, 4}, {6, 6}, {}, 0, ""},
    {"NoTargetsWithoutASelection", 40, 2, -1, -1, {-1, -1}, {-1, -1}, {{1, 5}}, 1, ""},
    {"OnlyTheCountedTargets", 80, 5, -1, 107, {-1, -1}, {-1, -1}, {{0, 5}, {2, 5}, {3, 6}}, 2,
     "R17 Y05 Y25"},
};
// clang-format on

class FrameTest : public ::testing::TestWithParam<FrameCase> {};

TEST_P(FrameTest, ShowsExactlyItsFrames) {
    const FrameCase& c = GetParam();
    Board board;
    SetUpStartingPosition(board);  // frames lie over the pieces
    GameState state{.SelectedSquare = c.selected,
                    .TargetCount = c.targetCount,
                    .LastMoveSquare = c.lastMove,
                    .HintFrom = c.hintFrom,
                    .HintTo = c.hintTo};
    std::size_t slot = 0;
    for (auto [column, row] : c.targets) state.TargetMoves[slot++] = PackMove(0, 0, column, row);
    const Picture plain(board, GameState{}, c.size, kSets[0]);
    Picture(board, state, c.size, kSets[0]).ExpectFramesOver(plain, c.frames, c.thickness);
}

INSTANTIATE_TEST_SUITE_P(States, FrameTest, ::testing::ValuesIn(kFrameCases),
                         [](const auto& test) { return std::string(test.param.name); });

}  // namespace
}  // namespace kelvane
