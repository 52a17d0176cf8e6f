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
    sideToMove_ = 2;
    verdict_ = {};
    host_.Invalidate();
}

void Game::SetHumanSide(Side side) {
    humanSide_ = side == 1 ? 1 : 2;
}

Verdict Game::Judge() const {
    const GameResult result = GetGameResult();
    if (result == 0) return {};
    const Side winner = result;
    const int variant = GetRulesVariant();
    bool hasKing = false;
    bool hasPiece = false;
    for (const SquareCode code : board_) {
        if (SideOf(code) != winner || !IsPieceCode(code)) continue;
        hasPiece = true;
        if (KindOf(code) == kKing) hasKing = true;
    }
    if (variant != kAllMustDie && !hasKing) return {winner, EndReason::KingTaken};
    if (!hasPiece) return {winner, EndReason::LastPieceTaken};
    return {winner, EndReason::NoLegalMove};
}

void Game::EndGame(const Verdict& verdict, const char* classicText) {
    // The timer stops before the modal box: no autoplay move may be made on a finished game.
    host_.StopAutoplayTimer();
    GameState& state = TheGameState();
    state.SelectedSquare = kNoSquare;
    if (keepFinalPosition_) {
        // The last move stays marked: the player sees how the game ended.
        verdict_ = verdict;
        host_.Invalidate();
        host_.DrawNow();
        host_.UpdateWindow();
        host_.GameOver(verdict);
        return;
    }
    state.LastMoveSquare = kNoSquare;
    host_.DrawNow();
    host_.UpdateWindow();
    host_.AnnounceResult(classicText);
    NewGame();
}

void Game::Click(std::optional<Square> square) {
    GameState& state = TheGameState();
    state.ClearHint();
    // A finished game kept on screen, or a reply still being searched elsewhere, takes no move.
    if (IsOver() || (!replyAtOnce_ && sideToMove_ != humanSide_)) {
        host_.Invalidate();
        return;
    }
    const bool onBoard = square.has_value() && IsOnBoard(*square);
    const bool holdsHumanPiece = onBoard && SideOf(board_[IndexOf(*square)]) == humanSide_;

    bool thought = false;
    if (state.SelectedSquare == kNoSquare) {
        if (holdsHumanPiece) {
            state.SelectedSquare = MakeSquareRef(*square);
            int targetCount = 0;
            GeneratePieceMoves(board_, square->column, square->row, state.TargetMoves, targetCount,
                               humanSide_);
            state.TargetCount = targetCount;
        }
        host_.Invalidate();
    } else {
        const Square from = SquareOf(state.SelectedSquare);
        // Only the human's full list of legal moves decides; a second click that is not in it
        // only deselects, also on another of the human's pieces.
        if (!onBoard || !IsLegalMove(board_, humanSide_, PackMove(from, *square))) {
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
    sideToMove_ = ComputerSide();
    host_.MovePlayed(humanSide_, move);
    TestEndOfGame(board_, GetRulesVariant());
    if (GetGameResult() != 0) {
        EndGame(Judge(), HumanGameResultText(GetGameResult()));
        return;
    }

    // The human's move must be on screen before the computer starts thinking.
    state.SelectedSquare = kNoSquare;
    host_.Invalidate();
    host_.DrawNow();
    host_.UpdateWindow();

    if (!replyAtOnce_) {
        // The computer left without a legal move wins before anything is searched.
        if (!SideHasLegalMove(board_, ComputerSide())) {
            SetGameResult(static_cast<GameResult>(ComputerSide()));
            EndGame(Judge(), HumanGameResultText(GetGameResult()));
            return;
        }
        host_.ComputerToMove(ComputerSide());
        return;
    }

    const MoveWord reply = ComputerMove(ComputerSide());
    if (reply > 0) {
        ApplyMove(board_, reply);
        state.LastMoveSquare = MakeSquareRef(DestinationOf(reply));
        sideToMove_ = humanSide_;
        host_.MovePlayed(ComputerSide(), reply);
        TestEndOfGame(board_, GetRulesVariant());
        // A human left without a legal move would only deselect from then on: the side that
        // cannot move wins, for the human as for the computer.
        if (GetGameResult() == 0 && !SideHasLegalMove(board_, humanSide_))
            SetGameResult(static_cast<GameResult>(humanSide_));
    } else {
        // The computer has no legal move, and so wins.
        SetGameResult(static_cast<GameResult>(ComputerSide()));
    }
    if (GetGameResult() != 0) EndGame(Judge(), HumanGameResultText(GetGameResult()));
}

bool Game::ApplyTurn(Side side, MoveWord move) {
    GameState& state = TheGameState();
    state.OpeningPending = 0;
    state.SelectedSquare = kNoSquare;
    ApplyMove(board_, move);
    state.LastMoveSquare = MakeSquareRef(DestinationOf(move));
    sideToMove_ = Opponent(side);
    host_.MovePlayed(side, move);
    TestEndOfGame(board_, GetRulesVariant());
    // The side left without a legal move at its turn wins.
    if (GetGameResult() == 0 && !SideHasLegalMove(board_, sideToMove_))
        SetGameResult(static_cast<GameResult>(sideToMove_));
    if (GetGameResult() != 0) {
        EndGame(Judge(), HumanGameResultText(GetGameResult()));
        return false;
    }
    host_.Invalidate();
    return true;
}

void Game::PlayComputerMove() {
    if (IsOver()) return;
    TheGameState().ClearHint();
    const Side side = sideToMove_;
    host_.BeginWait();
    const MoveWord move = ComputerMove(side);
    if (move > 0) {
        if (side == humanSide_) PushUndoSnapshot();
        ApplyTurn(side, move);
    } else {
        SetGameResult(static_cast<GameResult>(side));
        EndGame(Judge(), HumanGameResultText(GetGameResult()));
    }
    host_.EndWait();
}

bool Game::PlayMove(MoveWord move) {
    if (IsOver() || !IsLegalMove(board_, sideToMove_, move)) return false;
    TheGameState().ClearHint();
    if (sideToMove_ == humanSide_) {
        PlayHumanTurn(OriginOf(move), DestinationOf(move));
        host_.EndWait();
        host_.Invalidate();
    } else {
        ApplyTurn(sideToMove_, move);
    }
    return true;
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
    sideToMove_ = 2;
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
    if (IsOver()) {
        host_.StopAutoplayTimer();
        return;
    }
    GameState& state = TheGameState();
    host_.Pause(kAutoplayPauseMs);
    host_.BeginWait();
    MoveWord move = NoMove;
    if (AutoplayOpeningDue()) {
        move = OpeningMove;
        state.OpeningPending = 0;
    } else {
        move = ComputerMove(AutoplaySide());
    }
    ApplyAutoplayMove(move);
    host_.EndWait();
}

Side Game::AutoplaySide() const {
    return TheGameState().AutoplayTurn == 1 ? 1 : 2;
}

bool Game::AutoplayOpeningDue() const {
    return TheGameState().OpeningPending == 1 && AutoplaySide() == 1;
}

bool Game::PlayAutoplayMove(MoveWord move) {
    if (IsOver()) {
        host_.StopAutoplayTimer();
        return false;
    }
    const bool valid = move > 0 ? IsLegalMove(board_, AutoplaySide(), move)
                                : !SideHasLegalMove(board_, AutoplaySide());
    if (!valid) return false;
    if (move > 0) TheGameState().OpeningPending = 0;
    ApplyAutoplayMove(move);
    return true;
}

void Game::ApplyAutoplayMove(MoveWord move) {
    GameState& state = TheGameState();
    const Side side = AutoplaySide();
    const bool moved = move > 0;
    if (moved) {
        // ApplyMove crowns a pawn of either side that reaches the far row.
        ApplyMove(board_, move);
        state.LastMoveSquare = MakeSquareRef(DestinationOf(move));
        sideToMove_ = Opponent(side);
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
    if (GetGameResult() != 0) EndGame(Judge(), AutoplayResultText(GetGameResult()));
}

void Game::Hint() {
    GameState& state = TheGameState();
    // Always for the human's side, whatever the level and whichever side is to move.
    const MoveWord hint = ChooseMove(board_, humanSide_, kHintDepth);
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
    sideToMove_ = humanSide_;
    verdict_ = {};
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
        sideToMove_ = humanSide_;
        verdict_ = {};
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
