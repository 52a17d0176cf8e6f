// SPDX-License-Identifier: GPL-3.0-or-later
#include "framework/qt/qt_frame_window.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QKeySequence>
#include <QMenuBar>
#include <QProxyStyle>
#include <QStyle>

#include "framework/qt/qt_message_box.h"
#include "framework/qt/qt_view_window.h"
#include "framework/resources.h"

namespace kelvane::framework::qt {

namespace {

// A frame window's style before the shell changes it: sizable, with both boxes.
constexpr unsigned long kOverlappedWindow =
    WS_CAPTION | WS_THICKFRAME | WS_MINIMIZEBOX | WS_MAXIMIZEBOX;

// The frame's borders and edges in the size formula (5 pixels each side, 12 in height); the
// window manager draws its own frame instead.
constexpr int kFrameWidthAllowance = 10;
constexpr int kFrameHeightAllowance = 12;

constexpr int kMaxMenuItemTrim = 8;

QKeySequence KeyFor(const AcceleratorResource& accelerator) {
    int key = 0;
    const unsigned vk = accelerator.virtualKey;
    if (vk >= 'A' && vk <= 'Z') {
        key = Qt::Key_A + static_cast<int>(vk - 'A');
    } else if (vk >= VK_F1 && vk <= VK_F1 + 11) {
        key = Qt::Key_F1 + static_cast<int>(vk - VK_F1);
    } else if (vk == VK_BACK) {
        key = Qt::Key_Backspace;
    } else if (vk == VK_INSERT) {
        key = Qt::Key_Insert;
    } else if (vk == VK_DELETE) {
        key = Qt::Key_Delete;
    }
    Qt::KeyboardModifiers modifiers;
    if (accelerator.modifiers & FCONTROL) modifiers |= Qt::ControlModifier;
    if (accelerator.modifiers & FALT) modifiers |= Qt::AltModifier;
    if (accelerator.modifiers & FSHIFT) modifiers |= Qt::ShiftModifier;
    return key == 0 ? QKeySequence() : QKeySequence(QKeyCombination(modifiers, Qt::Key(key)));
}

// The menu bar's items, narrowed by a few pixels each where the bar would not show them all.
// Qt hides the titles that do not fit behind an extension button; the program's menus must
// all stand in the bar, also over the small board.
class MenuBarStyle final : public QProxyStyle {
  public:
    void SetTrim(int pixels) { trim_ = pixels; }

    QSize sizeFromContents(ContentsType type, const QStyleOption* option, const QSize& size,
                           const QWidget* widget) const override {
        QSize result = QProxyStyle::sizeFromContents(type, option, size, widget);
        if (type == CT_MenuBarItem)
            result.rwidth() = std::max(size.width(), result.width() - trim_);
        return result;
    }

  private:
    int trim_ = 0;
};

}  // namespace

QtFrameWindow::QtFrameWindow(CommandSink commands)
    : commands_(std::move(commands)), style_(kOverlappedWindow) {
    menuBarStyle_ = new MenuBarStyle;
    menuBarStyle_->setParent(menuBar());
    menuBar()->setStyle(menuBarStyle_);
    BuildMenuBar();
    BuildAccelerators();
    ApplyWindowFlags();
}

void QtFrameWindow::BuildMenuBar() {
    for (const MenuResource& menuResource : AfxGetResources()->menuBar) {
        QMenu* menu = menuBar()->addMenu(QString::fromUtf8(menuResource.title));
        for (const MenuItemResource& item : menuResource.items) {
            if (item.commandId == 0) {
                menu->addSeparator();
                continue;
            }
            // The text after the tab is shown as the shortcut; the key itself is an
            // accelerator of its own.
            QAction* action = menu->addAction(QString::fromUtf8(item.text));
            action->setCheckable(item.checked);
            action->setChecked(item.checked);
            checked_[action] = item.checked;
            menuActions_[item.commandId] = action;
            const int commandId = item.commandId;
            connect(action, &QAction::triggered, this,
                    [this, action, commandId] { OnMenuItem(action, commandId); });
        }
    }
}

void QtFrameWindow::BuildAccelerators() {
    for (const AcceleratorResource& accelerator : AfxGetResources()->accelerators) {
        auto* action = new QAction(this);
        action->setShortcut(KeyFor(accelerator));
        action->setShortcutContext(Qt::WindowShortcut);
        action->setAutoRepeat(false);
        addAction(action);
        accelerators_.push_back(action);
        const int commandId = accelerator.commandId;
        connect(action, &QAction::triggered, this, [this, commandId] { commands_(commandId); });
    }
}

void QtFrameWindow::OnMenuItem(QAction* action, int commandId) {
    // Qt flips a checkable item on a click; only the handlers decide the marks.
    const bool wasChecked = checked_[action];
    action->setChecked(wasChecked);
    commands_(commandId);
}

void QtFrameWindow::SetViewWindow(QtViewWindow* view) {
    view_ = view;
    setCentralWidget(view);
}

bool QtFrameWindow::ModifyStyle(unsigned long remove, unsigned long add) {
    style_ = (style_ & ~remove) | add;
    ApplyWindowFlags();
    return true;
}

void QtFrameWindow::ApplyWindowFlags() {
    Qt::WindowFlags flags = Qt::Window | Qt::CustomizeWindowHint | Qt::WindowCloseButtonHint;
    if (style_ & WS_CAPTION) flags |= Qt::WindowTitleHint | Qt::WindowSystemMenuHint;
    if (style_ & WS_MINIMIZEBOX) flags |= Qt::WindowMinimizeButtonHint;
    if (style_ & WS_MAXIMIZEBOX) flags |= Qt::WindowMaximizeButtonHint;
    const bool wasVisible = isVisible();
    setWindowFlags(flags);
    if (wasVisible) show();
}

void QtFrameWindow::MoveWindow(int x, int y, int width, int height, bool repaint) {
    // The formula's frame, caption and menu parts come off again: what stays is the view.
    // The menu bar then takes the height it really needs at that width (it may wrap).
    const int clientWidth = std::max(1, width - kFrameWidthAllowance);
    FitMenuBar(clientWidth);
    const int viewHeight = std::max(1, height - GetSystemMetrics(SM_CYSIZE) -
                                           GetSystemMetrics(SM_CYMENUSIZE) - kFrameHeightAllowance);
    int menuHeight = menuBar()->heightForWidth(clientWidth);
    if (menuHeight < 0) menuHeight = menuBar()->sizeHint().height();
    const QSize size(clientWidth, viewHeight + menuHeight);
    if (style_ & WS_THICKFRAME) {
        setMinimumSize(0, 0);
        setMaximumSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
        resize(size);
    } else {
        setFixedSize(size);
    }
    if (view_ != nullptr) view_->setFixedSize(clientWidth, viewHeight);
    move(x, y);  // the outer frame's corner
    if (repaint && view_ != nullptr) view_->InvalidateRect(true);
}

void QtFrameWindow::FitMenuBar(int width) {
    auto* style = static_cast<MenuBarStyle*>(menuBarStyle_);
    const auto restyle = [this] {
        QEvent changed(QEvent::StyleChange);
        QApplication::sendEvent(menuBar(), &changed);
    };
    style->SetTrim(0);
    restyle();
    const int excess = menuBar()->sizeHint().width() - width;
    const auto titles = static_cast<int>(menuBar()->actions().size());
    if (excess <= 0 || titles == 0) return;
    // At most a few pixels of each item's padding: the titles themselves stay whole.
    style->SetTrim(std::min(kMaxMenuItemTrim, (excess + titles - 1) / titles + 1));
    restyle();
}

int QtFrameWindow::GetSystemMetrics(int index) {
    switch (index) {
        case SM_CYSIZE:
            // The height of a title-bar button.
            return style()->pixelMetric(QStyle::PM_TitleBarHeight, nullptr, this);
        case SM_CYMENUSIZE:
            // The height of one row of the menu bar.
            return menuBar()->sizeHint().height();
        default:
            return 0;
    }
}

unsigned QtFrameWindow::CheckMenuItem(int commandId, unsigned check) {
    QAction* action = MenuAction(commandId);
    if (action == nullptr) return kMenuItemMissing;
    const unsigned previous = checked_[action] ? MF_CHECKED : MF_UNCHECKED;
    const bool mark = (check & MF_CHECKED) != 0;
    checked_[action] = mark;
    // Only a checked item is checkable: the style draws an empty box beside a checkable
    // item that is unchecked, where an item never checked shows nothing.
    if (mark) action->setCheckable(true);
    action->setChecked(mark);
    if (!mark) action->setCheckable(false);
    return previous;
}

QAction* QtFrameWindow::MenuAction(int commandId) const {
    const auto found = menuActions_.find(commandId);
    return found == menuActions_.end() ? nullptr : found->second;
}

void QtFrameWindow::SetWindowText(const std::string& caption) {
    setWindowTitle(WindowTitleFor(caption));
}

void QtFrameWindow::ShowWindow() {
    show();
    raise();
    activateWindow();
}

void QtFrameWindow::DestroyWindow() {
    if (view_ != nullptr) view_->DetachView();
    close();
}

void QtFrameWindow::closeEvent(QCloseEvent* event) {
    // Closing the window ends the game with it: no timer may reach the view any more.
    if (view_ != nullptr) view_->DetachView();
    QMainWindow::closeEvent(event);
}

}  // namespace kelvane::framework::qt
