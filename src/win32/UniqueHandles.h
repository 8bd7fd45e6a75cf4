#pragma once
// Win32 handles that free themselves when their holder goes, so no destructor has to list them.
#include <windows.h>
#include <commctrl.h>

#include <utility>

namespace zarn::win32 {

template <typename Handle, auto Free>
class UniqueHandle {
 public:
  UniqueHandle() = default;
  explicit UniqueHandle(Handle handle) : handle_(handle) {}
  ~UniqueHandle() { Reset(); }
  // Noexcept, so a vector of them moves its elements when it grows instead of refusing to.
  UniqueHandle(UniqueHandle&& other) noexcept : handle_(other.Release()) {}
  UniqueHandle& operator=(UniqueHandle&& other) noexcept {
    if (this != &other) Reset(other.Release());
    return *this;
  }
  UniqueHandle(const UniqueHandle&) = delete;
  UniqueHandle& operator=(const UniqueHandle&) = delete;

  Handle Get() const { return handle_; }
  explicit operator bool() const { return handle_ != nullptr; }
  // The holder already shows the new handle while the old one is freed: freeing a window sends
  // messages, and whatever reads the holder meanwhile must not find a handle on its way out.
  void Reset(Handle handle = nullptr) {
    const Handle old = std::exchange(handle_, handle);
    if (old != nullptr) Free(old);
  }
  // For a handle that has gone some other way, or that someone else frees from now on.
  Handle Release() { return std::exchange(handle_, nullptr); }

 private:
  Handle handle_ = nullptr;
};

// A window also goes with its owner or parent, which may have been destroyed first.
inline void DestroyWindowIfAlive(HWND window) {
  if (::IsWindow(window)) ::DestroyWindow(window);
}

using UniqueIcon = UniqueHandle<HICON, ::DestroyIcon>;
using UniqueBitmap = UniqueHandle<HBITMAP, ::DeleteObject>;
using UniqueBrush = UniqueHandle<HBRUSH, ::DeleteObject>;
using UniqueFont = UniqueHandle<HFONT, ::DeleteObject>;
using UniqueMetafile = UniqueHandle<HENHMETAFILE, ::DeleteEnhMetaFile>;
using UniqueMenu = UniqueHandle<HMENU, ::DestroyMenu>;
using UniqueImageList = UniqueHandle<HIMAGELIST, ::ImageList_Destroy>;
using UniqueWindow = UniqueHandle<HWND, DestroyWindowIfAlive>;

}  // namespace zarn::win32
