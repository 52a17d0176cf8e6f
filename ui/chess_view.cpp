#include "ui/chess_view.h"

#include "game/game_state.h"
#include "ui/board_drawing.h"

namespace kelvane {

void CChessView::OnDraw(platform::CDC* dc) {
    DrawBoard(dc, GetBoard(), TheGameState());
}

}  // namespace kelvane
