#pragma once
// The shell's folder windows through its automation object "Shell.Application", reached by late
// binding, and the "explore" verb through ShellExecuteExW. COM must be initialised on the calling
// thread (see ComApartment).
#include <string>
#include <string_view>

#include "core/ports/Shell.h"

namespace zarn::win32 {

// A folder path as the shell spells it, with the form a workbench may store: the code page 932
// bytes of the path; when those would be lossy, of its short (8.3) form; otherwise none.
ShellFolderPath FolderPathFromWide(std::wstring_view path);

// A UNC path, or one on a mapped network drive: such paths are compared as text, since asking the
// file system about them can wait on the network.
bool IsNetworkPath(std::wstring_view path);

class Win32Shell final : public Shell {
 public:
  std::unique_ptr<ShellWindows> OpenWindows() override;
  // Refused at once, without calling the shell, for an empty path or bytes that are not code page 932:
  // the shell would open some other folder for them. Otherwise asked on a thread of its own.
  std::unique_ptr<ExploreRequest> Explore(std::string_view ansiPath) override;
  // GetLongPathNameW on the path's exact UTF-16 form; a network path as it stands.
  std::string LongPathForm(std::string_view ansiPath) override;
};

}  // namespace zarn::win32
