// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/printable.h"

namespace kelvane::cli {

namespace {

bool IsContinuation(unsigned char byte) {
    return (byte & 0xc0) == 0x80;
}

// The length of the valid UTF-8 character at the start of text; 0 when it is none.
std::size_t CharacterLength(std::string_view text) {
    const auto lead = static_cast<unsigned char>(text[0]);
    const std::size_t length = lead < 0x80   ? 1
                               : lead < 0xc2 ? 0
                               : lead < 0xe0 ? 2
                               : lead < 0xf0 ? 3
                               : lead < 0xf5 ? 4
                                             : 0;
    if (length == 0 || length > text.size()) return 0;
    for (std::size_t i = 1; i < length; ++i) {
        if (!IsContinuation(static_cast<unsigned char>(text[i]))) return 0;
    }
    const auto second = static_cast<unsigned char>(text.size() > 1 ? text[1] : 0);
    // Overlong forms, UTF-16 surrogates and code points past U+10FFFF.
    if ((lead == 0xe0 && second < 0xa0) || (lead == 0xed && second >= 0xa0) ||
        (lead == 0xf0 && second < 0x90) || (lead == 0xf4 && second >= 0x90))
        return 0;
    return length;
}

}  // namespace

std::string Printable(std::string_view text, std::size_t limit) {
    static constexpr char kHex[] = "0123456789abcdef";
    const bool cut = text.size() > limit;
    if (cut) {
        // The byte after the cut must begin a character.
        std::size_t end = limit;
        while (end > 0 && IsContinuation(static_cast<unsigned char>(text[end]))) --end;
        text = text.substr(0, end);
    }
    std::string shown;
    const auto escape = [&](std::string_view bytes) {
        for (const char c : bytes) {
            const auto byte = static_cast<unsigned char>(c);
            shown += "\\x";
            shown += kHex[byte >> 4];
            shown += kHex[byte & 0xf];
        }
    };
    for (std::size_t i = 0; i < text.size();) {
        const std::size_t length = CharacterLength(text.substr(i));
        const auto byte = static_cast<unsigned char>(text[i]);
        if (text[i] == '\n') {
            shown += "\\n";
        } else if (text[i] == '\t') {
            shown += "\\t";
        } else if (length == 0 || byte < 0x20 || byte == 0x7f ||
                   (byte == 0xc2 && static_cast<unsigned char>(text[i + 1]) < 0xa0)) {
            escape(text.substr(i, length == 0 ? 1 : length));
        } else {
            shown.append(text.substr(i, length));
        }
        i += length == 0 ? 1 : length;
    }
    return cut ? shown + "..." : shown;
}

}  // namespace kelvane::cli
