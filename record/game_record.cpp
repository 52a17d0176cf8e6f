// SPDX-License-Identifier: GPL-3.0-or-later
#include "record/game_record.h"

#include "rules/square.h"

namespace kelvane {

namespace {
constexpr int kRepetitions = 3;
constexpr std::size_t kFiftyMovePlies = 100;
}  // namespace

const char* DrawText(Draw draw) {
    return draw == Draw::Repetition ? "Draw by repetition." : "Draw by the fifty-move rule.";
}

GameRecord::GameRecord() {
    Board board;
    SetUpStartingPosition(board);
    Start(board, false);
}

void GameRecord::Start(const Board& board, bool setUp) {
    positions_.assign(1, board);
    moves_.clear();
    resetsCount_.clear();
    movers_.clear();
    remarks_.clear();
    firstSide_ = 2;
    setUp_ = setUp;
}

Side GameRecord::SideToMove() const {
    if (moves_.empty()) return 0;
    return moves_.size() % 2 == 1 ? Opponent(firstSide_) : firstSide_;
}

void GameRecord::Add(Side side, MoveWord move, Mover mover) {
    movers_.push_back(mover);
    if (moves_.empty()) firstSide_ = side;
    Board board = Current();
    const bool capture = board[IndexOf(DestinationOf(move))] != 0;
    const bool pawn = KindOf(board[IndexOf(OriginOf(move))]) == kPawn;
    ApplyMove(board, move);
    moves_.push_back(move);
    resetsCount_.push_back(capture || pawn);
    positions_.push_back(board);
}

int GameRecord::MoveNumber() const {
    const std::size_t blackMoves = firstSide_ == 1 ? (moves_.size() + 1) / 2 : moves_.size() / 2;
    return 1 + static_cast<int>(blackMoves);
}

void GameRecord::TakeBackTo(const Board& board, Side toMove) {
    for (std::size_t i = moves_.size() + 1; i-- > 0;) {
        const Side sideAt = i % 2 == 0 ? firstSide_ : Opponent(firstSide_);
        // Before the first move, whoever is to move now may have been.
        if ((sideAt == toMove || i == 0) && positions_[i] == board) {
            positions_.resize(i + 1);
            moves_.resize(i);
            resetsCount_.resize(i);
            movers_.resize(i);
            std::erase_if(remarks_, [i](const auto& remark) { return remark.first > i; });
            return;
        }
    }
    Start(board, true);
}

void GameRecord::Remark(std::string text) {
    remarks_.emplace_back(moves_.size(), std::move(text));
}

bool GameRecord::MovedBy(Side side, Mover mover) const {
    for (std::size_t i = 0; i < moves_.size(); ++i) {
        const Side moved = i % 2 == 0 ? firstSide_ : Opponent(firstSide_);
        if (moved == side && movers_[i] == mover) return true;
    }
    return false;
}

Draw GameRecord::DrawByRule() const {
    int seen = 0;
    // Positions with the same side to move lie an even number of plies apart.
    for (std::size_t i = positions_.size(); i >= 1; i -= 2) {
        if (positions_[i - 1] == Current()) ++seen;
        if (i < 2) break;
    }
    if (seen >= kRepetitions) return Draw::Repetition;
    std::size_t quiet = 0;
    for (std::size_t i = resetsCount_.size(); i-- > 0 && !resetsCount_[i];) ++quiet;
    return quiet >= kFiftyMovePlies ? Draw::FiftyMoves : Draw::None;
}

}  // namespace kelvane
