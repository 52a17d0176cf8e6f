// SPDX-License-Identifier: GPL-3.0-or-later
// The player's input, one line at a time, read with a bound on a line's length.
#pragma once

#include <cstddef>
#include <istream>
#include <string>

namespace kelvane::cli {

// A longer line of input is no command: it is not kept.
inline constexpr std::size_t kLongestInputLine = 4096;

enum class InputLine {
    Read,     // line holds it, without its newline
    TooLong,  // skipped to its end; line is empty
    End,      // nothing more to read
};

// The last line may lack its newline.
InputLine ReadInputLine(std::istream& in, std::string& line, std::size_t limit = kLongestInputLine);

}  // namespace kelvane::cli
