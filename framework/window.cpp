// SPDX-License-Identifier: GPL-3.0-or-later
#include "framework/window.h"

namespace kelvane::framework {

// A view without a window (during construction, or in a program that never shows one) takes
// every window call as done: there is nothing to repaint, time or ask.

void CView::InvalidateRect(const void* rect, bool erase) {
    (void)rect;
    if (window_ != nullptr) window_->InvalidateRect(erase);
}

void CView::UpdateWindow() {
    if (window_ != nullptr) window_->UpdateWindow();
}

CDC* CView::GetDC() {
    return window_ != nullptr ? window_->GetDC() : nullptr;
}

void CView::ReleaseDC(CDC* dc) {
    if (window_ != nullptr && dc != nullptr) window_->ReleaseDC(dc);
}

bool CView::SetTimer(std::uintptr_t id, unsigned elapseMs) {
    return window_ != nullptr && window_->SetTimer(id, elapseMs);
}

bool CView::KillTimer(std::uintptr_t id) {
    return window_ != nullptr && window_->KillTimer(id);
}

int CView::MessageBox(const std::string& text, const std::string& caption, unsigned type) {
    return window_ != nullptr ? window_->MessageBox(text, caption, type) : IDOK;
}

void CView::BeginWaitCursor() {
    if (window_ != nullptr) window_->BeginWaitCursor();
}

void CView::EndWaitCursor() {
    if (window_ != nullptr) window_->EndWaitCursor();
}

void CView::Sleep(unsigned milliseconds) {
    if (window_ != nullptr) window_->Sleep(milliseconds);
}

}  // namespace kelvane::framework
