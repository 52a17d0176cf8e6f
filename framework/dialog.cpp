// SPDX-License-Identifier: GPL-3.0-or-later
#include "framework/dialog.h"

#include "framework/resources.h"
#include "framework/win_app.h"

namespace kelvane::framework {

int CDialog::DoModal() {
    const DialogResource* dialog = FindDialogResource(templateId_);
    CWinApp* app = AfxGetApp();
    if (dialog == nullptr || app == nullptr) return -1;
    return app->Platform().RunModalDialog(*dialog);
}

}  // namespace kelvane::framework
