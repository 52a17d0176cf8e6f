// SPDX-License-Identifier: GPL-3.0-or-later
// PGN text read back into games: their tags and their moves as SAN text, not yet checked
// against any position.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "rules/result.h"

namespace kelvane {

struct PgnGame {
    std::vector<std::pair<std::string, std::string>> tags;
    std::vector<std::string> moves;  // SAN, move numbers, comments and variations left out
    std::string result;              // "*" when the game text gives none

    // The tag's value, or nullptr.
    const std::string* FindTag(std::string_view name) const;
};

// The games of a text, read one at a time. A result token with no tags and no moves before it
// is no game.
class PgnReader {
  public:
    explicit PgnReader(std::string_view text) : text_(text) {}

    // The next game, or nothing after the last. Fails with a reason naming the line for data
    // that is not text, a tag that is not [Name "value"] on one line, or a comment or variation
    // that is never closed, and when there is no game at all.
    Result<std::optional<PgnGame>> Next();

  private:
    std::string Where() const;
    void Begin();
    void End(std::string result);
    bool SkipPast(char closing);
    bool AtComment() const;
    std::optional<std::string> SkipComment();
    std::optional<std::string> Step();
    std::optional<std::string> SkipVariation();
    std::optional<std::string> ReadTag();

    std::string_view text_;
    std::size_t pos_ = 0;
    int line_ = 1;
    bool checked_ = false;
    int gamesRead_ = 0;
    PgnGame current_;
    bool open_ = false;
    std::optional<PgnGame> ready_;
};

}  // namespace kelvane
