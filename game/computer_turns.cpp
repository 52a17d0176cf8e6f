#include "engine/search.h"
#include "engine/search_depth.h"
#include "game/game_view.h"
#include "game/messages.h"
#include "rules/evaluation.h"

namespace kelvane {

namespace {

// The opening is a fixed move, not a search: copy and empty, with nothing else to it.
void PlayOpeningMove(Board& board) {
    const UnpackedMove move = UnpackMove(OpeningMove);
    board[SquareIndex(move.toColumn, move.toRow)] =
        board[SquareIndex(move.fromColumn, move.fromRow)];
    board[SquareIndex(move.fromColumn, move.fromRow)] = 0;
}

}  // namespace

void GameView::OnGameComputerStarts() {
    GameState& state = TheGameState();
    state.HintFrom.column = -1;
    OnFileNew();
    BeginWaitCursor();
    // No last-move mark, no snapshot and no end-of-game test for the opening.
    PlayOpeningMove(board_);
    state.OpeningPending = 0;
    Invalidate();
    EndWaitCursor();
}

void GameView::OnGameAutoplay() {
    TheGameState().HintFrom.column = -1;
    // Calling it again while it runs only re-arms the same timer.
    SetTimer(kAutoplayTimerId, kAutoplayIntervalMs);
}

// The hint marks already drawn stay until the next repaint: Stop does not ask for one.
void GameView::OnGameStop() {
    TheGameState().HintFrom.column = -1;
    KillTimer(kAutoplayTimerId);
}

// One move of autoplay, for the side whose turn AutoplayTurn names, whatever the timer's id.
void GameView::OnTimer(std::uintptr_t id) {
    (void)id;
    GameState& state = TheGameState();
    Sleep(kAutoplayPauseMs);
    BeginWaitCursor();

    const Side side = state.AutoplayTurn == 1 ? 1 : 2;
    MoveWord move = NoMove;
    if (state.OpeningPending == 1) {
        move = OpeningMove;
        state.OpeningPending = 0;
    } else {
        move = Search(board_, 1, side, GetSearchDepth(), kRootBound, 1);
    }

    const bool moved = move > 0;
    if (moved) {
        // ApplyMove crowns a pawn of either side that reaches the far row.
        ApplyMove(board_, move);
        const UnpackedMove unpacked = UnpackMove(move);
        state.LastMoveSquare = MakeSquareRef(unpacked.toColumn, unpacked.toRow);
    }
    state.AutoplayTurn = state.AutoplayTurn == 1 ? 0 : 1;

    // Each move is shown before the next search, so the game can be followed.
    DrawNow();
    UpdateWindow();

    if (moved) {
        TestEndOfGame(board_, GetRulesVariant());
    } else {
        // A side with no legal move at its turn wins.
        SetGameResult(static_cast<GameResult>(side));
    }

    if (GetGameResult() != 0) {
        // The timer stops before the modal box, so no tick runs under it.
        KillTimer(kAutoplayTimerId);
        const char* text = GetGameResult() == 1 ? kBlackWinsText : kWhiteWinsText;
        state.SelectedSquare = kNoSquare;
        state.LastMoveSquare = kNoSquare;
        DrawNow();
        UpdateWindow();
        AnnounceEndOfGame(text);
    }
    EndWaitCursor();
}

void GameView::OnGameHint() {
    GameState& state = TheGameState();
    // Always at depth 4 for side 2, whatever the level and whichever side is to move.
    const std::int32_t hint = Search(board_, 1, 2, kHintDepth, kRootBound, 1);
    if (hint > 0) {
        const UnpackedMove move = UnpackMove(hint);
        state.HintFrom = {move.fromColumn, move.fromRow};
        state.HintTo = {move.toColumn, move.toRow};
    } else {
        state.HintFrom.column = -1;
    }
    Invalidate();
}

}  // namespace kelvane
