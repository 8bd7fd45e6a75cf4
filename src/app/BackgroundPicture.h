#pragma once
// The picture behind the tool bar's buttons: a bitmap, an icon or a metafile, drawn unscaled.
#include <windows.h>

#include <string>

#include "win32/UniqueHandles.h"

namespace zarn::app {

class BackgroundPicture {
 public:
  BackgroundPicture() = default;
  BackgroundPicture(const BackgroundPicture&) = delete;
  BackgroundPicture& operator=(const BackgroundPicture&) = delete;

  // Loads an existing file by its extension. Throws zarn::Error with the message the user sees for
  // an extension no picture kind has, or for contents that are not a picture of that kind; the
  // previous picture is dropped either way.
  void Load(const std::wstring& path);
  void Clear();
  bool Empty() const { return !bitmap_ && !icon_ && !metafile_; }
  SIZE Size() const { return size_; }
  void Draw(HDC dc, int left, int top) const;

 private:
  win32::UniqueBitmap bitmap_;
  win32::UniqueIcon icon_;
  win32::UniqueMetafile metafile_;
  SIZE size_{};
};

}  // namespace zarn::app
