// The board view's game: it owns the Board and carries every command and message that plays
// on it. Drawing is left to the class that derives from it.
#pragma once

#include <cstdint>

#include "game/game_state.h"
#include "platform/window.h"
#include "rules/board.h"

namespace kelvane {

// The computer's fixed first move: side 1's pawn from column 6, row 1 to column 6, row 2.
inline constexpr MoveWord OpeningMove = PackMove(6, 1, 6, 2);
// The autoplay timer's identifier and interval.
inline constexpr std::uintptr_t kAutoplayTimerId = 0;
inline constexpr unsigned kAutoplayIntervalMs = 100;
// Pause at each autoplay tick, so that a game on the timer can be watched.
inline constexpr unsigned kAutoplayPauseMs = 200;

class GameView : public platform::CView {
  public:
    // Sets up a new game; without a window yet, nothing is repainted or timed.
    GameView();

    Board& GetBoard() { return board_; }
    const Board& GetBoard() const { return board_; }

    // The game commands; false for any other id, which goes on to the next command target.
    bool OnCommand(int commandId) override;

    void OnLButtonDown(unsigned flags, platform::CPoint point) override;
    void OnRButtonDown(unsigned flags, platform::CPoint point) override;
    void OnTimer(std::uintptr_t id) override;

    void OnFileNew();
    void OnGameComputerStarts();
    void OnGameAutoplay();
    void OnGameStop();
    void OnGameHint();
    void OnEditUndo();
    void OnGameSave();
    void OnGameLoad();

  protected:
    // Draws the view at once through a device context of the window, without waiting for the
    // next paint: the search that follows would hold the paint back.
    void DrawNow();

  private:
    void Invalidate() { InvalidateRect(nullptr, false); }
    // The human's move, after the second click was found legal; then the computer's reply.
    void PlayHumanTurn(int fromColumn, int fromRow, int toColumn, int toRow);
    void PushUndoSnapshot();
    // Shows the winner over the final position, already drawn, then starts a new game.
    void AnnounceEndOfGame(const char* text);

    Board board_{};
};

}  // namespace kelvane
