// SPDX-License-Identifier: GPL-3.0-or-later
// kelvane-cli search and bench with --level expert.
#pragma once

#include <ostream>
#include <span>
#include <string>

#include "rules/result.h"

namespace kelvane::cli {

// Whether args ask for the Expert level (--level expert anywhere in them).
bool WantsExpert(std::span<const std::string> args);

// POSITION SIDE --level expert [--movetime MS | --nodes N] [--depth N] [--rules king|all]
// [--vary SEED]
Result<int> RunExpertSearch(std::span<const std::string> args, std::ostream& out);

// --level expert [--movetime MS]: each benchmark position searched for the time given.
Result<int> RunExpertBench(std::span<const std::string> args, std::ostream& out);

}  // namespace kelvane::cli
