// SPDX-License-Identifier: GPL-3.0-or-later
// What the view's window offers beyond the classic ones: messages posted from other threads,
// a status line, keyboard play, what a screen reader says of the board, and a wait cursor of
// its own. None of it is used unless the program asks.
#include <QAccessible>
#include <QAccessibleWidget>
#include <QCoreApplication>
#include <QEvent>
#include <QKeyEvent>
#include <QLabel>

#include "framework/qt/qt_message_box.h"
#include "framework/qt/qt_view_window.h"

namespace kelvane::framework::qt {

namespace {

// Lines of text the status line has room for: a long list of captures wraps once.
constexpr int kStatusLines = 2;
constexpr int kStatusPadding = 4;

const QEvent::Type kPostedMessageType = static_cast<QEvent::Type>(QEvent::registerEventType());

class PostedMessage final : public QEvent {
  public:
    PostedMessage(unsigned number, std::uintptr_t first, std::intptr_t second)
        : QEvent(kPostedMessageType), message(number), wParam(first), lParam(second) {}
    const unsigned message;
    const std::uintptr_t wParam;
    const std::intptr_t lParam;
};

// The view as a screen reader sees it: its name is the square the keyboard is on.
class ViewAccessible final : public QAccessibleWidget {
  public:
    explicit ViewAccessible(QtViewWindow* view) : QAccessibleWidget(view, QAccessible::Client) {}

    QString text(QAccessible::Text kind) const override {
        const auto* view = static_cast<const QtViewWindow*>(widget());
        if (kind == QAccessible::Name && !view->AccessibleText().isEmpty())
            return view->AccessibleText();
        return QAccessibleWidget::text(kind);
    }
};

QAccessibleInterface* ViewAccessibleFactory(const QString& className, QObject* object) {
    (void)className;
    auto* view = dynamic_cast<QtViewWindow*>(object);
    if (view == nullptr || !view->TakesKeyboard()) return nullptr;
    return new ViewAccessible(view);
}

unsigned VirtualKeyOf(int key) {
    switch (key) {
        case Qt::Key_Left:
            return VK_LEFT;
        case Qt::Key_Up:
            return VK_UP;
        case Qt::Key_Right:
            return VK_RIGHT;
        case Qt::Key_Down:
            return VK_DOWN;
        case Qt::Key_Return:
        case Qt::Key_Enter:
            return VK_RETURN;
        case Qt::Key_Space:
            return VK_SPACE;
        default:
            return 0;
    }
}

}  // namespace

bool QtViewWindow::PostMessage(unsigned message, std::uintptr_t wParam, std::intptr_t lParam) {
    // Qt queues the event for this window's thread; it is dropped if the window goes first.
    QCoreApplication::postEvent(this, new PostedMessage(message, wParam, lParam));
    return true;
}

bool QtViewWindow::event(QEvent* event) {
    if (event->type() != kPostedMessageType) return QWidget::event(event);
    const auto* posted = static_cast<PostedMessage*>(event);
    if (view_ != nullptr) {
        GuardedCall(this, [this, posted] {
            view_->OnPostedMessage(posted->message, posted->wParam, posted->lParam);
        });
    }
    return true;
}

int QtViewWindow::CreateStatusLine() {
    if (statusLine_ == nullptr) {
        statusLine_ = new QLabel(this);
        statusLine_->setWordWrap(true);
        statusLine_->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
        statusLine_->setContentsMargins(kStatusPadding, 0, kStatusPadding, 0);
        statusLine_->setAutoFillBackground(true);
        statusLine_->setCursor(Qt::ArrowCursor);  // the wait cursor is the board's only
        statusLine_->setAccessibleDescription(QStringLiteral("Status"));
        const int height =
            statusLine_->fontMetrics().lineSpacing() * kStatusLines + 2 * kStatusPadding;
        statusLine_->setFixedHeight(height);
        PlaceStatusLine();
        statusLine_->show();
    }
    return statusLine_->height();
}

void QtViewWindow::PlaceStatusLine() {
    if (statusLine_ == nullptr) return;
    statusLine_->setGeometry(0, height() - statusLine_->height(), width(), statusLine_->height());
}

void QtViewWindow::SetStatusText(const std::string& text) {
    // A label tells a screen reader of its new text by itself.
    if (statusLine_ != nullptr) statusLine_->setText(QString::fromStdString(text));
}

void QtViewWindow::EnableKeyboard() {
    static const bool factoryInstalled = [] {
        QAccessible::installFactory(ViewAccessibleFactory);
        return true;
    }();
    (void)factoryInstalled;
    takesKeyboard_ = true;
    setFocusPolicy(Qt::StrongFocus);
    setFocus();
}

void QtViewWindow::SetAccessibleText(const std::string& text, bool again) {
    const QString updated = QString::fromStdString(text);
    if (updated == accessibleText_ && !again) return;
    accessibleText_ = updated;
    // With the keyboard on the board, a focus event makes a screen reader read the square out.
    QAccessibleEvent changed(this, hasFocus() ? QAccessible::Focus : QAccessible::NameChanged);
    QAccessible::updateAccessibility(&changed);
}

void QtViewWindow::SetWaitCursorOverWindow(bool wait) {
    if (wait) {
        setCursor(Qt::WaitCursor);
    } else {
        unsetCursor();
    }
}

void QtViewWindow::keyPressEvent(QKeyEvent* event) {
    const unsigned key = VirtualKeyOf(event->key());
    if (view_ == nullptr || !takesKeyboard_ || key == 0 ||
        (event->modifiers() & ~Qt::KeypadModifier) != Qt::NoModifier) {
        QWidget::keyPressEvent(event);
        return;
    }
    GuardedCall(this, [this, key] { view_->OnKeyDown(key); });
}

}  // namespace kelvane::framework::qt
