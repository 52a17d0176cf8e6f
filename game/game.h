// SPDX-License-Identifier: GPL-3.0-or-later
// The game in play, without a window: the Board, the human's moves by square, the computer's
// replies, autoplay, hint, undo, save and load. Whatever must be shown or announced goes to
// the host, in the order the player must see it.
#pragma once

#include <functional>
#include <optional>
#include <string>

#include "game/game_host.h"
#include "game/game_state.h"
#include "rules/board.h"
#include "rules/square.h"

namespace kelvane {

// Pause at each autoplay move, so that a game on the timer can be watched.
inline constexpr unsigned kAutoplayPauseMs = 200;

class Game {
  public:
    // Clears the hint, sets the level to Easy and sets up a new game.
    explicit Game(GameHost& host);
    Game(const Game&) = delete;
    Game& operator=(const Game&) = delete;

    const Board& GetBoard() const { return board_; }

    // A click of the left button: on a square, or beside the board (nullopt). The first click
    // selects one of the human's pieces; the second plays one of its targets, and the
    // computer replies at once, or drops the selection.
    void Click(std::optional<Square> square);

    void NewGame();
    void ComputerStarts();
    void StartAutoplay();
    void StopAutoplay();
    // One move of autoplay, for the side whose turn AutoplayTurn names.
    void AutoplayTick();
    void Hint();
    void Undo();
    void Save(const std::string& fileName);
    void Load(const std::string& fileName);

    // Who chooses the computer's moves (its replies and autoplay's), given the board and the
    // side to move; NoMove when the side has none. Empty, the default: the exact search at the
    // level's depth. The hint always comes from the exact search.
    using ComputerPlayer = std::function<MoveWord(const Board& board, Side side)>;
    void SetComputerPlayer(ComputerPlayer player) { computerPlayer_ = std::move(player); }

  private:
    void PlayHumanTurn(Square from, Square to);
    void PushUndoSnapshot();
    // Shows the final position, then the winner, then starts a new game.
    void EndGame(const char* text);
    MoveWord ComputerMove(Side side);

    GameHost& host_;
    Board board_{};
    ComputerPlayer computerPlayer_;
};

}  // namespace kelvane
