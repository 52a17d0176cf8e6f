// SPDX-License-Identifier: GPL-3.0-or-later
// Where each piece can go from each square, worked out once at compile time so that move
// generation never checks board edges. Squares are Board indices (column*8 + row); every list
// keeps the step order the move lists depend on.
#pragma once

#include <array>
#include <cstdint>

namespace kelvane::tables {

struct SquareList {
    std::array<std::uint8_t, 8> squares{};
    std::uint8_t count = 0;
};

struct Step {
    int column;
    int row;
};

inline constexpr std::array<Step, 8> kKnightSteps = {
    {{1, 2}, {1, -2}, {-1, 2}, {-1, -2}, {-2, 1}, {-2, -1}, {2, 1}, {2, -1}}};
inline constexpr std::array<Step, 8> kKingSteps = {
    {{0, 1}, {0, -1}, {1, 0}, {-1, 0}, {1, 1}, {-1, 1}, {1, -1}, {-1, -1}}};
// The bishop's four rays, then the rook's: a queen takes them in this order.
inline constexpr std::array<Step, 8> kRayDirections = {
    {{1, 1}, {1, -1}, {-1, 1}, {-1, -1}, {1, 0}, {-1, 0}, {0, 1}, {0, -1}}};
// Square sets: bit i for the square of index column*8 + row. Row 0 of every column (rank 8),
// shifted by r for row r; multiplying a byte by it copies the byte into every column.
inline constexpr std::uint64_t kRowZero = 0x0101010101010101;

inline constexpr int kFirstBishopRay = 0;
inline constexpr int kFirstRookRay = 4;

constexpr bool OnBoard(int column, int row) {
    return column >= 0 && column < 8 && row >= 0 && row < 8;
}

constexpr std::array<SquareList, 64> StepTargets(const std::array<Step, 8>& steps) {
    std::array<SquareList, 64> table{};
    for (int square = 0; square < 64; ++square) {
        SquareList& list = table[static_cast<std::size_t>(square)];
        for (Step step : steps) {
            const int column = square / 8 + step.column;
            const int row = square % 8 + step.row;
            if (OnBoard(column, row))
                list.squares[list.count++] = static_cast<std::uint8_t>(column * 8 + row);
        }
    }
    return table;
}

// For each square and direction, the squares along the ray from the nearest outwards.
constexpr std::array<std::array<SquareList, 8>, 64> RayTargets() {
    std::array<std::array<SquareList, 8>, 64> table{};
    for (int square = 0; square < 64; ++square) {
        for (std::size_t direction = 0; direction < 8; ++direction) {
            SquareList& list = table[static_cast<std::size_t>(square)][direction];
            const Step step = kRayDirections[direction];
            for (int column = square / 8 + step.column, row = square % 8 + step.row;
                 OnBoard(column, row); column += step.column, row += step.row) {
                list.squares[list.count++] = static_cast<std::uint8_t>(column * 8 + row);
            }
        }
    }
    return table;
}

inline constexpr std::array<SquareList, 64> kKnightTargets = StepTargets(kKnightSteps);
inline constexpr std::array<SquareList, 64> kKingTargets = StepTargets(kKingSteps);
inline constexpr std::array<std::array<SquareList, 8>, 64> kRays = RayTargets();

// The same tables as square sets (bit i for square index i), for questions about all of a
// piece's targets at once, where the step order does not matter.
using SquareSet = std::uint64_t;

constexpr SquareSet SetOf(const SquareList& list) {
    SquareSet set = 0;
    for (std::uint8_t i = 0; i < list.count; ++i) set |= SquareSet{1} << list.squares[i];
    return set;
}

constexpr std::array<SquareSet, 64> SetsOf(const std::array<SquareList, 64>& lists) {
    std::array<SquareSet, 64> sets{};
    for (std::size_t square = 0; square < 64; ++square) sets[square] = SetOf(lists[square]);
    return sets;
}

constexpr std::array<std::array<SquareSet, 8>, 64> RaySets() {
    std::array<std::array<SquareSet, 8>, 64> sets{};
    for (std::size_t square = 0; square < 64; ++square) {
        for (std::size_t direction = 0; direction < 8; ++direction)
            sets[square][direction] = SetOf(kRays[square][direction]);
    }
    return sets;
}

// The diagonal squares ahead of a pawn, one row forward (+1 for Black, -1 for White).
constexpr std::array<SquareSet, 64> PawnCaptureSets(int forward) {
    std::array<SquareSet, 64> sets{};
    for (int square = 0; square < 64; ++square) {
        const int row = square % 8 + forward;
        for (int column = square / 8 - 1; column <= square / 8 + 1; column += 2) {
            if (OnBoard(column, row))
                sets[static_cast<std::size_t>(square)] |= SquareSet{1} << (column * 8 + row);
        }
    }
    return sets;
}

// Whether a ray's squares have rising indices, so that its nearest square is its lowest bit.
constexpr std::array<bool, 8> RaysRising() {
    std::array<bool, 8> rising{};
    for (std::size_t direction = 0; direction < 8; ++direction)
        rising[direction] =
            kRayDirections[direction].column * 8 + kRayDirections[direction].row > 0;
    return rising;
}

// The nearest square of each of the given rays: a slider has a move to an empty square exactly
// when one of these is empty.
constexpr std::array<SquareSet, 64> NeighbourSets(std::size_t firstRay) {
    std::array<SquareSet, 64> sets{};
    for (std::size_t square = 0; square < 64; ++square) {
        for (std::size_t r = firstRay; r < firstRay + 4; ++r) {
            if (kRays[square][r].count > 0)
                sets[square] |= SquareSet{1} << kRays[square][r].squares[0];
        }
    }
    return sets;
}

// Sliders by lines of eight: a line's occupied squares as one byte (bit p for position p), and
// for a slider at position p the positions it reaches along the line, up to and including the
// first occupied one each way.
constexpr std::array<std::array<std::uint8_t, 256>, 8> LineReach() {
    std::array<std::array<std::uint8_t, 256>, 8> table{};
    for (int position = 0; position < 8; ++position) {
        for (int occupied = 0; occupied < 256; ++occupied) {
            int reach = 0;
            for (int step = -1; step <= 1; step += 2) {
                for (int p = position + step; p >= 0 && p < 8; p += step) {
                    reach |= 1 << p;
                    if ((occupied >> p) & 1) break;
                }
            }
            table[static_cast<std::size_t>(position)][static_cast<std::size_t>(occupied)] =
                static_cast<std::uint8_t>(reach);
        }
    }
    return table;
}

// Every square on the diagonal through a square (columnStep 1: column minus row constant;
// columnStep -1: column plus row constant), the square included. A diagonal holds at most one
// square per column and per row, so its row numbers name its squares.
constexpr std::array<SquareSet, 64> DiagonalSets(int columnStep) {
    std::array<SquareSet, 64> sets{};
    for (int square = 0; square < 64; ++square) {
        for (int row = 0; row < 8; ++row) {
            const int column = square / 8 + columnStep * (row - square % 8);
            if (OnBoard(column, row))
                sets[static_cast<std::size_t>(square)] |= SquareSet{1} << (column * 8 + row);
        }
    }
    return sets;
}

// Bit k of a byte to square (column k, row 0).
constexpr std::array<SquareSet, 256> ColumnSpread() {
    std::array<SquareSet, 256> sets{};
    for (std::size_t byte = 0; byte < 256; ++byte) {
        for (int column = 0; column < 8; ++column) {
            if ((byte >> column) & 1) sets[byte] |= SquareSet{1} << (column * 8);
        }
    }
    return sets;
}

inline constexpr std::array<SquareSet, 64> kKnightTargetSets = SetsOf(kKnightTargets);
inline constexpr std::array<SquareSet, 64> kKingTargetSets = SetsOf(kKingTargets);
inline constexpr std::array<std::array<SquareSet, 8>, 64> kRaySets = RaySets();
inline constexpr std::array<SquareSet, 64> kDiagonalNeighbourSets = NeighbourSets(kFirstBishopRay);
inline constexpr std::array<SquareSet, 64> kStraightNeighbourSets = NeighbourSets(kFirstRookRay);
inline constexpr std::array<bool, 8> kRayRising = RaysRising();
inline constexpr std::array<std::array<std::uint8_t, 256>, 8> kLineReach = LineReach();
inline constexpr std::array<SquareSet, 64> kRisingDiagonalSets = DiagonalSets(1);
inline constexpr std::array<SquareSet, 64> kFallingDiagonalSets = DiagonalSets(-1);
inline constexpr std::array<SquareSet, 256> kColumnSpread = ColumnSpread();
inline constexpr std::array<SquareSet, 64> kBlackPawnCaptureSets = PawnCaptureSets(1);
inline constexpr std::array<SquareSet, 64> kWhitePawnCaptureSets = PawnCaptureSets(-1);

}  // namespace kelvane::tables
