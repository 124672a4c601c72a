// Words for the pictures that carry text, drawn with FreeType on IPA Gothic (the face the game's
// own texts use), as coverage masks that the picture kit lays onto a picture in a colour.
#pragma once
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace datakit {

// Coverage 0 (none) to 255 (full ink), top row first.
struct WordMask {
  uint32_t width = 0, height = 0;
  std::vector<uint8_t> coverage;

  uint8_t At(uint32_t x, uint32_t y) const { return coverage[size_t(y) * width + x]; }
};

class WordPainter {
 public:
  // The proportional face, or the fixed-width one; std::runtime_error when neither file is found
  // in the font folders.
  explicit WordPainter(bool fixedWidth = false);
  ~WordPainter();
  WordPainter(const WordPainter&) = delete;
  WordPainter& operator=(const WordPainter&) = delete;

  // UTF-8 words at an em of `pixels`: the mask is as wide as the pen's advance and as tall as the
  // em, the baseline where the face puts it. Characters the face lacks advance blank.
  WordMask Paint(const std::string& utf8, uint32_t pixels) const;

  // The folders searched for "ipagp.ttf" and "ipag.ttf".
  static const std::vector<std::string>& FontFolders();

 private:
  struct Face;
  std::unique_ptr<Face> face_;
};

// The Unicode characters of UTF-8 text; a broken sequence gives U+FFFD and moves on one byte.
std::u32string DecodeUtf8(const std::string& utf8);

}  // namespace datakit
