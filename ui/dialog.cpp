#include "ui/dialog.h"

#include "res/about_dialog_resource.h"
#include "ui/win_app.h"

namespace kelvane {

int CDialog::DoModal() {
    const res::DialogResource* dialog = res::FindDialogResource(templateId_);
    CWinApp* app = AfxGetApp();
    if (dialog == nullptr || app == nullptr) return -1;
    return app->Platform().RunModalDialog(*dialog);
}

}  // namespace kelvane
