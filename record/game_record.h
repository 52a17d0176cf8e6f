// SPDX-License-Identifier: GPL-3.0-or-later
// The moves of one game from its first position, kept by the front ends for the game's
// record (PGN) and for the draw rules, which the window's game does not have.
#pragma once

#include <string>
#include <utility>
#include <vector>

#include "rules/board.h"

namespace kelvane {

enum class Draw { None, Repetition, FiftyMoves };

// Who made a move: the player at the keyboard, or the computer's search.
enum class Mover { Human, Computer };

// "Draw by repetition." or "Draw by the fifty-move rule."
const char* DrawText(Draw draw);

class GameRecord {
  public:
    GameRecord();

    // A new record from board; the first move added decides which side moved first. setUp: the
    // position did not come from a new game (a loaded one, or a game restarted midway).
    void Start(const Board& board, bool setUp);
    // side's move on Current(); the caller makes sure that it is legal and side's turn.
    void Add(Side side, MoveWord move, Mover mover = Mover::Computer);
    // A remark on the game from here on, such as a change of level; it goes after the moves
    // made so far.
    void Remark(std::string text);
    // Back to the latest position with toMove to move that equals board, as after an undo;
    // starts a new record from board when there is none.
    void TakeBackTo(const Board& board, Side toMove);

    const Board& First() const { return positions_.front(); }
    const Board& Current() const { return positions_.back(); }
    // The position before move i (0 is the first).
    const Board& Before(std::size_t i) const { return positions_[i]; }
    const std::vector<MoveWord>& Moves() const { return moves_; }
    // The remarks made after each number of moves, in order.
    const std::vector<std::pair<std::size_t, std::string>>& Remarks() const { return remarks_; }
    // Whether mover made any of side's moves.
    bool MovedBy(Side side, Mover mover) const;
    // Side 2 unless the first move was Black's.
    Side FirstSide() const { return firstSide_; }
    // Whose move it is after the moves so far; 0 when no move has been made.
    Side SideToMove() const;
    // The number of the next move, as PGN counts them: 1 at the start, one more after each
    // of Black's moves.
    int MoveNumber() const;
    // The record needs its first position written out (SetUp and FEN tags).
    bool NeedsSetUp() const { return setUp_ || firstSide_ == 1; }

    // The third occurrence of the current position with the same side to move, or 100 plies
    // (fifty moves of each side) without a capture or a pawn move.
    Draw DrawByRule() const;

  private:
    std::vector<Board> positions_;  // before each move, then the current one
    std::vector<MoveWord> moves_;
    std::vector<bool> resetsCount_;  // per move: a capture or a pawn move
    std::vector<Mover> movers_;
    std::vector<std::pair<std::size_t, std::string>> remarks_;
    Side firstSide_ = 2;
    bool setUp_ = false;
};

}  // namespace kelvane
