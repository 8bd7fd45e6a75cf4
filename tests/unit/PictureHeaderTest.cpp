// Picture headers that lie about their size or are cut short are refused before any system loader
// sees them; honest ones of every layout the loaders draw are let through.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>

#include "core/PictureHeader.h"

namespace zarn {
namespace {

struct Bytes {
  std::string data;
  Bytes& U16(std::uint32_t v) {
    data += static_cast<char>(v & 0xFF);
    data += static_cast<char>(v >> 8 & 0xFF);
    return *this;
  }
  Bytes& U32(std::uint32_t v) { return U16(v & 0xFFFF).U16(v >> 16); }
  Bytes& Zeros(std::size_t n) {
    data.append(n, '\0');
    return *this;
  }
};

// File header and BITMAPINFOHEADER; the pixels start right after them.
std::string BitmapHead(std::int32_t width, std::int32_t height, std::uint32_t bitCount, std::uint32_t compression = 0,
                       std::uint32_t imageSize = 0, std::uint32_t planes = 1) {
  Bytes b;
  b.data = "BM";
  b.U32(0).U32(0).U32(54).U32(40).U32(static_cast<std::uint32_t>(width)).U32(static_cast<std::uint32_t>(height));
  b.U16(planes).U16(bitCount).U32(compression).U32(imageSize).Zeros(16);
  return b.data;
}

std::string CoreBitmapHead(std::uint32_t width, std::uint32_t height, std::uint32_t bitCount) {
  Bytes b;
  b.data = "BM";
  b.U32(0).U32(0).U32(26).U32(12).U16(width).U16(height).U16(1).U16(bitCount);
  return b.data;
}

std::string IconHead(std::uint32_t count, std::uint32_t bytes, std::uint32_t offset) {
  Bytes b;
  b.U16(0).U16(1).U16(count);
  // Each image follows the one before it.
  for (std::uint32_t i = 0; i < count; ++i) b.U32(0x00002020).U32(0x00200001).U32(bytes).U32(offset + i * bytes);
  return b.data;
}

std::string EmfHead(std::uint32_t statedBytes) {
  Bytes b;
  b.U32(1).U32(88).Zeros(32).U32(0x464D4520).U32(0x10000).U32(statedBytes).Zeros(36);
  return b.data;
}

std::string WmfHead(std::uint32_t words, bool placeable, std::uint16_t unitsPerInch = 1440) {
  Bytes b;
  if (placeable) b.U32(0x9AC6CDD7).U16(0).U16(0).U16(0).U16(2880).U16(1440).U16(unitsPerInch).U32(0).U16(0);
  b.U16(1).U16(9).U16(0x300).U32(words).U16(0).U32(0).U16(0);
  return b.data;
}

TEST(PictureHeader, OnlyHeadersWhoseClaimsTheFileHoldsAreSound) {
  constexpr std::uint64_t kHeaders = 54;
  struct Case {
    const char* name;
    PictureKind kind;
    std::string head;
    std::uint64_t fileSize;
    bool sound;
  } cases[] = {
      // 3 × 2 at 24 bits: rows of 9 bytes padded to 12.
      {"bitmap exact", PictureKind::Bitmap, BitmapHead(3, 2, 24), kHeaders + 24, true},
      {"bitmap one byte short", PictureKind::Bitmap, BitmapHead(3, 2, 24), kHeaders + 23, false},
      {"bitmap top-down", PictureKind::Bitmap, BitmapHead(3, -2, 24), kHeaders + 24, true},
      {"bitmap old core header", PictureKind::Bitmap, CoreBitmapHead(8, 8, 8), 26 + 64, true},
      {"bitmap at the pixel limit", PictureKind::Bitmap, BitmapHead(8192, 8192, 1), kHeaders + 1024 * 8192, true},
      {"bitmap one row beyond it", PictureKind::Bitmap, BitmapHead(8192, 8193, 1), kHeaders + 1024 * 8193, false},
      {"bitmap 20000 x 20000", PictureKind::Bitmap, BitmapHead(20000, 20000, 24), 1'200'000'054, false},
      {"bitmap widest possible", PictureKind::Bitmap, BitmapHead(0x7FFFFFFF, 1, 32), ~0ull, false},
      {"bitmap height INT32_MIN", PictureKind::Bitmap, BitmapHead(1, INT32_MIN, 32), ~0ull, false},
      {"bitmap zero width", PictureKind::Bitmap, BitmapHead(0, 2, 24), kHeaders + 24, false},
      {"bitmap 7 bits", PictureKind::Bitmap, BitmapHead(3, 2, 7), kHeaders + 24, false},
      {"bitmap two planes", PictureKind::Bitmap, BitmapHead(3, 2, 24, 0, 0, 2), kHeaders + 24, false},
      {"bitmap holding a JPEG", PictureKind::Bitmap, BitmapHead(3, 2, 0, 4, 10), kHeaders + 10, false},
      {"bitmap bit fields", PictureKind::Bitmap, BitmapHead(3, 2, 32, 3), kHeaders + 24, true},
      {"bitmap run-length", PictureKind::Bitmap, BitmapHead(30, 20, 8, 1, 100), kHeaders + 100, true},
      {"bitmap run-length cut", PictureKind::Bitmap, BitmapHead(30, 20, 8, 1, 100), kHeaders + 99, false},
      {"bitmap run-length top-down", PictureKind::Bitmap, BitmapHead(30, -20, 8, 1, 100), kHeaders + 100, false},
      {"bitmap cut inside its header", PictureKind::Bitmap, BitmapHead(3, 2, 24).substr(0, 30), 30, false},
      {"icon", PictureKind::Icon, IconHead(2, 100, 38), 238, true},
      {"icon image past the end", PictureKind::Icon, IconHead(2, 100, 38), 237, false},
      {"icon image inside its directory", PictureKind::Icon, IconHead(2, 100, 30), 238, false},
      {"icon with no images", PictureKind::Icon, IconHead(0, 0, 0), 6, false},
      {"icon directory cut", PictureKind::Icon, IconHead(2, 100, 38).substr(0, 30), 238, false},
      {"enhanced metafile", PictureKind::Metafile, EmfHead(200), 200, true},
      {"enhanced metafile cut", PictureKind::Metafile, EmfHead(200), 199, false},
      {"windows metafile", PictureKind::Metafile, WmfHead(50, false), 100, true},
      {"windows metafile cut", PictureKind::Metafile, WmfHead(50, false), 99, false},
      {"placeable metafile", PictureKind::Metafile, WmfHead(50, true), 122, true},
      {"placeable metafile without units", PictureKind::Metafile, WmfHead(50, true, 0), 122, false},
      {"empty file", PictureKind::Bitmap, "", 0, false},
      {"head longer than the file", PictureKind::Bitmap, BitmapHead(3, 2, 24), 10, false},
  };
  for (const Case& c : cases) EXPECT_EQ(PictureHeadIsSound(c.kind, c.head, c.fileSize), c.sound) << c.name;

  const std::string words = "not a picture at all, just some words to fill a file";
  for (PictureKind kind : {PictureKind::Bitmap, PictureKind::Icon, PictureKind::Metafile, PictureKind::Unsupported})
    EXPECT_FALSE(PictureHeadIsSound(kind, words, words.size()));
}

}  // namespace
}  // namespace zarn
