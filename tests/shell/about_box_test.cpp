// The About box, opened with F1: its template laid out in dialog units with every text wholly
// shown, modal over the main window, and every way to close it.
#include <QLabel>
#include <QPushButton>

#include "framework/qt/qt_template_dialog.h"
#include "res/about_dialog_resource.h"
#include "tests/shell/shell_fixture.h"

namespace kelvane::testing {
namespace {

using namespace framework;
using namespace res;

void ExpectTheAboutBox(QDialog* dialog, QWidget* mainWindow) {
    EXPECT_EQ(dialog->windowTitle().toStdString(), "About Kelvane...");
    EXPECT_EQ(dialog->parentWidget(), mainWindow);
    EXPECT_EQ(dialog->minimumSize(), dialog->maximumSize());
    const DialogResource& about = *framework::FindDialogResource(res::IDD_ABOUTBOX);
    const auto units = framework::qt::BaseUnitsOf(framework::qt::ChooseDialogFonts(about).layout);
    const auto pixels = [&](int x, int y) { return QPoint(x * units.x / 4, y * units.y / 8); };
    EXPECT_LE((QPoint(dialog->width(), dialog->height()) - pixels(about.width, about.height))
                  .manhattanLength(),
              2);
    for (const DialogControlResource& control : about.controls) {
        SCOPED_TRACE(control.text);
        QWidget* shown = nullptr;  // a label, or the default button
        for (auto* label : dialog->findChildren<QLabel*>())
            if (label->text() == control.text) shown = label;
        for (auto* button : dialog->findChildren<QPushButton*>())
            if (button->text() == control.text && button->isDefault()) shown = button;
        ASSERT_NE(shown, nullptr);
        EXPECT_LE((shown->pos() - pixels(control.x, control.y)).manhattanLength(), 2);
        QString text = control.text;
        while (text.endsWith(' ') || text.endsWith('\n')) text.chop(1);
        const QRect needed = shown->fontMetrics().boundingRect(QRect(0, 0, shown->width(), 100000),
                                                               Qt::TextWordWrap, text);
        EXPECT_TRUE(needed.height() <= shown->height() && needed.width() <= shown->width() &&
                    dialog->rect().contains(shown->geometry()));
    }
}

struct Closing {
    const char* name;
    std::function<void(QDialog*)> close;
};

class AboutBoxTest : public ShellTest, public ::testing::WithParamInterface<Closing> {};

TEST_P(AboutBoxTest, ShowsItselfAndClosesChangingNothing) {
    Start();
    ModalWatcher watcher([this](QWidget* modal) {
        auto* dialog = qobject_cast<QDialog*>(modal);
        ExpectTheAboutBox(dialog, &Window());
        QTest::keyClick(&Window(), Qt::Key_F2);  // the main window's keys do nothing meanwhile
        EXPECT_TRUE(QTest::qWaitForWindowActive(dialog));
        GetParam().close(dialog);
        EXPECT_TRUE(QTest::qWaitFor([&] { return !dialog->isVisible(); }, 2000));
        if (dialog->isVisible()) dialog->reject();  // a failure must not hang the run
    });
    QTest::keyClick(&Window(), Qt::Key_F1);
    ASSERT_TRUE(watcher.seen);
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
    EXPECT_FALSE(std::filesystem::exists("game.sav"));
    EXPECT_EQ(TheBoard(), StartingBoard());
    EXPECT_EQ(Window().windowTitle().toStdString(), "- Kelvane  -  ");
}

INSTANTIATE_TEST_SUITE_P(
    Shell, AboutBoxTest,
    ::testing::Values(Closing{"Enter", [](QDialog* d) { QTest::keyClick(d, Qt::Key_Return); }},
                      Closing{"KeypadEnter", [](QDialog* d) { QTest::keyClick(d, Qt::Key_Enter); }},
                      Closing{"Escape", [](QDialog* d) { QTest::keyClick(d, Qt::Key_Escape); }},
                      Closing{"CloseButton",
                              [](QDialog* d) {
                                  QTest::mouseClick(d->findChild<QPushButton*>(), Qt::LeftButton);
                              }},
                      Closing{"AltC",
                              [](QDialog* d) {
                                  // A mnemonic only fires in the active window; make sure the
                                  // box is it even when the platform is slow to say so.
                                  QApplication::setActiveWindow(d);
                                  QTest::keyClick(d, Qt::Key_C, Qt::AltModifier);
                              }},
                      Closing{"CloseBox", [](QDialog* d) { d->close(); }}),
    [](const auto& param) { return std::string(param.param.name); });

}  // namespace
}  // namespace kelvane::testing
