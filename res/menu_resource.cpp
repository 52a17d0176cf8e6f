// SPDX-License-Identifier: GPL-3.0-or-later
#include "res/menu_resource.h"

#include <array>

#include "framework/command_ids.h"
#include "res/command_ids.h"

namespace kelvane::res {
namespace {

using namespace framework;

constexpr std::array kGameMenu{
    MenuItemResource{"&New\tCtrl+N", ID_FILE_NEW},
    MenuItemResource{"New - &Computer starts", ID_GAME_COMPUTER_STARTS},
    MenuItemResource{"&Save\tF2", ID_GAME_SAVE},
    MenuItemResource{"&Load\tF3", ID_GAME_LOAD},
    MenuItemResource{"&Autoplay\tCtrl+A", ID_GAME_AUTOPLAY},
    MenuItemResource{"S&top\tCtrl+S", ID_GAME_STOP},
    MenuItemResource{"&Hint\tCtrl+H", ID_GAME_HINT},
    MenuItemResource{},
    MenuItemResource{"&Quit\tCtrl+Q", ID_APP_EXIT},
};

constexpr std::array kEditMenu{
    MenuItemResource{"&Undo\tCtrl+Z", ID_EDIT_UNDO},
};

constexpr std::array kLevelMenu{
    MenuItemResource{"&Easy", ID_LEVEL_EASY, true},
    MenuItemResource{"&Medium", ID_LEVEL_MEDIUM},
    MenuItemResource{"&Hard", ID_LEVEL_HARD},
};

constexpr std::array kRulesMenu{
    MenuItemResource{"&King must die", ID_RULES_KING_MUST_DIE, true},
    MenuItemResource{"&All must die", ID_RULES_ALL_MUST_DIE},
};

constexpr std::array kOptionsMenu{
    MenuItemResource{"Small board", ID_OPTIONS_SMALL_BOARD},
    MenuItemResource{"Medium board", ID_OPTIONS_MEDIUM_BOARD, true},
    MenuItemResource{"Large board", ID_OPTIONS_LARGE_BOARD},
    MenuItemResource{},
    MenuItemResource{"Standard set", ID_OPTIONS_STANDARD_SET, true},
    MenuItemResource{"Extra set", ID_OPTIONS_EXTRA_SET},
};

constexpr std::array kHelpMenu{
    MenuItemResource{"&About\tF1", ID_APP_ABOUT},
};

constexpr std::array kMenuBar{
    MenuResource{"&Game", kGameMenu},       MenuResource{"&Edit", kEditMenu},
    MenuResource{"&Level", kLevelMenu},     MenuResource{"&Rules", kRulesMenu},
    MenuResource{"&Options", kOptionsMenu}, MenuResource{"&Help", kHelpMenu},
};

constexpr std::array kExtrasGameMenu{
    MenuItemResource{"&New\tCtrl+N", ID_FILE_NEW},
    MenuItemResource{"New - &Computer starts", ID_GAME_COMPUTER_STARTS},
    MenuItemResource{"New - You play &Black", ID_GAME_YOU_PLAY_BLACK},
    MenuItemResource{"&Save\tF2", ID_GAME_SAVE},
    MenuItemResource{"&Load\tF3", ID_GAME_LOAD},
    MenuItemResource{"Save &Record...", ID_GAME_SAVE_RECORD},
    MenuItemResource{"&Autoplay\tCtrl+A", ID_GAME_AUTOPLAY},
    MenuItemResource{"S&top\tCtrl+S", ID_GAME_STOP},
    MenuItemResource{"&Hint\tCtrl+H", ID_GAME_HINT},
    MenuItemResource{},
    MenuItemResource{"&Quit\tCtrl+Q", ID_APP_EXIT},
};

constexpr std::array kExtrasLevelMenu{
    MenuItemResource{"&Easy", ID_LEVEL_EASY, true}, MenuItemResource{"&Medium", ID_LEVEL_MEDIUM},
    MenuItemResource{"&Hard", ID_LEVEL_HARD},       MenuItemResource{},
    MenuItemResource{"E&xpert", ID_LEVEL_EXPERT},
};

constexpr std::array kExtrasMenuBar{
    MenuResource{"&Game", kExtrasGameMenu},   MenuResource{"&Edit", kEditMenu},
    MenuResource{"&Level", kExtrasLevelMenu}, MenuResource{"&Rules", kRulesMenu},
    MenuResource{"&Options", kOptionsMenu},   MenuResource{"&Help", kHelpMenu},
};

constexpr std::array kAccelerators{
    AcceleratorResource{FCONTROL, 'A', ID_GAME_AUTOPLAY},
    AcceleratorResource{FCONTROL, 'C', ID_EDIT_COPY},
    AcceleratorResource{FCONTROL, 'H', ID_GAME_HINT},
    AcceleratorResource{FCONTROL, 'N', ID_FILE_NEW},
    AcceleratorResource{FCONTROL, 'O', ID_FILE_OPEN},
    AcceleratorResource{FCONTROL, 'Q', ID_APP_EXIT},
    AcceleratorResource{FCONTROL, 'S', ID_GAME_STOP},
    AcceleratorResource{FCONTROL, 'V', ID_EDIT_PASTE},
    AcceleratorResource{FCONTROL, 'X', ID_EDIT_CUT},
    AcceleratorResource{FCONTROL, 'Z', ID_EDIT_UNDO},
    AcceleratorResource{FALT, VK_BACK, ID_EDIT_UNDO},
    AcceleratorResource{0, VK_F1, ID_APP_ABOUT},
    AcceleratorResource{0, VK_F2, ID_GAME_SAVE},
    AcceleratorResource{0, VK_F3, ID_GAME_LOAD},
    AcceleratorResource{FCONTROL, VK_INSERT, ID_EDIT_COPY},
    AcceleratorResource{FSHIFT, VK_DELETE, ID_EDIT_CUT},
    AcceleratorResource{FSHIFT, VK_INSERT, ID_EDIT_PASTE},
    AcceleratorResource{0, VK_F6, ID_NEXT_PANE},
    AcceleratorResource{FSHIFT, VK_F6, ID_PREV_PANE},
};

}  // namespace

std::span<const MenuResource> MainMenuBar() {
    return kMenuBar;
}

std::span<const MenuResource> ExtrasMenuBar() {
    return kExtrasMenuBar;
}

std::span<const AcceleratorResource> MainAccelerators() {
    return kAccelerators;
}

}  // namespace kelvane::res
