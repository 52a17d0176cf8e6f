// SPDX-License-Identifier: GPL-3.0-or-later
// The command line of kelvane-cli play.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "engine/search_depth.h"
#include "rules/board.h"
#include "rules/evaluation.h"
#include "rules/result.h"

namespace kelvane::cli {

struct PlayOptions {
    int depth = kDepthEasy;
    bool expert = false;             // the Expert level instead of depth
    std::int64_t movetimeMs = 1000;  // Expert's time a move
    std::uint64_t vary = 0;          // Expert's opening variety seed; 0 off
    int rules = kKingMustDie;
    Side humanSide = 2;           // White; Black with --black
    bool computerStarts = false;  // in every new game
    bool ascii = false;
    bool showBoard = true;  // after each turn; --no-board
    bool draws = false;
    std::string pgnFile{};  // empty: no record is written
};

// [--level easy|medium|hard|expert] [--movetime MS] [--vary SEED] [--rules king|all] [--black]
// [--computer-starts] [--ascii] [--no-board] [--draws] [--pgn FILE]
Result<PlayOptions> ParsePlayOptions(std::span<const std::string> args);

// "easy", "medium", "hard": the search depth; nothing for any other word.
std::optional<int> DepthOfLevel(std::string_view level);
// The level's name for a depth; "depth N" for a depth that is no level.
std::string LevelName(int depth);
// "king", "all": kKingMustDie or kAllMustDie.
Result<int> ParseRules(std::string_view word);

}  // namespace kelvane::cli
