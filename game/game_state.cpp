// SPDX-License-Identifier: GPL-3.0-or-later
#include "game/game_state.h"

namespace kelvane {

GameState& TheGameState() {
    // A function-local static: built on first use, whatever order the program starts in.
    static GameState state;
    return state;
}

void ResetGameState() {
    TheGameState() = GameState{};
}

}  // namespace kelvane
