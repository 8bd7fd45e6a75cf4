#include "app/UZarnDM.h"

#include <utility>

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

TZarnDM::TZarnDM(const FilePath& exe) : settings_(ProfilePath(exe, L".ini")), workBenches_(ProfilePath(exe, L".wbf")) {}

HIMAGELIST TZarnDM::ZarnImgList(UINT dpi) {
  for (const Images& images : images_) {
    if (images.dpi == dpi) {
      imageSize_ = images.size;
      return images.list.Get();
    }
  }
  const int size = ScaleForDpi(16, dpi);
  win32::UniqueImageList list(::ImageList_Create(size, size, ILC_COLOR32, ZARN_IMAGELIST_COUNT, 0));
  if (!list) return images_.empty() ? nullptr : images_.back().list.Get();
  // At the usual size one strip fills the list in a single call; thirteen icons loaded one by one
  // would cost a good part of the start-up. Other sizes take each icon at its own size.
  if (size == 16) {
    const win32::UniqueBitmap strip(static_cast<HBITMAP>(::LoadImageW(
        ::GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDB_IMAGELIST), IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION)));
    if (strip) ::ImageList_Add(list.Get(), strip.Get(), nullptr);
  }
  if (::ImageList_GetImageCount(list.Get()) != ZARN_IMAGELIST_COUNT) {
    ::ImageList_RemoveAll(list.Get());
    for (int i = 0; i < ZARN_IMAGELIST_COUNT; ++i) {
      // The list keeps a copy of the icon.
      const win32::UniqueIcon icon(LoadSizedIcon(IDI_IMAGELIST_FIRST + i, size));
      ::ImageList_ReplaceIcon(list.Get(), -1, icon.Get());
    }
  }
  images_.push_back({dpi, std::move(list), size});
  imageSize_ = size;
  return images_.back().list.Get();
}

HICON TZarnDM::AppIcon(UINT dpi, bool large) {
  for (const Icons& icons : icons_) {
    if (icons.dpi == dpi) return large ? icons.large.Get() : icons.small.Get();
  }
  icons_.push_back({dpi, win32::UniqueIcon(LoadSizedIcon(IDI_ZARN, ScaleForDpi(16, dpi))),
                    win32::UniqueIcon(LoadSizedIcon(IDI_ZARN, ScaleForDpi(32, dpi)))});
  return large ? icons_.back().large.Get() : icons_.back().small.Get();
}

HICON TZarnDM::TrayIcon() {
  if (!trayIcon_) trayIcon_.Reset(LoadSizedIcon(IDI_ZARN, ::GetSystemMetrics(SM_CXSMICON)));
  return trayIcon_.Get();
}

}  // namespace zarn::app
