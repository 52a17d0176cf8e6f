// SPDX-License-Identifier: GPL-3.0-or-later
// Speed of the search over the benchmark set at depth 6. Targets on the reference 2-core
// machine, idle: at least 16 million calls of Search per second over the set, and no position
// slower than 35 ms. The set's node count, 4,981,898, must never change. Then Expert's nodes
// per second and depth reached in one second on each position.
#include <benchmark/benchmark.h>

#include <chrono>
#include <string>

#include "engine/benchmark_positions.h"
#include "engine/expert_search.h"
#include "engine/search.h"
#include "rules/evaluation.h"
#include "rules/move_generation.h"
#include "rules/notation.h"

namespace kelvane {
namespace {

constexpr int kBenchDepth = 6;

Board BoardOf(const bench::BenchmarkPosition& position) {
    return *BoardFromFen(position.placement);
}

// The whole set once per iteration; calls per second is the figure to watch.
void BM_SearchWholeSet(benchmark::State& state) {
    std::uint64_t calls = 0;
    double slowestMs = 0;
    for (auto _ : state) {
        for (const bench::BenchmarkPosition& position : bench::BenchmarkPositions()) {
            Board board = BoardOf(position);
            SetRulesVariant(position.rules);
            ResetSearchCallCount();
            const auto start = std::chrono::steady_clock::now();
            benchmark::DoNotOptimize(ChooseMove(board, position.side, kBenchDepth));
            const std::chrono::duration<double, std::milli> took =
                std::chrono::steady_clock::now() - start;
            if (took.count() > slowestMs) slowestMs = took.count();
            calls += GetSearchCallCount();
        }
    }
    state.counters["calls_per_second"] =
        benchmark::Counter(static_cast<double>(calls), benchmark::Counter::kIsRate);
    state.counters["slowest_position_ms"] = slowestMs;
    state.counters["positions"] = static_cast<double>(bench::BenchmarkPositions().size());
}
BENCHMARK(BM_SearchWholeSet)->Unit(benchmark::kMillisecond)->Iterations(3)->UseRealTime();

// Each position on its own, to find the slow ones.
void BM_SearchOnePosition(benchmark::State& state) {
    const bench::BenchmarkPosition& position =
        bench::BenchmarkPositions()[static_cast<std::size_t>(state.range(0))];
    const Board start = BoardOf(position);
    std::uint64_t calls = 0;
    for (auto _ : state) {
        Board board = start;
        SetRulesVariant(position.rules);
        ResetSearchCallCount();
        benchmark::DoNotOptimize(ChooseMove(board, position.side, kBenchDepth));
        calls += GetSearchCallCount();
    }
    state.counters["calls_per_second"] =
        benchmark::Counter(static_cast<double>(calls), benchmark::Counter::kIsRate);
}
BENCHMARK(BM_SearchOnePosition)
    ->DenseRange(0, static_cast<int>(bench::BenchmarkPositions().size()) - 1)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

// Expert: one second on each position, a fresh table each time; nodes per second and the depth
// of the last iteration it completed are the figures to watch.
void BM_ExpertOneSecond(benchmark::State& state) {
    const bench::BenchmarkPosition& position =
        bench::BenchmarkPositions()[static_cast<std::size_t>(state.range(0))];
    const Board board = BoardOf(position);
    ExpertSearch expert;
    ExpertLimits limits;
    limits.movetimeMs = 1000;
    std::uint64_t nodes = 0;
    int depth = 0;
    for (auto _ : state) {
        expert.NewGame();
        const ExpertResult result = expert.Think(board, position.side, position.rules, limits);
        nodes += result.nodes;
        depth = result.depth;
    }
    state.counters["nodes_per_second"] =
        benchmark::Counter(static_cast<double>(nodes), benchmark::Counter::kIsRate);
    state.counters["depth"] = depth;
}
BENCHMARK(BM_ExpertOneSecond)
    ->DenseRange(0, static_cast<int>(bench::BenchmarkPositions().size()) - 1)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(1)
    ->UseRealTime();

void BM_GenerateMovesStart(benchmark::State& state) {
    Board board;
    SetUpStartingPosition(board);
    MoveList list;
    for (auto _ : state) {
        benchmark::DoNotOptimize(GenerateMoves(board, list, 2));
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_GenerateMovesStart);

}  // namespace
}  // namespace kelvane

BENCHMARK_MAIN();
