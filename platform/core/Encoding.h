#pragma once
#include <string>
#include <string_view>

namespace plat {

// Shift-JIS (code page 932) text to UTF-8 for display; undecodable bytes become U+FFFD.
std::string SjisToUtf8(std::string_view sjis);
// UTF-8 to Shift-JIS; characters without a Shift-JIS form become '?'.
std::string Utf8ToSjis(std::string_view utf8);

}  // namespace plat
