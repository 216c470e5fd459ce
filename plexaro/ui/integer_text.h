#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace plexaro {

// The conversion of typed text to an integer: leading blanks, an optional sign, then decimal
// digits, or hexadecimal digits after "$", "x", "X", "0x" or "0X". Nothing else may follow.
// Decimal values must fit 32 bits; hexadecimal ones may use all 32 bits ("$FFFFFFFF" is -1).
[[nodiscard]] std::optional<int32_t> convertInteger(std::string_view text);

inline constexpr std::string_view kNotAnIntegerFormat = "'%s' is not a valid integer value";

// "'abc' is not a valid integer value".
[[nodiscard]] std::string notAnIntegerMessage(std::string_view text);

// Upper-cases a to z only; every other character stays as it is.
[[nodiscard]] std::string upperCaseAscii(std::string_view text);

}  // namespace plexaro
