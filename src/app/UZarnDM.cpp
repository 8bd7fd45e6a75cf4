#include "app/UZarnDM.h"

#include "app/Dpi.h"
#include "resource.h"

namespace zarn::app {
namespace {

HICON LoadSizedIcon(int id, int size) {
  return static_cast<HICON>(
      ::LoadImageW(::GetModuleHandleW(nullptr), MAKEINTRESOURCEW(id), IMAGE_ICON, size, size, LR_DEFAULTCOLOR));
}

}  // namespace

FilePath ProfilePath(const FilePath& exe, const wchar_t* extension) {
  // The extension is what follows the last dot of the file name, not of a folder's name.
  const std::size_t name = exe.find_last_of(L"\\/");
  const std::size_t dot = exe.rfind(L'.');
  const bool hasExtension = dot != FilePath::npos && (name == FilePath::npos || dot > name);
  return (hasExtension ? exe.substr(0, dot) : exe) + extension;
}

TZarnDM::TZarnDM(const FilePath& exe)
    : settings_(ProfilePath(exe, L".ini")), workBenches_(ProfilePath(exe, L".wbf")) {}

TZarnDM::~TZarnDM() {
  for (const Images& images : images_) ::ImageList_Destroy(images.list);
  for (const Icons& icons : icons_) {
    if (icons.small != nullptr) ::DestroyIcon(icons.small);
    if (icons.large != nullptr) ::DestroyIcon(icons.large);
  }
  if (trayIcon_ != nullptr) ::DestroyIcon(trayIcon_);
}

HIMAGELIST TZarnDM::ZarnImgList(UINT dpi) {
  for (const Images& images : images_) {
    if (images.dpi == dpi) {
      imageSize_ = images.size;
      return images.list;
    }
  }
  const int size = ScaleForDpi(16, dpi);
  HIMAGELIST list = ::ImageList_Create(size, size, ILC_COLOR32, ZARN_IMAGELIST_COUNT, 0);
  if (list == nullptr) return images_.empty() ? nullptr : images_.back().list;
  // At the usual size one strip fills the list in a single call; thirteen icons loaded one by one
  // would cost a good part of the start-up. Other sizes take each icon at its own size.
  HBITMAP strip = size == 16 ? static_cast<HBITMAP>(::LoadImageW(::GetModuleHandleW(nullptr),
                                                                  MAKEINTRESOURCEW(IDB_IMAGELIST), IMAGE_BITMAP, 0, 0,
                                                                  LR_CREATEDIBSECTION))
                             : nullptr;
  if (strip != nullptr) {
    ::ImageList_Add(list, strip, nullptr);
    ::DeleteObject(strip);
  }
  if (::ImageList_GetImageCount(list) != ZARN_IMAGELIST_COUNT) {
    ::ImageList_RemoveAll(list);
    for (int i = 0; i < ZARN_IMAGELIST_COUNT; ++i) {
      HICON icon = LoadSizedIcon(IDI_IMAGELIST_FIRST + i, size);
      ::ImageList_ReplaceIcon(list, -1, icon);
      if (icon != nullptr) ::DestroyIcon(icon);
    }
  }
  images_.push_back({dpi, list, size});
  imageSize_ = size;
  return list;
}

HICON TZarnDM::AppIcon(UINT dpi, bool large) {
  for (const Icons& icons : icons_) {
    if (icons.dpi == dpi) return large ? icons.large : icons.small;
  }
  icons_.push_back({dpi, LoadSizedIcon(IDI_ZARN, ScaleForDpi(16, dpi)), LoadSizedIcon(IDI_ZARN, ScaleForDpi(32, dpi))});
  return large ? icons_.back().large : icons_.back().small;
}

HICON TZarnDM::TrayIcon() {
  if (trayIcon_ == nullptr) {
    trayIcon_ = LoadSizedIcon(IDI_ZARN, ::GetSystemMetrics(SM_CXSMICON));
  }
  return trayIcon_;
}

}  // namespace zarn::app
