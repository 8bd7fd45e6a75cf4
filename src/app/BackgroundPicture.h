#pragma once
// The picture behind the tool bar's buttons: a bitmap, an icon or a metafile, drawn unscaled.
#include <windows.h>

#include <string>

namespace zarn::app {

class BackgroundPicture {
 public:
  BackgroundPicture() = default;
  ~BackgroundPicture() { Clear(); }
  BackgroundPicture(const BackgroundPicture&) = delete;
  BackgroundPicture& operator=(const BackgroundPicture&) = delete;

  // Loads an existing file by its extension. Throws zarn::Error with the message the user sees for
  // an extension no picture kind has, or for contents that are not a picture of that kind; the
  // previous picture is dropped either way.
  void Load(const std::wstring& path);
  void Clear();
  bool Empty() const { return bitmap_ == nullptr && icon_ == nullptr && metafile_ == nullptr; }
  SIZE Size() const { return size_; }
  void Draw(HDC dc, int left, int top) const;

 private:
  HBITMAP bitmap_ = nullptr;
  HICON icon_ = nullptr;
  HENHMETAFILE metafile_ = nullptr;
  SIZE size_{};
};

}  // namespace zarn::app
