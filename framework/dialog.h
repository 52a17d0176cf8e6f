// SPDX-License-Identifier: GPL-3.0-or-later
// The framework's modal dialog, built on a dialog template of ours.
#pragma once

namespace kelvane::framework {

class CDialog {
  public:
    explicit CDialog(unsigned templateId) : templateId_(templateId) {}
    virtual ~CDialog() = default;

    // Shows the dialog over the main window until it ends; IDOK or IDCANCEL, -1 when the
    // template or the application is missing.
    virtual int DoModal();

    unsigned GetTemplateId() const { return templateId_; }

  private:
    unsigned templateId_;
};

}  // namespace kelvane::framework
