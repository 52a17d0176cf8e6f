// The board view: the game of game/ with its picture.
#pragma once

#include "game/game_view.h"

namespace kelvane {

class CChessView : public GameView {
  public:
    void OnDraw(platform::CDC* dc) override;
};

}  // namespace kelvane
