// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/chess_doc.h"

#include "res/string_resource.h"

namespace kelvane {

bool CChessDoc::OnNewDocument() {
    if (!CDocument::OnNewDocument()) return false;
    SetTitle(res::kNewDocumentTitle);
    return true;
}

}  // namespace kelvane
