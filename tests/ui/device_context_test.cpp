#include "platform/device_context.h"

#include <gtest/gtest.h>

#include "res/bitmap_resources.h"

namespace kelvane::platform {
namespace {

constexpr COLORREF kPaper = RGB(1, 2, 3);

// A memory DC with its own bitmap of the given size, filled with kPaper.
struct Surface {
    CDC dc;
    CBitmap bitmap;
    Surface(int width, int height) {
        dc.CreateCompatibleDC(nullptr);
        EXPECT_TRUE(bitmap.CreateCompatibleBitmap(&dc, width, height));
        dc.SelectObject(&bitmap);
        dc.FillSolidRect(0, 0, width, height, kPaper);
    }
};

// A distinct colour for every pixel, so any misplaced copy shows.
void FillWithPattern(Surface& surface) {
    for (int y = 0; y < surface.bitmap.Height(); ++y) {
        for (int x = 0; x < surface.bitmap.Width(); ++x) {
            surface.bitmap.SetPixel(x, y, RGB(x, y, 7));
        }
    }
}

TEST(CBitmapTest, NewBitmapHasItsSizeAndRejectsImpossibleOnes) {
    CBitmap bitmap;
    EXPECT_FALSE(bitmap.IsValid());
    EXPECT_TRUE(bitmap.CreateCompatibleBitmap(nullptr, 3, 2));
    EXPECT_EQ(bitmap.Width(), 3);
    EXPECT_EQ(bitmap.Height(), 2);
    EXPECT_EQ(bitmap.Pixels().size(), 6u);

    for (auto [width, height] : {std::pair{0, 5}, {5, 0}, {-1, 5}, {100000, 100000}}) {
        CBitmap refused;
        EXPECT_FALSE(refused.CreateCompatibleBitmap(nullptr, width, height))
            << width << " x " << height;
        EXPECT_FALSE(refused.IsValid());
    }
}

TEST(CBitmapTest, PixelsOutsideReadAsInvalidAndIgnoreWrites) {
    CBitmap bitmap;
    ASSERT_TRUE(bitmap.CreateCompatibleBitmap(nullptr, 2, 2));
    bitmap.SetPixel(1, 1, RGB(9, 9, 9));
    bitmap.SetPixel(2, 0, RGB(9, 9, 9));
    bitmap.SetPixel(-1, 0, RGB(9, 9, 9));
    EXPECT_EQ(bitmap.GetPixel(1, 1), RGB(9, 9, 9));
    EXPECT_EQ(bitmap.GetPixel(2, 0), CLR_INVALID);
    EXPECT_EQ(bitmap.GetPixel(0, -1), CLR_INVALID);
    EXPECT_TRUE(bitmap.DeleteObject());
    EXPECT_EQ(bitmap.GetPixel(0, 0), CLR_INVALID);
}

TEST(CBitmapTest, LoadsOnlyThePieceSheets) {
    for (unsigned id : {res::IDB_STANDARD_SET, res::IDB_EXTRA_SET}) {
        CBitmap sheet;
        ASSERT_TRUE(sheet.LoadBitmap(id)) << id;
        EXPECT_EQ(sheet.Width(), 144);
        EXPECT_EQ(sheet.Height(), 130);
    }
    for (unsigned id : {0u, 1u, 130u, 132u, 134u, 0xFFFFFFFFu}) {
        CBitmap missing;
        EXPECT_FALSE(missing.LoadBitmap(id)) << id;
        EXPECT_FALSE(missing.IsValid());
    }
}

TEST(CDCTest, SelectObjectHandsBackThePreviousBitmap) {
    CDC dc;
    CBitmap first;
    CBitmap second;
    EXPECT_EQ(dc.SelectObject(&first), nullptr);
    EXPECT_EQ(dc.SelectObject(&second), &first);
    EXPECT_EQ(dc.GetSelectedBitmap(), &second);
}

TEST(CDCTest, FillSolidRectPaintsExactlyTheRectangleClippedToTheBitmap) {
    Surface surface(6, 5);
    surface.dc.FillSolidRect(4, 3, 10, 10, RGB(255, 0, 0));
    surface.dc.FillSolidRect(-3, -3, 4, 5, RGB(0, 255, 0));
    surface.dc.FillSolidRect(2, 2, 0, 3, RGB(0, 0, 255));   // empty
    surface.dc.FillSolidRect(2, 2, -2, 3, RGB(0, 0, 255));  // empty
    surface.dc.FillSolidRect(2147483000, 0, 2147483000, 5, RGB(0, 0, 255));
    for (int y = 0; y < 5; ++y) {
        for (int x = 0; x < 6; ++x) {
            COLORREF expected = kPaper;
            if (x >= 4 && y >= 3) expected = RGB(255, 0, 0);
            if (x == 0 && y <= 1) expected = RGB(0, 255, 0);
            EXPECT_EQ(surface.bitmap.GetPixel(x, y), expected) << x << "," << y;
        }
    }
}

TEST(CDCTest, DrawingWithoutABitmapDoesNothing) {
    CDC empty;
    Surface source(4, 4);
    empty.FillSolidRect(0, 0, 4, 4, RGB(5, 5, 5));
    EXPECT_FALSE(empty.BitBlt(0, 0, 4, 4, &source.dc, 0, 0, SRCCOPY));
    EXPECT_FALSE(source.dc.BitBlt(0, 0, 4, 4, &empty, 0, 0, SRCCOPY));
    EXPECT_FALSE(source.dc.BitBlt(0, 0, 4, 4, nullptr, 0, 0, SRCCOPY));
    CBitmap deleted;
    empty.SelectObject(&deleted);
    EXPECT_FALSE(source.dc.StretchBlt(0, 0, 4, 4, &empty, 0, 0, 2, 2, SRCCOPY));
    EXPECT_EQ(source.bitmap.GetPixel(0, 0), kPaper);
}

TEST(CDCTest, BitBltCopiesOneToOneAndClipsBothSides) {
    Surface source(4, 3);
    FillWithPattern(source);
    Surface target(5, 5);
    EXPECT_TRUE(target.dc.BitBlt(2, 1, 4, 3, &source.dc, 1, 0, SRCCOPY));
    for (int y = 0; y < 5; ++y) {
        for (int x = 0; x < 5; ++x) {
            const int fromX = x - 2 + 1;
            const int fromY = y - 1;
            // Source column 4 does not exist: that destination pixel stays as it was.
            const bool copied = x >= 2 && y >= 1 && y <= 3 && fromX < 4;
            EXPECT_EQ(target.bitmap.GetPixel(x, y), copied ? RGB(fromX, fromY, 7) : kPaper)
                << x << "," << y;
        }
    }
}

TEST(CDCTest, BitBltOnlyKnowsSourceCopy) {
    Surface source(2, 2);
    Surface target(2, 2);
    source.dc.FillSolidRect(0, 0, 2, 2, RGB(8, 8, 8));
    EXPECT_FALSE(target.dc.BitBlt(0, 0, 2, 2, &source.dc, 0, 0, 0x00EE0086));  // SRCPAINT
    EXPECT_EQ(target.bitmap.GetPixel(0, 0), kPaper);
}

TEST(CDCTest, BitBltWithinOneBitmapReadsThePixelsAsTheyWere) {
    Surface surface(4, 1);
    FillWithPattern(surface);
    EXPECT_TRUE(surface.dc.BitBlt(1, 0, 3, 1, &surface.dc, 0, 0, SRCCOPY));
    EXPECT_EQ(surface.bitmap.GetPixel(0, 0), RGB(0, 0, 7));
    EXPECT_EQ(surface.bitmap.GetPixel(1, 0), RGB(0, 0, 7));
    EXPECT_EQ(surface.bitmap.GetPixel(2, 0), RGB(1, 0, 7));
    EXPECT_EQ(surface.bitmap.GetPixel(3, 0), RGB(2, 0, 7));
}

TEST(CDCTest, StretchBltDoublesEveryPixel) {
    Surface source(24, 32);
    FillWithPattern(source);
    Surface target(48, 64);
    EXPECT_TRUE(target.dc.StretchBlt(0, 0, 48, 64, &source.dc, 0, 0, 24, 32, SRCCOPY));
    for (int y = 0; y < 64; ++y) {
        for (int x = 0; x < 48; ++x) {
            ASSERT_EQ(target.bitmap.GetPixel(x, y), RGB(x / 2, y / 2, 7)) << x << "," << y;
        }
    }
}

// Shrinking a 24 by 32 cell to 21 by 28 keeps all source columns but 7, 15 and 23 and all
// source rows but 7, 15, 23 and 31, in order: the piece art relies on exactly these.
TEST(CDCTest, StretchBltShrinksByDroppingEvenlySpreadLines) {
    Surface source(24, 32);
    FillWithPattern(source);
    Surface target(21, 28);
    EXPECT_TRUE(target.dc.StretchBlt(0, 0, 21, 28, &source.dc, 0, 0, 24, 32, SRCCOPY));
    std::vector<int> columns;
    for (int x = 0; x < 21; ++x) columns.push_back(GetRValue(target.bitmap.GetPixel(x, 0)));
    std::vector<int> rows;
    for (int y = 0; y < 28; ++y) rows.push_back(GetGValue(target.bitmap.GetPixel(0, y)));
    EXPECT_EQ(columns, (std::vector<int>{0,  1,  2,  3,  4,  5,  6,  8,  9,  10, 11,
                                         12, 13, 14, 16, 17, 18, 19, 20, 21, 22}));
    EXPECT_EQ(rows, (std::vector<int>{0,  1,  2,  3,  4,  5,  6,  8,  9,  10, 11, 12, 13, 14,
                                      16, 17, 18, 19, 20, 21, 22, 24, 25, 26, 27, 28, 29, 30}));
    for (int y = 0; y < 28; ++y) {
        for (int x = 0; x < 21; ++x) {
            ASSERT_EQ(target.bitmap.GetPixel(x, y), RGB(columns[static_cast<std::size_t>(x)],
                                                        rows[static_cast<std::size_t>(y)], 7));
        }
    }
}

TEST(CDCTest, StretchBltReadsFromTheSourceRectangleAndClipsTheTarget) {
    Surface source(10, 10);
    FillWithPattern(source);
    Surface target(3, 3);
    EXPECT_TRUE(target.dc.StretchBlt(-1, 1, 4, 4, &source.dc, 6, 4, 2, 2, SRCCOPY));
    EXPECT_EQ(target.bitmap.GetPixel(0, 0), kPaper);
    EXPECT_EQ(target.bitmap.GetPixel(0, 1), RGB(6, 4, 7));  // destination x -1 and 0 take 6
    EXPECT_EQ(target.bitmap.GetPixel(1, 1), RGB(7, 4, 7));
    EXPECT_EQ(target.bitmap.GetPixel(2, 2), RGB(7, 4, 7));
    EXPECT_FALSE(target.dc.StretchBlt(0, 0, -3, 3, &source.dc, 0, 0, 2, 2, SRCCOPY));
    EXPECT_FALSE(target.dc.StretchBlt(0, 0, 3, 3, &source.dc, 0, 0, 0, 2, SRCCOPY));
}

}  // namespace
}  // namespace kelvane::platform
