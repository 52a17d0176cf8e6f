// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/chess_app.h"

#include "app/about_dialog.h"
#include "app/chess_doc.h"
#include "app/chess_view.h"
#include "app/main_frame.h"
#include "framework/command_ids.h"
#include "res/menu_resource.h"

namespace kelvane {

using namespace framework;

CChessApp::CChessApp(ShellPlatform& platform, std::vector<std::string> arguments,
                     ExtrasOptions extras)
    : CWinApp(platform, std::move(arguments)), extras_(std::move(extras)) {}

bool CChessApp::InitInstance() {
    Enable3dControlsStatic();
    LoadStdProfileSettings(4);

    if (extras_) {
        AddDocTemplate(std::make_unique<CSingleDocTemplate>(
            res::kMainFrameResource, [] { return std::make_unique<CChessDoc>(); },
            [] { return std::make_unique<CMainFrame>(true); },
            [this] { return std::make_unique<CExtrasView>(*extras_); }));
    } else {
        AddDocTemplate(std::make_unique<CSingleDocTemplate>(
            res::kMainFrameResource, [] { return std::make_unique<CChessDoc>(); },
            [] { return std::make_unique<CMainFrame>(); },
            [] { return std::make_unique<CChessView>(); }));
    }

    CCommandLineInfo commandLine;
    ParseCommandLine(commandLine);
    return ProcessShellCommand(commandLine);
}

bool CChessApp::OnCommand(int commandId) {
    switch (commandId) {
        case ID_APP_ABOUT:
            OnAppAbout();
            return true;
        case ID_FILE_NEW:
            OnFileNew();
            return true;
        case ID_FILE_OPEN:
            OnFileOpen();
            return true;
        default:
            return CWinApp::OnCommand(commandId);
    }
}

void CChessApp::OnAppAbout() {
    CAboutDlg aboutDlg;
    aboutDlg.DoModal();
}

}  // namespace kelvane
