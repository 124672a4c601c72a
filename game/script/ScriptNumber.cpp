#include "game/script/ScriptNumber.h"

#include <cstdlib>
#include <limits>

namespace scriptnum {
namespace {

bool IsBlank(char c) { return c == ' ' || (c >= '\t' && c <= '\r'); }

int DigitValue(char c, int base) {
  int v = -1;
  if (c >= '0' && c <= '9') v = c - '0';
  else if (c >= 'a' && c <= 'f') v = c - 'a' + 10;
  else if (c >= 'A' && c <= 'F') v = c - 'A' + 10;
  return v < base ? v : -1;
}

struct Scan {
  bool negative = false;
  bool any = false;
  bool overflow = false;  // beyond 32 bits of magnitude
  uint64_t magnitude = 0;
};

// Reads blanks, a sign and digits of the base (after an optional "0x" for base 16).
Scan Read(const std::string& text, int base) {
  Scan s;
  size_t i = 0;
  while (i < text.size() && IsBlank(text[i])) ++i;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) s.negative = text[i++] == '-';
  if (base == 16 && i + 1 < text.size() && text[i] == '0' && (text[i + 1] == 'x' || text[i + 1] == 'X')) {
    s.any = true;  // "0x" alone still reads as 0
    i += 2;
  }
  for (; i < text.size(); ++i) {
    int d = DigitValue(text[i], base);
    if (d < 0) break;
    s.any = true;
    s.magnitude = s.magnitude * static_cast<uint64_t>(base) + static_cast<uint64_t>(d);
    if (s.magnitude > 0xFFFFFFFFull) {
      s.overflow = true;
      s.magnitude &= 0xFFFFFFFFull;
    }
  }
  return s;
}

int32_t Wrapped(const Scan& s) {
  uint32_t v = static_cast<uint32_t>(s.magnitude);
  return static_cast<int32_t>(s.negative ? 0u - v : v);
}

}  // namespace

int32_t Decimal(const std::string& text) {
  Scan s = Read(text, 10);
  constexpr uint64_t kMaxMagnitude = static_cast<uint64_t>(std::numeric_limits<int32_t>::max());
  if (s.overflow || s.magnitude > kMaxMagnitude + (s.negative ? 1 : 0))
    return s.negative ? std::numeric_limits<int32_t>::min() : std::numeric_limits<int32_t>::max();
  return Wrapped(s);
}

std::optional<int32_t> ScanDecimal(const std::string& text) {
  Scan s = Read(text, 10);
  if (!s.any) return std::nullopt;
  return Wrapped(s);
}

std::optional<int32_t> ScanHex(const std::string& text) {
  Scan s = Read(text, 16);
  if (!s.any) return std::nullopt;
  return Wrapped(s);
}

std::optional<uint32_t> ScanUnsigned(const std::string& text) {
  const std::optional<int32_t> v = ScanDecimal(text);
  if (!v) return std::nullopt;
  return static_cast<uint32_t>(*v);
}

std::optional<float> ScanFloat(const std::string& text) {
  const char* start = text.c_str();
  char* end = nullptr;
  const float v = std::strtof(start, &end);
  if (end == start) return std::nullopt;
  return v;
}

}  // namespace scriptnum
