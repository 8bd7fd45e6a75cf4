#pragma once
// A look at a picture file's headers before the system is asked to load it. The system loaders
// trust what the headers claim: a bitmap that says 20,000 × 20,000 makes them reserve more than a
// gigabyte at start-up, and one cut short leaves them reading past what the file holds.
#include <cstdint>
#include <optional>
#include <string_view>

#include "core/PictureKind.h"

namespace zarn {

// How many bytes from the file's start the checks below look at.
constexpr std::size_t kPictureHeadBytes = 64 * 1024;

// The most pixels a background bitmap may have: 8192 × 8192, far beyond any toolbar, and still a
// size whose pixels fit in memory comfortably.
constexpr std::uint64_t kMaxPicturePixels = 8192ull * 8192ull;

// True when `head` (the file's first bytes, at most kPictureHeadBytes) and the file's whole size
// describe a picture of that kind whose every part lies inside the file and whose size is within
// bounds. A false answer means the contents are bad for that kind. A metafile is judged by its
// header alone (enhanced or Windows, placeable or not): the system reads its records one by one.
bool PictureHeadIsSound(PictureKind kind, std::string_view head, std::uint64_t fileSize);

// The header most .wmf files start with ("placeable"): the picture's box in its own units and how
// many of those units make an inch.
struct PlaceableMetafileHeader {
  std::int16_t left = 0, top = 0, right = 0, bottom = 0;
  std::uint16_t unitsPerInch = 0;
  static constexpr std::size_t kSize = 22;
};
std::optional<PlaceableMetafileHeader> ReadPlaceableMetafileHeader(std::string_view bytes);

}  // namespace zarn
