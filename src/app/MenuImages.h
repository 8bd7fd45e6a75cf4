#pragma once
// The command images as menu item bitmaps: 32-bit, premultiplied alpha, at the small icon size.
#include <windows.h>

#include <vector>

namespace zarn::app {

class MenuImages {
 public:
  MenuImages() = default;
  ~MenuImages() { Clear(); }
  MenuImages(const MenuImages&) = delete;
  MenuImages& operator=(const MenuImages&) = delete;

  // Loads every image of the image list's icons at `size` pixels; the previous bitmaps are freed, so
  // menus must be given the new ones at once.
  void Make(int size);
  // nullptr when the image could not be made: the item then shows its caption alone.
  HBITMAP Get(int index) const;

 private:
  void Clear();
  std::vector<HBITMAP> bitmaps_;
};

}  // namespace zarn::app
