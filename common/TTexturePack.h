// ".ptx" texture packs: a directory of named entries, each a paletted picture with an optional
// alpha layer, and the conversion of such a picture into the texel formats a device offers.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

class TFile;

struct TPackPicture {
  uint32_t kind = 0;  // texture-format slot 0-3
  uint32_t width = 0, height = 0;
  uint8_t palette[256 * 4] = {};  // blue, green, red, unused
  std::vector<uint8_t> pixels;    // palette indices, top row first
  std::vector<uint8_t> alpha;     // kinds 1 and 2 only

  bool HasAlphaLayer() const { return kind == 1 || kind == 2; }
};

class TTexturePack {
 public:
  // Reads the picture of the first entry named entryName from the open pack. False when the
  // directory has no such entry; my_error naming packPath when the pack is damaged (a count, an
  // offset, a kind or a picture size that the file cannot hold).
  static bool ReadEntry(TFile& pack, const std::string& packPath, const std::string& entryName,
                        TPackPicture& out);

  // Whether pictures can be written into textures of this format.
  static bool HasConversion(uint32_t format);
  // Writes the picture's texels into rows of the given pitch (which the caller has zeroed and
  // which hold at least width texels); false for a format without a conversion.
  static bool Convert(const TPackPicture& picture, uint32_t format, uint8_t* bits, uint32_t pitch);
};
