// SPDX-License-Identifier: GPL-3.0-or-later
// Where the terminal game's lines come from: a pipe or file read as it is, or a terminal with
// a prompt, line editing and the history of the lines typed.
#pragma once

#include <istream>
#include <memory>
#include <optional>
#include <string>

namespace kelvane::cli {

class LineReader {
  public:
    virtual ~LineReader() = default;
    // The next line without its end; nothing at the end of input, after a read error, or once
    // Ctrl+C has been pressed. The prompt is shown only by a terminal. A line longer than
    // kLongestInputLine may come back cut to one byte over that length.
    virtual std::optional<std::string> Next(const std::string& prompt) = 0;
};

// Lines of in as they come, with no prompt.
std::unique_ptr<LineReader> PlainLines(std::istream& in);

// Lines typed at the terminal on standard input, edited with GNU Readline: the prompt on
// standard output, the arrows, Ctrl+A and Ctrl+E, and Up and Down through the lines typed
// before. Ctrl+D on an empty line is the end of input.
std::unique_ptr<LineReader> TerminalLines();

}  // namespace kelvane::cli
