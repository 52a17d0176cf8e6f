// SPDX-License-Identifier: GPL-3.0-or-later
// Modal message boxes with an OK button.
#pragma once

#include <QString>
#include <exception>
#include <string>

class QWidget;

namespace kelvane::framework::qt {

// The title to give a window so that caption shows exactly, an empty one included: Qt would
// put the program's name in place of an empty title.
QString WindowTitleFor(const std::string& caption);

// Modal over owner; returns IDOK.
int ShowMessageBox(QWidget* owner, const std::string& text, const std::string& caption);

// Runs a handler of the program's; an exception it throws must not unwind through Qt's event
// loop, so it is shown in the framework's box over owner.
template <typename Call>
void GuardedCall(QWidget* owner, Call call) {
    try {
        call();
    } catch (const std::exception& error) {
        ShowMessageBox(owner, error.what(), "");
    }
}

}  // namespace kelvane::framework::qt
