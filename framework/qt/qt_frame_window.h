// SPDX-License-Identifier: GPL-3.0-or-later
// The main frame: a fixed-size window with the menu bar and accelerators of resource 128 and
// the board view as its client.
#pragma once

#include <QMainWindow>
#include <map>
#include <vector>

#include "framework/frame_backend.h"
#include "framework/shell_platform.h"

class QAction;
class QProxyStyle;

namespace kelvane::framework::qt {

class QtViewWindow;

class QtFrameWindow final : public QMainWindow, public FrameBackend {
  public:
    explicit QtFrameWindow(CommandSink commands);

    void SetViewWindow(QtViewWindow* view);
    QtViewWindow* ViewWindow() const { return view_; }

    bool ModifyStyle(unsigned long remove, unsigned long add) override;
    void MoveWindow(int x, int y, int width, int height, bool repaint) override;
    int GetSystemMetrics(int index) override;
    unsigned CheckMenuItem(int commandId, unsigned check) override;
    void SetWindowText(const std::string& caption) override;
    void ShowWindow() override;
    void DestroyWindow() override;

    // The menu bar's item of a command (null if none), and the accelerators' actions.
    QAction* MenuAction(int commandId) const;
    const std::vector<QAction*>& AcceleratorActions() const { return accelerators_; }
    unsigned long Style() const { return style_; }

  protected:
    void closeEvent(QCloseEvent* event) override;

  private:
    void BuildMenuBar();
    void BuildAccelerators();
    void ApplyWindowFlags();
    void OnMenuItem(QAction* action, int commandId);
    // Narrows the menu bar's items where needed so that every title shows at that width.
    void FitMenuBar(int width);

    CommandSink commands_;
    QProxyStyle* menuBarStyle_ = nullptr;
    QtViewWindow* view_ = nullptr;
    unsigned long style_;
    std::map<int, QAction*> menuActions_;
    std::map<QAction*, bool> checked_;  // the marks as CheckMenuItem left them
    std::vector<QAction*> accelerators_;
};

}  // namespace kelvane::framework::qt
