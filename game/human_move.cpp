#include <span>

#include "engine/search.h"
#include "engine/search_depth.h"
#include "game/display_settings.h"
#include "game/game_view.h"
#include "game/messages.h"
#include "rules/evaluation.h"
#include "rules/move_generation.h"
#include "rules/piece_moves.h"

namespace kelvane {

namespace {

const char* HumanGameResultText(GameResult result) {
    return result == 1 ? kComputerWonText : kHumanWonText;
}

bool SideHasLegalMove(const Board& board, Side side) {
    MoveList moves;
    return GenerateMoves(board, std::span<MoveWord>(moves), side) >= 0;
}

}  // namespace

void GameView::OnLButtonDown(unsigned flags, platform::CPoint point) {
    (void)flags;
    GameState& state = TheGameState();
    state.HintFrom.column = -1;

    const int squareSize = GetSquareSize();
    // Beyond the eighth column or row, or left of or above the board (a point no click inside
    // the view gives, but truncating division would fold onto column or row 0), there is no
    // square: no side-2 piece and no legal destination.
    const bool onBoard = point.x >= 0 && point.y >= 0 && point.x / squareSize < kBoardDim &&
                         point.y / squareSize < kBoardDim;
    const int column = point.x >= 0 ? point.x / squareSize : -1;
    const int row = point.y >= 0 ? point.y / squareSize : -1;
    const bool holdsSide2Piece = onBoard && SideOf(board_[SquareIndex(column, row)]) == 2;

    bool waitCursorShown = false;
    if (state.SelectedSquare == kNoSquare) {
        if (holdsSide2Piece) {
            state.SelectedSquare = MakeSquareRef(column, row);
            int targetCount = 0;
            GeneratePieceMoves(board_, column, row, state.TargetMoves, targetCount);
            state.TargetCount = targetCount;
        }
        Invalidate();
    } else {
        const int fromColumn = SquareRefColumn(state.SelectedSquare);
        const int fromRow = SquareRefRow(state.SelectedSquare);
        // Only side 2's full list of legal moves decides; a second click that is not in it
        // only deselects, also on another of the human's pieces.
        if (!onBoard || IsLegalSide2Move(board_, fromColumn, fromRow, column, row) == 0) {
            state.SelectedSquare = kNoSquare;
            Invalidate();
        } else {
            PlayHumanTurn(fromColumn, fromRow, column, row);
            waitCursorShown = true;
        }
    }
    // Every click ends with a repaint request, also after one made above.
    if (waitCursorShown) EndWaitCursor();
    Invalidate();
}

void GameView::OnRButtonDown(unsigned flags, platform::CPoint point) {
    (void)flags;
    (void)point;
}

void GameView::PushUndoSnapshot() {
    GameState& state = TheGameState();
    // Snapshot 0 is never used, so the history holds 999 moves; from the 1000th on, moves are
    // still played but no longer recorded.
    if (state.UndoCount >= kUndoHistorySize - 1) return;
    ++state.UndoCount;
    UndoSnapshot& snapshot = state.UndoHistory[static_cast<std::size_t>(state.UndoCount)];
    for (int column = 0; column < kBoardDim; ++column) {
        for (int row = 0; row < kBoardDim; ++row) {
            snapshot[static_cast<std::size_t>(column * 9 + row)] = board_[SquareIndex(column, row)];
        }
    }
}

void GameView::PlayHumanTurn(int fromColumn, int fromRow, int toColumn, int toRow) {
    GameState& state = TheGameState();
    state.OpeningPending = 0;
    PushUndoSnapshot();
    BeginWaitCursor();
    ApplyMove(board_, PackMove(fromColumn, fromRow, toColumn, toRow));
    state.LastMoveSquare = MakeSquareRef(toColumn, toRow);
    TestEndOfGame(board_, GetRulesVariant());

    if (GetGameResult() != 0) {
        state.SelectedSquare = kNoSquare;
        state.LastMoveSquare = kNoSquare;
        DrawNow();
        AnnounceEndOfGame(HumanGameResultText(GetGameResult()));
        return;
    }

    // The human's move must be on screen before the computer starts thinking.
    state.SelectedSquare = kNoSquare;
    Invalidate();
    DrawNow();
    UpdateWindow();

    const std::int32_t reply = Search(board_, 1, 1, GetSearchDepth(), kRootBound, 1);
    if (reply > 0) {
        ApplyMove(board_, reply);
        const UnpackedMove move = UnpackMove(reply);
        state.LastMoveSquare = MakeSquareRef(move.toColumn, move.toRow);
        TestEndOfGame(board_, GetRulesVariant());
        // A human left without a legal move would only deselect from then on: the side that
        // cannot move wins, for the human as for the computer.
        if (GetGameResult() == 0 && !SideHasLegalMove(board_, 2)) SetGameResult(2);
    } else {
        // The computer has no legal move, and so wins.
        SetGameResult(1);
    }

    if (GetGameResult() != 0) {
        state.SelectedSquare = kNoSquare;
        state.LastMoveSquare = kNoSquare;
        DrawNow();
        AnnounceEndOfGame(HumanGameResultText(GetGameResult()));
    }
}

}  // namespace kelvane
