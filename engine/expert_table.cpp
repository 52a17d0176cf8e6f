// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/expert_table.h"

#include <algorithm>
#include <bit>

namespace kelvane::expert {

namespace {
constexpr std::uint32_t CheckOf(std::uint64_t key) {
    return static_cast<std::uint32_t>(key >> 32);
}
}  // namespace

void TranspositionTable::Resize(std::size_t megabytes) {
    generation_ = 0;
    if (megabytes == 0) {
        slots_.reset();
        mask_ = 0;
        return;
    }
    const std::size_t bytes = megabytes * 1024 * 1024;
    // A power of two slots, so that a key's low bits pick one.
    const std::size_t slots = std::bit_floor(std::max<std::size_t>(1, bytes / sizeof(Slot)));
    slots_ = std::make_unique<Slot[]>(slots);
    mask_ = slots - 1;
}

void TranspositionTable::Clear() {
    if (!slots_) return;
    for (std::size_t i = 0; i <= mask_; ++i) slots_[i] = Slot{};
    generation_ = 0;
}

const TableEntry* TranspositionTable::Probe(std::uint64_t key) const {
    if (!slots_) return nullptr;
    const Slot& slot = SlotOf(key);
    for (const TableEntry& entry : slot.entries) {
        if (entry.bound != Bound::None && entry.check == CheckOf(key)) return &entry;
    }
    return nullptr;
}

void TranspositionTable::Store(std::uint64_t key, Move move, int score, int depth, Bound bound) {
    if (!slots_) return;
    Slot& slot = SlotOf(key);
    // The same position's entry if there is one; else the one of least worth, an older
    // search's or the shallower.
    TableEntry* target = &slot.entries[0];
    int worst = 1 << 30;
    for (TableEntry& entry : slot.entries) {
        if (entry.check == CheckOf(key) && entry.bound != Bound::None) {
            target = &entry;
            break;
        }
        const int age = static_cast<std::uint8_t>(generation_ - entry.generation);
        const int worth = entry.bound == Bound::None ? -1000 : entry.depth - 8 * age;
        if (worth < worst) {
            worst = worth;
            target = &entry;
        }
    }
    // A shallower result for the same position keeps the deeper one's move if it has none.
    if (move == kNoMove && target->check == CheckOf(key)) move = target->move;
    target->check = CheckOf(key);
    target->move = move;
    target->score = static_cast<std::int16_t>(score);
    target->depth = static_cast<std::int8_t>(depth);
    target->bound = bound;
    target->generation = generation_;
}

}  // namespace kelvane::expert
