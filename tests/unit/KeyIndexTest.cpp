#include "core/KeyIndex.h"

#include <gtest/gtest.h>

#include <map>
#include <random>
#include <string>
#include <vector>

#include "core/AnsiText.h"

namespace zarn {
namespace {

// The index against a plain map over a long random run of puts and removals. A small key space makes
// the keys collide and share probe runs, and removals then shift entries back across the run's end
// and across the table's wrap: a lookup that stops early shows as a key the map has and the index
// lost.
TEST(KeyIndexTest, AgreesWithAMapThroughPutsRemovalsAndGrowth) {
  std::vector<std::string> keys;  // the "lines": a line's key is keys[line]
  const auto keyOf = [&keys](std::size_t line) { return std::string_view(keys[line]); };
  KeyIndex index;
  std::map<std::string, std::vector<std::size_t>> model;  // folded key -> its live lines, oldest first
  std::mt19937 random(12345);
  const char* const forms[] = {"Key", "KEY", "key", "kEy"};
  for (int step = 0; step < 20000; ++step) {
    const std::string name = "n" + std::to_string(random() % 300);
    const std::string key = name + forms[random() % 4];  // case differs, the key does not
    std::vector<std::size_t>& lines = model[FoldCase(key)];
    if (random() % 3 != 0 || lines.empty()) {
      keys.push_back(key);
      const std::size_t previous = index.Put(key, keys.size() - 1, keyOf);
      EXPECT_EQ(previous, lines.empty() ? KeyIndex::kNone : lines.back()) << key;
      lines.push_back(keys.size() - 1);
    } else {
      lines.pop_back();
      index.Replace(key, lines.empty() ? KeyIndex::kNone : lines.back(), keyOf);
    }
    if (step % 97 == 0) {
      for (const auto& [folded, live] : model) {
        ASSERT_EQ(index.Find(folded, keyOf), live.empty() ? KeyIndex::kNone : live.back()) << folded << " at " << step;
      }
    }
  }
}

TEST(KeyIndexTest, EmptyAndResetIndexesFindNothing) {
  const std::vector<std::string> keys{"a"};
  const auto keyOf = [&keys](std::size_t line) { return std::string_view(keys[line]); };
  KeyIndex index;
  EXPECT_EQ(index.Find("a", keyOf), KeyIndex::kNone);
  index.Replace("a", KeyIndex::kNone, keyOf);  // nothing there: no effect, no fault
  EXPECT_EQ(index.Put("A", 0, keyOf), KeyIndex::kNone);
  EXPECT_EQ(index.Find("a", keyOf), 0u);
  index.Reset(1000);
  EXPECT_EQ(index.Find("a", keyOf), KeyIndex::kNone);
}

}  // namespace
}  // namespace zarn
