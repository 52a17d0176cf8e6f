// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/expert_commands.h"

#include <algorithm>
#include <charconv>
#include <chrono>

#include "cli/number.h"
#include "cli/play_options.h"
#include "cli/position_source.h"
#include "engine/benchmark_positions.h"
#include "engine/expert_search.h"
#include "rules/evaluation.h"
#include "rules/notation.h"

namespace kelvane::cli {

namespace {

using Args = std::span<const std::string>;

constexpr int kLongestMovetime = 24 * 3600 * 1000;
constexpr int kDefaultMovetime = 1000;

struct ExpertOptions {
    ExpertLimits limits;
    int rules = kKingMustDie;
    std::uint64_t variety = 0;
};

Result<std::uint64_t> ParseCount(std::string_view text, std::string_view what) {
    std::uint64_t value = 0;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (ec != std::errc() || end != text.data() + text.size() || text.empty() || value == 0)
        return Failure{std::string(what) + " must be a whole number above 0, not '" +
                       std::string(text) + "'"};
    return value;
}

Result<ExpertOptions> ParseExpertOptions(Args args, std::string_view command,
                                         std::initializer_list<std::string_view> allowed) {
    ExpertOptions options;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& name = args[i];
        if (std::find(allowed.begin(), allowed.end(), name) == allowed.end())
            return Failure{"unexpected argument '" + name + "' for " + std::string(command)};
        if (i + 1 >= args.size()) return Failure{name + " needs a value"};
        const std::string& value = args[++i];
        if (name == "--level") {
            if (value != "expert")
                return Failure{"--level with " + std::string(command) +
                               " is expert (give DEPTH for the other levels)"};
        } else if (name == "--movetime") {
            const Result<int> ms = ParseNumber(value, "movetime", 1, kLongestMovetime);
            if (!ms) return Failure{ms.reason()};
            options.limits.movetimeMs = *ms;
        } else if (name == "--nodes") {
            const Result<std::uint64_t> nodes = ParseCount(value, "nodes");
            if (!nodes) return Failure{nodes.reason()};
            options.limits.nodes = *nodes;
        } else if (name == "--depth") {
            const Result<int> depth = ParseNumber(value, "depth", 1, 100);
            if (!depth) return Failure{depth.reason()};
            options.limits.depth = *depth;
        } else if (name == "--rules") {
            const Result<int> rules = ParseRules(value);
            if (!rules) return Failure{rules.reason()};
            options.rules = *rules;
        } else if (name == "--vary") {
            const Result<std::uint64_t> seed = ParseCount(value, "vary");
            if (!seed) return Failure{seed.reason()};
            options.variety = *seed;
        }
    }
    const ExpertLimits& limits = options.limits;
    if (limits.movetimeMs == 0 && limits.nodes == 0 && limits.depth == 0)
        options.limits.movetimeMs = kDefaultMovetime;
    return options;
}

std::string ScoreText(const ExpertResult& result) {
    if (result.mateInPlies > 0) return "win in " + std::to_string(result.mateInPlies) + " plies";
    if (result.mateInPlies < 0) return "loss in " + std::to_string(-result.mateInPlies) + " plies";
    return "cp " + std::to_string(result.score);
}

}  // namespace

bool WantsExpert(Args args) {
    for (std::size_t i = 0; i + 1 < args.size(); ++i) {
        if (args[i] == "--level" && args[i + 1] == "expert") return true;
    }
    return false;
}

Result<int> RunExpertSearch(Args args, std::ostream& out) {
    if (args.size() < 2) return Failure{"search needs POSITION and SIDE (see --help)"};
    const Result<Board> board = LoadPosition(args[0]);
    if (!board) return Failure{board.reason()};
    const std::optional<Side> side = SideFromText(args[1]);
    if (!side) return Failure{"unknown side '" + args[1] + "' (white or black)"};
    const Result<ExpertOptions> options =
        ParseExpertOptions(args.subspan(2), "search",
                           {"--level", "--movetime", "--nodes", "--depth", "--rules", "--vary"});
    if (!options) return Failure{options.reason()};

    ExpertSearch search;
    search.SetVariety(options->variety);
    const auto start = std::chrono::steady_clock::now();
    const ExpertResult result = search.Think(*board, *side, options->rules, options->limits);
    const std::chrono::duration<double, std::milli> elapsed =
        std::chrono::steady_clock::now() - start;
    out << (result.move > 0 ? MoveToText(result.move) : "none") << '\n';
    out << "score " << ScoreText(result) << '\n';
    out << "depth " << result.depth << '\n';
    out << "nodes " << result.nodes << '\n';
    out << "time " << elapsed.count() << " ms\n";
    return 0;
}

Result<int> RunExpertBench(Args args, std::ostream& out) {
    const Result<ExpertOptions> options =
        ParseExpertOptions(args, "bench", {"--level", "--movetime"});
    if (!options) return Failure{options.reason()};
    ExpertLimits limits;
    limits.movetimeMs = options->limits.movetimeMs;
    std::uint64_t totalNodes = 0;
    double totalMs = 0;
    int totalDepth = 0;
    int searched = 0;
    int shallowest = 1 << 30;
    int deepest = 0;
    ExpertSearch search;
    for (const bench::BenchmarkPosition& position : bench::BenchmarkPositions()) {
        search.NewGame();
        const Board board = *BoardFromFen(position.placement);
        const auto start = std::chrono::steady_clock::now();
        const ExpertResult result = search.Think(board, position.side, position.rules, limits);
        const std::chrono::duration<double, std::milli> elapsed =
            std::chrono::steady_clock::now() - start;
        totalNodes += result.nodes;
        totalMs += elapsed.count();
        // A side with one move or none plays at once: no depth to speak of.
        if (result.depth == 0) continue;
        ++searched;
        totalDepth += result.depth;
        shallowest = std::min(shallowest, result.depth);
        deepest = std::max(deepest, result.depth);
    }
    out << "level expert\n";
    out << "positions " << bench::BenchmarkPositions().size() << " (" << searched
        << " with a choice)\n";
    out << "movetime " << limits.movetimeMs << " ms\n";
    out << "nodes " << totalNodes << '\n';
    out << "time " << totalMs << " ms\n";
    out << "nodes per second "
        << static_cast<std::uint64_t>(totalMs > 0 ? totalNodes / (totalMs / 1000.0) : 0) << '\n';
    out << "depth mean "
        << (searched > 0 ? static_cast<double>(totalDepth) / static_cast<double>(searched) : 0)
        << " least " << (searched > 0 ? shallowest : 0) << " most " << deepest << '\n';
    return 0;
}

}  // namespace kelvane::cli
