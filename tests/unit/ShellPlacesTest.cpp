#include "core/ShellPlaces.h"

#include <gtest/gtest.h>

#include <string>

namespace zarn {
namespace {

TEST(ShellPlaces, ParsingNamesLibrariesAndSearchesAreToldFromFolders) {
  struct Case {
    std::string path;
    bool namespaceName;
    bool search;
  };
  for (const Case& c : {
           Case{"::{20D04FE0-3AEA-1069-A2D8-08002B30309D}", true, false},
           Case{"::{26EE0668-A00A-44D7-9371-BEB064C98683}\\0", true, false},
           Case{"SHELL:Personal", true, false},
           Case{"C:\\Users\\u\\AppData\\Roaming\\Microsoft\\Windows\\Libraries\\Documents.Library-MS", true, false},
           Case{"C:\\Libraries\\Documents.library-ms\\", true, false},
           Case{"Search-MS:displayname=x", true, true},
           Case{"C:\\A", false, false},
           Case{"C:\\a.zip\\sub", false, false},
           Case{"\\\\server\\share", false, false},
           Case{"C:\\::{x}", false, false},
           Case{"C:\\library-ms", false, false},
           // "\x95\x5C" is one Japanese character whose second byte is the separator's.
           Case{"C:\\\x95\x5C", false, false},
           Case{"", false, false},
       }) {
    EXPECT_EQ(IsShellNamespaceName(c.path), c.namespaceName) << c.path;
    EXPECT_EQ(IsSearchResults(c.path), c.search) << c.path;
  }
}

}  // namespace
}  // namespace zarn
