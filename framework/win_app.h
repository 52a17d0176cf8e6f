// SPDX-License-Identifier: GPL-3.0-or-later
// The framework's application object: start-up helpers, the document template, the standard
// New/Open/Exit commands and the routing of every command id.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "framework/doc_template.h"
#include "framework/shell_platform.h"

namespace kelvane::framework {

// The framework's command-line record.
struct CCommandLineInfo {
    enum Shell { FileNew, FileOpen, FileNothing };
    Shell m_nShellCommand = FileNew;
    std::string m_strFileName;
};

class CWinApp {
  public:
    // arguments: the command line after the program's name.
    CWinApp(ShellPlatform& platform, std::vector<std::string> arguments);
    virtual ~CWinApp();
    CWinApp(const CWinApp&) = delete;
    CWinApp& operator=(const CWinApp&) = delete;

    virtual bool InitInstance() = 0;
    // The application's own command map; the framework's part handles ID_APP_EXIT.
    virtual bool OnCommand(int commandId);

    // Offers the command to the view, the document, the frame and the application, in turn.
    // A file error escaping a handler is reported in the framework's message box.
    void RouteCommand(int commandId);

    void OnFileNew();
    void OnFileOpen();
    void OnAppExit();

    CFrameWnd* GetMainWnd() const;
    CDocument* GetDocument() const;
    ShellPlatform& Platform() const { return platform_; }

  protected:
    void Enable3dControlsStatic();
    void LoadStdProfileSettings(unsigned maxRecentFiles);
    void AddDocTemplate(std::unique_ptr<CSingleDocTemplate> docTemplate);
    void ParseCommandLine(CCommandLineInfo& info) const;
    bool ProcessShellCommand(const CCommandLineInfo& info);

  private:
    bool OpenDocument(const std::string& pathName);
    void ReportFileError(const CFileException& error, const std::string& pathName);

    ShellPlatform& platform_;
    std::vector<std::string> arguments_;
    std::unique_ptr<CSingleDocTemplate> template_;
};

// The one application object, as the framework's dialogs find it.
CWinApp* AfxGetApp();

}  // namespace kelvane::framework
