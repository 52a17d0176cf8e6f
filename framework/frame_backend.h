// SPDX-License-Identifier: GPL-3.0-or-later
// The frame window's operations, as the shell calls them; the Qt layer implements them.
#pragma once

#include <string>

namespace kelvane::framework {

// Window styles the main frame changes, valued as the Win32 ones.
inline constexpr unsigned long WS_MAXIMIZEBOX = 0x00010000UL;
inline constexpr unsigned long WS_MINIMIZEBOX = 0x00020000UL;
inline constexpr unsigned long WS_THICKFRAME = 0x00040000UL;
inline constexpr unsigned long WS_CAPTION = 0x00C00000UL;

inline constexpr int SM_CYSIZE = 31;
inline constexpr int SM_CYMENUSIZE = 55;

inline constexpr unsigned MF_UNCHECKED = 0x0000;
inline constexpr unsigned MF_CHECKED = 0x0008;
inline constexpr unsigned kMenuItemMissing = 0xFFFFFFFFU;

class FrameBackend {
  public:
    virtual ~FrameBackend() = default;
    virtual bool ModifyStyle(unsigned long remove, unsigned long add) = 0;
    // The outer frame's place and size, as the window-size formula gives them.
    virtual void MoveWindow(int x, int y, int width, int height, bool repaint) = 0;
    virtual int GetSystemMetrics(int index) = 0;
    // Returns the item's previous state, or kMenuItemMissing.
    virtual unsigned CheckMenuItem(int commandId, unsigned check) = 0;
    virtual void SetWindowText(const std::string& caption) = 0;
    virtual void ShowWindow() = 0;
    virtual void DestroyWindow() = 0;
};

}  // namespace kelvane::framework
