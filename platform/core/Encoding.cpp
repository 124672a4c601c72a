#include "platform/core/Encoding.h"

#include <iconv.h>

#include <cerrno>

namespace plat {
namespace {

std::string Convert(const char* to, const char* from, std::string_view in, std::string_view bad,
                    size_t badWidth) {
  iconv_t cd = iconv_open(to, from);
  if (cd == reinterpret_cast<iconv_t>(-1)) return std::string(in);
  std::string out;
  char buf[256];
  char* src = const_cast<char*>(in.data());
  size_t left = in.size();
  while (left > 0) {
    char* dst = buf;
    size_t room = sizeof buf;
    size_t r = iconv(cd, &src, &left, &dst, &room);
    out.append(buf, static_cast<size_t>(dst - buf));
    if (r == static_cast<size_t>(-1)) {
      if (errno == E2BIG) continue;
      // EILSEQ or EINVAL: replace the offending byte(s) and go on.
      out.append(bad);
      size_t skip = left < badWidth ? left : badWidth;
      if (errno == EINVAL) skip = left;
      src += skip;
      left -= skip;
      iconv(cd, nullptr, nullptr, nullptr, nullptr);
    }
  }
  iconv_close(cd);
  return out;
}

}  // namespace

std::string SjisToUtf8(std::string_view sjis) {
  return Convert("UTF-8", "CP932", sjis, "\xEF\xBF\xBD", 1);
}

std::string Utf8ToSjis(std::string_view utf8) {
  // An unconvertible character is one UTF-8 sequence; step over its continuation bytes too.
  std::string out;
  std::string_view rest = utf8;
  while (!rest.empty()) {
    size_t len = 1;
    unsigned char c = rest[0];
    if (c >= 0xF0) len = 4;
    else if (c >= 0xE0) len = 3;
    else if (c >= 0xC0) len = 2;
    if (len > rest.size()) len = rest.size();
    out += Convert("CP932", "UTF-8", rest.substr(0, len), "?", len);
    rest.remove_prefix(len);
  }
  return out;
}

}  // namespace plat
