// SPDX-License-Identifier: GPL-3.0-or-later
// Device contexts over our own 32-bit pixel buffers: pure C++, so every picture the game draws
// is exact and testable without a display.
#pragma once

#include <cstdint>
#include <vector>

namespace kelvane::framework {

// 0x00BBGGRR, as RGB() packs it.
using COLORREF = std::uint32_t;
constexpr COLORREF RGB(int red, int green, int blue) {
    return static_cast<COLORREF>(red & 0xFF) | (static_cast<COLORREF>(green & 0xFF) << 8) |
           (static_cast<COLORREF>(blue & 0xFF) << 16);
}
constexpr int GetRValue(COLORREF c) {
    return static_cast<int>(c & 0xFF);
}
constexpr int GetGValue(COLORREF c) {
    return static_cast<int>((c >> 8) & 0xFF);
}
constexpr int GetBValue(COLORREF c) {
    return static_cast<int>((c >> 16) & 0xFF);
}

inline constexpr std::uint32_t SRCCOPY = 0x00CC0020;
inline constexpr COLORREF CLR_INVALID = 0xFFFFFFFF;

class CDC;

// A width x height grid of COLORREF pixels, row by row from the top-left corner.
class CBitmap {
  public:
    bool CreateCompatibleBitmap(CDC* dc, int width, int height);
    // One of the program's own bitmap resources (the piece sheets, 131 and 133).
    bool LoadBitmap(unsigned resourceId);
    bool DeleteObject();

    bool IsValid() const { return width_ > 0 && height_ > 0; }
    int Width() const { return width_; }
    int Height() const { return height_; }
    COLORREF GetPixel(int x, int y) const;  // CLR_INVALID (0xFFFFFFFF) outside
    void SetPixel(int x, int y, COLORREF color);
    const std::vector<COLORREF>& Pixels() const { return pixels_; }

  private:
    int width_ = 0;
    int height_ = 0;
    std::vector<COLORREF> pixels_;
};

// A drawing surface: whatever bitmap is selected into it. All drawing is clipped to it.
class CDC {
  public:
    bool CreateCompatibleDC(CDC* dc);
    bool DeleteDC();
    // Returns the bitmap selected before (null if none).
    CBitmap* SelectObject(CBitmap* bitmap);
    CBitmap* GetSelectedBitmap() const { return selected_; }

    void FillSolidRect(int x, int y, int width, int height, COLORREF color);
    bool BitBlt(int x, int y, int width, int height, CDC* source, int sourceX, int sourceY,
                std::uint32_t rop);
    // Nearest-neighbour stretching, as the default stretch mode does.
    bool StretchBlt(int x, int y, int width, int height, CDC* source, int sourceX, int sourceY,
                    int sourceWidth, int sourceHeight, std::uint32_t rop);

  private:
    CBitmap* selected_ = nullptr;
};

}  // namespace kelvane::framework
