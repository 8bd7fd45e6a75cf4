#pragma once
// Between HWND and the core's 64-bit WindowHandle, which keeps the pointer's bits unchanged.
#include <windows.h>

#include <cstdint>

#include "core/Geometry.h"

namespace zarn::win32 {

inline HWND ToHwnd(WindowHandle window) { return reinterpret_cast<HWND>(static_cast<std::uintptr_t>(window)); }
inline WindowHandle FromHwnd(HWND window) {
  return static_cast<WindowHandle>(reinterpret_cast<std::uintptr_t>(window));
}

}  // namespace zarn::win32
