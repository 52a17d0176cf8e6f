// The About box template (dialog 100), in dialog units.
#pragma once

#include <span>

namespace kelvane::res {

inline constexpr unsigned IDD_ABOUTBOX = 100;
inline constexpr int IDC_STATIC = -1;

enum class ControlKind { StaticText, DefaultPushButton };

struct DialogControlResource {
    ControlKind kind;
    int id;
    int x, y, width, height;
    bool transparent;  // drawn over the dialog's background
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

// Null for an id that is no dialog of ours.
const DialogResource* FindDialogResource(unsigned id);

}  // namespace kelvane::res
