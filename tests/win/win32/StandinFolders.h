#pragma once
// Folder windows of the test bed's stand-in shell, opened and closed for the automation client's
// tests. Only what the stand-in documents is relied on: its registration under the shell's CLSID,
// the program zarn_standin_folder.exe beside this test, its window class and its path control.
#include <windows.h>

#include <string>
#include <vector>

namespace zarn::win32::test {

// Set by `--require-standin`: without the stand-in the client's tests then fail instead of being
// skipped (CTest's prefix always registers it; a bare prefix by hand does not).
extern bool g_requireStandin;

// Whether "Shell.Application" is the stand-in in this prefix.
bool StandinRegistered();

// The open stand-in windows showing `path` (compared case-insensitively), and the first of them
// or nullptr.
std::vector<HWND> FindStandinWindows(const std::wstring& path);
HWND FindStandinWindow(const std::wstring& path);

// One stand-in folder window, opened by starting the folder program with `switches` and closed with
// the object; hwnd() is nullptr when no new window of that path appeared in time. The window lives on the stand-in's
// host thread in this process once the client has created "Shell.Application" here.
class StandinFolderWindow {
 public:
  StandinFolderWindow(const std::wstring& path, const std::wstring& switches = L"");
  ~StandinFolderWindow();
  StandinFolderWindow(const StandinFolderWindow&) = delete;
  StandinFolderWindow& operator=(const StandinFolderWindow&) = delete;

  HWND hwnd() const { return hwnd_; }
  // Closes the window now and waits (bounded) until it is gone.
  bool Close();

 private:
  HWND hwnd_ = nullptr;
};

}  // namespace zarn::win32::test
