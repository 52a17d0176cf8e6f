// SPDX-License-Identifier: GPL-3.0-or-later
#include "res/about_dialog_resource.h"

#include <array>
#include <string_view>

#include "kelvane_version.h"

namespace kelvane::res {
namespace {

using framework::ControlKind;
using framework::DialogControlResource;
using framework::DialogResource;
using framework::IDC_STATIC;

constexpr int kIdOk = 1;

// Template order; on screen the three paragraphs read 5, 6, 4 from the top.
constexpr std::array kAboutControls{
    DialogControlResource{ControlKind::StaticText, IDC_STATIC, 7, 7, 119, 8, false,
                          "Kelvane  version 1.0"},
    DialogControlResource{ControlKind::StaticText, IDC_STATIC, 7, 16, 151, 8, false,
                          "Send your remarks to the Kelvane developers."},
    DialogControlResource{ControlKind::DefaultPushButton, kIdOk, 181, 7, 32, 14, false, "&Close"},
    DialogControlResource{ControlKind::StaticText, IDC_STATIC, 7, 116, 206, 22, true,
                          "        In order to get a hint, retract your move, etc., you can use "
                          "the menu or the shortcuts (specified near the items in the menu).\n"
                          "        "},
    DialogControlResource{ControlKind::StaticText, IDC_STATIC, 7, 44, 206, 33, true,
                          "        The rules are simple. You move the pieces like in standard "
                          "chess, except that you must capture when possible. The goal is to "
                          "force the opponent to capture your king or all you pieces, depending "
                          "on the type of rules ."},
    DialogControlResource{ControlKind::StaticText, IDC_STATIC, 7, 79, 206, 33, true,
                          "        To move a piece you click on it with the left button of the "
                          "mouse. A red focus rectangle appears, and yellow focus rectangles are "
                          "shown on the possible moves. If there is at least one yellow square, "
                          "you click on one of them to confirm the move."},
};
// The About box names the project version (project() in CMakeLists.txt).
static_assert(std::string_view(kAboutControls[0].text).ends_with(kKelvaneVersion));

constexpr DialogResource kAboutBox{
    IDD_ABOUTBOX, 220, 146, "About Kelvane...", "MS Sans Serif", 8, kAboutControls,
};

}  // namespace

const framework::DialogResource* FindDialogResource(unsigned id) {
    return id == IDD_ABOUTBOX ? &kAboutBox : nullptr;
}

}  // namespace kelvane::res
