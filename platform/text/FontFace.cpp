#include "platform/text/FontFace.h"

#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_SYNTHESIS_H
#include FT_TRUETYPE_TABLES_H

#include <sys/stat.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <map>
#include <string_view>
#include <unordered_map>

#include "platform/core/Encoding.h"

namespace plat::gdi {

struct FaceData {
  FT_Face face = nullptr;
  long unitsPerEm = 1;
  long ascent = 0, descent = 0;  // the cell above and below the baseline, font units
  long averageWidth = 0;
};

namespace {

const std::vector<std::string> kSystemFolders = {
    "/usr/share/fonts/opentype/ipafont-gothic",
    "/usr/share/fonts/truetype/ipafont-gothic",
};

// The game asks for these two faces by their Japanese names; anything else gets the first.
struct FaceChoice {
  const char* name;  // UTF-8
  const char* files[2];  // preferred, then the stand-in's own fallback
};
const FaceChoice kFaces[] = {
    {"ＭＳ ゴシック", {"ipag.ttf", "ipagp.ttf"}},
    {"ＭＳ Ｐゴシック", {"ipagp.ttf", "ipag.ttf"}},
};

class FaceCache {
 public:
  ~FaceCache() {
    for (auto& [path, ref] : faces_)
      if (ref.face) FT_Done_Face(ref.face);
    if (library_) FT_Done_FreeType(library_);
  }

  void SetFolders(std::vector<std::string> folders) {
    folders_ = folders.empty() ? kSystemFolders : std::move(folders);
  }

  FaceData* Find(const char* const* files, int count) {
    for (int i = 0; i < count; ++i)
      for (const std::string& folder : folders_) {
        std::string path = folder + "/" + files[i];
        if (FaceData* ref = Open(path)) return ref;
      }
    return nullptr;
  }

 private:
  FaceData* Open(const std::string& path) {
    auto found = faces_.find(path);
    if (found != faces_.end()) return found->second.face ? &found->second : nullptr;
    FaceData& ref = faces_[path];  // a failed open is remembered too
    struct stat st;
    if (stat(path.c_str(), &st) != 0 || !S_ISREG(st.st_mode)) return nullptr;
    if (!library_ && FT_Init_FreeType(&library_) != 0) {
      library_ = nullptr;
      return nullptr;
    }
    if (FT_New_Face(library_, path.c_str(), 0, &ref.face) != 0) {
      ref.face = nullptr;
      return nullptr;
    }
    if (!FT_IS_SCALABLE(ref.face) || FT_Select_Charmap(ref.face, FT_ENCODING_UNICODE) != 0) {
      FT_Done_Face(ref.face);
      ref.face = nullptr;
      return nullptr;
    }
    ref.unitsPerEm = ref.face->units_per_EM > 0 ? ref.face->units_per_EM : 1000;
    // The cell runs from the ascender to the descender: for the stand-in faces that is exactly
    // the em box, as it is for the faces they stand in for, so a cell height of 16 draws a 16-pixel
    // em with 8-pixel half-width characters.
    ref.ascent = ref.face->ascender;
    ref.descent = -ref.face->descender;
    const auto* os2 = static_cast<const TT_OS2*>(FT_Get_Sfnt_Table(ref.face, FT_SFNT_OS2));
    if (ref.ascent + ref.descent <= 0 && os2 && os2->version != 0xFFFF) {
      ref.ascent = os2->usWinAscent;
      ref.descent = os2->usWinDescent;
    }
    if (ref.ascent + ref.descent <= 0) {
      ref.ascent = ref.unitsPerEm;
      ref.descent = 0;
    }
    ref.averageWidth = os2 && os2->version != 0xFFFF && os2->xAvgCharWidth > 0
                           ? os2->xAvgCharWidth
                           : ref.unitsPerEm / 2;
    return &ref;
  }

  FT_Library library_ = nullptr;
  std::vector<std::string> folders_ = kSystemFolders;
  std::map<std::string, FaceData> faces_;
};

FaceCache& Cache() {
  static FaceCache cache;
  return cache;
}

char32_t DecodeFirstUtf8(std::string_view s) {
  if (s.empty()) return 0;
  auto b = [&](size_t i) { return static_cast<unsigned char>(s[i]); };
  unsigned char c = b(0);
  if (c < 0x80) return c;
  size_t len = c >= 0xF0 ? 4 : c >= 0xE0 ? 3 : c >= 0xC0 ? 2 : 0;
  if (len == 0 || s.size() < len) return 0;
  char32_t cp = c & (0x3F >> (len - 1));
  for (size_t i = 1; i < len; ++i) cp = (cp << 6) | (b(i) & 0x3F);
  return cp;
}

uint8_t GrayLevel(uint8_t coverage) { return static_cast<uint8_t>((coverage * 16 + 127) / 255); }

}  // namespace

char32_t SjisCodeToUnicode(UINT code) {
  static std::unordered_map<UINT, char32_t> known;
  auto found = known.find(code);
  if (found != known.end()) return found->second;
  std::string bytes;
  if (code > 0xFF) bytes.push_back(static_cast<char>((code >> 8) & 0xFF));
  bytes.push_back(static_cast<char>(code & 0xFF));
  char32_t cp = code > 0xFFFF ? 0 : DecodeFirstUtf8(SjisToUtf8(bytes));
  if (cp == 0xFFFD) cp = 0;
  known.emplace(code, cp);
  return cp;
}

void FontFace::SetFolders(std::vector<std::string> folders) { Cache().SetFolders(std::move(folders)); }

FontFace::~FontFace() = default;

std::unique_ptr<FontFace> FontFace::Realize(const LOGFONT& description) {
  char name[LF_FACESIZE + 1] = {};
  std::memcpy(name, description.lfFaceName, LF_FACESIZE);
  const std::string utf8 = SjisToUtf8(name);
  const FaceChoice* choice = &kFaces[0];
  for (const FaceChoice& c : kFaces)
    if (utf8 == c.name) choice = &c;
  FaceData* ref = Cache().Find(choice->files, 2);
  if (!ref) return nullptr;

  std::unique_ptr<FontFace> font(new FontFace);
  font->face_ = ref;
  const double upem = static_cast<double>(ref->unitsPerEm);
  const double cell = static_cast<double>(ref->ascent + ref->descent);
  const LONG height = description.lfHeight;
  const LONG cellHeight = height > 0 ? height : 16;
  // Whole pixels per em, as the system's rasteriser uses.
  double yEm = std::max(1.0, std::round(height < 0 ? -static_cast<double>(height)
                                                   : cellHeight * upem / cell));
  LONG width = description.lfWidth < 0 ? -description.lfWidth : description.lfWidth;
  double xEm = width == 0 ? yEm
                          : std::max(1.0, std::round(width * upem / ref->averageWidth));
  font->xSize26_ = std::lround(xEm * 64);
  font->ySize26_ = std::lround(yEm * 64);
  font->bold_ = description.lfWeight >= FW_SEMIBOLD;
  font->italic_ = description.lfItalic != 0;

  TEXTMETRIC& tm = font->metrics_;
  tm.tmAscent = std::lround(ref->ascent * yEm / upem);
  tm.tmDescent = height > 0 ? height - tm.tmAscent : std::lround(ref->descent * yEm / upem);
  tm.tmHeight = tm.tmAscent + tm.tmDescent;
  tm.tmInternalLeading = tm.tmHeight - std::lround(yEm);
  tm.tmAveCharWidth = std::lround(ref->averageWidth * xEm / upem);
  tm.tmMaxCharWidth = std::lround(ref->face->max_advance_width * xEm / upem);
  tm.tmWeight = description.lfWeight == 0 ? FW_NORMAL : description.lfWeight;
  tm.tmDigitizedAspectX = tm.tmDigitizedAspectY = 96;
  tm.tmFirstChar = 0x20;
  tm.tmLastChar = 0xFF;
  tm.tmDefaultChar = 0x1F;
  tm.tmBreakChar = 0x20;
  tm.tmItalic = description.lfItalic;
  tm.tmUnderlined = description.lfUnderline;
  tm.tmStruckOut = description.lfStrikeOut;
  // The low bit set means variable pitch; 6 = outline (TrueType) font; 0x30 = modern family.
  tm.tmPitchAndFamily = static_cast<BYTE>(0x30 | 6 | (FT_IS_FIXED_WIDTH(ref->face) ? 0 : 1));
  tm.tmCharSet = SHIFTJIS_CHARSET;
  return font;
}

bool FontFace::Select() const {
  return FT_Set_Char_Size(face_->face, xSize26_, ySize26_, 72, 72) == 0;
}

DWORD FontFace::GetGlyph(UINT code, UINT format, GLYPHMETRICS& out, DWORD bufferSize,
                         void* buffer) const {
  if (format != GGO_METRICS && format != GGO_GRAY4_BITMAP) return GDI_ERROR;
  if (!Select()) return GDI_ERROR;
  FT_Face face = face_->face;
  const char32_t cp = SjisCodeToUnicode(code);
  const FT_UInt index = cp ? FT_Get_Char_Index(face, cp) : 0;
  if (index == 0) {
    // A code the face lacks inks nothing but still moves the pen like the face's missing glyph.
    if (FT_Load_Glyph(face, 0, FT_LOAD_NO_BITMAP) != 0) return GDI_ERROR;
    out = GLYPHMETRICS{};
    out.gmCellIncX = static_cast<int16_t>((face->glyph->advance.x + 32) >> 6);
    return 0;
  }
  if (FT_Load_Glyph(face, index, FT_LOAD_NO_BITMAP | FT_LOAD_TARGET_NORMAL) != 0) return GDI_ERROR;
  FT_GlyphSlot slot = face->glyph;
  if (bold_) FT_GlyphSlot_Embolden(slot);
  if (italic_) FT_GlyphSlot_Oblique(slot);
  if (FT_Render_Glyph(slot, FT_RENDER_MODE_NORMAL) != 0) return GDI_ERROR;
  const FT_Bitmap& bitmap = slot->bitmap;
  if (bitmap.rows > 0 && bitmap.width > 0 && bitmap.pixel_mode != FT_PIXEL_MODE_GRAY)
    return GDI_ERROR;

  out = GLYPHMETRICS{};
  out.gmBlackBoxX = bitmap.width;
  out.gmBlackBoxY = bitmap.rows;
  out.gmptGlyphOrigin.x = slot->bitmap_left;
  out.gmptGlyphOrigin.y = slot->bitmap_top;
  out.gmCellIncX = static_cast<int16_t>((slot->advance.x + 32) >> 6);
  if (format == GGO_METRICS) return 0;

  const DWORD pitch = (bitmap.width + 3) & ~3u;
  const DWORD needed = pitch * bitmap.rows;
  if (needed == 0 || buffer == nullptr || bufferSize == 0) return needed;
  if (bufferSize < needed) return GDI_ERROR;
  auto* dst = static_cast<uint8_t*>(buffer);
  std::memset(dst, 0, needed);
  const int srcPitch = bitmap.pitch < 0 ? -bitmap.pitch : bitmap.pitch;
  for (unsigned y = 0; y < bitmap.rows; ++y) {
    // A negative pitch stores the rows bottom-up.
    unsigned row = bitmap.pitch < 0 ? bitmap.rows - 1 - y : y;
    const uint8_t* src = bitmap.buffer + static_cast<size_t>(row) * srcPitch;
    for (unsigned x = 0; x < bitmap.width; ++x) dst[y * pitch + x] = GrayLevel(src[x]);
  }
  return needed;
}

}  // namespace plat::gdi
