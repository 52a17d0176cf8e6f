// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/search_worker.h"

#include <chrono>
#include <utility>

namespace kelvane {

SearchWorker::SearchWorker(std::unique_ptr<MoveThinker> thinker, Deliver deliver)
    : thinker_(std::move(thinker)), deliver_(std::move(deliver)) {}

SearchWorker::~SearchWorker() {
    {
        std::unique_lock lock(mutex_);
        quit_ = true;
        pending_.reset();
        StopThinking(lock);
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
    std::unique_lock lock(mutex_);
    pending_.reset();
    StopThinking(lock);
}

void SearchWorker::StopThinking(std::unique_lock<std::mutex>& lock) {
    const std::uint64_t stopping = thinking_;
    if (stopping == 0) return;
    stopSent_ = true;
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(kStopWaitMs);
    while (thinking_ == stopping && std::chrono::steady_clock::now() < deadline) {
        thinker_->Stop();
        changed_.wait_for(lock, std::chrono::milliseconds(1));
    }
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
        const SearchRequest request = std::move(*pending_);
        pending_.reset();
        thinking_ = request.number;
        stopSent_ = false;
        lock.unlock();
        const MoveWord move = thinker_->Think(request);
        lock.lock();
        // Handed over before the worker counts as idle; deliver only queues it.
        if (!stopSent_) deliver_(request.number, move);
        thinking_ = 0;
        changed_.notify_all();
    }
}

}  // namespace kelvane
