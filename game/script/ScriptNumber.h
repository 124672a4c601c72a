// The number conversions scripts rely on: the runtime's atoi, and "%d" / "%u" / "%x" / "%f" scans.
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
// "%u": as "%d", the 32 bits read unsigned ("-1" is 4294967295).
std::optional<uint32_t> ScanUnsigned(const std::string& text);
// "%f": blanks, then a decimal or hexadecimal real, an infinity or a NaN, as strtof reads it; a text
// with no number at its start does not scan.
std::optional<float> ScanFloat(const std::string& text);

}  // namespace scriptnum
