// SPDX-License-Identifier: GPL-3.0-or-later
// The shell's windows, dialogs and boxes on Qt Widgets.
#pragma once

#include <memory>
#include <vector>

#include "framework/shell_platform.h"

namespace kelvane::framework::qt {

class QtFrameWindow;
class QtViewWindow;

class QtShellPlatform final : public ShellPlatform {
  public:
    QtShellPlatform();
    ~QtShellPlatform() override;

    FrameBackend* CreateFrameWindow(CommandSink commands) override;
    WindowBackend* CreateViewWindow(FrameBackend* frame, CView* view) override;
    int RunModalDialog(const DialogResource& dialog) override;
    std::optional<std::string> PromptForFileToOpen() override;
    std::optional<std::string> PromptForFileToAppend(const std::string& caption,
                                                     const std::string& filter) override;
    int MessageBox(const std::string& text, const std::string& caption) override;

    // The main window and its view, once created.
    QtFrameWindow* MainWindow() const;
    QtViewWindow* ViewWindow() const;

  private:
    std::vector<std::unique_ptr<QtFrameWindow>> frames_;
};

}  // namespace kelvane::framework::qt
