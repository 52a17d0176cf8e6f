// SPDX-License-Identifier: GPL-3.0-or-later
// kelvane-cli: the plain driver over the rules and the search.
#pragma once

#include <ostream>
#include <span>
#include <string>

namespace kelvane::cli {

inline constexpr int kExitOk = 0;
// The output or a game's record could not be written; already reported on the error stream.
inline constexpr int kExitWriteFailed = 1;
inline constexpr int kExitUsage = 2;

// args excludes the program name. Results go to out; errors are one line on err with
// kExitUsage.
int RunCli(std::span<const std::string> args, std::ostream& out, std::ostream& err);

}  // namespace kelvane::cli
