#include "app/BackgroundPicture.h"

#include <cstdint>
#include <algorithm>
#include <string>

#include "core/Error.h"
#include "core/PictureHeader.h"
#include "core/PictureKind.h"
#include "win32/CodePage932.h"

namespace zarn::app {
namespace {

[[noreturn]] void Fail(const std::u16string& message) { throw Error(win32::Utf8FromWide(win32::WideFromU16(message))); }

// A metafile is a few kilobytes; anything beyond this is no picture to put behind five buttons.
constexpr DWORD kMaxMetafileBytes = 64 * 1024 * 1024;

// Up to `limit` bytes from the file's start, and the file's whole size. An unreadable file gives no
// bytes, which no picture kind accepts.
std::string ReadHead(const std::wstring& path, std::size_t limit, std::uint64_t& fileSize) {
  fileSize = 0;
  HANDLE file = ::CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return {};
  std::string bytes;
  LARGE_INTEGER size{};
  if (::GetFileSizeEx(file, &size) && size.QuadPart > 0) {
    fileSize = static_cast<std::uint64_t>(size.QuadPart);
    bytes.resize(static_cast<std::size_t>(std::min<std::uint64_t>(fileSize, limit)));
    DWORD read = 0;
    if (!::ReadFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &read, nullptr)) read = 0;
    bytes.resize(read);
  }
  ::CloseHandle(file);
  return bytes;
}

// A Windows metafile, with or without the placeable header that most .wmf files start with.
HENHMETAFILE LoadWindowsMetafile(const std::wstring& path, SIZE& size) {
  std::uint64_t fileSize = 0;
  const std::string bytes = ReadHead(path, kMaxMetafileBytes, fileSize);
  if (bytes.size() != fileSize) return nullptr;
  METAFILEPICT picture{MM_ANISOTROPIC, 0, 0, nullptr};
  std::size_t offset = 0;
  if (const auto placeable = ReadPlaceableMetafileHeader(bytes)) {
    const int inch = placeable->unitsPerInch;
    if (inch == 0) return nullptr;
    const int width = placeable->right - placeable->left;
    const int height = placeable->bottom - placeable->top;
    // In 0.01 mm, as METAFILEPICT wants its extents.
    picture.xExt = ::MulDiv(width, 2540, inch);
    picture.yExt = ::MulDiv(height, 2540, inch);
    size = {::MulDiv(width, 96, inch), ::MulDiv(height, 96, inch)};
    offset = PlaceableMetafileHeader::kSize;
  }
  if (bytes.size() <= offset) return nullptr;
  return ::SetWinMetaFileBits(static_cast<UINT>(bytes.size() - offset),
                              reinterpret_cast<const BYTE*>(bytes.data()) + offset, nullptr, &picture);
}

SIZE MetafileSize(HENHMETAFILE metafile) {
  ENHMETAHEADER header{};
  if (::GetEnhMetaFileHeader(metafile, sizeof header, &header) == 0) return {};
  return {header.rclBounds.right - header.rclBounds.left + 1, header.rclBounds.bottom - header.rclBounds.top + 1};
}

}  // namespace

void BackgroundPicture::Clear() {
  bitmap_.Reset();
  icon_.Reset();
  metafile_.Reset();
  size_ = {};
}

void BackgroundPicture::Load(const std::wstring& path) {
  Clear();
  const std::u16string widePath = win32::U16FromWide(path);
  const PictureKind kind = PictureKindOf(widePath);
  if (kind == PictureKind::Unsupported) Fail(UnsupportedPictureMessage(widePath));
  // The system loaders believe what the headers claim; they are asked only once the claims hold.
  std::uint64_t fileSize = 0;
  const std::string head = ReadHead(path, kPictureHeadBytes, fileSize);
  if (!PictureHeadIsSound(kind, head, fileSize)) Fail(BadPictureMessage(kind));
  switch (kind) {
    case PictureKind::Bitmap: {
      bitmap_.Reset(static_cast<HBITMAP>(
          ::LoadImageW(nullptr, path.c_str(), IMAGE_BITMAP, 0, 0, LR_LOADFROMFILE | LR_CREATEDIBSECTION)));
      BITMAP info{};
      if (!bitmap_ || ::GetObjectW(bitmap_.Get(), sizeof info, &info) == 0) break;
      size_ = {info.bmWidth, info.bmHeight < 0 ? -info.bmHeight : info.bmHeight};
      return;
    }
    case PictureKind::Icon: {
      icon_.Reset(static_cast<HICON>(::LoadImageW(nullptr, path.c_str(), IMAGE_ICON, 0, 0, LR_LOADFROMFILE)));
      ICONINFO info{};
      if (!icon_ || !::GetIconInfo(icon_.Get(), &info)) break;
      // The icon's bitmaps come back as copies that are ours to free.
      const win32::UniqueBitmap maskBits(info.hbmMask);
      const win32::UniqueBitmap colourBits(info.hbmColor);
      BITMAP mask{};
      ::GetObjectW(info.hbmMask, sizeof mask, &mask);
      // A monochrome icon keeps its AND and XOR masks one above the other in one bitmap.
      size_ = {mask.bmWidth, info.hbmColor != nullptr ? mask.bmHeight : mask.bmHeight / 2};
      return;
    }
    case PictureKind::Metafile: {
      SIZE placeable{};
      metafile_.Reset(::GetEnhMetaFileW(path.c_str()));
      if (!metafile_) metafile_.Reset(LoadWindowsMetafile(path, placeable));
      if (!metafile_) break;
      size_ = placeable.cx > 0 && placeable.cy > 0 ? placeable : MetafileSize(metafile_.Get());
      if (size_.cx <= 0 || size_.cy <= 0) break;
      return;
    }
    case PictureKind::Unsupported:
      break;
  }
  Clear();
  Fail(BadPictureMessage(kind));
}

void BackgroundPicture::Draw(HDC dc, int left, int top) const {
  if (bitmap_) {
    HDC memory = ::CreateCompatibleDC(dc);
    HGDIOBJ old = ::SelectObject(memory, bitmap_.Get());
    ::BitBlt(dc, left, top, size_.cx, size_.cy, memory, 0, 0, SRCCOPY);
    ::SelectObject(memory, old);
    ::DeleteDC(memory);
  } else if (icon_) {
    ::DrawIconEx(dc, left, top, icon_.Get(), size_.cx, size_.cy, 0, nullptr, DI_NORMAL);
  } else if (metafile_) {
    const RECT bounds{left, top, left + size_.cx, top + size_.cy};
    ::PlayEnhMetaFile(dc, metafile_.Get(), &bounds);
  }
}

}  // namespace zarn::app
