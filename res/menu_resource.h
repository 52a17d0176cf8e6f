// The main window's menu bar and accelerator table (resource 128), kept as plain data so the
// windowing layer builds them and tests can read them back.
#pragma once

#include <span>

namespace kelvane::res {

inline constexpr unsigned kMainFrameResource = 128;  // IDR_MAINFRAME

struct MenuItemResource {
    const char* text = nullptr;  // "&" marks the mnemonic; a tab separates the shortcut text
    int commandId = 0;           // 0: a separator
    bool checked = false;        // check mark shown at start
};

struct MenuResource {
    const char* title;
    std::span<const MenuItemResource> items;
};

std::span<const MenuResource> MainMenuBar();

// Accelerator modifiers and the virtual keys the table uses, valued as the Win32 ones.
inline constexpr unsigned FSHIFT = 0x04;
inline constexpr unsigned FCONTROL = 0x08;
inline constexpr unsigned FALT = 0x10;

inline constexpr unsigned VK_BACK = 0x08;
inline constexpr unsigned VK_INSERT = 0x2D;
inline constexpr unsigned VK_DELETE = 0x2E;
inline constexpr unsigned VK_F1 = 0x70;
inline constexpr unsigned VK_F2 = 0x71;
inline constexpr unsigned VK_F3 = 0x72;
inline constexpr unsigned VK_F6 = 0x75;
// Letters are their upper-case character codes, 'A' to 'Z'.

struct AcceleratorResource {
    unsigned modifiers;
    unsigned virtualKey;
    int commandId;
};

std::span<const AcceleratorResource> MainAccelerators();

}  // namespace kelvane::res
