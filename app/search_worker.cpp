// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/search_worker.h"

#include <utility>

namespace kelvane {

SearchWorker::SearchWorker(std::unique_ptr<MoveThinker> thinker, Deliver deliver)
    : thinker_(std::move(thinker)), deliver_(std::move(deliver)) {}

SearchWorker::~SearchWorker() {
    {
        const std::lock_guard lock(mutex_);
        quit_ = true;
        pending_.reset();
        StopThinkingLocked();
    }
    changed_.notify_all();
    if (thread_.joinable()) thread_.join();
}

std::uint64_t SearchWorker::Request(SearchRequest request) {
    Cancel();
    request.number = ++lastNumber_;
    wanted_ = request.number;
    {
        const std::lock_guard lock(mutex_);
        pending_ = std::move(request);
    }
    changed_.notify_all();
    if (!thread_.joinable()) thread_ = std::thread([this] { Run(); });
    return wanted_;
}

void SearchWorker::Cancel() {
    wanted_ = 0;
    const std::lock_guard lock(mutex_);
    pending_.reset();
    StopThinkingLocked();
}

void SearchWorker::StopThinkingLocked() {
    if (thinking_ == 0 || stopSent_) return;
    thinker_->Stop();
    stopSent_ = true;
}

void SearchWorker::WaitUntilIdle() {
    std::unique_lock lock(mutex_);
    changed_.wait(lock, [this] { return !pending_ && thinking_ == 0; });
}

void SearchWorker::Run() {
    std::unique_lock lock(mutex_);
    for (;;) {
        changed_.wait(lock, [this] { return quit_ || pending_.has_value(); });
        if (quit_) return;
        if (settleDue_) {
            // Nothing thinks meanwhile, so no Stop can come in the middle.
            settleDue_ = false;
            lock.unlock();
            thinker_->Settle();
            lock.lock();
            continue;
        }
        const SearchRequest request = std::move(*pending_);
        pending_.reset();
        thinking_ = request.number;
        stopSent_ = false;
        lock.unlock();
        const MoveWord move = thinker_->Think(request);
        lock.lock();
        thinking_ = 0;
        settleDue_ = stopSent_;
        changed_.notify_all();
        if (!stopSent_) {
            lock.unlock();
            deliver_(request.number, move);
            lock.lock();
        }
    }
}

}  // namespace kelvane
