// SPDX-License-Identifier: GPL-3.0-or-later
#include "framework/qt/qt_message_box.h"

#include <QGuiApplication>
#include <QMessageBox>
#include <QString>

#include "framework/window.h"

namespace kelvane::framework::qt {

QString WindowTitleFor(const std::string& caption) {
    // Qt replaces an empty title by the application's name; a lone space shows as blank.
    if (caption.empty()) return QStringLiteral(" ");
    return QString::fromStdString(caption);
}

int ShowMessageBox(QWidget* owner, const std::string& text, const std::string& caption) {
    QMessageBox box(owner);
    box.setWindowTitle(WindowTitleFor(caption));
    box.setTextFormat(Qt::PlainText);
    box.setText(QString::fromStdString(text));
    box.setIcon(QMessageBox::NoIcon);
    box.setStandardButtons(QMessageBox::Ok);
    box.setDefaultButton(QMessageBox::Ok);
    box.setEscapeButton(QMessageBox::Ok);
    // A box waiting for OK is not busy: it shows the normal arrow even under the wait
    // cursor, which returns once the box is closed.
    QGuiApplication::setOverrideCursor(Qt::ArrowCursor);
    box.exec();
    QGuiApplication::restoreOverrideCursor();
    return IDOK;
}

}  // namespace kelvane::framework::qt
