// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/interrupt.h"

#include <csignal>
#include <initializer_list>

namespace kelvane::cli {

namespace {

volatile std::sig_atomic_t interrupted = 0;  // the signal's number

extern "C" void OnInterrupt(int signal) {
    interrupted = signal;
}

}  // namespace

void CatchInterrupt() {
    struct sigaction action {};
    action.sa_handler = OnInterrupt;
    sigemptyset(&action.sa_mask);
    action.sa_flags = 0;  // no SA_RESTART: the read waiting for the next line gives up
    for (const int signal : {SIGINT, SIGHUP, SIGTERM}) sigaction(signal, &action, nullptr);
    std::signal(SIGPIPE, SIG_IGN);
}

bool Interrupted() {
    return interrupted != 0;
}

int InterruptedStatus() {
    return 128 + interrupted;
}

void ClearInterrupt() {
    interrupted = 0;
}

}  // namespace kelvane::cli
