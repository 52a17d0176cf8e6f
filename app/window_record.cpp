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
    setUp_ = setUp;
    history_.clear();
}

bool WindowRecord::Follows(Side side) const {
    const Side due = record_.SideToMove();
    return due == 0 || due == side;
}

void WindowRecord::Add(Side side, MoveWord move, const Board& after) {
    // Autoplay started after the human's move has Black move twice: a record cannot hold that.
    if (!Follows(side)) Start(record_.Current(), true);
    history_.push_back(record_.Current());
    record_.Add(side, move);
    if (record_.Current() != after) Start(after, true);
}

void WindowRecord::TakeBackTo(const Board& board, Side toMove) {
    // Replays the moves to find the latest matching position with toMove to move.
    Board position = record_.First();
    Side side = record_.FirstSide();
    std::optional<std::size_t> found;
    const std::vector<MoveWord>& moves = record_.Moves();
    for (std::size_t ply = 0;; ++ply) {
        if (position == board && side == toMove) found = ply;
        if (ply == moves.size()) break;
        ApplyMove(position, moves[ply]);
        side = Opponent(side);
    }
    if (!found) {
        Start(board, true);
        return;
    }
    Rebuild(*found);
}

void WindowRecord::Rebuild(std::size_t plies) {
    const std::vector<MoveWord> moves = record_.Moves();
    const Side firstSide = record_.FirstSide();
    const Board first = record_.First();
    Start(first, setUp_);
    Side side = firstSide;
    Board position = first;
    for (std::size_t ply = 0; ply < plies; ++ply) {
        history_.push_back(position);
        record_.Add(side, moves[ply]);
        ApplyMove(position, moves[ply]);
        side = Opponent(side);
    }
}

int WindowRecord::NextMoveNumber() const {
    const std::size_t plies = record_.Moves().size();
    // Black's moves: every second ply, counted from Black's first.
    const std::size_t blackFirst = record_.FirstSide() == 1 ? 0 : 1;
    const std::size_t blackMoves = plies > blackFirst ? (plies - blackFirst + 1) / 2 : 0;
    return 1 + static_cast<int>(blackMoves);
}

std::string WindowRecord::LastMove() const {
    const std::vector<MoveWord>& moves = record_.Moves();
    if (moves.empty()) return "";
    const Side side = moves.size() % 2 == 1 ? record_.FirstSide() : Opponent(record_.FirstSide());
    // The move's own number: Black's move is numbered before it was counted.
    const int number = NextMoveNumber() - (side == 1 ? 1 : 0);
    return NumberedMove(number, side, MoveToSan(history_.back(), side, moves.back()));
}

}  // namespace kelvane
