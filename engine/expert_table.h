// SPDX-License-Identifier: GPL-3.0-or-later
// The transposition table: what earlier searches learned of a position, by its Zobrist key.
// Allocated once at the size asked for; probing and storing allocate nothing.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>

#include "engine/expert_position.h"

namespace kelvane::expert {

enum class Bound : std::uint8_t { None = 0, Upper = 1, Lower = 2, Exact = 3 };

struct TableEntry {
    std::uint32_t check = 0;  // the key's high half, to tell positions of one slot apart
    Move move = kNoMove;
    std::int16_t score = 0;
    std::int8_t depth = 0;
    Bound bound = Bound::None;
    std::uint8_t generation = 0;
    std::uint8_t unused = 0;
};
static_assert(sizeof(TableEntry) == 12);

class TranspositionTable {
  public:
    // megabytes 0: no table at all; every probe misses.
    void Resize(std::size_t megabytes);
    void Clear();
    void NextGeneration() { ++generation_; }

    // The entry for key, or nullptr.
    const TableEntry* Probe(std::uint64_t key) const;
    void Store(std::uint64_t key, Move move, int score, int depth, Bound bound);
    // Starts bringing key's slot into the cache, so that a probe soon after does not wait.
    void Prefetch(std::uint64_t key) const {
        if (slots_) __builtin_prefetch(&slots_[key & mask_]);
    }

  private:
    static constexpr std::size_t kWays = 2;
    struct Slot {
        TableEntry entries[kWays];
    };
    Slot& SlotOf(std::uint64_t key) const { return slots_[key & mask_]; }

    std::unique_ptr<Slot[]> slots_;
    std::size_t mask_ = 0;
    std::uint8_t generation_ = 0;
};

}  // namespace kelvane::expert
