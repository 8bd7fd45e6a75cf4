#pragma once
// What the shell reports for a window that shows no plain folder: a parsing name such as
// "::{20D04FE0-3AEA-1069-A2D8-08002B30309D}" (This PC), a "shell:" name, a library, or a search.
// Workbenches store these as reported; the restore needs to know which ones it can ask for again.
#include <string_view>

namespace zarn {

// A place of the shell's namespace named by its parsing name rather than by a file-system path.
bool IsShellNamespaceName(std::string_view path);
// Search results ("search-ms:..."): the shell cannot open them again from their name.
bool IsSearchResults(std::string_view path);

}  // namespace zarn
