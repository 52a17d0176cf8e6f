#include <string>

#include "game/game_view.h"
#include "game/messages.h"
#include "game/saved_game_file.h"

namespace kelvane {

// Takes back the human's last move together with the reply to it, and with any autoplay moves
// made since. A running autoplay goes on from the restored position.
void GameView::OnEditUndo() {
    GameState& state = TheGameState();
    state.HintFrom.column = -1;
    if (state.UndoCount <= 0) return;
    const UndoSnapshot& snapshot = state.UndoHistory[static_cast<std::size_t>(state.UndoCount)];
    for (int column = 0; column < kBoardDim; ++column) {
        for (int row = 0; row < kBoardDim; ++row) {
            board_[SquareIndex(column, row)] =
                static_cast<SquareCode>(snapshot[static_cast<std::size_t>(column * 9 + row)]);
        }
    }
    --state.UndoCount;
    state.LastMoveSquare = kNoSquare;
    state.SelectedSquare = kNoSquare;
    Invalidate();
}

// Autoplay, if it runs, goes on; a failure is told and changes nothing of the game.
void GameView::OnGameSave() {
    TheGameState().HintFrom.column = -1;
    const std::string failure = WriteSavedGame(board_, kSavedGameFileName);
    if (!failure.empty()) MessageBox(failure, kFileMessageCaption, platform::MB_OK);
}

void GameView::OnGameLoad() {
    GameState& state = TheGameState();
    state.HintFrom.column = -1;
    const SavedGameRead saved = ReadSavedGame(kSavedGameFileName);
    // A file that could not be read whole, or that holds what is no square code, never
    // reaches the Board, the rules or the search: the game goes on untouched.
    if (saved.status == SavedGameRead::Status::ReadFailed ||
        saved.status == SavedGameRead::Status::Refused) {
        MessageBox(saved.message, kFileMessageCaption, platform::MB_OK);
        return;
    }
    if (saved.status == SavedGameRead::Status::Loaded) {
        KillTimer(kAutoplayTimerId);
        // A short file replaces only as many squares as it has bytes.
        for (int i = 0; i < saved.count; ++i) {
            board_[static_cast<std::size_t>(i)] = saved.codes[static_cast<std::size_t>(i)];
        }
        // The fixed opening move belongs to the starting position only: after a Load the
        // computer always searches.
        state.OpeningPending = 0;
    }
    // Missing or unopenable: nothing is read and a running autoplay goes on, but the history,
    // selection and mark are cleared all the same.
    state.UndoCount = 0;
    state.LastMoveSquare = kNoSquare;
    state.SelectedSquare = kNoSquare;
    Invalidate();
}

}  // namespace kelvane
