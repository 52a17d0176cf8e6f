// SPDX-License-Identifier: GPL-3.0-or-later
// PGN text read back into games: their tags and their moves as SAN text, not yet checked
// against any position.
#pragma once

#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "rules/result.h"

namespace kelvane::cli {

struct PgnGame {
    std::vector<std::pair<std::string, std::string>> tags;
    std::vector<std::string> moves;  // SAN, move numbers, comments and variations left out
    std::string result;              // "*" when the game text gives none

    // The tag's value, or nullptr.
    const std::string* FindTag(std::string_view name) const;
};

// Every game in text. Fails with a reason naming the line for data that is not text, a tag that
// is not [Name "value"] on one line, or a comment or variation that is never closed, and when
// there is no game at all.
Result<std::vector<PgnGame>> ParsePgn(std::string_view text);

}  // namespace kelvane::cli
