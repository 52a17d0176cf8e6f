// SPDX-License-Identifier: GPL-3.0-or-later
// How soon the Expert's search ends once it is told to stop, as the window's New, Undo, Load,
// Stop, level and rules changes and Quit tell it: the target is well under 50 ms. The search
// thinks on its own thread, as in the window, for 200 ms before each Stop.
#include <benchmark/benchmark.h>

#include <chrono>
#include <thread>

#include "engine/expert_search.h"
#include "rules/evaluation.h"
#include "rules/notation.h"

namespace kelvane {
namespace {

void BM_ExpertStopLatency(benchmark::State& state) {
    ExpertSearch search;
    // After 1. c3: no move is forced and no result is proven, so the search runs until stopped.
    const Board board = *BoardFromFen("rnbqkbnr/pppppppp/8/8/8/2P5/PP1PPPPP/RNBQKBNR");
    for (auto _ : state) {
        std::chrono::steady_clock::time_point returned;
        std::thread thinking([&] {
            search.Think(board, 1, kKingMustDie, ExpertLimits{60000, 0, 0});
            returned = std::chrono::steady_clock::now();
        });
        std::this_thread::sleep_for(std::chrono::milliseconds(200));
        const auto stopped = std::chrono::steady_clock::now();
        search.Stop();
        thinking.join();
        state.SetIterationTime(std::chrono::duration<double>(returned - stopped).count());
    }
}
BENCHMARK(BM_ExpertStopLatency)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(10);

}  // namespace
}  // namespace kelvane
