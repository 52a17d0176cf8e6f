// SPDX-License-Identifier: GPL-3.0-or-later
// Ctrl+C, a hang-up and a request to terminate: noticed between moves rather than ending the
// program at once, so that the game in play can still be written out.
#pragma once

namespace kelvane::cli {

// From now on SIGINT, SIGHUP and SIGTERM only set a flag, and a blocking read they interrupt
// returns at once; SIGPIPE is ignored, so that a closed output is a write that fails.
void CatchInterrupt();
bool Interrupted();
// The exit status after an interrupt: 128 + the signal's number.
int InterruptedStatus();
// Forgets an interrupt already seen; for tests.
void ClearInterrupt();

}  // namespace kelvane::cli
