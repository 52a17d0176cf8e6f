// SPDX-License-Identifier: GPL-3.0-or-later
#include "framework/doc_template.h"

namespace kelvane::framework {

CSingleDocTemplate::CSingleDocTemplate(unsigned resourceId,
                                       std::function<std::unique_ptr<CDocument>()> newDocument,
                                       std::function<std::unique_ptr<CFrameWnd>()> newFrame,
                                       std::function<std::unique_ptr<CView>()> newView)
    : resourceId_(resourceId),
      newDocument_(std::move(newDocument)),
      newFrame_(std::move(newFrame)),
      newView_(std::move(newView)) {}

CSingleDocTemplate::~CSingleDocTemplate() {
    // The frame and its view go first: the view's window belongs to the frame.
    frame_.reset();
    document_.reset();
}

bool CSingleDocTemplate::CreateDocumentAndFrame(ShellPlatform& platform,
                                                const CommandSink& commands) {
    document_ = newDocument_ ? newDocument_() : nullptr;
    frame_ = newFrame_ ? newFrame_() : nullptr;
    if (document_ == nullptr || frame_ == nullptr) {
        frame_.reset();
        document_.reset();
        return false;
    }
    CCreateContext context{newView_, document_.get(), &platform, commands};
    if (!frame_->LoadFrame(resourceId_, context)) {
        frame_.reset();
        document_.reset();
        return false;
    }
    document_->SetFrame(frame_.get());
    return true;
}

CDocument* CSingleDocTemplate::OpenDocumentFile(const std::string& pathName,
                                                ShellPlatform& platform,
                                                const CommandSink& commands,
                                                CFileException* error) {
    const bool firstDocument = document_ == nullptr;
    if (firstDocument && !CreateDocumentAndFrame(platform, commands)) return nullptr;

    const bool done =
        pathName.empty() ? document_->OnNewDocument() : document_->OnOpenDocument(pathName, error);
    if (!done) {
        if (firstDocument) {
            frame_->DestroyWindow();
            frame_.reset();
            document_.reset();
        }
        return nullptr;
    }
    // The frame already shows the document's new title; the framework's initial update shows
    // the window and repaints the view.
    if (firstDocument) frame_->ShowWindow();
    if (CView* view = frame_->GetActiveView()) view->InvalidateRect(nullptr, true);
    return document_.get();
}

}  // namespace kelvane::framework
