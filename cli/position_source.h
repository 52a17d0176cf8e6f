// SPDX-License-Identifier: GPL-3.0-or-later
// Where a position given on the command line comes from: "start", a FEN placement field, or a
// saved game file.
#pragma once

#include <string>

#include "rules/board.h"
#include "rules/result.h"

namespace kelvane::cli {

Result<Board> LoadPosition(const std::string& text);

}  // namespace kelvane::cli
