// SPDX-License-Identifier: GPL-3.0-or-later
// The About box: name, version, a contact note and how to play.
#pragma once

#include "framework/dialog.h"
#include "res/about_dialog_resource.h"

namespace kelvane {

class CAboutDlg : public framework::CDialog {
  public:
    CAboutDlg() : CDialog(res::IDD_ABOUTBOX) {}
};

}  // namespace kelvane
