// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/window_record.h"

#include "app/status_text.h"
#include "rules/san.h"

namespace kelvane {

WindowRecord::WindowRecord() {
    Board board;
    SetUpStartingPosition(board);
    Start(board, false);
}

void WindowRecord::Start(const Board& board, bool setUp) {
    record_.Start(board, setUp);
}

bool WindowRecord::Follows(Side side) const {
    const Side due = record_.SideToMove();
    return due == 0 || due == side;
}

void WindowRecord::Add(Side side, MoveWord move, Mover mover, const Board& after) {
    // Autoplay started after the human's move has Black move twice: a record cannot hold that.
    if (!Follows(side)) Start(record_.Current(), true);
    record_.Add(side, move, mover);
    if (record_.Current() != after) Start(after, true);
}

std::vector<Board> WindowRecord::History() const {
    std::vector<Board> history;
    for (std::size_t i = 0; i < record_.Moves().size(); ++i) history.push_back(record_.Before(i));
    return history;
}

std::string WindowRecord::LastMove() const {
    const std::vector<MoveWord>& moves = record_.Moves();
    if (moves.empty()) return "";
    const std::size_t last = moves.size() - 1;
    const Side side = last % 2 == 0 ? record_.FirstSide() : Opponent(record_.FirstSide());
    // Black's move has been counted in the next move's number already.
    const int number = record_.MoveNumber() - (side == 1 ? 1 : 0);
    return NumberedMove(number, side, MoveToSan(record_.Before(last), side, moves[last]));
}

}  // namespace kelvane
