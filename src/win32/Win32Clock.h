#pragma once
#include "core/ports/Clock.h"

namespace zarn::win32 {

class Win32Clock final : public Clock {
 public:
  // GetTickCount64: monotonic and, unlike GetTickCount, without the wrap after 49.7 days.
  std::chrono::milliseconds Now() override;
  // Negative durations do not sleep; durations beyond what Sleep takes are cut short of INFINITE.
  void Sleep(std::chrono::milliseconds duration) override;
};

}  // namespace zarn::win32
