#pragma once
// Texts the program shows that are made from other texts: the generic error display's message and
// the summaries after a save or a restore.
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace zarn {

// The failure's message, with a "." added when its last character sorts above ".".
std::u16string GenericErrorText(std::u16string_view message);

// One line per folder, after a sentence saying what happened to them; empty when there is none,
// which means no dialog at all.
std::u16string NotRestoredSummary(const std::vector<std::u16string>& folders);
// While a restore runs: which folder of how many is being opened.
std::u16string RestoreProgressText(std::size_t number, std::size_t count);
// After a restore: the folders not restored, then the tabs that came back as windows of their own.
std::u16string RestoreSummary(const std::vector<std::u16string>& notRestored,
                              const std::vector<std::u16string>& tabsAsWindows);
std::u16string LeftOutSummary(const std::vector<std::u16string>& folders);

}  // namespace zarn
