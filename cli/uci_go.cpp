// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/uci_go.h"

#include <algorithm>
#include <charconv>
#include <string>

namespace kelvane::cli {

namespace {

// Time kept back for reading the answer and passing it on, per move.
constexpr std::int64_t kOverheadMs = 10;
// Moves the clock is shared among when the GUI does not say.
constexpr int kAssumedMovesToGo = 30;

template <typename Number>
Result<Number> ParseValue(const std::vector<std::string_view>& words, std::size_t& i, Number min,
                          Number max) {
    const std::string name(words[i]);
    if (i + 1 >= words.size()) return Failure{"go " + name + " needs a value"};
    const std::string_view text = words[++i];
    Number value{};
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (ec != std::errc() || end != text.data() + text.size())
        return Failure{"go " + name + " needs a number"};
    return std::clamp(value, min, max);
}

}  // namespace

Result<UciGo> ParseUciGo(const std::vector<std::string_view>& words) {
    UciGo go;
    constexpr std::int64_t kLongest = std::int64_t{1} << 40;
    for (std::size_t i = 0; i < words.size(); ++i) {
        const std::string_view word = words[i];
        if (word == "infinite") {
            go.infinite = true;
            continue;
        }
        if (word == "movetime" || word == "wtime" || word == "btime" || word == "winc" ||
            word == "binc") {
            // A clock may run below zero when the GUI is late.
            const Result<std::int64_t> ms = ParseValue<std::int64_t>(words, i, -kLongest, kLongest);
            if (!ms) return Failure{ms.reason()};
            if (word == "movetime") go.limits.movetimeMs = std::max<std::int64_t>(1, *ms);
            if (word == "wtime") go.whiteTime = std::max<std::int64_t>(0, *ms);
            if (word == "btime") go.blackTime = std::max<std::int64_t>(0, *ms);
            if (word == "winc") go.whiteIncrement = std::max<std::int64_t>(0, *ms);
            if (word == "binc") go.blackIncrement = std::max<std::int64_t>(0, *ms);
        } else if (word == "nodes") {
            const Result<std::uint64_t> nodes =
                ParseValue<std::uint64_t>(words, i, 1, std::uint64_t{1} << 62);
            if (!nodes) return Failure{nodes.reason()};
            go.limits.nodes = *nodes;
        } else if (word == "depth" || word == "movestogo") {
            const Result<int> value = ParseValue<int>(words, i, 1, 1000);
            if (!value) return Failure{value.reason()};
            (word == "depth" ? go.limits.depth : go.movesToGo) = *value;
        } else {
            return Failure{"go does not take '" + std::string(word.substr(0, 40)) + "'"};
        }
    }
    return go;
}

ExpertLimits SearchLimitsFor(const UciGo& go, Side side) {
    if (go.infinite) return ExpertLimits{};
    ExpertLimits limits = go.limits;
    if (limits.movetimeMs > 0)
        limits.movetimeMs = std::max<std::int64_t>(
            1, limits.movetimeMs - std::min<std::int64_t>(kOverheadMs, limits.movetimeMs / 10));
    const std::int64_t clock = side == 2 ? go.whiteTime : go.blackTime;
    if (clock >= 0) {
        const std::int64_t increment = side == 2 ? go.whiteIncrement : go.blackIncrement;
        const int movesToGo = go.movesToGo > 0 ? std::min(go.movesToGo, 50) : kAssumedMovesToGo;
        const std::int64_t left = std::max<std::int64_t>(0, clock - kOverheadMs);
        std::int64_t budget = left / movesToGo + increment * 3 / 4;
        budget = std::max<std::int64_t>(1, std::min(budget, left / 2));
        if (limits.movetimeMs == 0 || budget < limits.movetimeMs) limits.movetimeMs = budget;
    }
    return limits;
}

}  // namespace kelvane::cli
