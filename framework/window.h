// SPDX-License-Identifier: GPL-3.0-or-later
// The window services the game calls, shaped like the framework it was designed on. The real
// program implements WindowBackend over Qt; tests use the recording backend.
#pragma once

#include <cstdint>
#include <string>

#include "framework/device_context.h"

namespace kelvane::framework {

struct CPoint {
    int x = 0;
    int y = 0;
};

inline constexpr unsigned MB_OK = 0x0;
inline constexpr int IDOK = 1;
inline constexpr int IDCANCEL = 2;

class WindowBackend {
  public:
    virtual ~WindowBackend() = default;
    virtual void InvalidateRect(bool erase) = 0;  // always the whole client area
    virtual void UpdateWindow() = 0;
    virtual CDC* GetDC() = 0;  // drawing on it reaches the screen at once
    virtual void ReleaseDC(CDC* dc) = 0;
    virtual bool SetTimer(std::uintptr_t id, unsigned elapseMs) = 0;
    virtual bool KillTimer(std::uintptr_t id) = 0;
    // Modal; timer messages go on while it is open.
    virtual int MessageBox(const std::string& text, const std::string& caption, unsigned type) = 0;
    virtual void BeginWaitCursor() = 0;
    virtual void EndWaitCursor() = 0;
    virtual void Sleep(unsigned milliseconds) = 0;
};

// The framework's view: a window that draws through OnDraw and takes mouse, timer and command
// messages. Until a backend is attached the view has no window, and window calls do nothing.
class CView {
  public:
    virtual ~CView() = default;

    void AttachWindow(WindowBackend* window) { window_ = window; }
    WindowBackend* GetWindow() const { return window_; }
    bool HasWindow() const { return window_ != nullptr; }

    // rect is always null here: the whole client area.
    void InvalidateRect(const void* rect, bool erase);
    void UpdateWindow();
    CDC* GetDC();
    void ReleaseDC(CDC* dc);
    bool SetTimer(std::uintptr_t id, unsigned elapseMs);
    bool KillTimer(std::uintptr_t id);
    int MessageBox(const std::string& text, const std::string& caption = "", unsigned type = MB_OK);
    void BeginWaitCursor();
    void EndWaitCursor();
    void Sleep(unsigned milliseconds);

    virtual void OnDraw(CDC* dc) = 0;
    // Command routing: true when this target handled the command id.
    virtual bool OnCommand(int commandId) {
        (void)commandId;
        return false;
    }
    virtual void OnLButtonDown(unsigned flags, CPoint point) { (void)flags, (void)point; }
    virtual void OnRButtonDown(unsigned flags, CPoint point) { (void)flags, (void)point; }
    virtual void OnTimer(std::uintptr_t id) { (void)id; }

  private:
    WindowBackend* window_ = nullptr;
};

}  // namespace kelvane::framework
