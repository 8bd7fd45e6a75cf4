// The background picture's path and headers, both outside input: the path comes from the settings
// file, the headers from whatever file it names. Input layout: kind (1 byte), how much longer the
// file is than the bytes given (4 bytes), path length in UTF-16 units (1 byte), the path, then the
// file's first bytes.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <string_view>

#include "core/PictureHeader.h"
#include "core/PictureKind.h"
#include "FuzzCheck.h"

namespace {

bool EndsWith(std::u16string_view text, std::u16string_view end) {
  return text.size() >= end.size() && text.substr(text.size() - end.size()) == end;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < 6) return 0;
  const auto kind = static_cast<zarn::PictureKind>(data[0] % 4);
  std::uint32_t beyond = 0;
  std::memcpy(&beyond, data + 1, sizeof beyond);
  std::size_t at = 6;
  const std::size_t units = std::min<std::size_t>(data[5], (size - at) / 2);
  std::u16string path(units, u'\0');
  for (std::size_t i = 0; i < units; ++i, at += 2) path[i] = static_cast<char16_t>(data[at] | data[at + 1] << 8);
  const std::string head(reinterpret_cast<const char*>(data + at), size - at);

  // The extension is the path's tail after its last dot, never reaching into a folder's name.
  const std::u16string extension = zarn::PictureExtension(path);
  Check(extension.find_first_of(u".\\/:") == std::u16string::npos);
  Check(EndsWith(path, extension));
  Check(extension.empty() || EndsWith(path, u"." + extension));
  const zarn::PictureKind byName = zarn::PictureKindOf(path);
  Check(byName == zarn::PictureKind::Unsupported || extension.size() == 3);
  Check(EndsWith(zarn::UnsupportedPictureMessage(path).substr(0, 5 + extension.size()), extension));

  // A sound header stays sound when the file holds more after it; none is sound with no bytes.
  const std::uint64_t fileSize = head.size() + static_cast<std::uint64_t>(beyond);
  const bool sound = zarn::PictureHeadIsSound(kind, head, fileSize);
  Check(!sound || !head.empty());
  Check(!sound || kind != zarn::PictureKind::Unsupported);
  if (sound) Check(zarn::PictureHeadIsSound(kind, head, fileSize + 1 + data[1]));
  if (const auto placeable = zarn::ReadPlaceableMetafileHeader(head)) Check(head.size() >= placeable->kSize);
  return 0;
}
