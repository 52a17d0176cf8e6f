// SPDX-License-Identifier: GPL-3.0-or-later
#include "framework/document.h"

#include "framework/frame_wnd.h"

namespace kelvane::framework {

bool CDocument::OnNewDocument() {
    DeleteContents();
    pathName_.clear();
    return true;
}

bool CDocument::OnOpenDocument(const std::string& pathName, CFileException* error) {
    CFile file;
    if (!file.Open(pathName, CFile::modeRead | CFile::shareDenyWrite, error)) {
        return false;
    }
    DeleteContents();
    try {
        Serialize(file, false);
        file.Close();
    } catch (const CFileException& e) {
        file.Abort();
        if (error != nullptr) *error = e;
        return false;
    }
    SetPathName(pathName);
    return true;
}

void CDocument::SetTitle(const std::string& title) {
    title_ = title;
    if (frame_ != nullptr) frame_->OnUpdateFrameTitle();
}

void CDocument::SetPathName(const std::string& pathName) {
    pathName_ = pathName;
    // The title is the file's own name, without its folders.
    const auto slash = pathName.find_last_of('/');
    SetTitle(slash == std::string::npos ? pathName : pathName.substr(slash + 1));
}

}  // namespace kelvane::framework
