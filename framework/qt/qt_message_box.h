// SPDX-License-Identifier: GPL-3.0-or-later
// Modal message boxes with an OK button.
#pragma once

#include <QString>
#include <string>

class QWidget;

namespace kelvane::framework::qt {

// The title to give a window so that caption shows exactly, an empty one included: Qt would
// put the program's name in place of an empty title.
QString WindowTitleFor(const std::string& caption);

// Modal over owner; returns IDOK.
int ShowMessageBox(QWidget* owner, const std::string& text, const std::string& caption);

}  // namespace kelvane::framework::qt
