// The view's window on Qt: painting through the view, drawing at once, timers, boxes, the
// wait cursor and the mouse.
#include "platform/qt/qt_view_window.h"

#include <QAbstractButton>
#include <QMainWindow>
#include <QMenuBar>
#include <QMessageBox>
#include <QTest>

#include "tests/shell/shell_fixture.h"

namespace kelvane::testing {
namespace {

using platform::CDC;
using platform::CPoint;
using platform::qt::QtViewWindow;

// Paints itself in one colour and notes every message it gets.
class ProbeView : public platform::CView {
  public:
    void OnDraw(CDC* dc) override {
        ++draws;
        dc->FillSolidRect(0, 0, 400, 400, colour);
    }
    void OnLButtonDown(unsigned, CPoint point) override { leftClicks.push_back(point); }
    void OnRButtonDown(unsigned, CPoint point) override { rightClicks.push_back(point); }
    void OnTimer(std::uintptr_t id) override { ticks.push_back(id); }

    platform::COLORREF colour = platform::RGB(10, 20, 30);
    int draws = 0;
    std::vector<CPoint> leftClicks;
    std::vector<CPoint> rightClicks;
    std::vector<std::uintptr_t> ticks;
};

class QtViewWindowTest : public ::testing::Test {
  protected:
    void SetUp() override {
        window_ = new QtViewWindow(&view_, &frame_);
        view_.AttachWindow(window_);
        frame_.setCentralWidget(window_);
        // A menu bar puts the view below the window's corner, so that the view's pixel (0, 0)
        // is a point a test can click (QTest takes the null point for the centre).
        frame_.menuBar()->addMenu(QStringLiteral("&Menu"));
        window_->setFixedSize(80, 60);
        frame_.show();
        frame_.activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&frame_));
        ASSERT_TRUE(QTest::qWaitForWindowActive(&frame_));
        QApplication::processEvents();
    }
    void TearDown() override { view_.AttachWindow(nullptr); }

    QRgb Shown(int x, int y) const { return window_->grab().toImage().pixel(x, y); }

    ProbeView view_;
    QMainWindow frame_;
    QtViewWindow* window_ = nullptr;
};

TEST_F(QtViewWindowTest, PaintingDrawsTheViewIntoTheBufferAndShowsItAsIs) {
    EXPECT_GE(view_.draws, 1);
    EXPECT_EQ(window_->Buffer().Width(), 80);
    EXPECT_EQ(window_->Buffer().Height(), 60);
    EXPECT_EQ(window_->Buffer().GetPixel(79, 59), platform::RGB(10, 20, 30));
    EXPECT_EQ(Shown(79, 59), qRgb(10, 20, 30));
}

TEST_F(QtViewWindowTest, InvalidateRepaintsThroughTheViewAtTheNextPaint) {
    const int draws = view_.draws;
    view_.colour = platform::RGB(200, 0, 0);
    view_.InvalidateRect(nullptr, false);
    EXPECT_EQ(view_.draws, draws) << "not before the event loop runs";
    QTRY_VERIFY(view_.draws > draws);
    EXPECT_EQ(window_->Buffer().GetPixel(0, 0), platform::RGB(200, 0, 0));
}

TEST_F(QtViewWindowTest, UpdateWindowPaintsOnlyWhatIsInvalid) {
    int draws = view_.draws;
    view_.UpdateWindow();
    EXPECT_EQ(view_.draws, draws);
    view_.InvalidateRect(nullptr, false);
    view_.UpdateWindow();
    EXPECT_EQ(view_.draws, draws + 1);
    draws = view_.draws;
    QApplication::processEvents();
    EXPECT_EQ(view_.draws, draws) << "the pending paint was done";
}

// Counts the paint events a widget receives.
class PaintCounter : public QObject {
  public:
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::Paint) ++paints;
        return false;
    }
    int paints = 0;
};

TEST_F(QtViewWindowTest, DrawingOnTheWindowsDcIsShownAtOnce) {
    PaintCounter counter;
    window_->installEventFilter(&counter);
    CDC* dc = view_.GetDC();
    ASSERT_NE(dc, nullptr);
    dc->FillSolidRect(5, 5, 10, 10, platform::RGB(0, 0, 255));
    const int draws = view_.draws;
    view_.ReleaseDC(dc);
    // No event loop between: the widget was painted from the buffer there and then.
    EXPECT_EQ(counter.paints, 1);
    EXPECT_EQ(window_->Buffer().GetPixel(6, 6), platform::RGB(0, 0, 255));
    EXPECT_EQ(view_.draws, draws) << "showing what was drawn does not redraw the view";
}

TEST_F(QtViewWindowTest, AnInvalidationOwedBeforeDrawingAtOnceStillRepaints) {
    view_.InvalidateRect(nullptr, false);
    const int draws = view_.draws;
    view_.ReleaseDC(view_.GetDC());
    view_.UpdateWindow();
    EXPECT_EQ(view_.draws, draws + 1);
}

TEST_F(QtViewWindowTest, TimerTicksCarryTheirIdUntilKilled) {
    ASSERT_TRUE(view_.SetTimer(0, 10));
    ASSERT_TRUE(view_.SetTimer(7, 10));
    QTRY_VERIFY(std::count(view_.ticks.begin(), view_.ticks.end(), 0u) >= 2 &&
                std::count(view_.ticks.begin(), view_.ticks.end(), 7u) >= 2);
    EXPECT_TRUE(view_.KillTimer(0));
    EXPECT_TRUE(view_.KillTimer(7));
    EXPECT_FALSE(window_->IsTimerRunning(0));
    view_.ticks.clear();
    QTest::qWait(40);
    EXPECT_TRUE(view_.ticks.empty());
    EXPECT_FALSE(view_.KillTimer(42)) << "a timer never set";
}

TEST_F(QtViewWindowTest, SettingARunningTimerAgainOnlyRestartsIt) {
    ASSERT_TRUE(view_.SetTimer(0, 1000));
    ASSERT_TRUE(view_.SetTimer(0, 10));
    QTRY_VERIFY(!view_.ticks.empty());
    view_.KillTimer(0);
    QTest::qWait(30);
    const auto ticks = view_.ticks.size();
    QTest::qWait(30);
    EXPECT_EQ(view_.ticks.size(), ticks) << "one timer, now stopped";
}

TEST_F(QtViewWindowTest, ADetachedViewGetsNoMoreTicks) {
    view_.SetTimer(0, 5);
    window_->DetachView();
    QTest::qWait(30);
    EXPECT_TRUE(view_.ticks.empty());
}

TEST_F(QtViewWindowTest, MessageBoxHasTheTextAnOkButtonAndABlankTitle) {
    ModalWatcher watcher([](QWidget* modal) {
        auto* box = qobject_cast<QMessageBox*>(modal);
        ASSERT_NE(box, nullptr);
        ASSERT_EQ(box->buttons().size(), 1);
        EXPECT_EQ(box->standardButton(box->buttons()[0]), QMessageBox::Ok);
        box->buttons()[0]->click();
    });
    EXPECT_EQ(view_.MessageBox("You won!"), platform::IDOK);
    ASSERT_TRUE(watcher.Seen());
    EXPECT_EQ(watcher.Text().toStdString(), "You won!");
    EXPECT_TRUE(watcher.Title().trimmed().isEmpty());
    EXPECT_NE(watcher.Title().toStdString(), QApplication::applicationName().toStdString());
}

TEST_F(QtViewWindowTest, TimersGoOnWhileAMessageBoxIsOpen) {
    view_.SetTimer(0, 5);
    ModalWatcher watcher([this](QWidget* modal) {
        QTRY_VERIFY(view_.ticks.size() >= 2);
        modal->close();
    });
    view_.MessageBox("Black wins!");
    EXPECT_TRUE(watcher.Seen());
    EXPECT_GE(view_.ticks.size(), 2u);
    view_.KillTimer(0);
}

TEST_F(QtViewWindowTest, WaitCursorShowsUntilTheMatchingEnd) {
    ASSERT_EQ(QApplication::overrideCursor(), nullptr);
    view_.BeginWaitCursor();
    ASSERT_NE(QApplication::overrideCursor(), nullptr);
    EXPECT_EQ(QApplication::overrideCursor()->shape(), Qt::WaitCursor);
    view_.EndWaitCursor();
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
    view_.EndWaitCursor();  // one too many does not take away a cursor set elsewhere
    QApplication::setOverrideCursor(Qt::CrossCursor);
    view_.EndWaitCursor();
    EXPECT_NE(QApplication::overrideCursor(), nullptr);
    QApplication::restoreOverrideCursor();
}

TEST_F(QtViewWindowTest, MouseButtonsArriveWithTheViewsPixel) {
    const QPoint corner = window_->mapTo(&frame_, QPoint(0, 0));
    QTest::mouseClick(frame_.windowHandle(), Qt::LeftButton, Qt::NoModifier, corner);
    QTest::mouseClick(frame_.windowHandle(), Qt::RightButton, Qt::NoModifier,
                      corner + QPoint(79, 59));
    ASSERT_EQ(view_.leftClicks.size(), 1u);
    EXPECT_EQ(view_.leftClicks[0].x, 0);
    EXPECT_EQ(view_.leftClicks[0].y, 0);
    ASSERT_EQ(view_.rightClicks.size(), 1u);
    EXPECT_EQ(view_.rightClicks[0].x, 79);
    EXPECT_EQ(view_.rightClicks[0].y, 59);
}

}  // namespace
}  // namespace kelvane::testing
