// SPDX-License-Identifier: GPL-3.0-or-later
// Text from the user or a file, made safe to show on a terminal in one line.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace kelvane::cli {

// text with newlines and tabs as \n and \t, and as \xNN per byte: the C0 controls, DEL, the C1
// controls (U+0080 to U+009F, raw or UTF-8 encoded) and any byte that is not valid UTF-8.
// Longer text than limit bytes is cut at the last UTF-8 character boundary within it and
// followed by "...".
std::string Printable(std::string_view text, std::size_t limit = std::string_view::npos);

}  // namespace kelvane::cli
