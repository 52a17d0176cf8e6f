// SPDX-License-Identifier: GPL-3.0-or-later
// The record of the game in the window: its moves for the status line, the positions before
// the current one for the Expert's search, and what its PGN is made from.
#pragma once

#include <string>
#include <vector>

#include "record/game_record.h"
#include "rules/board.h"

namespace kelvane {

class WindowRecord {
  public:
    WindowRecord();

    // A new record from board: a new game, or (setUp) a position that did not come from one.
    void Start(const Board& board, bool setUp);
    // Whether a move of side continues the record: the sides alternate.
    bool Follows(Side side) const;
    // side's move, made by mover, led to after. A move that does not continue the record (the
    // same side twice, or from another position) starts a new one from where it was made.
    void Add(Side side, MoveWord move, Mover mover, const Board& after);
    // Back to the latest position equal to board with toMove to move, as after an undo; a new
    // record from board when there is none.
    void TakeBackTo(const Board& board, Side toMove) { record_.TakeBackTo(board, toMove); }
    void Remark(std::string text) { record_.Remark(std::move(text)); }

    const GameRecord& Record() const { return record_; }
    bool IsEmpty() const { return record_.Moves().empty(); }
    // The positions before the current one, oldest first.
    std::vector<Board> History() const;
    // "12. e4" or "11...Nxe4"; "" before the first move.
    std::string LastMove() const;

  private:
    GameRecord record_;
};

}  // namespace kelvane
