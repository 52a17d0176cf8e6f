// The About box: its texts, its layout in dialog units, and every way to close it.
#include <QLabel>
#include <QPushButton>
#include <QTest>

#include "game/command_ids.h"
#include "platform/qt/qt_template_dialog.h"
#include "tests/shell/shell_fixture.h"

namespace kelvane::testing {
namespace {

const char* const kRulesParagraph =
    "        The rules are simple. You move the pieces like in standard chess, except that you "
    "must capture when possible. The goal is to force the opponent to capture your king or all "
    "you pieces, depending on the type of rules .";
const char* const kMouseParagraph =
    "        To move a piece you click on it with the left button of the mouse. A red focus "
    "rectangle appears, and yellow focus rectangles are shown on the possible moves. If there "
    "is at least one yellow square, you click on one of them to confirm the move.";
const char* const kShortcutParagraph =
    "        In order to get a hint, retract your move, etc., you can use the menu or the "
    "shortcuts (specified near the items in the menu).\n        ";

struct Closing {
    const char* name;
    std::function<void(QDialog*)> close;
    int result;  // QDialog's result: 1 for the Close button's id, 0 for a cancel
};

std::ostream& operator<<(std::ostream& out, const Closing& c) {
    return out << c.name;
}

class AboutBoxTest : public ShellTest {
  protected:
    // Opens the box with F1 and hands it to inspect while it is up.
    void WhileOpen(const std::function<void(QDialog*)>& inspect) {
        ModalWatcher watcher([&](QWidget* modal) {
            auto* dialog = qobject_cast<QDialog*>(modal);
            ASSERT_NE(dialog, nullptr);
            inspect(dialog);
            if (dialog->isVisible()) dialog->accept();
        });
        Press(Qt::Key_F1);
        ASSERT_TRUE(watcher.Seen());
    }
};

TEST_F(AboutBoxTest, ShowsTheTextsInTheirPlaces) {
    Start();
    WhileOpen([](QDialog* dialog) {
        EXPECT_EQ(dialog->windowTitle().toStdString(), "About Kelvane...");
        std::map<std::string, QRect> labels;
        for (QLabel* label : dialog->findChildren<QLabel*>()) {
            labels[label->text().toStdString()] = label->geometry();
        }
        ASSERT_EQ(labels.size(), 5u);
        ASSERT_TRUE(labels.count("Kelvane  version 1.0"));
        ASSERT_TRUE(labels.count(kRulesParagraph));
        ASSERT_TRUE(labels.count(kMouseParagraph));
        ASSERT_TRUE(labels.count(kShortcutParagraph));
        // Top to bottom: the rules, the mouse, the shortcuts.
        EXPECT_LT(labels[kRulesParagraph].top(), labels[kMouseParagraph].top());
        EXPECT_LT(labels[kMouseParagraph].top(), labels[kShortcutParagraph].top());

        const auto buttons = dialog->findChildren<QPushButton*>();
        ASSERT_EQ(buttons.size(), 1);
        EXPECT_EQ(buttons[0]->text().toStdString(), "&Close");
        EXPECT_TRUE(buttons[0]->isDefault());
        EXPECT_GT(buttons[0]->x(), labels["Kelvane  version 1.0"].right());
    });
}

TEST_F(AboutBoxTest, IsLaidOutInDialogUnitsOfItsFont) {
    Start();
    WhileOpen([](QDialog* dialog) {
        const auto* dialogTemplate = res::FindDialogResource(res::IDD_ABOUTBOX);
        ASSERT_NE(dialogTemplate, nullptr);
        const platform::qt::DialogBaseUnits units =
            platform::qt::BaseUnitsOf(platform::qt::ChooseDialogFonts(*dialogTemplate).layout);
        EXPECT_NEAR(dialog->width(), 220 * units.x / 4, 1);
        EXPECT_NEAR(dialog->height(), 146 * units.y / 8, 1);
        for (QLabel* label : dialog->findChildren<QLabel*>()) {
            if (label->text().toStdString() != kRulesParagraph) continue;
            EXPECT_NEAR(label->x(), 7 * units.x / 4, 1);
            EXPECT_NEAR(label->y(), 44 * units.y / 8, 1);
            EXPECT_NEAR(label->width(), 206 * units.x / 4, 1);
        }
        EXPECT_EQ(dialog->minimumSize(), dialog->maximumSize());
    });
}

TEST_F(AboutBoxTest, EveryTextIsWhollyVisible) {
    Start();
    WhileOpen([](QDialog* dialog) {
        for (QLabel* label : dialog->findChildren<QLabel*>()) {
            QString text = label->text();
            while (!text.isEmpty() && text.back().isSpace()) text.chop(1);
            const QRect needed = label->fontMetrics().boundingRect(
                QRect(0, 0, label->width(), 100000), Qt::AlignLeft | Qt::TextWordWrap, text);
            EXPECT_LE(needed.height(), label->height()) << text.toStdString();
            EXPECT_LE(needed.width(), label->width()) << text.toStdString();
            EXPECT_TRUE(dialog->rect().contains(label->geometry()));
        }
    });
}

TEST_F(AboutBoxTest, TheMenuItemOpensTheSameBox) {
    Start();
    ModalWatcher watcher(Accept);
    MenuItem(ID_APP_ABOUT).trigger();
    EXPECT_TRUE(watcher.Seen());
    EXPECT_EQ(watcher.Title().toStdString(), "About Kelvane...");
}

TEST_F(AboutBoxTest, IsModalOverTheMainWindow) {
    Start();
    WhileOpen([this](QDialog* dialog) {
        EXPECT_TRUE(dialog->isModal());
        EXPECT_EQ(dialog->parentWidget(), &Window());
        // A key for the main window does nothing while the box is up.
        const Board before = TheBoard();
        QTest::keyClick(&Window(), Qt::Key_F2);
        EXPECT_EQ(TheBoard(), before);
        EXPECT_FALSE(std::filesystem::exists("game.sav"));
    });
}

class AboutBoxClosingTest : public AboutBoxTest, public ::testing::WithParamInterface<Closing> {};

TEST_P(AboutBoxClosingTest, ClosesTheBoxAndChangesNothing) {
    Start();
    const Board before = TheBoard();
    ModalWatcher watcher([](QWidget* modal) { GetParam().close(qobject_cast<QDialog*>(modal)); });
    Press(Qt::Key_F1);
    ASSERT_TRUE(watcher.Seen());
    EXPECT_EQ(watcher.Result(), GetParam().result);
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
    EXPECT_EQ(TheBoard(), before);
    EXPECT_EQ(Window().windowTitle().toStdString(), "- Kelvane  -  ");
}

INSTANTIATE_TEST_SUITE_P(
    Shell, AboutBoxClosingTest,
    ::testing::Values(
        Closing{"Enter", [](QDialog* d) { QTest::keyClick(d, Qt::Key_Return); }, 1},
        Closing{"KeypadEnter", [](QDialog* d) { QTest::keyClick(d, Qt::Key_Enter); }, 1},
        Closing{"Escape", [](QDialog* d) { QTest::keyClick(d, Qt::Key_Escape); }, 0},
        Closing{"CloseButton",
                [](QDialog* d) { QTest::mouseClick(d->findChild<QPushButton*>(), Qt::LeftButton); },
                1},
        Closing{"AltC", [](QDialog* d) { QTest::keyClick(d, Qt::Key_C, Qt::AltModifier); }, 1},
        Closing{"CloseBox", [](QDialog* d) { d->close(); }, 0}),
    [](const auto& param) { return std::string(param.param.name); });

}  // namespace
}  // namespace kelvane::testing
