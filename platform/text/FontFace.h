// A logical font realised on a FreeType face: the stand-in faces for the game's font names, the
// logical height and width turned into pixel sizes, text metrics and 17-level glyph images.
// Not thread-safe: the GDI layer serialises every call.
#pragma once
#include <memory>
#include <string>
#include <vector>

#include "platform/text/Gdi.h"

namespace plat::gdi {

struct FaceData;  // one opened face file, shared by every font on it

class FontFace {
 public:
  // Null when no stand-in face file can be found.
  static std::unique_ptr<FontFace> Realize(const LOGFONT& description);
  ~FontFace();

  void GetMetrics(TEXTMETRIC& out) const { out = metrics_; }
  DWORD GetGlyph(UINT code, UINT format, GLYPHMETRICS& out, DWORD bufferSize, void* buffer) const;

  static void SetFolders(std::vector<std::string> folders);

 private:
  FontFace() = default;
  bool Select() const;

  FaceData* face_ = nullptr;  // owned by the face cache
  long xSize26_ = 0, ySize26_ = 0;  // pixels per em in 26.6
  bool bold_ = false, italic_ = false;
  TEXTMETRIC metrics_;
};

// The Unicode character of a Shift-JIS code (one byte, or lead × 256 + trail); 0 when it has none.
char32_t SjisCodeToUnicode(UINT code);

}  // namespace plat::gdi
