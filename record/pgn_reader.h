// SPDX-License-Identifier: GPL-3.0-or-later
// PGN text read back into games: their tags and their moves as SAN text, not yet checked
// against any position.
#pragma once

#include <cstddef>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "rules/result.h"

namespace kelvane {

// More tags than this in one game are no record of a game.
inline constexpr std::size_t kMaxPgnTags = 256;

struct PgnGame {
    std::vector<std::pair<std::string, std::string>> tags;
    std::vector<std::string> moves;  // SAN, move numbers, comments and variations left out
    std::string result;              // "*" when the game text gives none

    // The tag's value, or nullptr.
    const std::string* FindTag(std::string_view name) const;
};

// Takes each move of a game as it is read, with the game's tags; a reason stops the reading.
using PgnMoveReader =
    std::function<std::optional<std::string>(const PgnGame& game, std::string_view san)>;

// The games of a text, read one at a time. A result token with no tags and no moves before it
// is no game.
class PgnReader {
  public:
    // With onMove, the moves go to it as they are read instead of into the game, so that a game
    // holds no more than its tags however long it is.
    explicit PgnReader(std::string_view text, PgnMoveReader onMove = {})
        : text_(text), onMove_(std::move(onMove)) {}

    // The next game, or nothing after the last. Fails with a reason naming the line for data
    // that is not text, a tag that is not [Name "value"] on one line, more than kMaxPgnTags
    // tags in a game, or a comment or variation that is never closed, with onMove's reason,
    // and when there is no game at all.
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
    PgnMoveReader onMove_;
    std::size_t pos_ = 0;
    int line_ = 1;
    bool checked_ = false;
    int gamesRead_ = 0;
    PgnGame current_;
    std::size_t movesRead_ = 0;  // of the game open
    bool open_ = false;
    std::optional<PgnGame> ready_;
};

}  // namespace kelvane
