#include "framework/testing/recording_backend.h"

#include <algorithm>
#include <utility>

namespace kelvane::framework {

struct RecordingBackend::WindowSurface {
    CDC dc;
    CBitmap bitmap;
};

RecordingBackend::RecordingBackend(int clientWidth, int clientHeight)
    : clientWidth_(clientWidth), clientHeight_(clientHeight) {}

RecordingBackend::~RecordingBackend() = default;

void RecordingBackend::Record(std::string entry) {
    log_.push_back(std::move(entry));
}

int RecordingBackend::Count(const std::string& entry) const {
    return static_cast<int>(std::count(log_.begin(), log_.end(), entry));
}

void RecordingBackend::InvalidateRect(bool erase) {
    Record(erase ? "InvalidateRect(true)" : "InvalidateRect(false)");
}

void RecordingBackend::UpdateWindow() {
    Record("UpdateWindow");
}

CDC* RecordingBackend::GetDC() {
    Record("GetDC");
    if (!surface_) {
        surface_ = std::make_unique<WindowSurface>();
        surface_->bitmap.CreateCompatibleBitmap(nullptr, clientWidth_, clientHeight_);
        surface_->dc.SelectObject(&surface_->bitmap);
    }
    ++openDeviceContexts_;
    return &surface_->dc;
}

void RecordingBackend::ReleaseDC(CDC* dc) {
    Record("ReleaseDC");
    if (surface_ && dc == &surface_->dc && openDeviceContexts_ > 0) --openDeviceContexts_;
}

const CBitmap* RecordingBackend::SurfaceBitmap() const {
    return surface_ ? &surface_->bitmap : nullptr;
}

bool RecordingBackend::SetTimer(std::uintptr_t id, unsigned elapseMs) {
    Record("SetTimer(" + std::to_string(id) + "," + std::to_string(elapseMs) + ")");
    timers_.insert(id);
    return true;
}

bool RecordingBackend::KillTimer(std::uintptr_t id) {
    Record("KillTimer(" + std::to_string(id) + ")");
    return timers_.erase(id) != 0;
}

int RecordingBackend::MessageBox(const std::string& text, const std::string& caption,
                                 unsigned type) {
    Record("MessageBox('" + text + "','" + caption + "')");
    boxes_.push_back({text, caption, type});
    if (onMessageBox_) {
        // A copy: the callback may open further boxes and grow the list.
        const RecordedMessageBox box = boxes_.back();
        onMessageBox_(box);
    }
    return IDOK;
}

void RecordingBackend::BeginWaitCursor() {
    Record("BeginWaitCursor");
    ++waitCursorDepth_;
}

void RecordingBackend::EndWaitCursor() {
    Record("EndWaitCursor");
    if (waitCursorDepth_ > 0) --waitCursorDepth_;
}

void RecordingBackend::Sleep(unsigned milliseconds) {
    Record("Sleep(" + std::to_string(milliseconds) + ")");
}

}  // namespace kelvane::framework
