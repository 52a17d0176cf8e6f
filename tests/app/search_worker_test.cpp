// SPDX-License-Identifier: GPL-3.0-or-later
// The worker thread: only the answer to the latest request is delivered, a superseded search is
// stopped, and a Stop that comes late never ends the next search.
#include "app/search_worker.h"

#include <gtest/gtest.h>

#include <mutex>
#include <vector>

#include "tests/support/gate_thinker.h"

namespace kelvane::testing {
namespace {

struct Delivered {
    std::mutex mutex;
    std::vector<std::pair<std::uint64_t, MoveWord>> answers;
    auto Sink() {
        return [this](std::uint64_t number, MoveWord move) {
            const std::lock_guard lock(mutex);
            answers.emplace_back(number, move);
        };
    }
    std::vector<std::pair<std::uint64_t, MoveWord>> Get() {
        const std::lock_guard lock(mutex);
        return answers;
    }
};

class SearchWorkerTest : public ::testing::Test {
  protected:
    SearchWorkerTest() {
        // Its answer names the request: (request number, 0) -> (0, 0).
        auto thinker = std::make_unique<GateThinker>([](const SearchRequest& request) {
            return PackMove(static_cast<int>(request.number), 0, 0, 0);
        });
        gate_ = thinker.get();
        worker_ = std::make_unique<SearchWorker>(std::move(thinker), delivered_.Sink());
    }
    static SearchRequest Request() { return SearchRequest{}; }

    Delivered delivered_;
    GateThinker* gate_;
    std::unique_ptr<SearchWorker> worker_;
};

TEST_F(SearchWorkerTest, DeliversTheAnswerToTheLatestRequestWithItsNumber) {
    EXPECT_FALSE(worker_->HasThread());  // none until something is asked
    const std::uint64_t first = worker_->Request(Request());
    EXPECT_TRUE(worker_->HasThread());
    EXPECT_TRUE(worker_->IsBusy());
    gate_->WaitForThinks(1);
    gate_->Release();
    worker_->WaitUntilIdle();
    ASSERT_EQ(delivered_.Get().size(), 1u);
    EXPECT_EQ(delivered_.Get()[0].first, first);
    EXPECT_EQ(delivered_.Get()[0].second, PackMove(static_cast<int>(first), 0, 0, 0));
    EXPECT_TRUE(worker_->Accept(first));
    EXPECT_FALSE(worker_->IsBusy());
    EXPECT_FALSE(worker_->Accept(first));  // taken once
}

// The search forgets a Stop made before it starts; the cancel stops it again until it ends.
TEST_F(SearchWorkerTest, ACancelRightAfterTheRequestStopsTheSearchAllTheSame) {
    for (int i = 0; i < 20; ++i) {
        worker_->Request(Request());
        worker_->Cancel();
        EXPECT_FALSE(gate_->IsThinking()) << i;
    }
    worker_->WaitUntilIdle();
    EXPECT_TRUE(delivered_.Get().empty());
}

TEST_F(SearchWorkerTest, GoingAwayStopsTheSearchAndEndsTheThread) {
    worker_->Request(Request());
    gate_->WaitForThinks(1);
    worker_.reset();  // returns only once the search has stopped and the thread has ended
    EXPECT_TRUE(delivered_.Get().empty());
}

}  // namespace
}  // namespace kelvane::testing
