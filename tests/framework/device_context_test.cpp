// SPDX-License-Identifier: GPL-3.0-or-later
#include "framework/device_context.h"

#include <gtest/gtest.h>

namespace kelvane::framework {
namespace {

constexpr COLORREF kPaper = RGB(1, 2, 3);

// A memory DC with its own bitmap, filled with kPaper or, patterned, with a colour per pixel
// (red = x, green = y) so any misplaced copy shows.
struct Surface {
    CDC dc;
    CBitmap bitmap;
    Surface(int width, int height, bool patterned = false) {
        EXPECT_TRUE(bitmap.CreateCompatibleBitmap(&dc, width, height));
        dc.SelectObject(&bitmap);
        dc.FillSolidRect(0, 0, width, height, kPaper);
        for (int y = 0; patterned && y < height; ++y) {
            for (int x = 0; x < width; ++x) bitmap.SetPixel(x, y, RGB(x, y, 7));
        }
    }
};

TEST(CDCTest, RefusesWhatItCannotDraw) {
    CBitmap bitmap;
    for (auto [width, height] : {std::pair{0, 5}, {-1, 5}, {100000, 100000}})
        EXPECT_FALSE(bitmap.CreateCompatibleBitmap(nullptr, width, height) || bitmap.IsValid());
    for (unsigned id : {0u, 132u})  // the sheets are 131 and 133
        EXPECT_FALSE(bitmap.LoadBitmap(id) || bitmap.IsValid()) << id;
    CDC empty;
    Surface source(4, 4);
    Surface target(4, 4);
    target.dc.FillSolidRect(2, 2, -2, 3, RGB(5, 5, 5));
    target.dc.FillSolidRect(2147483000, 0, 2147483000, 5, RGB(5, 5, 5));
    EXPECT_FALSE(target.dc.BitBlt(0, 0, 4, 4, &empty, 0, 0, SRCCOPY));
    EXPECT_FALSE(target.dc.BitBlt(0, 0, 2, 2, &source.dc, 0, 0, 0x00EE0086));  // SRCPAINT
    EXPECT_FALSE(target.dc.StretchBlt(0, 0, -3, 3, &source.dc, 0, 0, 2, 2, SRCCOPY));
    EXPECT_FALSE(target.dc.StretchBlt(0, 0, 3, 3, &source.dc, 0, 0, 0, 2, SRCCOPY));
    for (COLORREF pixel : target.bitmap.Pixels()) ASSERT_EQ(pixel, kPaper);
}

// Stretches the source rectangle of a 24 by 32 patterned bitmap onto paper; target pixel
// (x, y) must show source pixel (columns[x], rows[y]), or keep its paper where either is -1.
void ExpectStretch(int x, int y, int width, int height, int fromX, int fromY, int fromWidth,
                   int fromHeight, const std::vector<int>& columns, const std::vector<int>& rows) {
    Surface source(24, 32, true);
    Surface target(static_cast<int>(columns.size()), static_cast<int>(rows.size()));
    EXPECT_TRUE(target.dc.StretchBlt(x, y, width, height, &source.dc, fromX, fromY, fromWidth,
                                     fromHeight, SRCCOPY));
    std::vector<COLORREF> expected;
    for (int row : rows) {
        for (int c : columns) expected.push_back(c < 0 || row < 0 ? kPaper : RGB(c, row, 7));
    }
    EXPECT_EQ(target.bitmap.Pixels(), expected);
}

// The small board's pieces are drawn for exactly this sampling: source columns 7, 15 and 23
// and rows 7, 15, 23 and 31 dropped, the rest kept in order.
TEST(CDCTest, StretchBltShrinksToTheSmallBoardByDroppingEvenlySpreadLines) {
    ExpectStretch(0, 0, 21, 28, 0, 0, 24, 32,
                  {0, 1, 2, 3, 4, 5, 6, 8, 9, 10, 11, 12, 13, 14, 16, 17, 18, 19, 20, 21, 22},
                  {0,  1,  2,  3,  4,  5,  6,  8,  9,  10, 11, 12, 13, 14,
                   16, 17, 18, 19, 20, 21, 22, 24, 25, 26, 27, 28, 29, 30});
}

// Target x -1 and 0 both take source column 21; source column 24 does not exist; the last row
// of the stretch lies below the target.
TEST(CDCTest, StretchBltReadsItsSourceRectangleAndClips) {
    ExpectStretch(-1, 1, 6, 4, 21, 29, 4, 2, {21, 22, 23, 23, -1}, {-1, 29, 29, 30});
}

}  // namespace
}  // namespace kelvane::framework
