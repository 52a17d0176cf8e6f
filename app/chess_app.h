// SPDX-License-Identifier: GPL-3.0-or-later
// The application object: starts the program with one document template and answers About.
#pragma once

#include "framework/win_app.h"

namespace kelvane {

class CChessApp : public framework::CWinApp {
  public:
    using framework::CWinApp::CWinApp;

    // False when the program must end at once.
    bool InitInstance() override;
    bool OnCommand(int commandId) override;
    void OnAppAbout();
};

}  // namespace kelvane
