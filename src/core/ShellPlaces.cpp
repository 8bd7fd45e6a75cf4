#include "core/ShellPlaces.h"

#include "core/AnsiText.h"

namespace zarn {
namespace {

// Code page 932 never has a trail byte at the start of a path or right after a '.', so these ASCII
// comparisons cannot match the second half of a double-byte character.
bool StartsWithNoCase(std::string_view text, std::string_view prefix) {
  return text.size() >= prefix.size() && EqualsIgnoreCase(text.substr(0, prefix.size()), prefix);
}

bool EndsWithNoCase(std::string_view text, std::string_view suffix) {
  return text.size() >= suffix.size() && EqualsIgnoreCase(text.substr(text.size() - suffix.size()), suffix);
}

}  // namespace

bool IsShellNamespaceName(std::string_view path) {
  const std::string_view name = WithoutTrailingSeparators(path);
  return StartsWithNoCase(name, "::") || StartsWithNoCase(name, "shell:") || EndsWithNoCase(name, ".library-ms") ||
         IsSearchResults(name);
}

bool IsSearchResults(std::string_view path) { return StartsWithNoCase(path, "search-ms:"); }

}  // namespace zarn
