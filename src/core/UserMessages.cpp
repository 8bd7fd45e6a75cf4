#include "core/UserMessages.h"

#include "core/UiText.h"

namespace zarn {
namespace {

// A list of hundreds of folders would make a dialog taller than the screen, with its button off it.
constexpr std::size_t kMaxListedFolders = 20;

std::u16string Decimal(std::size_t n) {
  std::u16string digits;
  do {
    digits.insert(digits.begin(), static_cast<char16_t>(u'0' + n % 10));
    n /= 10;
  } while (n != 0);
  return digits;
}

std::u16string FolderList(std::u16string_view heading, const std::vector<std::u16string>& folders) {
  if (folders.empty()) return {};
  std::u16string text(heading);
  text += u"\r\n";
  for (std::size_t i = 0; i < folders.size() && i < kMaxListedFolders; ++i) {
    text += u"\r\n";
    text += folders[i].empty() ? std::u16string(text::kFolderWithoutName) : folders[i];
  }
  if (folders.size() > kMaxListedFolders) {
    text += u"\r\n";
    text += text::kMoreFoldersBefore;
    text += Decimal(folders.size() - kMaxListedFolders);
    text += text::kMoreFoldersAfter;
  }
  return text;
}

}  // namespace

std::u16string GenericErrorText(std::u16string_view message) {
  std::u16string text(message);
  if (!text.empty() && text.back() > u'.') text += u'.';
  return text;
}

std::u16string NotRestoredSummary(const std::vector<std::u16string>& folders) {
  return FolderList(text::kNotRestoredHeading, folders);
}

std::u16string RestoreProgressText(std::size_t number, std::size_t count) {
  return text::kRestoringBefore + Decimal(number) + u"/" + Decimal(count) + text::kRestoringAfter;
}

std::u16string RestoreSummary(const std::vector<std::u16string>& notRestored,
                              const std::vector<std::u16string>& tabsAsWindows) {
  std::u16string text = NotRestoredSummary(notRestored);
  const std::u16string tabs = FolderList(text::kTabsAsWindowsHeading, tabsAsWindows);
  if (!text.empty() && !tabs.empty()) text += u"\r\n\r\n";
  return text + tabs;
}

std::u16string LeftOutSummary(const std::vector<std::u16string>& folders) {
  return FolderList(text::kLeftOutHeading, folders);
}

}  // namespace zarn
