#include "app/BackgroundPicture.h"

#include <cstdint>
#include <cstring>
#include <vector>

#include "core/Error.h"
#include "core/PictureKind.h"
#include "platform/win32/CodePage932.h"

namespace zarn::app {
namespace {

[[noreturn]] void Fail(const std::u16string& message) {
  throw Error(win32::Utf8FromWide(win32::WideFromU16(message)));
}

// A metafile is a few kilobytes; anything beyond this is no picture to put behind five buttons.
constexpr DWORD kMaxMetafileBytes = 64 * 1024 * 1024;

std::vector<std::uint8_t> ReadAll(const std::wstring& path) {
  HANDLE file = ::CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return {};
  std::vector<std::uint8_t> bytes;
  LARGE_INTEGER size{};
  if (::GetFileSizeEx(file, &size) && size.QuadPart > 0 && size.QuadPart <= kMaxMetafileBytes) {
    bytes.resize(static_cast<std::size_t>(size.QuadPart));
    DWORD read = 0;
    if (!::ReadFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &read, nullptr)) read = 0;
    bytes.resize(read);
  }
  ::CloseHandle(file);
  return bytes;
}

// A Windows metafile, with or without the placeable header that most .wmf files start with.
HENHMETAFILE LoadWindowsMetafile(const std::wstring& path, SIZE& size) {
  std::vector<std::uint8_t> bytes = ReadAll(path);
  constexpr std::uint32_t kPlaceableKey = 0x9AC6CDD7;
  constexpr std::size_t kPlaceableHeader = 22;
  METAFILEPICT picture{MM_ANISOTROPIC, 0, 0, nullptr};
  std::size_t offset = 0;
  std::uint32_t key = 0;
  if (bytes.size() >= kPlaceableHeader) std::memcpy(&key, bytes.data(), sizeof key);
  if (key == kPlaceableKey) {
    std::int16_t box[4];
    std::uint16_t inch = 0;
    std::memcpy(box, bytes.data() + 6, sizeof box);
    std::memcpy(&inch, bytes.data() + 14, sizeof inch);
    if (inch == 0) return nullptr;
    const int width = box[2] - box[0];
    const int height = box[3] - box[1];
    // In 0.01 mm, as METAFILEPICT wants its extents.
    picture.xExt = ::MulDiv(width, 2540, inch);
    picture.yExt = ::MulDiv(height, 2540, inch);
    size = {::MulDiv(width, 96, inch), ::MulDiv(height, 96, inch)};
    offset = kPlaceableHeader;
  }
  if (bytes.size() <= offset) return nullptr;
  HENHMETAFILE metafile =
      ::SetWinMetaFileBits(static_cast<UINT>(bytes.size() - offset), bytes.data() + offset, nullptr, &picture);
  return metafile;
}

SIZE MetafileSize(HENHMETAFILE metafile) {
  ENHMETAHEADER header{};
  if (::GetEnhMetaFileHeader(metafile, sizeof header, &header) == 0) return {};
  return {header.rclBounds.right - header.rclBounds.left + 1, header.rclBounds.bottom - header.rclBounds.top + 1};
}

}  // namespace

void BackgroundPicture::Clear() {
  if (bitmap_ != nullptr) ::DeleteObject(bitmap_);
  if (icon_ != nullptr) ::DestroyIcon(icon_);
  if (metafile_ != nullptr) ::DeleteEnhMetaFile(metafile_);
  bitmap_ = nullptr;
  icon_ = nullptr;
  metafile_ = nullptr;
  size_ = {};
}

void BackgroundPicture::Load(const std::wstring& path) {
  Clear();
  const std::u16string widePath = win32::U16FromWide(path);
  const PictureKind kind = PictureKindOf(widePath);
  switch (kind) {
    case PictureKind::Bitmap: {
      bitmap_ = static_cast<HBITMAP>(
          ::LoadImageW(nullptr, path.c_str(), IMAGE_BITMAP, 0, 0, LR_LOADFROMFILE | LR_CREATEDIBSECTION));
      BITMAP info{};
      if (bitmap_ == nullptr || ::GetObjectW(bitmap_, sizeof info, &info) == 0) break;
      size_ = {info.bmWidth, info.bmHeight < 0 ? -info.bmHeight : info.bmHeight};
      return;
    }
    case PictureKind::Icon: {
      icon_ = static_cast<HICON>(::LoadImageW(nullptr, path.c_str(), IMAGE_ICON, 0, 0, LR_LOADFROMFILE));
      ICONINFO info{};
      if (icon_ == nullptr || !::GetIconInfo(icon_, &info)) break;
      BITMAP mask{};
      ::GetObjectW(info.hbmMask, sizeof mask, &mask);
      // A monochrome icon keeps its AND and XOR masks one above the other in one bitmap.
      size_ = {mask.bmWidth, info.hbmColor != nullptr ? mask.bmHeight : mask.bmHeight / 2};
      if (info.hbmColor != nullptr) ::DeleteObject(info.hbmColor);
      if (info.hbmMask != nullptr) ::DeleteObject(info.hbmMask);
      return;
    }
    case PictureKind::Metafile: {
      SIZE placeable{};
      metafile_ = ::GetEnhMetaFileW(path.c_str());
      if (metafile_ == nullptr) metafile_ = LoadWindowsMetafile(path, placeable);
      if (metafile_ == nullptr) break;
      size_ = placeable.cx > 0 && placeable.cy > 0 ? placeable : MetafileSize(metafile_);
      if (size_.cx <= 0 || size_.cy <= 0) break;
      return;
    }
    case PictureKind::Unsupported:
      Fail(UnsupportedPictureMessage(widePath));
  }
  Clear();
  Fail(BadPictureMessage(kind));
}

void BackgroundPicture::Draw(HDC dc, int left, int top) const {
  if (bitmap_ != nullptr) {
    HDC memory = ::CreateCompatibleDC(dc);
    HGDIOBJ old = ::SelectObject(memory, bitmap_);
    ::BitBlt(dc, left, top, size_.cx, size_.cy, memory, 0, 0, SRCCOPY);
    ::SelectObject(memory, old);
    ::DeleteDC(memory);
  } else if (icon_ != nullptr) {
    ::DrawIconEx(dc, left, top, icon_, size_.cx, size_.cy, 0, nullptr, DI_NORMAL);
  } else if (metafile_ != nullptr) {
    const RECT bounds{left, top, left + size_.cx, top + size_.cy};
    ::PlayEnhMetaFile(dc, metafile_, &bounds);
  }
}

}  // namespace zarn::app
