// The application object: starts the program with one document template and answers About.
#pragma once

#include "ui/win_app.h"

namespace kelvane {

class CChessApp : public CWinApp {
  public:
    using CWinApp::CWinApp;

    // False when the program must end at once.
    bool InitInstance() override;
    bool OnCommand(int commandId) override;
    void OnAppAbout();
};

}  // namespace kelvane
