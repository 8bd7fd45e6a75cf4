#include "core/PictureKind.h"

#include "core/UiText.h"

namespace zarn {
namespace {

char16_t FoldAscii(char16_t c) { return c >= u'A' && c <= u'Z' ? static_cast<char16_t>(c - u'A' + u'a') : c; }

bool EqualsIgnoringAsciiCase(std::u16string_view a, std::u16string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (FoldAscii(a[i]) != FoldAscii(b[i])) return false;
  }
  return true;
}

}  // namespace

std::u16string PictureExtension(std::u16string_view path) {
  // A dot in a folder name ("C:\my.pics\sky") is not the file's extension.
  const std::size_t name = path.find_last_of(u"\\/:");
  const std::size_t dot = path.rfind(u'.');
  if (dot == std::u16string_view::npos || (name != std::u16string_view::npos && dot < name)) return {};
  return std::u16string(path.substr(dot + 1));
}

PictureKind PictureKindOf(std::u16string_view path) {
  const std::u16string extension = PictureExtension(path);
  if (EqualsIgnoringAsciiCase(extension, u"bmp")) return PictureKind::Bitmap;
  if (EqualsIgnoringAsciiCase(extension, u"ico")) return PictureKind::Icon;
  if (EqualsIgnoringAsciiCase(extension, u"wmf") || EqualsIgnoringAsciiCase(extension, u"emf"))
    return PictureKind::Metafile;
  return PictureKind::Unsupported;
}

std::u16string UnsupportedPictureMessage(std::u16string_view path) {
  return text::kPictureExtensionBefore + PictureExtension(path) + text::kPictureExtensionAfter;
}

std::u16string BadPictureMessage(PictureKind kind) {
  switch (kind) {
    case PictureKind::Bitmap:
      return text::kBadBitmap;
    case PictureKind::Icon:
      return text::kBadIcon;
    case PictureKind::Metafile:
      return text::kBadMetafile;
    case PictureKind::Unsupported:
      break;
  }
  return {};
}

}  // namespace zarn
