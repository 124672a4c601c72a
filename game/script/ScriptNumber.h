// The number conversions scripts rely on: the runtime's atoi, and "%d" / "%x" scans.
#pragma once
#include <cstdint>
#include <optional>
#include <string>

namespace scriptnum {

// atoi: blanks, a sign and digits; anything else stops it, no digits reads 0, overflow saturates.
int32_t Decimal(const std::string& text);
// "%d": as atoi, but a text without digits does not scan and a too large number wraps to 32 bits.
std::optional<int32_t> ScanDecimal(const std::string& text);
// "%x": blanks, a sign, an optional "0x" and hex digits, wrapping to 32 bits.
std::optional<int32_t> ScanHex(const std::string& text);

}  // namespace scriptnum
