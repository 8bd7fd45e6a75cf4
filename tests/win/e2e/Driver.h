#pragma once
// The end-to-end driver's tools: start programs on the test desktop, wait for what they do within a
// bound, read windows back.
#include <windows.h>

#include <chrono>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace zarn::e2e {

using namespace std::chrono_literals;
using Milliseconds = std::chrono::milliseconds;

// Polls until the condition holds or the bound passes; true when it held. A short sleep between
// polls leaves the other programs the processor (the machine has two cores).
bool WaitUntil(const std::function<bool()>& condition, Milliseconds bound, Milliseconds poll = 20ms);

// How long an operation took, for bounds that a test asserts.
class Stopwatch {
 public:
  Stopwatch() : start_(std::chrono::steady_clock::now()) {}
  Milliseconds Elapsed() const {
    return std::chrono::duration_cast<Milliseconds>(std::chrono::steady_clock::now() - start_);
  }

 private:
  std::chrono::steady_clock::time_point start_;
};

// A program this driver started. Ending the object ends the program if it still runs, so a failed
// test leaves nothing behind on the shared desktop.
class Process {
 public:
  Process() = default;
  // `startupShow`: the show command a shortcut's "Run" setting would put in STARTUPINFO.
  Process(const std::filesystem::path& exe, const std::vector<std::wstring>& arguments,
          const std::filesystem::path& workingDirectory = {}, std::optional<WORD> startupShow = std::nullopt);
  Process(Process&& other) noexcept;
  Process& operator=(Process&& other) noexcept;
  Process(const Process&) = delete;
  Process& operator=(const Process&) = delete;
  ~Process();

  DWORD Id() const { return id_; }
  bool Running() const;
  // The exit code once it ended within the bound.
  std::optional<DWORD> WaitForExit(Milliseconds bound) const;
  void Kill();

 private:
  HANDLE process_ = nullptr;
  DWORD id_ = 0;
};

std::wstring QuoteArgument(std::wstring_view argument);

// The folder holding this driver; the real program and the stand-in programs are built beside it.
std::filesystem::path ProgramFolder();

std::string ReadFileBytes(const std::filesystem::path& file);
// For polling a file the program may be replacing at that moment: nullopt while it cannot be read.
std::optional<std::string> TryReadFileBytes(const std::filesystem::path& file);
void WriteFileBytes(const std::filesystem::path& file, std::string_view bytes);
std::vector<std::string> SplitLines(std::string_view text);
std::vector<std::string> SplitTabs(std::string_view line);

std::string Utf8(std::wstring_view text);
std::wstring Wide(std::string_view utf8);

struct WindowState {
  RECT rect{};
  bool exists = false;
  bool visible = false;
  bool iconic = false;
  bool zoomed = false;
};
WindowState ReadWindow(HWND window);

// Top-level windows of a class, in the system's z-order.
std::vector<HWND> FindWindowsOfClass(const wchar_t* className);

// A screenshot of the whole desktop as a 24-bit BMP; false when it could not be taken.
bool SaveScreenshot(const std::filesystem::path& file);

}  // namespace zarn::e2e
