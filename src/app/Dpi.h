#pragma once
// Geometry is designed in 96-DPI pixels and shown at the monitor's DPI.
#include <windows.h>

namespace zarn::app {

inline int ScaleForDpi(int pixels, UINT dpi) {
  return ::MulDiv(pixels, static_cast<int>(dpi), USER_DEFAULT_SCREEN_DPI);
}

inline int UnscaleForDpi(int pixels, UINT dpi) {
  return ::MulDiv(pixels, USER_DEFAULT_SCREEN_DPI, static_cast<int>(dpi));
}

}  // namespace zarn::app
