#include "platform/window.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/recording_backend.h"

namespace kelvane::platform {
namespace {

using Log = std::vector<std::string>;

class DrawingView : public CView {
  public:
    explicit DrawingView(RecordingBackend* backend) : backend_(backend) {}
    void OnDraw(CDC* dc) override {
        if (backend_ != nullptr) backend_->Record(dc != nullptr ? "OnDraw" : "OnDraw(null)");
    }

  private:
    RecordingBackend* backend_;
};

TEST(CViewTest, WithoutAWindowEveryCallIsHarmless) {
    DrawingView view(nullptr);
    EXPECT_FALSE(view.HasWindow());
    view.InvalidateRect(nullptr, false);
    view.UpdateWindow();
    EXPECT_EQ(view.GetDC(), nullptr);
    view.ReleaseDC(nullptr);
    EXPECT_FALSE(view.SetTimer(0, 100));
    EXPECT_FALSE(view.KillTimer(0));
    EXPECT_EQ(view.MessageBox("text"), IDOK);
    view.BeginWaitCursor();
    view.EndWaitCursor();
    view.Sleep(200);
    EXPECT_FALSE(view.OnCommand(57600));
}

TEST(CViewTest, EveryCallReachesTheWindowInOrder) {
    RecordingBackend backend;
    DrawingView view(&backend);
    view.AttachWindow(&backend);
    EXPECT_EQ(view.GetWindow(), &backend);
    view.BeginWaitCursor();
    view.InvalidateRect(nullptr, false);
    CDC* dc = view.GetDC();
    ASSERT_NE(dc, nullptr);
    view.OnDraw(dc);
    view.ReleaseDC(dc);
    view.UpdateWindow();
    EXPECT_TRUE(view.SetTimer(0, 100));
    view.Sleep(200);
    EXPECT_TRUE(view.KillTimer(0));
    EXPECT_EQ(view.MessageBox("You won!"), IDOK);
    view.EndWaitCursor();
    const Log expected = {"BeginWaitCursor", "InvalidateRect(false)",
                          "GetDC",           "OnDraw",
                          "ReleaseDC",       "UpdateWindow",
                          "SetTimer(0,100)", "Sleep(200)",
                          "KillTimer(0)",    "MessageBox('You won!','')",
                          "EndWaitCursor"};
    EXPECT_EQ(backend.Log(), expected);
}

TEST(RecordingBackendTest, TracksTheTimersThatRun) {
    RecordingBackend backend;
    EXPECT_FALSE(backend.IsTimerRunning(0));
    backend.SetTimer(0, 100);
    backend.SetTimer(0, 100);  // re-arming keeps one timer
    EXPECT_TRUE(backend.IsTimerRunning(0));
    EXPECT_TRUE(backend.KillTimer(0));
    EXPECT_FALSE(backend.IsTimerRunning(0));
    EXPECT_FALSE(backend.KillTimer(0));
    EXPECT_EQ(backend.Count("KillTimer(0)"), 2);
    EXPECT_EQ(backend.Count("SetTimer(0,100)"), 2);
}

TEST(RecordingBackendTest, GetDcHandsOutAWindowSizedSurface) {
    RecordingBackend backend(350, 280);
    CDC* dc = backend.GetDC();
    ASSERT_NE(dc, nullptr);
    ASSERT_NE(dc->GetSelectedBitmap(), nullptr);
    EXPECT_EQ(dc->GetSelectedBitmap()->Width(), 350);
    EXPECT_EQ(dc->GetSelectedBitmap()->Height(), 280);
    EXPECT_EQ(backend.OpenDeviceContexts(), 1);
    // What is drawn stays on the window's surface.
    dc->FillSolidRect(0, 0, 10, 10, RGB(1, 2, 3));
    backend.ReleaseDC(dc);
    EXPECT_EQ(backend.OpenDeviceContexts(), 0);
    ASSERT_NE(backend.SurfaceBitmap(), nullptr);
    EXPECT_EQ(backend.SurfaceBitmap()->GetPixel(5, 5), RGB(1, 2, 3));
    EXPECT_EQ(backend.GetDC(), dc);
}

TEST(RecordingBackendTest, MessageBoxKeepsTextCaptionTypeAndRunsTheCallbackWhileOpen) {
    RecordingBackend backend;
    int seen = 0;
    backend.SetMessageBoxCallback([&](const RecordedMessageBox& box) {
        ++seen;
        EXPECT_EQ(box.text, "White wins!");
        // Calls made while the box is open come after it in the log.
        backend.Sleep(1);
    });
    EXPECT_EQ(backend.MessageBox("White wins!", "", MB_OK), IDOK);
    EXPECT_EQ(seen, 1);
    ASSERT_EQ(backend.MessageBoxes().size(), 1u);
    EXPECT_EQ(backend.MessageBoxes()[0].caption, "");
    EXPECT_EQ(backend.MessageBoxes()[0].type, MB_OK);
    const Log expected = {"MessageBox('White wins!','')", "Sleep(1)"};
    EXPECT_EQ(backend.Log(), expected);
}

}  // namespace
}  // namespace kelvane::platform
