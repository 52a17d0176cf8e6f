// SPDX-License-Identifier: GPL-3.0-or-later
// The program's compiled-in resources as the framework reads them: menus, accelerators,
// strings, dialog templates, bitmaps and the icon. The program hands its table to the
// framework once at start (AfxSetResources), before any window or bitmap is made.
#pragma once

#include <cstdint>
#include <span>

namespace kelvane::framework {

struct MenuItemResource {
    const char* text = nullptr;  // "&" marks the mnemonic; a tab separates the shortcut text
    int commandId = 0;           // 0: a separator
    bool checked = false;        // check mark shown at start
};

struct MenuResource {
    const char* title;
    std::span<const MenuItemResource> items;
};

// Accelerator modifiers and the virtual keys, valued as the Win32 ones.
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

inline constexpr int IDC_STATIC = -1;

enum class ControlKind { StaticText, DefaultPushButton };

struct DialogControlResource {
    ControlKind kind;
    int id;
    int x, y, width, height;  // dialog units
    bool transparent;         // drawn over the dialog's background
    const char* text;
};

struct DialogResource {
    unsigned id;
    int width, height;
    const char* caption;
    const char* fontFace;
    int fontPoints;
    std::span<const DialogControlResource> controls;
};

struct BitmapResource {
    int width = 0;
    int height = 0;
    const std::uint32_t* pixels = nullptr;  // 0x00BBGGRR, row by row from the top-left corner
};

struct ResourceTable {
    unsigned mainFrameId;          // the menu bar, accelerators and document strings
    const char* documentStrings;   // string mainFrameId: title, document name, ...
    const char* applicationTitle;  // the caption of the framework's own message boxes
    std::span<const MenuResource> menuBar;
    std::span<const AcceleratorResource> accelerators;
    const char* const* iconXpm;  // null: no icon
    // Null for an id that names no resource of that kind.
    const DialogResource* (*findDialog)(unsigned id);
    const BitmapResource* (*findBitmap)(unsigned id);
};

void AfxSetResources(const ResourceTable* table);
// Null until the program has handed its table over.
const ResourceTable* AfxGetResources();

const DialogResource* FindDialogResource(unsigned id);
const BitmapResource* FindBitmapResource(unsigned id);

}  // namespace kelvane::framework
