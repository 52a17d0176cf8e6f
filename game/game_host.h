// SPDX-License-Identifier: GPL-3.0-or-later
// What the game asks of the front end that shows it: the window repaints and opens boxes, a
// terminal prints, a test records. Every call may be ignored by a front end without a screen.
#pragma once

#include <string>

#include "game/messages.h"
#include "rules/board.h"

namespace kelvane {

class GameHost {
  public:
    virtual ~GameHost() = default;

    // The board must be drawn again once the front end gets to it.
    virtual void Invalidate() {}
    // The board must be on screen now: a search or a modal box follows, which would hold a
    // repaint back.
    virtual void DrawNow() {}
    virtual void UpdateWindow() {}
    // Modal: the end of a game ("I won!", ...). The game starts anew when it returns.
    virtual void AnnounceResult(const std::string& text) { (void)text; }
    // Modal: a save or load that failed, in a sentence naming the file and the cause.
    virtual void ReportFileProblem(const std::string& text) { (void)text; }
    virtual void StartAutoplayTimer() {}
    virtual void StopAutoplayTimer() {}
    // The computer is thinking.
    virtual void BeginWait() {}
    virtual void EndWait() {}
    // The pause of each autoplay move, so that a game on the timer can be watched.
    virtual void Pause(unsigned milliseconds) { (void)milliseconds; }
    // In the mode that keeps the final position, instead of AnnounceResult: the game has ended
    // and its final position stays on the board.
    virtual void GameOver(const Verdict& verdict) { (void)verdict; }
    // The human has moved and the reply is left to the front end (Game::SetReplyAtOnce).
    virtual void ComputerToMove(Side side) { (void)side; }
    // side has just moved (the fixed opening included); the board shows the result.
    virtual void MovePlayed(Side side, MoveWord move) { (void)side, (void)move; }
};

}  // namespace kelvane
