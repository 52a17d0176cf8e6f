// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/expert_search.h"

#include "engine/expert_searcher.h"

namespace kelvane {

ExpertSearch::ExpertSearch(std::size_t hashMegabytes)
    : searcher_(std::make_unique<expert::Searcher>(stop_, hashMegabytes)) {}

ExpertSearch::~ExpertSearch() = default;

void ExpertSearch::SetHashMegabytes(std::size_t megabytes) {
    searcher_->SetHashMegabytes(megabytes);
}

void ExpertSearch::SetVariety(std::uint64_t seed) {
    searcher_->SetVariety(seed);
}

void ExpertSearch::NewGame() {
    searcher_->NewGame();
}

void ExpertSearch::Stop() {
    stop_.store(true);
}

void ExpertSearch::SetPlainAlphaBeta(bool on) {
    searcher_->SetPlainAlphaBeta(on);
}

ExpertResult ExpertSearch::Think(const Board& board, Side sideToMove, int variant,
                                 const ExpertLimits& limits, std::span<const Board> history,
                                 const std::function<void(const ExpertInfo&)>& onInfo) {
    stop_.store(false);
    return searcher_->Think(board, sideToMove, variant, limits, history, onInfo);
}

}  // namespace kelvane
