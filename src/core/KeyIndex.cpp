#include "core/KeyIndex.h"

namespace zarn {

void KeyIndex::Reset(std::size_t keys) {
  std::size_t size = 16;
  while (size < 2 * keys) size *= 2;
  slots_.assign(size, Slot{});
  used_ = 0;
}

// Room for one more key, keeping the table at most three quarters full.
void KeyIndex::Reserve() {
  if (slots_.empty()) Reset(0);
  if (4 * (used_ + 1) <= 3 * slots_.size()) return;
  std::vector<Slot> old(slots_.size() * 2);
  old.swap(slots_);
  const std::size_t mask = slots_.size() - 1;
  for (const Slot& slot : old) {
    if (slot.line == kNone) continue;
    std::size_t i = slot.hash & mask;
    while (slots_[i].line != kNone) i = (i + 1) & mask;
    slots_[i] = slot;
  }
}

// Frees a slot and moves later entries of its probe run back, so that no lookup stops early.
void KeyIndex::Free(std::size_t at) {
  const std::size_t mask = slots_.size() - 1;
  std::size_t hole = at;
  for (std::size_t next = (hole + 1) & mask; slots_[next].line != kNone; next = (next + 1) & mask) {
    const std::size_t home = slots_[next].hash & mask;
    // The entry may fill the hole unless its home lies cyclically in (hole, next].
    const bool homeAfterHole = hole <= next ? (home > hole && home <= next) : (home > hole || home <= next);
    if (!homeAfterHole) {
      slots_[hole] = slots_[next];
      hole = next;
    }
  }
  slots_[hole] = Slot{};
  --used_;
}

}  // namespace zarn
