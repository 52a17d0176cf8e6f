// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/play_options.h"

#include "cli/number.h"

namespace kelvane::cli {

std::optional<int> DepthOfLevel(std::string_view level) {
    if (level == "easy") return kDepthEasy;
    if (level == "medium") return kDepthMedium;
    if (level == "hard") return kDepthHard;
    return std::nullopt;
}

std::string LevelName(int depth) {
    if (depth == kDepthEasy) return "easy";
    if (depth == kDepthMedium) return "medium";
    if (depth == kDepthHard) return "hard";
    return "depth " + std::to_string(depth);
}

Result<int> ParseRules(std::string_view word) {
    if (word == "king") return kKingMustDie;
    if (word == "all") return kAllMustDie;
    return Failure{"unknown rules '" + std::string(word) + "' (king or all)"};
}

Result<PlayOptions> ParsePlayOptions(std::span<const std::string> args) {
    PlayOptions options;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& name = args[i];
        if (name == "--computer-starts") {
            options.computerStarts = true;
        } else if (name == "--black" || name == "--white") {
            options.humanSide = name == "--black" ? 1 : 2;
        } else if (name == "--no-board") {
            options.showBoard = false;
        } else if (name == "--ascii") {
            options.ascii = true;
        } else if (name == "--draws") {
            options.draws = true;
        } else if (name == "--level" || name == "--rules" || name == "--pgn" ||
                   name == "--movetime" || name == "--vary") {
            if (i + 1 >= args.size()) return Failure{name + " needs a value"};
            const std::string& value = args[++i];
            if (name == "--pgn") {
                if (value.empty()) return Failure{"--pgn needs a file name"};
                options.pgnFile = value;
            } else if (name == "--level") {
                options.expert = value == "expert";
                const std::optional<int> depth = DepthOfLevel(value);
                if (!depth && !options.expert)
                    return Failure{"unknown level '" + value + "' (easy, medium, hard or expert)"};
                if (depth) options.depth = *depth;
            } else if (name == "--movetime") {
                const Result<int> ms = ParseNumber(value, "movetime", 1, 3600 * 1000);
                if (!ms) return Failure{ms.reason()};
                options.movetimeMs = *ms;
            } else if (name == "--vary") {
                const Result<int> seed = ParseNumber(value, "vary", 0, 2147483647);
                if (!seed) return Failure{seed.reason()};
                options.vary = static_cast<std::uint64_t>(*seed);
            } else {
                const Result<int> rules = ParseRules(value);
                if (!rules) return Failure{rules.reason()};
                options.rules = *rules;
            }
        } else {
            return Failure{"unexpected argument '" + name + "' for play"};
        }
    }
    return options;
}

}  // namespace kelvane::cli
