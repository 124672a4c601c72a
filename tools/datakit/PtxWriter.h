// Writes ".ptx" texture packs: a directory of named entries, then each picture as 8-bit palette
// indices with a 256-colour palette and, for kinds 1 and 2, an alpha layer.
#pragma once
#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "tools/datakit/ByteWriter.h"

namespace datakit {

struct Rgb {
  uint8_t r = 0, g = 0, b = 0;
};

struct PtxPicture {
  uint32_t kind = 0;  // texture-format slot 0-3; kinds 1 and 2 carry the alpha layer
  uint32_t width = 0, height = 0;
  std::array<Rgb, 256> palette{};
  std::vector<uint8_t> pixels;  // palette indices, top row first
  std::vector<uint8_t> alpha;   // written only for kinds 1 and 2 (zeros when left empty)

  bool HasAlpha() const { return kind == 1 || kind == 2; }
  uint8_t& Pixel(uint32_t x, uint32_t y) { return pixels[y * width + x]; }
  uint8_t& Alpha(uint32_t x, uint32_t y) { return alpha[y * width + x]; }
  // The colour a pixel shows.
  Rgb ColourAt(uint32_t x, uint32_t y) const { return palette[pixels[y * width + x]]; }
};

class PtxWriter {
 public:
  PtxWriter& Add(const std::string& entryName, const PtxPicture& picture);
  // An entry whose offset is given as is (for damaged packs); it adds no picture.
  PtxWriter& AddRawEntry(const std::string& entryName, uint32_t offset);

  std::vector<uint8_t> Build() const;
  void Save(const std::string& path) const { SaveFile(path, Build()); }

  // Where the directory puts the n-th entry's picture in the built file.
  uint32_t OffsetOf(size_t entry) const;

 private:
  struct Entry {
    std::string name;
    bool raw = false;
    uint32_t rawOffset = 0;
    PtxPicture picture;
  };
  std::vector<Entry> entries_;
};

}  // namespace datakit
