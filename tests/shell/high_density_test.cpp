// On a high-density screen the board stays crisp: every pixel of the picture becomes a solid
// block of device pixels, never a blend. Run with QT_SCALE_FACTOR=2 (CTest does).
#include "tests/shell/shell_fixture.h"

namespace kelvane::testing {
namespace {

class HighDensityTest : public ShellTest {};

TEST_F(HighDensityTest, EveryPictureElementIsASolidBlockOfDevicePixels) {
    Start();
    const qreal ratio = View().devicePixelRatioF();
    if (ratio < 1.5) GTEST_SKIP() << "needs a scale factor of 2 or more";
    const int scale = static_cast<int>(ratio);
    const QImage shown = View().grab().toImage();
    const platform::CBitmap& buffer = View().Buffer();
    ASSERT_EQ(shown.width(), buffer.Width() * scale);
    ASSERT_EQ(shown.height(), buffer.Height() * scale);
    int mismatches = 0;
    for (int y = 0; y < shown.height(); ++y) {
        for (int x = 0; x < shown.width(); ++x) {
            const platform::COLORREF c = buffer.GetPixel(x / scale, y / scale);
            const QRgb expected =
                qRgb(platform::GetRValue(c), platform::GetGValue(c), platform::GetBValue(c));
            mismatches += shown.pixel(x, y) != expected;
        }
    }
    EXPECT_EQ(mismatches, 0);
}

}  // namespace
}  // namespace kelvane::testing
