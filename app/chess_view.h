// SPDX-License-Identifier: GPL-3.0-or-later
// The board view: the game in play, its picture, and the window's commands and messages that
// drive it.
#pragma once

#include <cstdint>
#include <string>

#include "framework/window.h"
#include "game/game.h"

namespace kelvane {

// The autoplay timer's identifier and interval.
inline constexpr std::uintptr_t kAutoplayTimerId = 0;
inline constexpr unsigned kAutoplayIntervalMs = 100;

class CChessView : public framework::CView, private GameHost {
  public:
    CChessView();

    const Game& GetGame() const { return game_; }
    const Board& GetBoard() const { return game_.GetBoard(); }

    void OnDraw(framework::CDC* dc) override;
    // The game commands; false for any other id, which goes on to the next command target.
    bool OnCommand(int commandId) override;
    void OnLButtonDown(unsigned flags, framework::CPoint point) override;
    void OnRButtonDown(unsigned flags, framework::CPoint point) override;
    void OnTimer(std::uintptr_t id) override;

    void OnFileNew() { game_.NewGame(); }
    void OnGameComputerStarts() { game_.ComputerStarts(); }
    void OnGameAutoplay() { game_.StartAutoplay(); }
    void OnGameStop() { game_.StopAutoplay(); }
    void OnGameHint() { game_.Hint(); }
    void OnEditUndo() { game_.Undo(); }
    void OnGameSave();
    void OnGameLoad();

    // What the frame tells the view of the window with extras, and the room that view takes
    // beyond the board; nothing and none in the classic window.
    virtual void OnLevelChanged(bool expert) { (void)expert; }
    virtual void OnRulesChanged() {}
    virtual int ExtraWidth() const { return 0; }
    virtual int ExtraHeight() const { return 0; }

  protected:
    // The game's requests, as window calls.
    void Invalidate() override;
    void DrawNow() override;
    void UpdateWindow() override;
    void AnnounceResult(const std::string& text) override;
    void ReportFileProblem(const std::string& text) override;
    void StartAutoplayTimer() override;
    void StopAutoplayTimer() override;
    void BeginWait() override;
    void EndWait() override;
    void Pause(unsigned milliseconds) override;

    Game game_;
};

}  // namespace kelvane
