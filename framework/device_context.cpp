// SPDX-License-Identifier: GPL-3.0-or-later
#include "framework/device_context.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>

#include "framework/resources.h"

namespace kelvane::framework {

namespace {

// No picture of the game comes near this; a request beyond it is a fault, not a bitmap.
constexpr std::int64_t kMaxPixels = std::int64_t{1} << 26;

bool Inside(const CBitmap& bitmap, std::int64_t x, std::int64_t y) {
    return x >= 0 && y >= 0 && x < bitmap.Width() && y < bitmap.Height();
}

std::size_t Offset(const CBitmap& bitmap, std::int64_t x, std::int64_t y) {
    return static_cast<std::size_t>(y * bitmap.Width() + x);
}

}  // namespace

bool CBitmap::CreateCompatibleBitmap(CDC* dc, int width, int height) {
    (void)dc;  // every device context here has the same 32-bit format
    if (width <= 0 || height <= 0 ||
        static_cast<std::int64_t>(width) * static_cast<std::int64_t>(height) > kMaxPixels) {
        return false;
    }
    width_ = width;
    height_ = height;
    // A new bitmap's contents are undefined; black keeps the pictures reproducible.
    pixels_.assign(static_cast<std::size_t>(width) * static_cast<std::size_t>(height),
                   RGB(0, 0, 0));
    return true;
}

bool CBitmap::LoadBitmap(unsigned resourceId) {
    const BitmapResource* sheet = FindBitmapResource(resourceId);
    if (sheet == nullptr || sheet->pixels == nullptr || sheet->width <= 0 || sheet->height <= 0) {
        return false;
    }
    width_ = sheet->width;
    height_ = sheet->height;
    pixels_.assign(sheet->pixels, sheet->pixels + static_cast<std::size_t>(width_) *
                                                      static_cast<std::size_t>(height_));
    return true;
}

bool CBitmap::DeleteObject() {
    const bool hadPixels = IsValid();
    width_ = 0;
    height_ = 0;
    pixels_.clear();
    pixels_.shrink_to_fit();
    return hadPixels;
}

COLORREF CBitmap::GetPixel(int x, int y) const {
    if (!Inside(*this, x, y)) {
        return CLR_INVALID;
    }
    return pixels_[Offset(*this, x, y)];
}

void CBitmap::SetPixel(int x, int y, COLORREF color) {
    if (Inside(*this, x, y)) {
        pixels_[Offset(*this, x, y)] = color;
    }
}

bool CDC::CreateCompatibleDC(CDC* dc) {
    (void)dc;
    selected_ = nullptr;
    return true;
}

bool CDC::DeleteDC() {
    selected_ = nullptr;
    return true;
}

CBitmap* CDC::SelectObject(CBitmap* bitmap) {
    CBitmap* previous = selected_;
    selected_ = bitmap;
    return previous;
}

void CDC::FillSolidRect(int x, int y, int width, int height, COLORREF color) {
    if (selected_ == nullptr || width <= 0 || height <= 0) {
        return;
    }
    CBitmap& bitmap = *selected_;
    const std::int64_t left = std::max<std::int64_t>(x, 0);
    const std::int64_t top = std::max<std::int64_t>(y, 0);
    const std::int64_t right = std::min<std::int64_t>(std::int64_t{x} + width, bitmap.Width());
    const std::int64_t bottom = std::min<std::int64_t>(std::int64_t{y} + height, bitmap.Height());
    for (std::int64_t row = top; row < bottom; ++row) {
        for (std::int64_t column = left; column < right; ++column) {
            bitmap.SetPixel(static_cast<int>(column), static_cast<int>(row), color);
        }
    }
}

bool CDC::BitBlt(int x, int y, int width, int height, CDC* source, int sourceX, int sourceY,
                 std::uint32_t rop) {
    return StretchBlt(x, y, width, height, source, sourceX, sourceY, width, height, rop);
}

bool CDC::StretchBlt(int x, int y, int width, int height, CDC* source, int sourceX, int sourceY,
                     int sourceWidth, int sourceHeight, std::uint32_t rop) {
    if (rop != SRCCOPY || source == nullptr || selected_ == nullptr ||
        source->selected_ == nullptr || width <= 0 || height <= 0 || sourceWidth <= 0 ||
        sourceHeight <= 0) {
        return false;
    }
    CBitmap& target = *selected_;
    // Copying a bitmap onto itself must read the pixels as they were before the copy.
    const CBitmap sourceCopy = source->selected_ == selected_ ? *selected_ : CBitmap{};
    const CBitmap& from = source->selected_ == selected_ ? sourceCopy : *source->selected_;
    if (!target.IsValid() || !from.IsValid()) {
        return false;
    }
    // Only the destination pixels on the target can change; the rest need no sampling.
    const std::int64_t firstColumn = std::max<std::int64_t>(0, -std::int64_t{x});
    const std::int64_t lastColumn = std::min<std::int64_t>(width, std::int64_t{target.Width()} - x);
    const std::int64_t firstRow = std::max<std::int64_t>(0, -std::int64_t{y});
    const std::int64_t lastRow = std::min<std::int64_t>(height, std::int64_t{target.Height()} - y);
    for (std::int64_t j = firstRow; j < lastRow; ++j) {
        const std::int64_t fromY = sourceY + j * sourceHeight / height;
        for (std::int64_t i = firstColumn; i < lastColumn; ++i) {
            const std::int64_t fromX = sourceX + i * sourceWidth / width;
            if (Inside(from, fromX, fromY)) {
                target.SetPixel(static_cast<int>(x + i), static_cast<int>(y + j),
                                from.Pixels()[Offset(from, fromX, fromY)]);
            }
        }
    }
    return true;
}

}  // namespace kelvane::framework
