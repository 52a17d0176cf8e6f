// SPDX-License-Identifier: GPL-3.0-or-later
// What the application shell needs of the windowing system beyond one window: creating the
// frame and the view windows, modal dialogs, the file chooser and the framework's own boxes.
#pragma once

#include <functional>
#include <optional>
#include <string>

#include "framework/frame_backend.h"
#include "framework/resources.h"
#include "framework/window.h"

namespace kelvane::framework {

// Every menu command and accelerator of the frame arrives here by id.
using CommandSink = std::function<void(int commandId)>;

class ShellPlatform {
  public:
    virtual ~ShellPlatform() = default;
    // The main frame with the menu bar and accelerators of resource 128; null on failure.
    virtual FrameBackend* CreateFrameWindow(CommandSink commands) = 0;
    // The view as the frame's client; its mouse, timer and paint messages go to view.
    virtual framework::WindowBackend* CreateViewWindow(FrameBackend* frame, CView* view) = 0;
    // Runs the dialog modally over the main window; returns IDOK or IDCANCEL.
    virtual int RunModalDialog(const DialogResource& dialog) = 0;
    // The framework's file chooser (all files); nothing when the user cancels.
    virtual std::optional<std::string> PromptForFileToOpen() = 0;
    // A chooser for a file to append to, over the main window: it takes only a regular file or
    // a new name. Nothing when the user cancels or the platform has no chooser.
    virtual std::optional<std::string> PromptForFileToAppend(const std::string& caption,
                                                             const std::string& filter) {
        (void)caption, (void)filter;
        return std::nullopt;
    }
    // A modal box with an OK button, for the framework's own messages.
    virtual int MessageBox(const std::string& text, const std::string& caption) = 0;
};

}  // namespace kelvane::framework
