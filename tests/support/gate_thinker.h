// SPDX-License-Identifier: GPL-3.0-or-later
// A thinker for the worker thread that thinks until the test lets it answer, or until it is
// stopped: tests decide when an answer comes, so nothing depends on time.
#pragma once

#include <condition_variable>
#include <functional>
#include <mutex>
#include <utility>

#include "app/search_worker.h"

namespace kelvane::testing {

class GateThinker final : public MoveThinker {
  public:
    using Answer = std::function<MoveWord(const SearchRequest&)>;
    explicit GateThinker(Answer answer) : answer_(std::move(answer)) {}

    MoveWord Think(const SearchRequest& request) override {
        std::unique_lock lock(mutex_);
        ++thinks_;
        // Like the Expert, a search forgets the Stops made before it started.
        stopped_ = false;
        changed_.notify_all();
        thinking_ = true;
        changed_.wait(lock, [this] { return stopped_ || released_ > 0; });
        if (released_ > 0) --released_;
        stopped_ = false;
        thinking_ = false;
        return answer_(request);
    }
    void Stop() override {
        const std::lock_guard lock(mutex_);
        stopped_ = true;
        ++stops_;
        changed_.notify_all();
    }
    // Lets the search in hand (or the next one) answer.
    void Release() {
        const std::lock_guard lock(mutex_);
        ++released_;
        changed_.notify_all();
    }
    void WaitForThinks(int count) {
        std::unique_lock lock(mutex_);
        changed_.wait(lock, [&] { return thinks_ >= count; });
    }
    int Thinks() { return Read(thinks_); }
    bool IsThinking() {
        const std::lock_guard lock(mutex_);
        return thinking_;
    }
    int Stops() { return Read(stops_); }

  private:
    int Read(const int& counter) {
        const std::lock_guard lock(mutex_);
        return counter;
    }

    Answer answer_;
    std::mutex mutex_;
    std::condition_variable changed_;
    int thinks_ = 0, stops_ = 0, released_ = 0;
    bool stopped_ = false;
    bool thinking_ = false;
};

}  // namespace kelvane::testing
