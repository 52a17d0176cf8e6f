#include "game/game_view.h"

#include "engine/search_depth.h"
#include "game/command_ids.h"
#include "game/messages.h"

namespace kelvane {

GameView::GameView() {
    GameState& state = TheGameState();
    state.HintFrom = {-1, -1};
    state.HintTo = {-1, -1};
    SetSearchDepth(kDepthEasy);
    OnFileNew();
}

bool GameView::OnCommand(int commandId) {
    switch (commandId) {
        case ID_FILE_NEW:
            OnFileNew();
            return true;
        case ID_GAME_COMPUTER_STARTS:
            OnGameComputerStarts();
            return true;
        case ID_GAME_SAVE:
            OnGameSave();
            return true;
        case ID_GAME_LOAD:
            OnGameLoad();
            return true;
        case ID_GAME_AUTOPLAY:
            OnGameAutoplay();
            return true;
        case ID_GAME_STOP:
            OnGameStop();
            return true;
        case ID_GAME_HINT:
            OnGameHint();
            return true;
        case ID_EDIT_UNDO:
            OnEditUndo();
            return true;
        default:
            return false;
    }
}

// The reset: also the start of every game after the first. It keeps the game result, the
// hint's other fields, the stored targets and snapshots, and every setting.
void GameView::OnFileNew() {
    GameState& state = TheGameState();
    state.AutoplayTurn = 1;
    state.OpeningPending = 1;
    state.HintFrom.column = -1;
    KillTimer(kAutoplayTimerId);
    state.UndoCount = 0;
    state.SelectedSquare = kNoSquare;
    state.LastMoveSquare = kNoSquare;
    state.TargetCount = 0;
    SetUpStartingPosition(board_);
    Invalidate();
}

void GameView::DrawNow() {
    platform::CDC* dc = GetDC();
    if (dc == nullptr) return;
    OnDraw(dc);
    ReleaseDC(dc);
}

void GameView::AnnounceEndOfGame(const char* text) {
    MessageBox(text, kGameMessageCaption, platform::MB_OK);
    OnFileNew();
}

}  // namespace kelvane
