// The number rule against a second reading of it built on std::from_chars, plus its round trips.
#include <charconv>
#include <cstdint>
#include <cstdlib>
#include <optional>
#include <string>
#include <string_view>

#include "core/ProfileNumber.h"

namespace {

bool AllOf(std::string_view text, bool (*accept)(char)) {
  for (char c : text) {
    if (!accept(c)) return false;
  }
  return true;
}
bool IsDecimal(char c) { return c >= '0' && c <= '9'; }
bool IsHex(char c) { return IsDecimal(c) || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F'); }

// Digits alone, none of them missing, the value at most limit. Leading zeros are stripped first so
// that from_chars never sees more digits than fit.
std::optional<std::uint64_t> Digits(std::string_view digits, int base, std::uint64_t limit) {
  if (digits.empty() || !AllOf(digits, base == 16 ? IsHex : IsDecimal)) return std::nullopt;
  while (digits.size() > 1 && digits.front() == '0') digits.remove_prefix(1);
  if (digits.size() > 16) return std::nullopt;
  std::uint64_t value = 0;
  const auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), value, base);
  if (error != std::errc() || end != digits.data() + digits.size() || value > limit) return std::nullopt;
  return value;
}

std::optional<std::int32_t> Reference(std::string_view input) {
  std::string text(input);
  if (text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) text = "$" + text.substr(2);
  std::string_view rest = text;
  while (!rest.empty() && rest.front() == ' ') rest.remove_prefix(1);
  if (rest.empty()) return std::nullopt;
  std::optional<std::uint64_t> hex;
  if (rest[0] == '$' || rest[0] == 'x' || rest[0] == 'X') {
    hex = Digits(rest.substr(1), 16, 0xFFFFFFFFu);
  } else if (rest.size() >= 2 && rest[0] == '0' && (rest[1] == 'x' || rest[1] == 'X')) {
    hex = Digits(rest.substr(2), 16, 0xFFFFFFFFu);
  } else {
    const bool negative = rest[0] == '-';
    if (rest[0] == '-' || rest[0] == '+') rest.remove_prefix(1);
    const auto value = Digits(rest, 10, negative ? 2147483648u : 2147483647u);
    if (!value) return std::nullopt;
    return static_cast<std::int32_t>(negative ? -static_cast<std::int64_t>(*value) : static_cast<std::int64_t>(*value));
  }
  if (!hex) return std::nullopt;
  return static_cast<std::int32_t>(static_cast<std::uint32_t>(*hex));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  const std::optional<std::int32_t> value = zarn::ParseInteger(text);
  if (value != Reference(text)) std::abort();
  if (value) {
    // Whatever was read is written back as decimal by WriteInteger; it must read back the same.
    if (zarn::ParseInteger(std::to_string(*value)) != value) std::abort();
    if (zarn::ParseInteger("$" + std::string(text.size() % 3, '0') + [&] {
          char hex[16];
          const auto [end, error] = std::to_chars(hex, hex + sizeof hex, static_cast<std::uint32_t>(*value), 16);
          (void)error;
          return std::string(hex, end);
        }()) != value) {
      std::abort();
    }
  }
  return 0;
}
