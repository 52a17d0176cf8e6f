// SPDX-License-Identifier: GPL-3.0-or-later
// The application object: starts the program with one document template and answers About.
#pragma once

#include <optional>

#include "app/extras_view.h"
#include "framework/win_app.h"

namespace kelvane {

class CChessApp : public framework::CWinApp {
  public:
    using framework::CWinApp::CWinApp;
    // The window with extras (kelvane --extras).
    CChessApp(framework::ShellPlatform& platform, std::vector<std::string> arguments,
              ExtrasOptions extras);

    // False when the program must end at once.
    bool InitInstance() override;
    bool OnCommand(int commandId) override;
    void OnAppAbout();

  private:
    std::optional<ExtrasOptions> extras_;
};

}  // namespace kelvane
