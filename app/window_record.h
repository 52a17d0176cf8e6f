// SPDX-License-Identifier: GPL-3.0-or-later
// The record of the game in the window: its moves for the status line, the positions before
// the current one for the Expert's search, and its PGN.
#pragma once

#include <optional>
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
    // side has played move, leading to after. A move that does not continue the record (the
    // same side twice, or from another position) starts a new record from where it leads.
    void Add(Side side, MoveWord move, const Board& after);
    // Back to the latest position equal to board with toMove to move, as after an undo; a new
    // record from board when there is none.
    void TakeBackTo(const Board& board, Side toMove);

    const GameRecord& Record() const { return record_; }
    bool IsEmpty() const { return record_.Moves().empty(); }
    // The positions before the current one, oldest first.
    const std::vector<Board>& History() const { return history_; }
    // The number of the move to be made next: 1 + Black's moves so far.
    int NextMoveNumber() const;
    // "12. e4" or "11...Nxe4"; "" before the first move.
    std::string LastMove() const;

  private:
    void Rebuild(std::size_t plies);

    GameRecord record_;
    bool setUp_ = false;
    std::vector<Board> history_;
};

}  // namespace kelvane
