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

// Virtual keys of the key messages, valued as the Win32 ones.
inline constexpr unsigned VK_RETURN = 0x0D;
inline constexpr unsigned VK_SPACE = 0x20;
inline constexpr unsigned VK_LEFT = 0x25;
inline constexpr unsigned VK_UP = 0x26;
inline constexpr unsigned VK_RIGHT = 0x27;
inline constexpr unsigned VK_DOWN = 0x28;

// The first message number free for the program's own posted messages.
inline constexpr unsigned WM_APP = 0x8000;

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

    // What a window offers beyond the classic ones; a backend without them ignores the calls.

    // Queues a message for the view, to arrive on the window's own thread; callable from any
    // thread while the window exists. False when it cannot be queued.
    virtual bool PostMessage(unsigned message, std::uintptr_t wParam, std::intptr_t lParam) {
        (void)message, (void)wParam, (void)lParam;
        return false;
    }
    // A line of text along the window's bottom edge, over the view's picture; returns its
    // height in pixels.
    virtual int CreateStatusLine() { return 0; }
    virtual void SetStatusText(const std::string& text) { (void)text; }
    // The window takes the keyboard focus, and its keys reach OnKeyDown.
    virtual void EnableKeyboard() {}
    // What assistive technology reads of the window: the part the keyboard is on. It is told
    // when the text changes, and with again also when it does not.
    virtual void SetAccessibleText(const std::string& text, bool again = false) {
        (void)text, (void)again;
    }
    // The wait cursor over this window only, while the rest of the program stays usable.
    virtual void SetWaitCursorOverWindow(bool wait) { (void)wait; }
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
    // A key went down while the window had the keyboard (after EnableKeyboard).
    virtual void OnKeyDown(unsigned virtualKey) { (void)virtualKey; }
    // A message queued with PostMessage.
    virtual void OnPostedMessage(unsigned message, std::uintptr_t wParam, std::intptr_t lParam) {
        (void)message, (void)wParam, (void)lParam;
    }
    // The view's window exists: the moment to ask for its extras.
    virtual void OnInitialUpdate() {}

  private:
    WindowBackend* window_ = nullptr;
};

}  // namespace kelvane::framework
