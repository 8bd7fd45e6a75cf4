#pragma once
// The driver's side of the test host: starts a private copy of it and sends it commands.
#include <windows.h>

#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "Driver.h"

namespace zarn::e2e {

struct HostResult {
  std::string status;               // "ok", "ok confirmed", "declined" or "error: ..."
  std::vector<std::string> paths;   // UTF-8, one per folder the command names
};

// One line of the host's snapshot dump.
struct SnapshotRecord {
  HWND handle = nullptr;
  std::string path;  // UTF-8
  bool representable = true;
  RECT windowRect{};
  int showCmd = 0;
  POINT minPosition{};
  POINT maxPosition{};
  RECT normalPosition{};
};

class TestHostClient {
 public:
  // Copies the host into `folder` (which then also holds its profiles) and starts it there; throws
  // when its window does not appear within a few seconds.
  explicit TestHostClient(const std::filesystem::path& folder);
  ~TestHostClient();
  TestHostClient(const TestHostClient&) = delete;
  TestHostClient& operator=(const TestHostClient&) = delete;

  HWND Window() const { return window_; }
  DWORD ProcessId() const { return process_.Id(); }
  std::filesystem::path SettingsFile() const { return WithExtension(L".ini"); }
  std::filesystem::path WorkBenchFile() const { return WithExtension(L".wbf"); }

  // Runs one command and returns what the host wrote about it. A command that does not come back
  // within the bound gives the status "timeout".
  HostResult Command(std::uint16_t id, Milliseconds bound = 20s);
  HostResult Save(std::wstring_view name, Milliseconds bound = 20s);
  HostResult Restore(std::wstring_view name, Milliseconds bound = 60s);
  // The host's snapshot, with placements as its own process reads them.
  std::vector<SnapshotRecord> Dump();

  // Asks the host to end, then makes sure it has.
  void Close();

 private:
  std::filesystem::path WithExtension(const wchar_t* extension) const;
  HostResult Send(UINT message, WPARAM wParam, LPARAM lParam, Milliseconds bound);
  HostResult ReadResult() const;

  std::filesystem::path exe_;
  Process process_;
  HWND window_ = nullptr;
};

}  // namespace zarn::e2e
