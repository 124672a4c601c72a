#include "updater/CDisplayText.h"

#include <cstdint>

#include "platform/core/Encoding.h"

namespace updater {
namespace {

constexpr char kReplacement[] = "\xEF\xBF\xBD";  // U+FFFD

// The length of the valid UTF-8 sequence at s[i], or 0.
size_t SequenceLength(const std::string& s, size_t i) {
  unsigned char c = s[i];
  size_t n = c < 0x80 ? 1 : (c & 0xE0) == 0xC0 ? 2 : (c & 0xF0) == 0xE0 ? 3 : (c & 0xF8) == 0xF0 ? 4 : 0;
  if (n == 0 || i + n > s.size()) return 0;
  for (size_t k = 1; k < n; ++k)
    if ((static_cast<unsigned char>(s[i + k]) & 0xC0) != 0x80) return 0;
  uint32_t code = n == 1 ? c : c & (0x7F >> n);
  for (size_t k = 1; k < n; ++k) code = (code << 6) | (s[i + k] & 0x3F);
  static const uint32_t kSmallest[] = {0, 0, 0x80, 0x800, 0x10000};
  bool valid = code >= kSmallest[n] && code <= 0x10FFFF && (code < 0xD800 || code > 0xDFFF);
  return valid ? n : 0;
}

std::string FileNameForDisplay(const std::string& bytes) {
  std::string out;
  for (size_t i = 0; i < bytes.size();) {
    size_t n = SequenceLength(bytes, i);
    unsigned char c = bytes[i];
    if (n == 0 || c < 0x20 || c == 0x7F) {
      out += kReplacement;
      i += 1;
    } else {
      out.append(bytes, i, n);
      i += n;
    }
  }
  return out;
}

}  // namespace

CDisplayText::CDisplayText(const char* sjis) {
  if (sjis && *sjis) pieces_.push_back({Kind::kSjis, sjis});
}

CDisplayText CDisplayText::Sjis(std::string bytes) {
  CDisplayText t;
  if (!bytes.empty()) t.pieces_.push_back({Kind::kSjis, std::move(bytes)});
  return t;
}

CDisplayText CDisplayText::FileName(std::string bytes) {
  CDisplayText t;
  if (!bytes.empty()) t.pieces_.push_back({Kind::kFileSystem, std::move(bytes)});
  return t;
}

CDisplayText& CDisplayText::operator+=(const CDisplayText& other) {
  pieces_.insert(pieces_.end(), other.pieces_.begin(), other.pieces_.end());
  return *this;
}

std::string CDisplayText::Bytes() const {
  std::string out;
  for (const Piece& p : pieces_) out += p.bytes;
  return out;
}

std::string CDisplayText::Utf8() const {
  std::string joined;
  for (const Piece& p : pieces_)
    joined += p.kind == Kind::kSjis ? plat::SjisToUtf8(p.bytes) : FileNameForDisplay(p.bytes);
  std::string out;
  for (size_t i = 0; i < joined.size(); ++i)
    if (!(joined[i] == '\r' && i + 1 < joined.size() && joined[i + 1] == '\n')) out += joined[i];
  return out;
}

bool CDisplayText::Empty() const { return pieces_.empty(); }

}  // namespace updater
