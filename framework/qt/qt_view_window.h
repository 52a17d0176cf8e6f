// SPDX-License-Identifier: GPL-3.0-or-later
// The board view's window: a widget that keeps the view's picture in a pixel buffer of its own
// size and shows it pixel for pixel.
#pragma once

#include <QImage>
#include <QWidget>
#include <cstdint>
#include <map>
#include <memory>
#include <set>

#include "framework/device_context.h"
#include "framework/window.h"

class QLabel;
class QTimer;

namespace kelvane::framework::qt {

class QtViewWindow final : public QWidget, public WindowBackend {
  public:
    QtViewWindow(CView* view, QWidget* parent);
    ~QtViewWindow() override;

    // From now on no message reaches the view; its timers stop.
    void DetachView();

    void InvalidateRect(bool erase) override;
    void UpdateWindow() override;
    CDC* GetDC() override;
    void ReleaseDC(CDC* dc) override;
    bool SetTimer(std::uintptr_t id, unsigned elapseMs) override;
    bool KillTimer(std::uintptr_t id) override;
    int MessageBox(const std::string& text, const std::string& caption, unsigned type) override;
    void BeginWaitCursor() override;
    void EndWaitCursor() override;
    void Sleep(unsigned milliseconds) override;

    bool PostMessage(unsigned message, std::uintptr_t wParam, std::intptr_t lParam) override;
    int CreateStatusLine() override;
    void SetStatusText(const std::string& text) override;
    void EnableKeyboard() override;
    void SetAccessibleText(const std::string& text, bool again) override;
    void SetWaitCursorOverWindow(bool wait) override;

    // The status line (null until created) and what assistive technology reads of the view.
    QLabel* StatusLine() const { return statusLine_; }
    const QString& AccessibleText() const { return accessibleText_; }
    bool TakesKeyboard() const { return takesKeyboard_; }

    bool IsTimerRunning(std::uintptr_t id) const;
    // The pixels last shown, 0x00BBGGRR.
    const CBitmap& Buffer() const { return buffer_; }

  protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    // A tick of one of the timers, once the events queued before it are handled.
    void customEvent(QEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    // The second press of a double click comes as a double-click message, which the view
    // does not handle: it does nothing.
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    // Messages posted to the view come here first.
    bool event(QEvent* event) override;

  private:
    void MatchBufferToSize();
    void FillBackground();
    void PlaceStatusLine();

    CView* view_;
    CBitmap buffer_;
    CDC windowDC_;
    bool updatePending_ = false;
    bool showBufferOnly_ = false;
    int waitCursorDepth_ = 0;
    std::map<std::uintptr_t, std::unique_ptr<QTimer>> timers_;
    std::set<std::uintptr_t> ticksWaiting_;  // posted and not yet handled
    QLabel* statusLine_ = nullptr;
    QString accessibleText_;
    bool takesKeyboard_ = false;
};

}  // namespace kelvane::framework::qt
