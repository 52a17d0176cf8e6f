// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/benchmark_positions.h"

#include <array>

namespace kelvane::bench {

namespace {
constexpr std::array kPositions = {
    BenchmarkPosition{"rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR", 2, 1},
    BenchmarkPosition{"rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR", 1, 1},
    BenchmarkPosition{"rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR", 2, 0},
    BenchmarkPosition{"rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR", 1, 0},
    // From the computer playing itself (selfplay --positions): rules, depth, ply.
    BenchmarkPosition{"rnbqkbnr/pppppp1p/6p1/8/8/6P1/PPPPPP1P/RNBQKBNR", 1, 1},  // king d4 ply 2
    BenchmarkPosition{"rnbqkbnr/p1ppp2p/1p3pp1/8/5P2/1P4P1/P1PPP2P/RNBQKBNR", 1,
                      1},  // king d4 ply 6
    BenchmarkPosition{"rnbqkbnr/p1ppp2p/1p6/6p1/8/1P4P1/P1PPPK1P/RNBQ1BNR", 1,
                      1},  // king d4 ply 10
    BenchmarkPosition{"r1bqkbnr/p1ppp2p/1p6/6p1/1n6/5NP1/P1PPPK1P/RNBQ1B1R", 1,
                      1},                                                        // king d4 ply 14
    BenchmarkPosition{"r1bqkbnr/R1ppp2p/1p6/6N1/8/6P1/2PPPK1P/1NnQ1B1R", 1, 1},  // king d4 ply 18
    BenchmarkPosition{"2bqkbn1/r1ppp2r/1p6/8/8/6P1/2PPPK1P/1NQ2B1R", 1, 1},      // king d4 ply 22
    BenchmarkPosition{"2bqkbn1/2ppp3/1p6/8/8/Q5P1/2PPPK1R/1N3B2", 1, 1},         // king d4 ply 26
    BenchmarkPosition{"2bqk3/2ppb3/1p5R/8/8/6P1/2PPPK2/1N3B2", 1, 1},            // king d4 ply 30
    BenchmarkPosition{"2bqk3/3p4/1p6/8/8/N5P1/2PPPK2/5B2", 1, 1},                // king d4 ply 34
    BenchmarkPosition{"2b1k3/3p4/8/1N6/7P/8/2PPPK2/5B2", 1, 1},                  // king d4 ply 38
    BenchmarkPosition{"2N2k2/8/8/8/7P/8/2PPPK2/5B2", 1, 1},                      // king d4 ply 42
    BenchmarkPosition{"rnbqkbnr/pppppp1p/6p1/8/8/6P1/PPPPPP1P/RNBQKBNR", 1, 1},  // king d6 ply 2
    BenchmarkPosition{"rnbqkbnr/pppppp1p/8/8/7p/6P1/PPPPPP2/RNBQKBNR", 2, 1},    // king d6 ply 5
    BenchmarkPosition{"rnbqkbnr/ppppp2R/5p2/8/8/6P1/PPPPPP2/RNBQKBN1", 1, 1},    // king d6 ply 8
    BenchmarkPosition{"rnbqkbn1/ppppp3/5p2/8/8/6Pr/PPPPPP2/RNBQK1N1", 2, 1},     // king d6 ply 11
    BenchmarkPosition{"rnbq1bn1/pppppk2/5p2/6N1/8/6P1/PPPPPP2/RNBQK3", 1, 1},    // king d6 ply 14
    BenchmarkPosition{"rnbq1bn1/ppppp3/4k3/6p1/6P1/8/PPPPPP2/RNBQK3", 2, 1},     // king d6 ply 17
    BenchmarkPosition{"rnbq1bn1/ppppp3/8/5Pp1/8/4P3/PPPP1P2/RNBQK3", 1, 1},      // king d6 ply 20
    BenchmarkPosition{"rnbqkbnr/pppppp1p/6p1/8/8/6P1/PPPPPP1P/RNBQKBNR", 1, 0},  // all d4 ply 2
    BenchmarkPosition{"rnbqkbnr/p1ppp2p/1p3pp1/8/5P2/1P4P1/P1PPP2P/RNBQKBNR", 1,
                      0},                                                           // all d4 ply 6
    BenchmarkPosition{"rnbqkbnr/p1ppp2p/1p6/6p1/8/1P4P1/P1PPPK1P/RNBQ1BNR", 1, 0},  // all d4 ply 10
    BenchmarkPosition{"r1bqkbnr/p1ppp2p/1p6/6p1/1n6/5NP1/P1PPPK1P/RNBQ1B1R", 1,
                      0},                                                        // all d4 ply 14
    BenchmarkPosition{"r1bqkbnr/R1ppp2p/1p6/6N1/8/6P1/2PPPK1P/1NnQ1B1R", 1, 0},  // all d4 ply 18
    BenchmarkPosition{"2bqkbn1/r1ppp2r/1p6/8/8/6P1/2PPPK1P/1NQ2B1R", 1, 0},      // all d4 ply 22
    BenchmarkPosition{"2bqkbn1/2ppp3/1p6/8/8/Q5P1/2PPPK1R/1N3B2", 1, 0},         // all d4 ply 26
    BenchmarkPosition{"2bqk3/2ppb3/1p5R/8/8/6P1/2PPPK2/1N3B2", 1, 0},            // all d4 ply 30
    BenchmarkPosition{"2bqk3/3p4/1p6/8/8/N5P1/2PPPK2/5B2", 1, 0},                // all d4 ply 34
    BenchmarkPosition{"2b1k3/3p4/8/1N6/7P/8/2PPPK2/5B2", 1, 0},                  // all d4 ply 38
    BenchmarkPosition{"2N2k2/8/8/8/7P/8/2PPPK2/5B2", 1, 0},                      // all d4 ply 42
    BenchmarkPosition{"rnbqkbnr/pppppp1p/6p1/8/8/6P1/PPPPPP1P/RNBQKBNR", 1, 0},  // all d6 ply 2
    BenchmarkPosition{"rnbqkbnr/pppppp1p/8/8/7R/6P1/PPPPPP2/RNBQKBN1", 1, 0},    // all d6 ply 6
    BenchmarkPosition{"rnbqkbn1/ppppp2r/5p2/8/8/6PB/PPPPPP2/RNBQK1N1", 1, 0},    // all d6 ply 10
    BenchmarkPosition{"rnbq1bn1/pppppk2/5p2/6N1/8/6P1/PPPPPP2/RNBQK3", 1, 0},    // all d6 ply 14
    BenchmarkPosition{"rnbq1bn1/ppppp3/4k3/6p1/5PP1/8/PPPPP3/RNBQK3", 1, 0},     // all d6 ply 18
    BenchmarkPosition{"rnbq1bn1/ppppp3/4k3/8/6P1/4P3/PPP5/RNBQK3", 1, 0},        // all d6 ply 22
    BenchmarkPosition{"rnbq1b2/pppQp3/5n2/8/6P1/4P3/PPP5/RNB1K3", 1, 0},         // all d6 ply 26
    BenchmarkPosition{"rnb1qb2/pppnp3/8/6P1/8/4P3/PPP1K3/RNB5", 1, 0},           // all d6 ply 30
    BenchmarkPosition{"rnb1qn2/ppp1p2P/8/8/8/4P3/PPP1K3/RNB5", 1, 0},            // all d6 ply 34
    BenchmarkPosition{"rnb5/ppp1p2n/8/B7/q7/4P3/PPP1K3/RN6", 1, 0},              // all d6 ply 38
    BenchmarkPosition{"rnb5/ppB1p2n/8/8/8/4P3/PP2K3/1R6", 1, 0},                 // all d6 ply 42
    BenchmarkPosition{"1rb5/pp5n/4p3/8/8/3KP3/PP6/1R6", 1, 0},                   // all d6 ply 46
    BenchmarkPosition{"1rb5/pp5n/8/8/3P4/8/PP6/1R6", 1, 0},                      // all d6 ply 50
    BenchmarkPosition{"1r6/pp6/4P3/6n1/8/8/PP6/1R6", 1, 0},                      // all d6 ply 54
    BenchmarkPosition{"1r6/pp6/8/8/3n4/P7/1P6/R7", 1, 0},                        // all d6 ply 58
    BenchmarkPosition{"1r6/pp6/8/8/8/P7/R7/8", 1, 0},                            // all d6 ply 62
    BenchmarkPosition{"6R1/p7/8/1p6/8/P7/8/8", 1, 0},                            // all d6 ply 66
    BenchmarkPosition{"6R1/8/8/P7/8/8/8/8", 1, 0},                               // all d6 ply 70
};
}  // namespace

std::span<const BenchmarkPosition> BenchmarkPositions() {
    return kPositions;
}

}  // namespace kelvane::bench
