// SPDX-License-Identifier: GPL-3.0-or-later
#include "game/game.h"

#include <span>

#include "engine/search.h"
#include "engine/search_depth.h"
#include "game/messages.h"
#include "game/saved_game_file.h"
#include "rules/evaluation.h"
#include "rules/move_generation.h"
#include "rules/piece_moves.h"

namespace kelvane {

namespace {

bool SideHasLegalMove(const Board& board, Side side) {
    MoveList moves;
    return GenerateMoves(board, std::span<MoveWord>(moves), side) >= 0;
}

// The opening is a fixed move, not a search: copy and empty, with nothing else to it.
void PlayOpeningMove(Board& board) {
    board[IndexOf(DestinationOf(OpeningMove))] = board[IndexOf(OriginOf(OpeningMove))];
    board[IndexOf(OriginOf(OpeningMove))] = 0;
}

}  // namespace

Game::Game(GameHost& host) : host_(host) {
    GameState& state = TheGameState();
    state.HintFrom = {-1, -1};
    state.HintTo = {-1, -1};
    SetSearchDepth(kDepthEasy);
    NewGame();
}

// The reset: also the start of every game after the first. It keeps the game result, the
// hint's other fields, the stored targets and snapshots, and every setting.
void Game::NewGame() {
    GameState& state = TheGameState();
    state.AutoplayTurn = 1;
    state.OpeningPending = 1;
    state.ClearHint();
    host_.StopAutoplayTimer();
    state.UndoCount = 0;
    state.SelectedSquare = kNoSquare;
    state.LastMoveSquare = kNoSquare;
    state.TargetCount = 0;
    SetUpStartingPosition(board_);
    host_.Invalidate();
}

void Game::EndGame(const char* text) {
    // The timer stops before the modal box: no autoplay move may be made on a finished game.
    host_.StopAutoplayTimer();
    GameState& state = TheGameState();
    state.SelectedSquare = kNoSquare;
    state.LastMoveSquare = kNoSquare;
    host_.DrawNow();
    host_.UpdateWindow();
    host_.AnnounceResult(text);
    NewGame();
}

void Game::Click(std::optional<Square> square) {
    GameState& state = TheGameState();
    state.ClearHint();
    const bool onBoard = square.has_value() && IsOnBoard(*square);
    const bool holdsSide2Piece = onBoard && SideOf(board_[IndexOf(*square)]) == 2;

    bool thought = false;
    if (state.SelectedSquare == kNoSquare) {
        if (holdsSide2Piece) {
            state.SelectedSquare = MakeSquareRef(*square);
            int targetCount = 0;
            GeneratePieceMoves(board_, square->column, square->row, state.TargetMoves, targetCount);
            state.TargetCount = targetCount;
        }
        host_.Invalidate();
    } else {
        const Square from = SquareOf(state.SelectedSquare);
        // Only side 2's full list of legal moves decides; a second click that is not in it
        // only deselects, also on another of the human's pieces.
        if (!onBoard ||
            IsLegalSide2Move(board_, from.column, from.row, square->column, square->row) == 0) {
            state.SelectedSquare = kNoSquare;
            host_.Invalidate();
        } else {
            PlayHumanTurn(from, *square);
            thought = true;
        }
    }
    // Every click ends with a repaint request, also after one made above.
    if (thought) host_.EndWait();
    host_.Invalidate();
}

void Game::PushUndoSnapshot() {
    GameState& state = TheGameState();
    // Snapshot 0 is never used, so the history holds 999 moves; from the 1000th on, moves are
    // still played but no longer recorded.
    if (state.UndoCount >= kUndoHistorySize - 1) return;
    ++state.UndoCount;
    state.UndoHistory[static_cast<std::size_t>(state.UndoCount)] = board_;
}

void Game::PlayHumanTurn(Square from, Square to) {
    GameState& state = TheGameState();
    state.OpeningPending = 0;
    PushUndoSnapshot();
    host_.BeginWait();
    const MoveWord move = PackMove(from, to);
    ApplyMove(board_, move);
    state.LastMoveSquare = MakeSquareRef(to);
    host_.MovePlayed(2, move);
    TestEndOfGame(board_, GetRulesVariant());
    if (GetGameResult() != 0) {
        EndGame(HumanGameResultText(GetGameResult()));
        return;
    }

    // The human's move must be on screen before the computer starts thinking.
    state.SelectedSquare = kNoSquare;
    host_.Invalidate();
    host_.DrawNow();
    host_.UpdateWindow();

    const MoveWord reply = ComputerMove(1);
    if (reply > 0) {
        ApplyMove(board_, reply);
        state.LastMoveSquare = MakeSquareRef(DestinationOf(reply));
        host_.MovePlayed(1, reply);
        TestEndOfGame(board_, GetRulesVariant());
        // A human left without a legal move would only deselect from then on: the side that
        // cannot move wins, for the human as for the computer.
        if (GetGameResult() == 0 && !SideHasLegalMove(board_, 2)) SetGameResult(2);
    } else {
        // The computer has no legal move, and so wins.
        SetGameResult(1);
    }
    if (GetGameResult() != 0) EndGame(HumanGameResultText(GetGameResult()));
}

MoveWord Game::ComputerMove(Side side) {
    if (computerPlayer_) return computerPlayer_(board_, side);
    return ChooseMove(board_, side, GetSearchDepth());
}

void Game::ComputerStarts() {
    GameState& state = TheGameState();
    state.ClearHint();
    NewGame();
    host_.BeginWait();
    // No last-move mark, no snapshot and no end-of-game test for the opening.
    PlayOpeningMove(board_);
    host_.MovePlayed(1, OpeningMove);
    state.OpeningPending = 0;
    host_.Invalidate();
    host_.EndWait();
}

void Game::StartAutoplay() {
    TheGameState().ClearHint();
    // Calling it again while it runs only re-arms the same timer.
    host_.StartAutoplayTimer();
}

// The hint marks already drawn stay until the next repaint: Stop does not ask for one.
void Game::StopAutoplay() {
    TheGameState().ClearHint();
    host_.StopAutoplayTimer();
}

void Game::AutoplayTick() {
    GameState& state = TheGameState();
    host_.Pause(kAutoplayPauseMs);
    host_.BeginWait();

    const Side side = state.AutoplayTurn == 1 ? 1 : 2;
    MoveWord move = NoMove;
    if (state.OpeningPending == 1) {
        move = OpeningMove;
        state.OpeningPending = 0;
    } else {
        move = ComputerMove(side);
    }

    const bool moved = move > 0;
    if (moved) {
        // ApplyMove crowns a pawn of either side that reaches the far row.
        ApplyMove(board_, move);
        state.LastMoveSquare = MakeSquareRef(DestinationOf(move));
        host_.MovePlayed(side, move);
    }
    state.AutoplayTurn = state.AutoplayTurn == 1 ? 0 : 1;

    // Each move is shown before the next search, so the game can be followed.
    host_.DrawNow();
    host_.UpdateWindow();

    if (moved) {
        TestEndOfGame(board_, GetRulesVariant());
    } else {
        // A side with no legal move at its turn wins.
        SetGameResult(static_cast<GameResult>(side));
    }
    if (GetGameResult() != 0) EndGame(AutoplayResultText(GetGameResult()));
    host_.EndWait();
}

void Game::Hint() {
    GameState& state = TheGameState();
    // Always for side 2, whatever the level and whichever side is to move.
    const MoveWord hint = ChooseMove(board_, 2, kHintDepth);
    if (hint > 0) {
        state.HintFrom = OriginOf(hint);
        state.HintTo = DestinationOf(hint);
    } else {
        state.ClearHint();
    }
    host_.Invalidate();
}

// Takes back the human's last move together with the reply to it, and with any autoplay moves
// made since. A running autoplay goes on from the restored position.
void Game::Undo() {
    GameState& state = TheGameState();
    state.ClearHint();
    if (state.UndoCount <= 0) return;
    board_ = state.UndoHistory[static_cast<std::size_t>(state.UndoCount)];
    --state.UndoCount;
    state.LastMoveSquare = kNoSquare;
    state.SelectedSquare = kNoSquare;
    host_.Invalidate();
}

// Autoplay, if it runs, goes on; a failure is told and changes nothing of the game.
void Game::Save(const std::string& fileName) {
    TheGameState().ClearHint();
    if (const Status saved = WriteSavedGame(board_, fileName); !saved)
        host_.ReportFileProblem(saved.reason());
}

void Game::Load(const std::string& fileName) {
    GameState& state = TheGameState();
    state.ClearHint();
    const SavedGameRead saved = ReadSavedGame(fileName);
    if (saved.status == SavedGameRead::Status::Refused) {
        // A file that could not be read whole, or that is no saved game, never reaches the
        // Board, the rules or the search: the game goes on untouched, only redrawn.
        host_.ReportFileProblem(saved.message);
        host_.Invalidate();
        return;
    }
    if (saved.status == SavedGameRead::Status::Loaded) {
        host_.StopAutoplayTimer();
        board_ = saved.board;
        // The fixed opening move belongs to the starting position only: after a Load the
        // computer always searches.
        state.OpeningPending = 0;
    }
    // Missing or no regular file: nothing is read and a running autoplay goes on, but the
    // history, selection and mark are cleared all the same.
    state.UndoCount = 0;
    state.LastMoveSquare = kNoSquare;
    state.SelectedSquare = kNoSquare;
    host_.Invalidate();
}

}  // namespace kelvane
