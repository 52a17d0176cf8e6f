// SPDX-License-Identifier: GPL-3.0-or-later
#include "framework/frame_wnd.h"

#include "framework/document.h"
#include "framework/resources.h"

namespace kelvane::framework {

namespace {

// The first field of the document strings is the frame's title.
std::string FrameTitleFromDocumentStrings(const std::string& strings) {
    return strings.substr(0, strings.find('\n'));
}

}  // namespace

CFrameWnd::~CFrameWnd() {
    // The view's window goes with the frame; the view must not reach it afterwards.
    if (view_ != nullptr) view_->AttachWindow(nullptr);
}

bool CFrameWnd::LoadFrame(unsigned resourceId, CCreateContext& context) {
    const ResourceTable* resources = AfxGetResources();
    if (resources == nullptr || resourceId != resources->mainFrameId || context.platform == nullptr)
        return false;
    title_ = FrameTitleFromDocumentStrings(resources->documentStrings);
    window_ = context.platform->CreateFrameWindow(context.commands);
    if (window_ == nullptr) return false;
    menu_ = CMenu(window_);
    if (OnCreate(context) == -1) {
        DestroyWindow();
        return false;
    }
    return true;
}

int CFrameWnd::OnCreate(CCreateContext& context) {
    if (!context.newView) return -1;
    view_ = context.newView();
    if (view_ == nullptr) return -1;
    framework::WindowBackend* viewWindow = context.platform->CreateViewWindow(window_, view_.get());
    if (viewWindow == nullptr) return -1;
    view_->AttachWindow(viewWindow);
    document_ = context.currentDocument;
    view_->OnInitialUpdate();
    return 0;
}

void CFrameWnd::OnUpdateFrameTitle() {
    if (window_ == nullptr) return;
    const std::string documentTitle = document_ != nullptr ? document_->GetTitle() : "";
    window_->SetWindowText(documentTitle + " - " + title_);
}

bool CFrameWnd::ModifyStyle(unsigned long remove, unsigned long add) {
    return window_ != nullptr && window_->ModifyStyle(remove, add);
}

void CFrameWnd::MoveWindow(int x, int y, int width, int height, bool repaint) {
    if (window_ != nullptr) window_->MoveWindow(x, y, width, height, repaint);
}

int CFrameWnd::GetSystemMetrics(int index) const {
    return window_ != nullptr ? window_->GetSystemMetrics(index) : 0;
}

void CFrameWnd::ShowWindow() {
    if (window_ != nullptr) window_->ShowWindow();
}

void CFrameWnd::DestroyWindow() {
    if (window_ == nullptr) return;
    if (view_ != nullptr) view_->AttachWindow(nullptr);
    FrameBackend* window = window_;
    window_ = nullptr;
    menu_ = CMenu(nullptr);
    window->DestroyWindow();
}

}  // namespace kelvane::framework
