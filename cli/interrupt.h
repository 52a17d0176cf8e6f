// SPDX-License-Identifier: GPL-3.0-or-later
// Ctrl+C in the terminal: noticed between moves rather than ending the program at once, so that
// the game in play can still be written out.
#pragma once

namespace kelvane::cli {

// From now on SIGINT only sets a flag; a blocking read it interrupts returns at once.
void CatchInterrupt();
bool Interrupted();
// Forgets an interrupt already seen; for tests.
void ClearInterrupt();

}  // namespace kelvane::cli
