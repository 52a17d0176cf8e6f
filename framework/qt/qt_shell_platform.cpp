// SPDX-License-Identifier: GPL-3.0-or-later
#include "framework/qt/qt_shell_platform.h"

#include <QFileDialog>
#include <QSettings>

#include "framework/qt/qt_frame_window.h"
#include "framework/qt/qt_message_box.h"
#include "framework/qt/qt_template_dialog.h"
#include "framework/qt/qt_view_window.h"

namespace kelvane::framework::qt {

QtShellPlatform::QtShellPlatform() {
    // The program keeps nothing between runs, and Qt's own dialogs keep nothing either: the
    // file chooser would write its history to the user's configuration folder. Their
    // settings are looked for under a device, where nothing can ever be created.
    for (const QSettings::Format format : {QSettings::NativeFormat, QSettings::IniFormat})
        QSettings::setPath(format, QSettings::UserScope, QStringLiteral("/dev/null"));
}

QtShellPlatform::~QtShellPlatform() {
    // No tick or click may reach a view once the windows start to go.
    for (auto& frame : frames_) {
        if (frame->ViewWindow() != nullptr) frame->ViewWindow()->DetachView();
    }
}

FrameBackend* QtShellPlatform::CreateFrameWindow(CommandSink commands) {
    frames_.push_back(std::make_unique<QtFrameWindow>(std::move(commands)));
    return frames_.back().get();
}

WindowBackend* QtShellPlatform::CreateViewWindow(FrameBackend* frame, CView* view) {
    for (auto& candidate : frames_) {
        if (candidate.get() != frame) continue;
        auto* window = new QtViewWindow(view, candidate.get());
        candidate->SetViewWindow(window);
        return window;
    }
    return nullptr;
}

int QtShellPlatform::RunModalDialog(const DialogResource& dialog) {
    return RunTemplateDialog(dialog, MainWindow());
}

std::optional<std::string> QtShellPlatform::PromptForFileToOpen() {
    // Qt's own chooser: the same on every desktop, and tests can drive it. It only chooses:
    // read-only, so its context menu and keys cannot rename, delete or create anything.
    const QString chosen = QFileDialog::getOpenFileName(
        MainWindow(), QStringLiteral("Open"), QString(), QStringLiteral("All Files (*)"), nullptr,
        QFileDialog::DontUseNativeDialog | QFileDialog::ReadOnly);
    if (chosen.isEmpty()) return std::nullopt;
    return chosen.toStdString();
}

int QtShellPlatform::MessageBox(const std::string& text, const std::string& caption) {
    return ShowMessageBox(MainWindow(), text, caption);
}

QtFrameWindow* QtShellPlatform::MainWindow() const {
    return frames_.empty() ? nullptr : frames_.front().get();
}

QtViewWindow* QtShellPlatform::ViewWindow() const {
    return MainWindow() != nullptr ? MainWindow()->ViewWindow() : nullptr;
}

}  // namespace kelvane::framework::qt
