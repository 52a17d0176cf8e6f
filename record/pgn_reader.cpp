// SPDX-License-Identifier: GPL-3.0-or-later
#include "record/pgn_reader.h"

#include <algorithm>
#include <cctype>
#include <optional>
#include <utility>

namespace kelvane {

namespace {

bool IsResultToken(std::string_view token) {
    return token == "1-0" || token == "0-1" || token == "1/2-1/2" || token == "*";
}

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

// The SAN after a move number such as "12." or "12...", or the token itself.
std::string_view WithoutMoveNumber(std::string_view token) {
    std::size_t digits = 0;
    while (digits < token.size() && IsDigit(token[digits])) ++digits;
    if (digits == 0 || digits == token.size() || token[digits] != '.') return token;
    std::size_t end = digits;
    while (end < token.size() && token[end] == '.') ++end;
    return token.substr(end);
}

}  // namespace

Result<std::optional<PgnGame>> PgnReader::Next() {
    if (!checked_) {
        for (std::size_t i = 0; i < text_.size(); ++i) {
            const auto c = static_cast<unsigned char>(text_[i]);
            if (c == '\n') ++line_;
            if (c < 0x20 && c != '\n' && c != '\r' && c != '\t')
                return Failure{"line " + std::to_string(line_) + " is not text"};
        }
        line_ = 1;
        checked_ = true;
    }
    while (!ready_ && pos_ < text_.size()) {
        if (std::optional<std::string> problem = Step(); problem) return Failure{*problem};
    }
    if (!ready_ && open_) End("*");
    if (!ready_ && gamesRead_ == 0) return Failure{"there is no game in it"};
    if (ready_) ++gamesRead_;
    return std::exchange(ready_, std::nullopt);
}

std::string PgnReader::Where() const {
    return "line " + std::to_string(line_) + ": ";
}

void PgnReader::Begin() {
    if (!open_) {
        current_ = PgnGame{{}, {}, "*"};
        movesRead_ = 0;
    }
    open_ = true;
}

// A result token ends the game open, if any.
void PgnReader::End(std::string result) {
    if (!open_) return;
    current_.result = std::move(result);
    ready_ = std::move(current_);
    open_ = false;
}

// Skips to the character closing; fails at the end of the text.
bool PgnReader::SkipPast(char closing) {
    while (pos_ < text_.size() && text_[pos_] != closing) {
        if (text_[pos_] == '\n') ++line_;
        ++pos_;
    }
    if (pos_ >= text_.size()) return false;
    ++pos_;
    return true;
}

bool PgnReader::AtComment() const {
    const char c = text_[pos_];
    return c == ';' || c == '{' || (c == '%' && (pos_ == 0 || text_[pos_ - 1] == '\n'));
}

std::optional<std::string> PgnReader::SkipComment() {
    if (text_[pos_] != '{') {
        SkipPast('\n');
        ++line_;
        return std::nullopt;
    }
    const int opened = line_;
    if (!SkipPast('}')) return "line " + std::to_string(opened) + ": the comment is never closed";
    return std::nullopt;
}

std::optional<std::string> PgnReader::Step() {
    const char c = text_[pos_];
    if (c == '\n') ++line_;
    if (std::isspace(static_cast<unsigned char>(c))) {
        ++pos_;
        return std::nullopt;
    }
    if (c == '[') return ReadTag();
    if (AtComment()) return SkipComment();
    if (c == '(') return SkipVariation();
    std::size_t end = pos_;
    while (end < text_.size() && !std::isspace(static_cast<unsigned char>(text_[end])) &&
           std::string_view("[]{}();").find(text_[end]) == std::string_view::npos)
        ++end;
    if (end == pos_) return Where() + "unexpected '" + std::string(1, c) + "'";
    const std::string_view token = text_.substr(pos_, end - pos_);
    pos_ = end;
    if (IsResultToken(token)) {
        End(std::string(token));
    } else if (token[0] != '$') {
        const std::string_view san = WithoutMoveNumber(token);
        if (!san.empty() && san.find_first_not_of('.') != std::string_view::npos) {
            Begin();
            ++movesRead_;
            if (!onMove_) {
                current_.moves.emplace_back(san);
            } else if (std::optional<std::string> problem = onMove_(current_, san)) {
                return problem;
            }
        }
    }
    return std::nullopt;
}

// Variations, nested or not, with the comments in them.
std::optional<std::string> PgnReader::SkipVariation() {
    const int opened = line_;
    int depth = 0;
    while (pos_ < text_.size()) {
        if (AtComment()) {
            if (std::optional<std::string> problem = SkipComment()) return problem;
            continue;
        }
        const char c = text_[pos_++];
        if (c == '\n') ++line_;
        if (c == '(') ++depth;
        if (c == ')' && --depth == 0) return std::nullopt;
    }
    return "line " + std::to_string(opened) + ": the variation is never closed";
}

// [Name "value"] on one line, read no further than its closing bracket.
std::optional<std::string> PgnReader::ReadTag() {
    // Tags after moves start the next game.
    if (open_ && movesRead_ > 0) End("*");
    Begin();
    if (current_.tags.size() >= kMaxPgnTags)
        return Where() + "a game has more than " + std::to_string(kMaxPgnTags) + " tags";
    // The character at i, with the line's end (and the text's) as '\n'.
    const auto at = [this](std::size_t k) { return k < text_.size() ? text_[k] : '\n'; };
    const std::string truncated = Where() + "the tag is cut short or malformed";
    std::size_t i = pos_ + 1;
    while (std::isalnum(static_cast<unsigned char>(at(i))) || at(i) == '_') ++i;
    std::string name(text_.substr(pos_ + 1, i - pos_ - 1));
    while (at(i) == ' ') ++i;
    if (name.empty() || at(i) != '"') return truncated;
    std::string value;
    for (++i; at(i) != '"' && at(i) != '\n'; ++i) {
        if (at(i) == '\\' && at(i + 1) != '\n') ++i;
        value += at(i);
    }
    if (at(i) != '"') return truncated;
    for (++i; at(i) == ' ';) ++i;
    if (at(i) != ']') return truncated;
    current_.tags.emplace_back(std::move(name), std::move(value));
    pos_ = i + 1;
    return std::nullopt;
}

const std::string* PgnGame::FindTag(std::string_view name) const {
    for (const auto& [tag, value] : tags) {
        if (tag == name) return &value;
    }
    return nullptr;
}

}  // namespace kelvane
