#pragma once
// The shell's automation object as the snapshot walks it, and the "explore" verb.
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "core/Geometry.h"

namespace zarn {

// A folder path as the shell reports it. `ansi` is what goes into the workbench file: the code page
// 932 form of the path, or of its short (8.3) form when the long one has characters 932 lacks.
// When neither converts cleanly `representable` is false and `ansi` must not be stored.
struct ShellFolderPath {
  std::string ansi;
  std::u16string wide;
  bool representable = true;
};

// One item of the shell's window collection. Each call is one automation call and throws zarn::Error
// when it fails (a window that closes while it is being read, for example).
class ShellWindow {
 public:
  virtual ~ShellWindow() = default;
  // Whether item.Document supports IShellFolderViewDual.
  virtual bool IsFolderView() = 0;
  // item.hWnd
  virtual WindowHandle Handle() = 0;
  // item.Document.Folder.Self.Path
  virtual ShellFolderPath FolderPath() = 0;
};

// One automation object, created for one snapshot and released with it, or held by a restore to count
// the collection, which stays live, between its snapshots.
class ShellWindows {
 public:
  virtual ~ShellWindows() = default;
  // Windows.Count
  virtual std::int32_t Count() = 0;
  // Windows.Item(index) of the live collection; nullptr for an empty item (an index past the end, or a
  // window that closed meanwhile).
  virtual std::unique_ptr<ShellWindow> Item(std::int32_t index) = 0;
};

// A request to open a folder, which the shell may take a long time to answer (tens of seconds for a
// folder on a share that does not answer).
class ExploreRequest {
 public:
  virtual ~ExploreRequest() = default;
  // Nothing yet while the shell is still at it; then whether it accepted the request. Never waits.
  virtual std::optional<bool> Answer() = 0;
};

class Shell {
 public:
  virtual ~Shell() = default;
  // Creates "Shell.Application"; throws zarn::Error with the system's message when that fails.
  virtual std::unique_ptr<ShellWindows> OpenWindows() = 0;
  // Starts ShellExecuteEx with the verb "explore" on a code page 932 path, without any UI of its own (a
  // missing folder must not block on a message box), and returns at once. A place of the shell's
  // namespace (a parsing name, a library, a folder inside an archive) is opened by its item. Accepted,
  // the window comes later, or not at all; it may also come before the answer.
  virtual std::unique_ptr<ExploreRequest> Explore(std::string_view ansiPath) = 0;
  // The code page 932 path with every short (8.3) name in it expanded, so that a folder stored in
  // one form is known again when the shell reports it in the other. The path as given when the
  // file system cannot tell (a folder that is gone, a place of the shell's namespace rather than a
  // folder) or when code page 932 cannot hold the long form.
  virtual std::string LongPathForm(std::string_view ansiPath) = 0;
};

}  // namespace zarn
