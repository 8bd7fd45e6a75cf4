#include "core/ProfileNumber.h"

namespace zarn {
namespace {

constexpr bool IsDecimalDigit(char c) { return c >= '0' && c <= '9'; }

int HexDigitValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

// At least one digit and nothing else; the value, or nullopt once it passes limit.
std::optional<std::uint64_t> ParseDigits(std::string_view digits, int base, std::uint64_t limit) {
  if (digits.empty()) return std::nullopt;
  std::uint64_t value = 0;
  for (char c : digits) {
    const int digit = base == 16 ? HexDigitValue(c) : (IsDecimalDigit(c) ? c - '0' : -1);
    if (digit < 0) return std::nullopt;
    // Leading zeros never push the value up, so "$000000001" is as good as "$1".
    value = value * static_cast<std::uint64_t>(base) + static_cast<std::uint64_t>(digit);
    if (value > limit) return std::nullopt;
  }
  return value;
}

}  // namespace

std::optional<std::int32_t> ParseInteger(std::string_view text) {
  std::string_view rest = text;
  bool hex = false;
  if (rest.size() > 2 && rest[0] == '0' && (rest[1] == 'x' || rest[1] == 'X')) {
    hex = true;
    rest.remove_prefix(2);
  } else {
    while (!rest.empty() && rest.front() == ' ') rest.remove_prefix(1);
    if (rest.empty()) return std::nullopt;
    if (rest[0] == '$' || rest[0] == 'x' || rest[0] == 'X') {
      hex = true;
      rest.remove_prefix(1);
    } else if (rest.size() >= 2 && rest[0] == '0' && (rest[1] == 'x' || rest[1] == 'X')) {
      hex = true;
      rest.remove_prefix(2);
    }
  }
  if (hex) {
    const auto value = ParseDigits(rest, 16, 0xFFFFFFFFu);
    if (!value) return std::nullopt;
    return static_cast<std::int32_t>(static_cast<std::uint32_t>(*value));
  }
  bool negative = false;
  if (!rest.empty() && (rest[0] == '-' || rest[0] == '+')) {
    negative = rest[0] == '-';
    rest.remove_prefix(1);
  }
  const auto value = ParseDigits(rest, 10, negative ? 2147483648u : 2147483647u);
  if (!value) return std::nullopt;
  return static_cast<std::int32_t>(negative ? -static_cast<std::int64_t>(*value) : static_cast<std::int64_t>(*value));
}

}  // namespace zarn
