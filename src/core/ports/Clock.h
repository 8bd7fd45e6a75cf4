#pragma once
// Time for the bounded waits, behind the seam so tests never really wait.
#include <chrono>

namespace zarn {

class Clock {
 public:
  virtual ~Clock() = default;
  // A monotonic time; only differences mean anything.
  virtual std::chrono::milliseconds Now() = 0;
  virtual void Sleep(std::chrono::milliseconds duration) = 0;
  // Sleep, but over as soon as a window is shown on the desktop, where the system tells of that.
  virtual void SleepUntilWindowShown(std::chrono::milliseconds longest) = 0;
};

}  // namespace zarn
