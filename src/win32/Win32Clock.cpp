#include "win32/Win32Clock.h"

#include <windows.h>

namespace zarn::win32 {

std::chrono::milliseconds Win32Clock::Now() {
  return std::chrono::milliseconds(static_cast<std::chrono::milliseconds::rep>(::GetTickCount64()));
}

void Win32Clock::Sleep(std::chrono::milliseconds duration) {
  const auto count = duration.count();
  if (count <= 0) return;
  // INFINITE (0xFFFFFFFF) would never wake up.
  constexpr auto kLongest = static_cast<std::chrono::milliseconds::rep>(INFINITE - 1);
  ::Sleep(static_cast<DWORD>(count < kLongest ? count : kLongest));
}

}  // namespace zarn::win32
