// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/expert_thinker.h"

#include "engine/expert_search.h"

namespace kelvane {

namespace {

class ExpertThinker final : public MoveThinker {
  public:
    MoveWord Think(const SearchRequest& request) override {
        const ExpertLimits limits{kExpertMoveTimeMs, 0, 0};
        return search_.Think(request.board, request.side, request.variant, limits, request.history)
            .move;
    }
    void Stop() override { search_.Stop(); }

  private:
    ExpertSearch search_;
};

}  // namespace

std::unique_ptr<MoveThinker> MakeExpertThinker() {
    return std::make_unique<ExpertThinker>();
}

}  // namespace kelvane
