// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/input_line.h"

namespace kelvane::cli {

InputLine ReadInputLine(std::istream& in, std::string& line, std::size_t limit) {
    line.clear();
    // As a formatted read: the output tied to the input goes out first.
    const std::istream::sentry ready(in, true);
    if (!ready) return InputLine::End;
    std::streambuf& input = *in.rdbuf();
    bool any = false;
    bool tooLong = false;
    for (int c = input.sbumpc(); c != std::char_traits<char>::eof(); c = input.sbumpc()) {
        any = true;
        if (c == '\n') return tooLong ? InputLine::TooLong : InputLine::Read;
        if (tooLong) continue;
        if (line.size() == limit) {
            tooLong = true;
            line.clear();
            continue;
        }
        line += static_cast<char>(c);
    }
    in.setstate(std::ios::eofbit);
    if (!any) return InputLine::End;
    return tooLong ? InputLine::TooLong : InputLine::Read;
}

}  // namespace kelvane::cli
