// SPDX-License-Identifier: GPL-3.0-or-later
// kelvane-cli uci: the Universal Chess Interface, for chess GUIs and match tools. The search
// runs on its own thread, so that isready and stop are answered while it thinks.
#pragma once

#include <condition_variable>
#include <cstdint>
#include <istream>
#include <mutex>
#include <ostream>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

#include "cli/uci_go.h"
#include "cli/uci_position.h"
#include "engine/expert_search.h"

namespace kelvane::cli {

class UciSession {
  public:
    explicit UciSession(std::ostream& out);
    ~UciSession();
    UciSession(const UciSession&) = delete;
    UciSession& operator=(const UciSession&) = delete;

    // One line of input; false after quit.
    bool Handle(std::string_view line);
    // Tells the GUI that a line too long to hold was skipped.
    void IgnoreLongLine();
    // Ends a search in progress (its bestmove is still written) and waits for it.
    void Finish();
    // Waits for a search with limits to end by itself; an infinite one is left to Finish.
    void WaitUnlessInfinite();

  private:
    void Send(const std::string& line);
    void Identify();
    void SetOption(const std::vector<std::string_view>& words);
    void SetPosition(const std::vector<std::string_view>& words);
    void Go(const std::vector<std::string_view>& words);
    void Think(UciPosition position, UciGo go);
    void ThinkExactly(const UciPosition& position);
    void WaitForStopIfInfinite();

    std::ostream& out_;
    std::mutex outMutex_;
    ExpertSearch search_;
    UciPosition position_;
    int variant_;
    int exactDepth_ = 0;  // 0: Expert; else the exact level's depth

    std::thread worker_;
    std::mutex stateMutex_;
    std::condition_variable stateChanged_;
    bool searching_ = false;
    bool stopRequested_ = false;
    bool infinite_ = false;
};

// Reads commands from in until quit or its end; returns the exit status.
int RunUci(std::istream& in, std::ostream& out);

}  // namespace kelvane::cli
