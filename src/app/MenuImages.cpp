#include "app/MenuImages.h"

#include <cstdint>

#include "resource.h"

namespace zarn::app {
namespace {

// A menu draws its item bitmaps with per-pixel alpha only when they are 32-bit DIB sections with
// premultiplied colours; an icon's own colour bitmap is straight alpha.
HBITMAP BitmapFromIcon(HICON icon, int size) {
  ICONINFO info{};
  if (!::GetIconInfo(icon, &info)) return nullptr;
  BITMAPINFO format{};
  format.bmiHeader.biSize = sizeof format.bmiHeader;
  format.bmiHeader.biWidth = size;
  format.bmiHeader.biHeight = -size;  // top-down
  format.bmiHeader.biPlanes = 1;
  format.bmiHeader.biBitCount = 32;
  format.bmiHeader.biCompression = BI_RGB;
  void* bits = nullptr;
  HDC screen = ::GetDC(nullptr);
  HBITMAP bitmap = ::CreateDIBSection(screen, &format, DIB_RGB_COLORS, &bits, nullptr, 0);
  bool ok = bitmap != nullptr && info.hbmColor != nullptr &&
            ::GetDIBits(screen, info.hbmColor, 0, static_cast<UINT>(size), bits, &format, DIB_RGB_COLORS) == size;
  ::ReleaseDC(nullptr, screen);
  if (info.hbmColor != nullptr) ::DeleteObject(info.hbmColor);
  if (info.hbmMask != nullptr) ::DeleteObject(info.hbmMask);
  if (!ok) {
    if (bitmap != nullptr) ::DeleteObject(bitmap);
    return nullptr;
  }
  auto* pixel = static_cast<std::uint8_t*>(bits);
  for (int i = 0; i < size * size; ++i, pixel += 4) {
    const unsigned alpha = pixel[3];
    for (int c = 0; c < 3; ++c) pixel[c] = static_cast<std::uint8_t>(pixel[c] * alpha / 255);
  }
  return bitmap;
}

}  // namespace

void MenuImages::Clear() {
  for (HBITMAP bitmap : bitmaps_) {
    if (bitmap != nullptr) ::DeleteObject(bitmap);
  }
  bitmaps_.clear();
}

void MenuImages::Make(int size) {
  Clear();
  for (int i = 0; i < ZARN_IMAGELIST_COUNT; ++i) {
    HICON icon = static_cast<HICON>(::LoadImageW(::GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDI_IMAGELIST_FIRST + i),
                                                 IMAGE_ICON, size, size, LR_DEFAULTCOLOR));
    bitmaps_.push_back(icon != nullptr ? BitmapFromIcon(icon, size) : nullptr);
    if (icon != nullptr) ::DestroyIcon(icon);
  }
}

HBITMAP MenuImages::Get(int index) const {
  return index >= 0 && static_cast<std::size_t>(index) < bitmaps_.size() ? bitmaps_[static_cast<std::size_t>(index)]
                                                                          : nullptr;
}

}  // namespace zarn::app
