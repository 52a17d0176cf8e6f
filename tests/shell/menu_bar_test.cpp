// The menu bar as the player sees it: titles, items, shortcut texts and first check marks.
#include <QMenu>
#include <QMenuBar>
#include <QStatusBar>
#include <QToolBar>

#include "game/command_ids.h"
#include "tests/shell/shell_fixture.h"

namespace kelvane::testing {
namespace {

struct ExpectedItem {
    const char* text;  // null for a separator
    int commandId;
    bool checked;
};

struct ExpectedMenu {
    const char* title;
    std::vector<ExpectedItem> items;
};

const std::vector<ExpectedMenu>& ExpectedMenuBar() {
    static const std::vector<ExpectedMenu> menus{
        {"&Game",
         {{"&New\tCtrl+N", 57600, false},
          {"New - &Computer starts", 32771, false},
          {"&Save\tF2", 32774, false},
          {"&Load\tF3", 32775, false},
          {"&Autoplay\tCtrl+A", 32772, false},
          {"S&top\tCtrl+S", 32779, false},
          {"&Hint\tCtrl+H", 32780, false},
          {nullptr, 0, false},
          {"&Quit\tCtrl+Q", 57665, false}}},
        {"&Edit", {{"&Undo\tCtrl+Z", 57643, false}}},
        {"&Level", {{"&Easy", 32777, true}, {"&Medium", 32776, false}, {"&Hard", 32778, false}}},
        {"&Rules", {{"&King must die", 32781, true}, {"&All must die", 32782, false}}},
        {"&Options",
         {{"Small board", 32783, false},
          {"Medium board", 32784, true},
          {"Large board", 32785, false},
          {nullptr, 0, false},
          {"Standard set", 32786, true},
          {"Extra set", 32787, false}}},
        {"&Help", {{"&About\tF1", 57664, false}}},
    };
    return menus;
}

class MenuBarTest : public ShellTest {};

TEST_F(MenuBarTest, MenusItemsAndFirstCheckMarksAreThoseOfTheTable) {
    Start();
    const QList<QAction*> menus = Window().menuBar()->actions();
    const auto& expected = ExpectedMenuBar();
    ASSERT_EQ(menus.size(), static_cast<qsizetype>(expected.size()));
    for (std::size_t m = 0; m < expected.size(); ++m) {
        SCOPED_TRACE(expected[m].title);
        EXPECT_EQ(menus[m]->text().toStdString(), expected[m].title);
        ASSERT_NE(menus[m]->menu(), nullptr);
        const QList<QAction*> items = menus[m]->menu()->actions();
        ASSERT_EQ(items.size(), static_cast<qsizetype>(expected[m].items.size()));
        for (qsizetype i = 0; i < items.size(); ++i) {
            const ExpectedItem& item = expected[m].items[static_cast<std::size_t>(i)];
            if (item.text == nullptr) {
                EXPECT_TRUE(items[i]->isSeparator());
                continue;
            }
            SCOPED_TRACE(item.text);
            EXPECT_EQ(items[i]->text().toStdString(), item.text);
            EXPECT_EQ(items[i], &MenuItem(item.commandId));
            EXPECT_EQ(items[i]->isChecked(), item.checked);
            EXPECT_TRUE(items[i]->shortcut().isEmpty()) << "keys are accelerators of their own";
        }
    }
}

TEST_F(MenuBarTest, MenuItemsAreNeverDisabled) {
    Start();
    for (QAction* menu : Window().menuBar()->actions()) {
        for (QAction* item : menu->menu()->actions()) EXPECT_TRUE(item->isEnabled());
    }
}

TEST_F(MenuBarTest, ThereIsNoToolBarAndNoStatusBar) {
    Start();
    EXPECT_EQ(Window().findChild<QStatusBar*>(), nullptr);
    EXPECT_TRUE(Window().findChildren<QToolBar*>().isEmpty());
}

}  // namespace
}  // namespace kelvane::testing
