#pragma once
// The last line of each key in a profile section: open addressing with linear probing. The keys stay
// where the caller keeps them (a line number is stored, and `keyOf(line)` gives its key back), so a
// section of 50,000 keys costs no allocation per key. Keys are compared ignoring case.
#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

#include "core/AnsiText.h"

namespace zarn {

class KeyIndex {
 public:
  static constexpr std::size_t kNone = static_cast<std::size_t>(-1);

  // Empty, with room for `keys` keys before the first growth.
  void Reset(std::size_t keys);

  // The line stored for key, or kNone.
  template <class KeyOf>
  std::size_t Find(std::string_view key, const KeyOf& keyOf) const {
    if (slots_.empty()) return kNone;
    return slots_[SlotOf(key, HashIgnoringCase(key), keyOf)].line;
  }

  // Makes `line` the one found for key; answers the line found before, or kNone.
  template <class KeyOf>
  std::size_t Put(std::string_view key, std::size_t line, const KeyOf& keyOf) {
    Reserve();
    const std::uint64_t hash = HashIgnoringCase(key);
    Slot& slot = slots_[SlotOf(key, hash, keyOf)];
    const std::size_t previous = slot.line;
    if (previous == kNone) {
      slot.hash = hash;
      ++used_;
    }
    slot.line = line;
    return previous;
  }

  // Makes `line` the one found for a key already present, or forgets the key when `line` is kNone.
  template <class KeyOf>
  void Replace(std::string_view key, std::size_t line, const KeyOf& keyOf) {
    if (slots_.empty()) return;
    const std::size_t at = SlotOf(key, HashIgnoringCase(key), keyOf);
    if (slots_[at].line == kNone) return;
    if (line == kNone) {
      Free(at);
    } else {
      slots_[at].line = line;
    }
  }

 private:
  struct Slot {
    std::uint64_t hash = 0;
    std::size_t line = kNone;  // kNone: free
  };

  // The slot holding key, or the free slot where it would go. The table is never full.
  template <class KeyOf>
  std::size_t SlotOf(std::string_view key, std::uint64_t hash, const KeyOf& keyOf) const {
    const std::size_t mask = slots_.size() - 1;
    for (std::size_t i = hash & mask;; i = (i + 1) & mask) {
      const Slot& slot = slots_[i];
      if (slot.line == kNone) return i;
      if (slot.hash == hash && EqualsIgnoreCase(keyOf(slot.line), key)) return i;
    }
  }

  void Reserve();
  void Free(std::size_t at);

  std::vector<Slot> slots_;  // a power of two in size, or empty
  std::size_t used_ = 0;
};

}  // namespace zarn
