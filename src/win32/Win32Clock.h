#pragma once
// Time for the program's bounded waits. The waits run on the user-interface thread, which must keep
// answering meanwhile (a single-threaded COM apartment must anyway): Sleep dispatches the thread's
// messages while it waits.
#include <windows.h>

#include <functional>

#include "core/ports/Clock.h"

namespace zarn::win32 {

class Win32Clock final : public Clock {
 public:
  // GetTickCount64: monotonic and, unlike GetTickCount, without the wrap after 49.7 days.
  std::chrono::milliseconds Now() override;
  // Dispatches the thread's messages until the time is up. Negative durations do not wait; durations
  // beyond what the system's waits take are cut short of INFINITE. A WM_QUIT met on the way is posted
  // again for the message loop, and from then on waits no longer dispatch (QuitSeen).
  void Sleep(std::chrono::milliseconds duration) override;
  // Woken by EVENT_OBJECT_SHOW for a top-level window of any program (an out-of-context hook, set at
  // the first call and kept). Wine 8 sends no such events; there the sleep runs its full length.
  void SleepUntilWindowShown(std::chrono::milliseconds longest) override;
  ~Win32Clock() override;

  // Sees each message before it is dispatched during a wait; true when it handled it.
  void SetMessageFilter(std::function<bool(const MSG&)> filter) { filter_ = std::move(filter); }
  bool QuitSeen() const { return quitSeen_; }

 private:
  // Dispatches messages until `end`, or until `*done` turns true.
  void Pump(std::chrono::milliseconds end, const bool* done);

  std::function<bool(const MSG&)> filter_;
  bool quitSeen_ = false;
  HWINEVENTHOOK showHook_ = nullptr;
};

}  // namespace zarn::win32
