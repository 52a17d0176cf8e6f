// A window for tests: it does nothing but write down, in order, every call the game makes, so
// that a test can check what was repainted, drawn at once, timed and announced, and when.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "framework/window.h"

namespace kelvane::framework {

struct RecordedMessageBox {
    std::string text;
    std::string caption;
    unsigned type = MB_OK;
};

class RecordingBackend : public WindowBackend {
  public:
    // Client area of the window, and the size of the bitmap that GetDC hands out.
    explicit RecordingBackend(int clientWidth = 320, int clientHeight = 320);
    ~RecordingBackend() override;

    void InvalidateRect(bool erase) override;                      // "InvalidateRect(false)"
    void UpdateWindow() override;                                  // "UpdateWindow"
    CDC* GetDC() override;                                         // "GetDC"
    void ReleaseDC(CDC* dc) override;                              // "ReleaseDC"
    bool SetTimer(std::uintptr_t id, unsigned elapseMs) override;  // "SetTimer(0,100)"
    bool KillTimer(std::uintptr_t id) override;                    // "KillTimer(0)"
    // "MessageBox('text','caption')"; returns IDOK after running the callback, if any.
    int MessageBox(const std::string& text, const std::string& caption, unsigned type) override;
    void BeginWaitCursor() override;             // "BeginWaitCursor"
    void EndWaitCursor() override;               // "EndWaitCursor"
    void Sleep(unsigned milliseconds) override;  // "Sleep(200)"

    // For whatever else a test wants to see in the same sequence (a view's OnDraw, say).
    void Record(std::string entry);

    const std::vector<std::string>& Log() const { return log_; }
    void ClearLog() { log_.clear(); }
    // How often an entry appears in the log.
    int Count(const std::string& entry) const;

    const std::vector<RecordedMessageBox>& MessageBoxes() const { return boxes_; }
    bool IsTimerRunning(std::uintptr_t id) const { return timers_.count(id) != 0; }
    int WaitCursorDepth() const { return waitCursorDepth_; }
    int OpenDeviceContexts() const { return openDeviceContexts_; }
    // The surface GetDC hands out; null before the first GetDC.
    const CBitmap* SurfaceBitmap() const;

    // Runs while a message box stands open, as timer ticks would in the real program.
    void SetMessageBoxCallback(std::function<void(const RecordedMessageBox&)> callback) {
        onMessageBox_ = std::move(callback);
    }

  private:
    int clientWidth_;
    int clientHeight_;
    std::vector<std::string> log_;
    std::vector<RecordedMessageBox> boxes_;
    std::set<std::uintptr_t> timers_;
    int waitCursorDepth_ = 0;
    int openDeviceContexts_ = 0;
    std::function<void(const RecordedMessageBox&)> onMessageBox_;
    // The window's one drawing surface, made at the first GetDC: what was drawn on it stays,
    // as on a window.
    struct WindowSurface;
    std::unique_ptr<WindowSurface> surface_;
};

}  // namespace kelvane::framework
