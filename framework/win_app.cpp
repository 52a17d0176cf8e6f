// SPDX-License-Identifier: GPL-3.0-or-later
#include "framework/win_app.h"

#include <exception>

#include "framework/command_ids.h"
#include "framework/resources.h"

namespace kelvane::framework {

namespace {
CWinApp* theApp = nullptr;

std::string ApplicationTitle() {
    const ResourceTable* resources = AfxGetResources();
    return resources != nullptr ? resources->applicationTitle : "";
}
}  // namespace

CWinApp* AfxGetApp() {
    return theApp;
}

CWinApp::CWinApp(ShellPlatform& platform, std::vector<std::string> arguments)
    : platform_(platform), arguments_(std::move(arguments)) {
    theApp = this;
}

CWinApp::~CWinApp() {
    template_.reset();
    if (theApp == this) theApp = nullptr;
}

bool CWinApp::OnCommand(int commandId) {
    if (commandId == ID_APP_EXIT) {
        OnAppExit();
        return true;
    }
    return false;
}

void CWinApp::RouteCommand(int commandId) {
    try {
        if (CFrameWnd* frame = GetMainWnd()) {
            if (CView* view = frame->GetActiveView(); view && view->OnCommand(commandId)) return;
        }
        if (CDocument* document = GetDocument(); document && document->OnCommand(commandId)) return;
        if (CFrameWnd* frame = GetMainWnd(); frame && frame->OnCommand(commandId)) return;
        OnCommand(commandId);
    } catch (const CFileException& error) {
        ReportFileError(error, error.m_strFileName);
    } catch (const std::exception& error) {
        // Nothing may escape into the event loop: say what happened and go on.
        platform_.MessageBox(error.what(), ApplicationTitle());
    }
}

void CWinApp::OnFileNew() {
    OpenDocument("");
}

void CWinApp::OnFileOpen() {
    if (const auto pathName = platform_.PromptForFileToOpen(); pathName && !pathName->empty()) {
        OpenDocument(*pathName);
    }
}

void CWinApp::OnAppExit() {
    if (CFrameWnd* frame = GetMainWnd()) frame->DestroyWindow();
}

CFrameWnd* CWinApp::GetMainWnd() const {
    return template_ != nullptr ? template_->GetFrame() : nullptr;
}

CDocument* CWinApp::GetDocument() const {
    return template_ != nullptr ? template_->GetDocument() : nullptr;
}

void CWinApp::Enable3dControlsStatic() {
    // Qt's style already draws dialog controls with depth; there is nothing to switch on.
}

void CWinApp::LoadStdProfileSettings(unsigned maxRecentFiles) {
    // Nothing in the game uses the recent-file list or the preview count, so no profile file
    // is read or written.
    (void)maxRecentFiles;
}

void CWinApp::AddDocTemplate(std::unique_ptr<CSingleDocTemplate> docTemplate) {
    template_ = std::move(docTemplate);
}

void CWinApp::ParseCommandLine(CCommandLineInfo& info) const {
    // Flags are the framework's (print, embedding and the like) and are not supported here;
    // the first plain argument names a file to open.
    for (const std::string& argument : arguments_) {
        if (argument.empty() || argument[0] == '-') continue;
        info.m_nShellCommand = CCommandLineInfo::FileOpen;
        info.m_strFileName = argument;
        return;
    }
}

bool CWinApp::ProcessShellCommand(const CCommandLineInfo& info) {
    switch (info.m_nShellCommand) {
        case CCommandLineInfo::FileNew:
            OnFileNew();
            return GetDocument() != nullptr;
        case CCommandLineInfo::FileOpen:
            return OpenDocument(info.m_strFileName);
        case CCommandLineInfo::FileNothing:
            return true;
    }
    return false;
}

bool CWinApp::OpenDocument(const std::string& pathName) {
    if (template_ == nullptr) return false;
    CFileException error;
    const CommandSink commands = [this](int commandId) { RouteCommand(commandId); };
    if (template_->OpenDocumentFile(pathName, platform_, commands, &error) != nullptr) return true;
    if (error.m_cause != CFileException::none) ReportFileError(error, pathName);
    return false;
}

void CWinApp::ReportFileError(const CFileException& error, const std::string& pathName) {
    std::string text = error.GetErrorMessage();
    if (text.empty()) text = "An error occurred while accessing " + pathName + ".";
    platform_.MessageBox(text, ApplicationTitle());
}

}  // namespace kelvane::framework
