// The About box: name, version, a contact note and how to play.
#pragma once

#include "res/about_dialog_resource.h"
#include "ui/dialog.h"

namespace kelvane {

class CAboutDlg : public CDialog {
  public:
    CAboutDlg() : CDialog(res::IDD_ABOUTBOX) {}
};

}  // namespace kelvane
