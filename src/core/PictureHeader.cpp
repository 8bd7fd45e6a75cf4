#include "core/PictureHeader.h"

#include <cstdlib>

namespace zarn {
namespace {

// Little-endian fields, read only where the caller has made sure the bytes are there.
std::uint32_t U16(std::string_view bytes, std::size_t at) {
  return static_cast<std::uint8_t>(bytes[at]) | static_cast<std::uint32_t>(static_cast<std::uint8_t>(bytes[at + 1]))
                                                    << 8;
}
std::uint32_t U32(std::string_view bytes, std::size_t at) { return U16(bytes, at) | U16(bytes, at + 2) << 16; }
std::int32_t I32(std::string_view bytes, std::size_t at) { return static_cast<std::int32_t>(U32(bytes, at)); }

constexpr std::size_t kBitmapFileHeader = 14;
constexpr std::uint32_t kCoreHeader = 12;
constexpr std::uint32_t kInfoHeader = 40;
constexpr std::uint32_t kBiRgb = 0, kBiRle8 = 1, kBiRle4 = 2, kBiBitfields = 3;

bool BitmapIsSound(std::string_view head, std::uint64_t fileSize) {
  if (head.size() < kBitmapFileHeader + 4 || head[0] != 'B' || head[1] != 'M') return false;
  const std::uint64_t pixelsAt = U32(head, 10);
  const std::uint32_t infoSize = U32(head, 14);
  std::int64_t width = 0;
  std::int64_t height = 0;
  std::uint32_t planes = 0, bitCount = 0, compression = kBiRgb, imageSize = 0;
  if (infoSize == kCoreHeader) {
    if (head.size() < kBitmapFileHeader + kCoreHeader) return false;
    width = U16(head, 18);
    height = U16(head, 20);
    planes = U16(head, 22);
    bitCount = U16(head, 24);
  } else {
    if (infoSize < kInfoHeader || head.size() < kBitmapFileHeader + kInfoHeader) return false;
    width = I32(head, 18);
    height = I32(head, 22);
    planes = U16(head, 26);
    bitCount = U16(head, 28);
    compression = U32(head, 30);
    imageSize = U32(head, 34);
  }
  // A negative height is a top-down bitmap; compressed ones cannot be top-down.
  const std::uint64_t rows = static_cast<std::uint64_t>(std::llabs(height));
  if (planes != 1 || width <= 0 || rows == 0) return false;
  if (static_cast<std::uint64_t>(width) * rows > kMaxPicturePixels) return false;
  if (pixelsAt < kBitmapFileHeader + infoSize || pixelsAt > fileSize) return false;
  const std::uint64_t room = fileSize - pixelsAt;
  switch (compression) {
    case kBiRgb:
      if (bitCount != 1 && bitCount != 4 && bitCount != 8 && bitCount != 16 && bitCount != 24 && bitCount != 32)
        return false;
      break;
    case kBiBitfields:
      if (bitCount != 16 && bitCount != 32) return false;
      break;
    case kBiRle8:
    case kBiRle4:
      return height > 0 && bitCount == (compression == kBiRle8 ? 8u : 4u) && imageSize > 0 && imageSize <= room;
    default:
      return false;  // JPEG or PNG inside a bitmap: not something the bitmap loader draws
  }
  // Rows are padded to whole 32-bit words.
  const std::uint64_t stride = (static_cast<std::uint64_t>(width) * bitCount + 31) / 32 * 4;
  return stride * rows <= room;
}

bool IconIsSound(std::string_view head, std::uint64_t fileSize) {
  constexpr std::size_t kDirectory = 6, kEntry = 16;
  if (head.size() < kDirectory || U16(head, 0) != 0 || U16(head, 2) != 1) return false;
  const std::size_t count = U16(head, 4);
  const std::size_t images = kDirectory + kEntry * count;
  if (count == 0 || images > head.size()) return false;
  for (std::size_t i = 0; i < count; ++i) {
    const std::size_t entry = kDirectory + kEntry * i;
    const std::uint64_t bytes = U32(head, entry + 8);
    const std::uint64_t at = U32(head, entry + 12);
    if (bytes == 0 || at < images || at + bytes > fileSize) return false;
  }
  return true;
}

bool MetafileIsSound(std::string_view head, std::uint64_t fileSize) {
  // Enhanced: a header record whose stated length the file holds.
  constexpr std::uint32_t kEmrHeader = 1, kEmfSignature = 0x464D4520, kMinEmfHeader = 88;
  if (head.size() >= kMinEmfHeader && U32(head, 0) == kEmrHeader && U32(head, 40) == kEmfSignature) {
    const std::uint32_t bytes = U32(head, 48);
    return bytes >= kMinEmfHeader && bytes <= fileSize;
  }
  // Windows metafile, after the placeable header when there is one; its size is counted in words.
  std::size_t at = 0;
  if (const auto placeable = ReadPlaceableMetafileHeader(head)) {
    if (placeable->unitsPerInch == 0 || placeable->right <= placeable->left || placeable->bottom <= placeable->top)
      return false;
    at = PlaceableMetafileHeader::kSize;
  }
  constexpr std::size_t kMetaHeader = 18;
  if (head.size() < at + kMetaHeader) return false;
  const std::uint32_t type = U16(head, at);
  const std::uint64_t words = U32(head, at + 6);
  return (type == 1 || type == 2) && U16(head, at + 2) == kMetaHeader / 2 && words * 2 >= kMetaHeader &&
         words * 2 <= fileSize - at;
}

}  // namespace

bool PictureHeadIsSound(PictureKind kind, std::string_view head, std::uint64_t fileSize) {
  if (head.size() > fileSize) return false;
  switch (kind) {
    case PictureKind::Bitmap:
      return BitmapIsSound(head, fileSize);
    case PictureKind::Icon:
      return IconIsSound(head, fileSize);
    case PictureKind::Metafile:
      return MetafileIsSound(head, fileSize);
    case PictureKind::Unsupported:
      break;
  }
  return false;
}

std::optional<PlaceableMetafileHeader> ReadPlaceableMetafileHeader(std::string_view bytes) {
  constexpr std::uint32_t kKey = 0x9AC6CDD7;
  if (bytes.size() < PlaceableMetafileHeader::kSize || U32(bytes, 0) != kKey) return std::nullopt;
  PlaceableMetafileHeader header;
  header.left = static_cast<std::int16_t>(U16(bytes, 6));
  header.top = static_cast<std::int16_t>(U16(bytes, 8));
  header.right = static_cast<std::int16_t>(U16(bytes, 10));
  header.bottom = static_cast<std::int16_t>(U16(bytes, 12));
  header.unitsPerInch = static_cast<std::uint16_t>(U16(bytes, 14));
  return header;
}

}  // namespace zarn
