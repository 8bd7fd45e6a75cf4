#pragma once
// The number rule of the profile files, shared by the settings, the workbench records and the
// profile's own ReadInteger.
#include <cstdint>
#include <optional>
#include <string_view>

namespace zarn {

// Decimal with an optional sign, or hexadecimal introduced by "$", "x", "X", "0x" or "0X" (up to
// FFFFFFFF, taken as two's complement). nullopt when it fails.
std::optional<std::int32_t> ParseInteger(std::string_view text);

}  // namespace zarn
