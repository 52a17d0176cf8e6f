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

}  // namespace kelvane::tables
