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
#include "game/messages.h"
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
    // The same tick in two halves, for a search that runs elsewhere: the side that moves at the
    // next tick and whether its move is the fixed opening, then the move played as the tick
    // would play it (NoMove: that side has none, and wins). False, and nothing changes, for a
    // move that side may not make, or on a finished game.
    Side AutoplaySide() const;
    bool AutoplayOpeningDue() const;
    bool PlayAutoplayMove(MoveWord move);
    void Hint();
    void Undo();
    void Save(const std::string& fileName);
    void Load(const std::string& fileName);

    // Settings a front end beyond the classic window may change; the classic game keeps the
    // defaults. The human plays side 2 (White) unless told otherwise; the change holds from
    // the next turn on and is meant to be followed by NewGame.
    void SetHumanSide(Side side);
    Side HumanSide() const { return humanSide_; }
    Side ComputerSide() const { return Opponent(humanSide_); }
    // With true, a finished game is not announced in a box and followed by a new game: the
    // final position stays, GameOver tells the verdict, and only Undo, Load or a new game
    // go on from there.
    void SetKeepFinalPosition(bool keep) { keepFinalPosition_ = keep; }
    // With false, the human's move is not answered at once: the host hears ComputerToMove and
    // brings the reply through PlayMove, for a search that runs elsewhere.
    void SetReplyAtOnce(bool atOnce) { replyAtOnce_ = atOnce; }

    Side SideToMove() const { return sideToMove_; }
    // Only in the mode that keeps the final position: the game has ended.
    bool IsOver() const { return verdict_.winner != 0; }
    const Verdict& GetVerdict() const { return verdict_; }

    // The computer plays the side to move once, at the level's depth (the fixed opening when
    // Black opens a new game). Nothing on a finished game.
    void PlayComputerMove();
    // Plays move for the side to move: as the human's turn when the human is to move (with
    // the undo snapshot and the reply), else as a computer move. False, and nothing changes,
    // when the move is not legal or the game is over.
    bool PlayMove(MoveWord move);

    // Who chooses the computer's moves (its replies, autoplay's and PlayComputerMove's), given
    // the board and the side to move; NoMove when the side has none. Empty, the default: the
    // exact search at the level's depth. The hint always comes from the exact search.
    using ComputerPlayer = std::function<MoveWord(const Board& board, Side side)>;
    void SetComputerPlayer(ComputerPlayer player) { computerPlayer_ = std::move(player); }

  private:
    void PlayHumanTurn(Square from, Square to);
    // Applies side's move, marks it and tells the host; true when the game goes on.
    bool ApplyTurn(Side side, MoveWord move);
    void PushUndoSnapshot();
    void ApplyAutoplayMove(MoveWord move);
    MoveWord ComputerMove(Side side);
    // Who has won and why, read from the game result and the final board.
    Verdict Judge() const;
    // Shows the final position, then the winner, then starts a new game (or keeps the final
    // position, in that mode).
    void EndGame(const Verdict& verdict, const char* classicText);

    GameHost& host_;
    Board board_{};
    Side humanSide_ = 2;
    Side sideToMove_ = 2;
    bool keepFinalPosition_ = false;
    bool replyAtOnce_ = true;
    Verdict verdict_{};
    ComputerPlayer computerPlayer_;
};

}  // namespace kelvane
