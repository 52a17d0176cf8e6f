// SPDX-License-Identifier: GPL-3.0-or-later
// Whole numbers on the command line and in the terminal game's commands.
#pragma once

#include <charconv>
#include <string>
#include <string_view>

#include "rules/result.h"

namespace kelvane::cli {

// text as a whole number from min to max; the reason names it what.
inline Result<int> ParseNumber(std::string_view text, std::string_view what, int min, int max) {
    int value = 0;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (ec != std::errc() || end != text.data() + text.size() || text.empty())
        return Failure{std::string(what) + " must be a number, not '" + std::string(text) + "'"};
    if (value < min || value > max)
        return Failure{std::string(what) + " must be " + std::to_string(min) + " to " +
                       std::to_string(max)};
    return value;
}

}  // namespace kelvane::cli
