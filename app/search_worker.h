// SPDX-License-Identifier: GPL-3.0-or-later
// A computer move thought out on a worker thread, on the worker's own copy of the position,
// while the window goes on. Every request has a number; a new request or a cancel supersedes
// the one in hand, and only the answer to the latest request is wanted.
#pragma once

#include <condition_variable>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <thread>
#include <vector>

#include "rules/board.h"

namespace kelvane {

struct SearchRequest {
    std::uint64_t number = 0;
    Board board{};
    Side side = 2;
    int variant = 0;
    std::vector<Board> history;  // the game's positions before board, oldest first
};

// What the worker runs.
class MoveThinker {
  public:
    virtual ~MoveThinker() = default;
    // On the worker thread: side's move in request.board, NoMove when it has none.
    virtual MoveWord Think(const SearchRequest& request) = 0;
    // From any thread, while Think runs or is about to: it ends within milliseconds. A Stop
    // made just before Think starts may be forgotten by it; the worker stops again until Think
    // has returned.
    virtual void Stop() = 0;
};

// How long a cancel waits for the search to end; it takes milliseconds.
inline constexpr int kStopWaitMs = 50;

class SearchWorker {
  public:
    // deliver runs on the worker thread with each answer and its request's number; it hands
    // them over to the window's thread, where IsCurrent tells whether the answer is wanted.
    using Deliver = std::function<void(std::uint64_t number, MoveWord move)>;

    SearchWorker(std::unique_ptr<MoveThinker> thinker, Deliver deliver);
    // Stops any search and waits for the thread.
    ~SearchWorker();
    SearchWorker(const SearchWorker&) = delete;
    SearchWorker& operator=(const SearchWorker&) = delete;

    // Supersedes the request in hand; the thread starts with the first request. Returns the
    // new request's number.
    std::uint64_t Request(SearchRequest request);
    // The request in hand is superseded and its search stopped; no answer is wanted. Returns
    // once that search has ended, or after kStopWaitMs if it has not.
    void Cancel();
    bool IsCurrent(std::uint64_t number) const { return number != 0 && number == wanted_; }
    // The answer to number has come and is taken: true when it is the one wanted.
    bool Accept(std::uint64_t number) {
        if (!IsCurrent(number)) return false;
        wanted_ = 0;
        return true;
    }
    // An answer is awaited.
    bool IsBusy() const { return wanted_ != 0; }
    // Whether the thread has been started, for the program that must start none without need.
    bool HasThread() const { return thread_.joinable(); }
    // Waits until no search runs or waits to run; for tests and measurements.
    void WaitUntilIdle();

  private:
    void Run();
    // Stops the search that runs and waits for it to end, stopping again meanwhile.
    void StopThinking(std::unique_lock<std::mutex>& lock);

    std::unique_ptr<MoveThinker> thinker_;
    Deliver deliver_;
    std::uint64_t lastNumber_ = 0;  // window's thread only
    std::uint64_t wanted_ = 0;      // window's thread only

    std::mutex mutex_;
    std::condition_variable changed_;
    std::optional<SearchRequest> pending_;
    std::uint64_t thinking_ = 0;  // the request whose Think runs, 0 for none
    bool stopSent_ = false;       // Stop was called for it
    bool quit_ = false;
    std::thread thread_;
};

}  // namespace kelvane
