// SPDX-License-Identifier: GPL-3.0-or-later
// The About box, opened with F1: every text of its template wholly shown, modal over the main
// window, and every way to close it.
#include <QDialog>
#include <QLabel>
#include <QPushButton>

#include "tests/shell/shell_fixture.h"

namespace kelvane::testing {
namespace {

void ExpectTheAboutBox(QDialog* dialog, QWidget* mainWindow) {
    EXPECT_EQ(dialog->windowTitle().toStdString(), "About Kelvane...");
    EXPECT_EQ(dialog->parentWidget(), mainWindow);
    // Each text with its place in the 220 by 146 box, in the template's units.
    struct Placed {
        const char* text;
        int x, y, width, height;
    };
    std::vector<QRect> texts;  // where each text is drawn: no two may overlap
    for (const auto& [text, x, y, width, height] :
         {Placed{"Kelvane  version 1.0", 7, 7, 119, 8},
          Placed{"Send your remarks to the Kelvane developers.", 7, 16, 151, 8},
          Placed{"&Close", 181, 7, 32, 14},
          Placed{"In order to get a hint, retract your move, etc., you can use the menu or the "
                 "shortcuts (specified near the items in the menu).",
                 7, 116, 206, 22},
          Placed{"The rules are simple. You move the pieces like in standard chess, except that "
                 "you must capture when possible. The goal is to force the opponent to capture "
                 "your king or all you pieces, depending on the type of rules .",
                 7, 44, 206, 33},
          Placed{"To move a piece you click on it with the left button of the mouse. A red "
                 "focus rectangle appears, and yellow focus rectangles are shown on the "
                 "possible moves. If there is at least one yellow square, you click on one of "
                 "them to confirm the move.",
                 7, 79, 206, 33}}) {
        SCOPED_TRACE(text);
        QWidget* shown = nullptr;  // a label, or the default button
        for (auto* label : dialog->findChildren<QLabel*>())
            if (label->text().trimmed() == text) shown = label;
        for (auto* button : dialog->findChildren<QPushButton*>())
            if (button->text() == text && button->isDefault()) shown = button;
        ASSERT_NE(shown, nullptr);
        const QRect place = shown->geometry();
        const auto near = [](int pixels, int units, int whole, int wholeUnits) {
            return std::abs(pixels - units * whole / wholeUnits) <= 1;
        };
        EXPECT_TRUE(near(place.x(), x, dialog->width(), 220) &&
                    near(place.y(), y, dialog->height(), 146) &&
                    near(place.width(), width, dialog->width(), 220) &&
                    near(place.height(), height, dialog->height(), 146))
            << place.x() << "," << place.y() << " " << place.width() << "x" << place.height();
        const QRect needed = shown->fontMetrics().boundingRect(QRect(0, 0, shown->width(), 100000),
                                                               Qt::TextWordWrap, text);
        EXPECT_TRUE(needed.height() <= shown->height() && needed.width() <= shown->width() &&
                    dialog->rect().contains(shown->geometry()));
        const QRect drawn =
            qobject_cast<QLabel*>(shown) ? needed.translated(shown->pos()) : shown->geometry();
        for (const QRect& other : texts) EXPECT_FALSE(drawn.intersects(other));
        texts.push_back(drawn);
    }
}

using Closing = std::pair<const char*, std::function<void(QDialog*)>>;

class AboutBoxTest : public ShellTest, public ::testing::WithParamInterface<Closing> {};

TEST_P(AboutBoxTest, ShowsItselfAndClosesChangingNothing) {
    Start();
    ModalWatcher watcher([this](QWidget* modal) {
        auto* dialog = qobject_cast<QDialog*>(modal);
        ExpectTheAboutBox(dialog, &Window());
        QTest::keyClick(&Window(), Qt::Key_F2);  // the main window's keys do nothing meanwhile
        EXPECT_TRUE(QTest::qWaitForWindowActive(dialog));
        GetParam().second(dialog);
        EXPECT_TRUE(QTest::qWaitFor([&] { return !dialog->isVisible(); }, 2000));
        if (dialog->isVisible()) dialog->reject();  // a failure must not hang the run
    });
    QTest::keyClick(&Window(), Qt::Key_F1);
    ASSERT_EQ(watcher.titles.size(), 1);
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
    EXPECT_FALSE(std::filesystem::exists("game.sav"));
    EXPECT_EQ(TheBoard(), StartingBoard());
}

// clang-format off
const Closing kClosings[] = {
    {"Enter", [](QDialog* d) { QTest::keyClick(d, Qt::Key_Return); }},
    {"KeypadEnter", [](QDialog* d) { QTest::keyClick(d, Qt::Key_Enter); }},
    {"Escape", [](QDialog* d) { QTest::keyClick(d, Qt::Key_Escape); }},
    {"CloseButton",
     [](QDialog* d) { QTest::mouseClick(d->findChild<QPushButton*>(), Qt::LeftButton); }},
    // A mnemonic only fires in the active window: make it the box even on a slow platform.
    {"AltC", [](QDialog* d) { QApplication::setActiveWindow(d);
                              QTest::keyClick(d, Qt::Key_C, Qt::AltModifier); }},
    {"CloseBox", [](QDialog* d) { d->close(); }}};
// clang-format on
INSTANTIATE_TEST_SUITE_P(Shell, AboutBoxTest, ::testing::ValuesIn(kClosings),
                         [](const auto& param) { return std::string(param.param.first); });

}  // namespace
}  // namespace kelvane::testing
