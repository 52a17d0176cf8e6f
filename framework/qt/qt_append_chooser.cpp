// SPDX-License-Identifier: GPL-3.0-or-later
// The chooser of a file to append to: Qt's own, which does not let a folder, a device, a FIFO
// or a link to nothing through.
#include <QFileDialog>

#include "framework/file.h"
#include "framework/qt/qt_frame_window.h"
#include "framework/qt/qt_message_box.h"
#include "framework/qt/qt_shell_platform.h"

namespace kelvane::framework::qt {

namespace {

class AppendChooser final : public QFileDialog {
  public:
    AppendChooser(QWidget* owner, const QString& caption, const QString& filter)
        : QFileDialog(owner, caption, QString(), filter) {
        setAcceptMode(QFileDialog::AcceptSave);
        setFileMode(QFileDialog::AnyFile);
        // Appending replaces nothing, so there is nothing to confirm.
        setOptions(QFileDialog::DontUseNativeDialog | QFileDialog::DontConfirmOverwrite);
    }

    void accept() override {
        const QStringList chosen = selectedFiles();
        // A folder is opened by the chooser itself.
        if (chosen.size() == 1 && !QFileInfo(chosen.front()).isDir()) {
            const std::string problem = WhyNotAppendable(chosen.front().toStdString());
            if (!problem.empty()) {
                ShowMessageBox(this, problem + " Choose a file or a new name.",
                               windowTitle().toStdString());
                return;
            }
        }
        QFileDialog::accept();
    }
};

}  // namespace

std::optional<std::string> QtShellPlatform::PromptForFileToAppend(const std::string& caption,
                                                                  const std::string& filter) {
    AppendChooser chooser(MainWindow(), QString::fromStdString(caption),
                          QString::fromStdString(filter));
    if (chooser.exec() != QDialog::Accepted || chooser.selectedFiles().isEmpty())
        return std::nullopt;
    return chooser.selectedFiles().front().toStdString();
}

}  // namespace kelvane::framework::qt
