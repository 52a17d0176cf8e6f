// SPDX-License-Identifier: GPL-3.0-or-later
#include "framework/qt/qt_view_window.h"

#include <QApplication>
#include <QMouseEvent>
#include <QPainter>
#include <QThread>
#include <QTimer>

#include "framework/qt/qt_message_box.h"

namespace kelvane::framework::qt {

namespace {

// Mouse message flags, valued as the Win32 ones.
constexpr unsigned MK_LBUTTON = 0x0001;
constexpr unsigned MK_RBUTTON = 0x0002;
constexpr unsigned MK_SHIFT = 0x0004;
constexpr unsigned MK_CONTROL = 0x0008;

unsigned MouseFlags(const QMouseEvent& event) {
    unsigned flags = 0;
    if (event.buttons() & Qt::LeftButton) flags |= MK_LBUTTON;
    if (event.buttons() & Qt::RightButton) flags |= MK_RBUTTON;
    if (event.modifiers() & Qt::ShiftModifier) flags |= MK_SHIFT;
    if (event.modifiers() & Qt::ControlModifier) flags |= MK_CONTROL;
    return flags;
}

// 0x00BBGGRR in memory is R, G, B, then an unused byte: exactly RGBX8888.
QImage ImageOver(const CBitmap& bitmap) {
    if (!bitmap.IsValid()) return {};
    return QImage(reinterpret_cast<const uchar*>(bitmap.Pixels().data()), bitmap.Width(),
                  bitmap.Height(), bitmap.Width() * 4, QImage::Format_RGBX8888);
}

QEvent::Type TickEventType() {
    static const auto type = static_cast<QEvent::Type>(QEvent::registerEventType());
    return type;
}
// Below the repaint requests, which Qt posts at low priority.
constexpr int kTickPriority = Qt::LowEventPriority - 1;

class TickEvent final : public QEvent {
  public:
    explicit TickEvent(std::uintptr_t timerId) : QEvent(TickEventType()), id(timerId) {}
    const std::uintptr_t id;
};

}  // namespace

QtViewWindow::QtViewWindow(CView* view, QWidget* parent) : QWidget(parent), view_(view) {
    // The picture covers the widget: no background erase, no flicker.
    setAttribute(Qt::WA_OpaquePaintEvent);
    setFocusPolicy(Qt::NoFocus);
    MatchBufferToSize();
}

QtViewWindow::~QtViewWindow() {
    DetachView();
}

void QtViewWindow::DetachView() {
    for (auto& [id, timer] : timers_) timer->stop();
    view_ = nullptr;
    while (waitCursorDepth_ > 0) EndWaitCursor();
}

void QtViewWindow::InvalidateRect(bool erase) {
    (void)erase;  // the picture covers the whole client area
    updatePending_ = true;
    update();
}

void QtViewWindow::UpdateWindow() {
    if (updatePending_) repaint();
}

CDC* QtViewWindow::GetDC() {
    MatchBufferToSize();
    windowDC_.SelectObject(&buffer_);
    return &windowDC_;
}

void QtViewWindow::ReleaseDC(CDC* dc) {
    if (dc != &windowDC_) return;
    // What was drawn is on the screen before the caller goes on (a long search may follow).
    // A repaint clears Qt's pending update, so one still owed is asked for again.
    const bool owed = updatePending_;
    showBufferOnly_ = true;
    repaint();
    showBufferOnly_ = false;
    if (owed) update();
}

bool QtViewWindow::SetTimer(std::uintptr_t id, unsigned elapseMs) {
    auto& timer = timers_[id];
    if (timer == nullptr) {
        timer = std::make_unique<QTimer>();
        // The tick waits behind the input and the paint already queued, as a timer message
        // does: a Stop or a click that waits goes first.
        QObject::connect(timer.get(), &QTimer::timeout, this, [this, id] {
            if (ticksWaiting_.insert(id).second)
                QCoreApplication::postEvent(this, new TickEvent(id), kTickPriority);
        });
    }
    // Arming a running timer again only restarts it.
    timer->start(static_cast<int>(elapseMs));
    return true;
}

bool QtViewWindow::KillTimer(std::uintptr_t id) {
    const auto found = timers_.find(id);
    if (found == timers_.end()) return false;
    // Stopped, not destroyed: this may run inside that very timer's tick.
    found->second->stop();
    return true;
}

bool QtViewWindow::IsTimerRunning(std::uintptr_t id) const {
    const auto found = timers_.find(id);
    return found != timers_.end() && found->second->isActive();
}

int QtViewWindow::MessageBox(const std::string& text, const std::string& caption, unsigned type) {
    (void)type;  // the game only asks for an OK button
    return ShowMessageBox(window(), text, caption);
}

void QtViewWindow::BeginWaitCursor() {
    ++waitCursorDepth_;
    QApplication::setOverrideCursor(Qt::WaitCursor);
}

void QtViewWindow::EndWaitCursor() {
    if (waitCursorDepth_ == 0) return;
    --waitCursorDepth_;
    QApplication::restoreOverrideCursor();
}

void QtViewWindow::Sleep(unsigned milliseconds) {
    QThread::msleep(milliseconds);
}

void QtViewWindow::paintEvent(QPaintEvent* event) {
    (void)event;
    MatchBufferToSize();
    if (!showBufferOnly_) {
        updatePending_ = false;
        FillBackground();
        if (view_ != nullptr) {
            CDC dc;
            dc.SelectObject(&buffer_);
            GuardedCall(this, [this, &dc] { view_->OnDraw(&dc); });
        }
    }
    QPainter painter(this);
    // One buffer pixel per logical pixel; on a high-density screen each is a crisp block.
    painter.setRenderHint(QPainter::SmoothPixmapTransform, false);
    painter.drawImage(QRect(0, 0, buffer_.Width(), buffer_.Height()), ImageOver(buffer_));
}

void QtViewWindow::customEvent(QEvent* event) {
    if (event->type() != TickEventType()) return;
    const std::uintptr_t id = static_cast<TickEvent*>(event)->id;
    ticksWaiting_.erase(id);
    // What the input handled meanwhile asked to show is shown first; a Stop among it means no
    // tick at all.
    UpdateWindow();
    if (view_ != nullptr && IsTimerRunning(id))
        GuardedCall(this, [this, id] { view_->OnTimer(id); });
}

void QtViewWindow::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    MatchBufferToSize();
    PlaceStatusLine();
}

void QtViewWindow::mousePressEvent(QMouseEvent* event) {
    if (view_ == nullptr) return;
    const CPoint point{event->position().toPoint().x(), event->position().toPoint().y()};
    const unsigned flags = MouseFlags(*event);
    if (event->button() == Qt::LeftButton) {
        GuardedCall(this, [this, flags, point] { view_->OnLButtonDown(flags, point); });
    } else if (event->button() == Qt::RightButton) {
        GuardedCall(this, [this, flags, point] { view_->OnRButtonDown(flags, point); });
    }
}

void QtViewWindow::mouseDoubleClickEvent(QMouseEvent* event) {
    event->accept();
}

void QtViewWindow::MatchBufferToSize() {
    const int width = std::max(1, this->width());
    const int height = std::max(1, this->height());
    if (buffer_.Width() == width && buffer_.Height() == height) return;
    buffer_.CreateCompatibleBitmap(nullptr, width, height);
    windowDC_.SelectObject(&buffer_);
    FillBackground();
}

void QtViewWindow::FillBackground() {
    const QColor color = palette().color(QPalette::Window);
    CDC dc;
    dc.SelectObject(&buffer_);
    dc.FillSolidRect(0, 0, buffer_.Width(), buffer_.Height(),
                     RGB(color.red(), color.green(), color.blue()));
}

}  // namespace kelvane::framework::qt
