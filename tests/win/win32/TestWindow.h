#pragma once
// Real top-level windows owned by the test, and a few waits with a bound.
#include <windows.h>

#include <chrono>
#include <functional>

#include "core/Geometry.h"

namespace zarn::win32::test {

// An ordinary overlapped window (caption, sizing frame) on the calling thread, destroyed with the
// object. Visible unless asked otherwise, because minimizing and maximizing act on shown windows.
class TestWindow {
 public:
  explicit TestWindow(RECT rect = {100, 100, 500, 400}, DWORD exStyle = 0, bool visible = true);
  ~TestWindow();
  TestWindow(const TestWindow&) = delete;
  TestWindow& operator=(const TestWindow&) = delete;

  HWND hwnd() const { return hwnd_; }
  WindowHandle handle() const;

 private:
  HWND hwnd_ = nullptr;
};

// Dispatches this thread's pending messages.
void PumpMessages();

// Polls `done` (pumping messages) until it holds or `limit` passes; the last answer of `done`.
bool WaitUntil(const std::function<bool()>& done, std::chrono::milliseconds limit = std::chrono::seconds(5));

// A handle that was a window of this process and is no longer one.
WindowHandle DestroyedWindowHandle();

}  // namespace zarn::win32::test
