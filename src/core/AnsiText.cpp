#include "core/AnsiText.h"

namespace zarn {
namespace {

constexpr char UpperAscii(char c) { return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c; }

}  // namespace

std::string FoldCase(std::string_view text) {
  std::string folded(text);
  for (std::size_t i = 0; i < folded.size(); ++i) {
    if (IsLeadByte(static_cast<unsigned char>(folded[i]))) {
      ++i;  // the trail byte stays as it is, whatever it looks like
    } else {
      folded[i] = UpperAscii(folded[i]);
    }
  }
  return folded;
}

bool EqualsIgnoreCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  bool trail = false;  // both texts are equal up to here, so they agree on where characters start
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (trail) {
      if (a[i] != b[i]) return false;
      trail = false;
    } else {
      if (UpperAscii(a[i]) != UpperAscii(b[i])) return false;
      trail = IsLeadByte(static_cast<unsigned char>(a[i]));
    }
  }
  return true;
}

std::uint64_t HashIgnoringCase(std::string_view text) {
  // FNV-1a over the folded bytes, then a final mix so that the low bits, which pick the slot, depend
  // on every byte.
  std::uint64_t hash = 0xcbf29ce484222325u;
  bool trail = false;
  for (char c : text) {
    const char folded = trail ? c : UpperAscii(c);
    trail = !trail && IsLeadByte(static_cast<unsigned char>(c));
    hash = (hash ^ static_cast<unsigned char>(folded)) * 0x100000001b3u;
  }
  hash ^= hash >> 33;
  hash *= 0xff51afd7ed558ccdu;
  hash ^= hash >> 33;
  return hash;
}

std::string_view TrimBlanks(std::string_view text) {
  std::size_t begin = 0;
  std::size_t end = text.size();
  while (begin < end && IsBlankByte(static_cast<unsigned char>(text[begin]))) ++begin;
  while (end > begin && IsBlankByte(static_cast<unsigned char>(text[end - 1]))) --end;
  return text.substr(begin, end - begin);
}

std::string_view WithoutTrailingSeparators(std::string_view path) {
  std::size_t end = 0;  // just past the last character that is not a separator
  for (std::size_t i = 0; i < path.size(); ++i) {
    const unsigned char b = static_cast<unsigned char>(path[i]);
    if (IsLeadByte(b) && i + 1 < path.size()) {
      ++i;  // the trail byte, whatever it looks like
      end = i + 1;
    } else if (b != '\\' && b != '/') {
      end = i + 1;
    }
  }
  return path.substr(0, end);
}

}  // namespace zarn
