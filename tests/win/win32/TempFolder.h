#pragma once
// A folder of the test's own under the temporary directory, removed with everything in it.
#include <windows.h>

#include <string>

namespace zarn::win32::test {

class TempFolder {
 public:
  // `name` is the last path component; it may hold characters code page 932 lacks.
  explicit TempFolder(const std::wstring& name);
  ~TempFolder();
  TempFolder(const TempFolder&) = delete;
  TempFolder& operator=(const TempFolder&) = delete;

  const std::wstring& path() const { return path_; }
  bool created() const { return created_; }

 private:
  std::wstring path_;
  bool created_ = false;
};

// A path under the temporary directory that does not exist.
std::wstring MissingFolderPath();

}  // namespace zarn::win32::test
