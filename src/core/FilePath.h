#pragma once
// A file's name as the system spells it: UTF-16 on Windows, bytes elsewhere. The profiles are named
// with these rather than std::filesystem::path, whose library code (with the locale and stream
// machinery it brings) would make up most of the Windows program's size. A std::filesystem::path
// converts to one implicitly.
#include <string>

namespace zarn {

#ifdef _WIN32
using FilePath = std::wstring;
#else
using FilePath = std::string;
#endif

}  // namespace zarn
