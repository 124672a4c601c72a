#include "tools/datakit/WordPainter.h"

#include <ft2build.h>
#include FT_FREETYPE_H

#include <sys/stat.h>

#include <algorithm>
#include <cmath>
#include <stdexcept>

namespace datakit {

struct WordPainter::Face {
  FT_Library library = nullptr;
  FT_Face face = nullptr;
  ~Face() {
    if (face) FT_Done_Face(face);
    if (library) FT_Done_FreeType(library);
  }
};

namespace {

bool IsFile(const std::string& path) {
  struct stat st;
  return stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

// The next character of s from `at`, which moves past it.
char32_t NextCharacter(const std::string& s, size_t& at) {
  const auto byte = [&](size_t i) { return static_cast<unsigned char>(s[i]); };
  const unsigned char lead = byte(at);
  size_t length = lead < 0x80 ? 1 : (lead >> 5) == 6 ? 2 : (lead >> 4) == 14 ? 3 : (lead >> 3) == 30 ? 4 : 0;
  if (length == 0 || at + length > s.size()) {
    ++at;
    return 0xFFFD;
  }
  char32_t c = length == 1 ? lead : lead & (0x7F >> length);
  for (size_t i = 1; i < length; ++i) {
    if ((byte(at + i) & 0xC0) != 0x80) {
      ++at;
      return 0xFFFD;
    }
    c = (c << 6) | (byte(at + i) & 0x3F);
  }
  at += length;
  return c;
}

}  // namespace

std::u32string DecodeUtf8(const std::string& utf8) {
  std::u32string out;
  for (size_t at = 0; at < utf8.size();) out.push_back(NextCharacter(utf8, at));
  return out;
}

const std::vector<std::string>& WordPainter::FontFolders() {
  static const std::vector<std::string> folders = {"/usr/share/fonts/opentype/ipafont-gothic",
                                                   "/usr/share/fonts/truetype/ipafont-gothic"};
  return folders;
}

WordPainter::WordPainter(bool fixedWidth) : face_(std::make_unique<Face>()) {
  if (FT_Init_FreeType(&face_->library) != 0) throw std::runtime_error("FreeType cannot start");
  const char* files[] = {fixedWidth ? "ipag.ttf" : "ipagp.ttf", fixedWidth ? "ipagp.ttf" : "ipag.ttf"};
  for (const char* file : files)
    for (const std::string& folder : FontFolders()) {
      const std::string path = folder + "/" + file;
      if (!IsFile(path) || FT_New_Face(face_->library, path.c_str(), 0, &face_->face) != 0) continue;
      if (FT_Select_Charmap(face_->face, FT_ENCODING_UNICODE) == 0) return;
      FT_Done_Face(face_->face);
      face_->face = nullptr;
    }
  throw std::runtime_error("no IPA Gothic face (fonts-ipafont-gothic) in the font folders");
}

WordPainter::~WordPainter() = default;

WordMask WordPainter::Paint(const std::string& utf8, uint32_t pixels) const {
  FT_Face face = face_->face;
  WordMask mask;
  pixels = std::max<uint32_t>(pixels, 1);
  if (FT_Set_Pixel_Sizes(face, 0, pixels) != 0) return mask;
  const std::u32string text = DecodeUtf8(utf8);
  // The em box runs from the ascender to the descender; the IPA faces fill it exactly.
  const long ascent = face->ascender, span = std::max<long>(face->ascender - face->descender, 1);
  const int baseline = static_cast<int>(std::lround(static_cast<double>(pixels) * ascent / span));
  long width26 = 0;
  for (char32_t c : text)
    if (FT_Load_Char(face, c, FT_LOAD_NO_BITMAP) == 0) width26 += face->glyph->advance.x;
  mask.width = static_cast<uint32_t>((width26 + 63) / 64);
  mask.height = pixels;
  mask.coverage.assign(size_t(mask.width) * mask.height, 0);
  long pen26 = 0;
  for (char32_t c : text) {
    // Outlines only: the faces' embedded bitmaps are one bit deep.
    if (FT_Load_Char(face, c, FT_LOAD_RENDER | FT_LOAD_NO_BITMAP) != 0) continue;
    const FT_GlyphSlot glyph = face->glyph;
    const FT_Bitmap& bitmap = glyph->bitmap;
    if (bitmap.pixel_mode != FT_PIXEL_MODE_GRAY) {
      pen26 += glyph->advance.x;
      continue;
    }
    const int left = static_cast<int>(pen26 / 64) + glyph->bitmap_left, top = baseline - glyph->bitmap_top;
    for (unsigned row = 0; row < bitmap.rows; ++row)
      for (unsigned column = 0; column < bitmap.width; ++column) {
        const int x = left + static_cast<int>(column), y = top + static_cast<int>(row);
        if (x < 0 || y < 0 || x >= static_cast<int>(mask.width) || y >= static_cast<int>(mask.height)) continue;
        uint8_t& out = mask.coverage[size_t(y) * mask.width + x];
        out = std::max(out, bitmap.buffer[row * bitmap.pitch + column]);
      }
    pen26 += glyph->advance.x;
  }
  return mask;
}

}  // namespace datakit
