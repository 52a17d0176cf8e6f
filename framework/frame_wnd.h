// SPDX-License-Identifier: GPL-3.0-or-later
// The framework's frame window: owns the view, shows the document's title in its caption and
// hands window operations to its backend.
#pragma once

#include <functional>
#include <memory>
#include <string>

#include "framework/frame_backend.h"
#include "framework/shell_platform.h"
#include "framework/window.h"

namespace kelvane::framework {

class CDocument;

// What the frame needs to create its view, as the document template hands it over.
struct CCreateContext {
    std::function<std::unique_ptr<CView>()> newView;
    CDocument* currentDocument = nullptr;
    ShellPlatform* platform = nullptr;
    CommandSink commands;
};

// The frame's menu bar, for check marks.
class CMenu {
  public:
    explicit CMenu(FrameBackend* window) : window_(window) {}
    unsigned CheckMenuItem(int commandId, unsigned check) {
        return window_ != nullptr ? window_->CheckMenuItem(commandId, check) : kMenuItemMissing;
    }

  private:
    FrameBackend* window_;
};

class CFrameWnd {
  public:
    virtual ~CFrameWnd();

    // Creates the window with the menus and accelerators of resourceId and runs OnCreate.
    bool LoadFrame(unsigned resourceId, CCreateContext& context);
    // The framework's part of WM_CREATE: creates the view. -1 when that fails.
    virtual int OnCreate(CCreateContext& context);
    virtual bool OnCommand(int commandId) {
        (void)commandId;
        return false;
    }

    CView* GetActiveView() const { return view_.get(); }
    CDocument* GetActiveDocument() const { return document_; }
    bool HasWindow() const { return window_ != nullptr; }

    // Caption: the document's title, " - ", then the frame's own title.
    void OnUpdateFrameTitle();
    const std::string& GetTitle() const { return title_; }

    bool ModifyStyle(unsigned long remove, unsigned long add);
    void MoveWindow(int x, int y, int width, int height, bool repaint = true);
    int GetSystemMetrics(int index) const;
    CMenu* GetMenu() { return &menu_; }
    void ShowWindow();
    void DestroyWindow();

  private:
    FrameBackend* window_ = nullptr;
    CMenu menu_{nullptr};
    std::string title_;
    CDocument* document_ = nullptr;
    std::unique_ptr<CView> view_;
};

}  // namespace kelvane::framework
