#include "common/TTexturePack.h"

#include "common/TFile.h"
#include "common/my_error.h"

namespace {

struct Channel {
  uint32_t mask, left, right;
  uint32_t Place(uint8_t v) const { return ((static_cast<uint32_t>(v) >> right) << left) & mask; }
};

// One texel layout per format number; a zero alpha mask means the format has no alpha.
struct TexelLayout {
  uint32_t format;
  uint32_t bytes;
  Channel alpha, red, green, blue;
};

constexpr TexelLayout kLayouts[] = {
    {20, 3, {0, 0, 0}, {0xFF0000, 16, 0}, {0xFF00, 8, 0}, {0xFF, 0, 0}},            // R8G8B8
    {21, 4, {0xFF000000, 24, 0}, {0xFF0000, 16, 0}, {0xFF00, 8, 0}, {0xFF, 0, 0}},  // A8R8G8B8
    {22, 4, {0, 0, 0}, {0xFF0000, 16, 0}, {0xFF00, 8, 0}, {0xFF, 0, 0}},            // X8R8G8B8
    {23, 2, {0, 0, 0}, {0xF800, 11, 3}, {0x7E0, 5, 2}, {0x1F, 0, 3}},               // R5G6B5
    {24, 2, {0, 0, 0}, {0x7C00, 10, 3}, {0x3E0, 5, 3}, {0x1F, 0, 3}},               // X1R5G5B5
    {25, 2, {0x8000, 15, 7}, {0x7C00, 10, 3}, {0x3E0, 5, 3}, {0x1F, 0, 3}},         // A1R5G5B5
    {26, 2, {0xF000, 12, 4}, {0xF00, 8, 4}, {0xF0, 4, 4}, {0xF, 0, 4}},             // A4R4G4B4
    {27, 1, {0, 0, 0}, {0xE0, 5, 5}, {0x1C, 2, 5}, {0x3, 0, 6}},                    // R3G3B2
    {29, 2, {0xFF00, 8, 0}, {0xE0, 5, 5}, {0x1C, 2, 5}, {0x3, 0, 6}},               // A8R3G3B2
    {30, 2, {0, 0, 0}, {0xF00, 8, 4}, {0xF0, 4, 4}, {0xF, 0, 4}},                   // X4R4G4B4
    // A2B10G10R10 keeps red in the low bits, as its name says.
    {31, 4, {0xC0000000, 30, 6}, {0x3FF, 2, 0}, {0xFFC00, 12, 0}, {0x3FF00000, 22, 0}},
};

const TexelLayout* LayoutOf(uint32_t format) {
  for (const TexelLayout& l : kLayouts)
    if (l.format == format) return &l;
  return nullptr;
}

[[noreturn]] void Damaged(const std::string& packPath, const char* what, int line) {
  throw my_error(packPath + ": damaged texture pack (" + what + ")", __FILE__, line);
}

}  // namespace

bool TTexturePack::ReadEntry(TFile& pack, const std::string& packPath, const std::string& entryName,
                             TPackPicture& out) {
  const uint64_t fileSize = pack.GetSize();
  uint32_t count = 0;
  if (!pack.Read(&count, 4)) Damaged(packPath, "no directory", __LINE__);
  // Each entry takes at least its name length and its offset.
  if (count > pack.Remaining() / 8) Damaged(packPath, "directory count", __LINE__);
  bool found = false;
  uint32_t offset = 0;
  for (uint32_t i = 0; i < count && !found; ++i) {
    std::string name;
    if (!pack.ReadString(name, 255) || !pack.Read(&offset, 4))
      Damaged(packPath, "directory entry", __LINE__);
    if (uint64_t{offset} + 12 > fileSize) Damaged(packPath, "entry offset", __LINE__);
    found = name == entryName;
  }
  if (!found) return false;

  uint32_t header[3];
  if (!pack.SeekSet(static_cast<int32_t>(offset)) || !pack.Read(header, sizeof header))
    Damaged(packPath, "entry offset", __LINE__);
  out.kind = header[0];
  out.width = header[1];
  out.height = header[2];
  if (out.kind > 3) Damaged(packPath, "picture kind", __LINE__);
  const uint64_t area = uint64_t{out.width} * out.height;
  const uint64_t needed = sizeof out.palette + area * (out.HasAlphaLayer() ? 2 : 1);
  if (needed > pack.Remaining()) Damaged(packPath, "picture size", __LINE__);
  out.pixels.resize(area);
  out.alpha.resize(out.HasAlphaLayer() ? area : 0);
  const auto n = static_cast<uint32_t>(area);
  if (!pack.Read(out.palette, sizeof out.palette) || !pack.Read(out.pixels.data(), n) ||
      (out.HasAlphaLayer() && !pack.Read(out.alpha.data(), n)))
    Damaged(packPath, "picture size", __LINE__);
  return true;
}

bool TTexturePack::HasConversion(uint32_t format) { return LayoutOf(format) != nullptr; }

bool TTexturePack::Convert(const TPackPicture& picture, uint32_t format, uint8_t* bits,
                           uint32_t pitch) {
  const TexelLayout* layout = LayoutOf(format);
  if (!layout) return false;
  const bool alphaFormat = layout->alpha.mask != 0;
  for (uint32_t y = 0; y < picture.height; ++y) {
    const size_t row = size_t{y} * picture.width;
    uint8_t* out = bits + size_t{y} * pitch;
    for (uint32_t x = 0; x < picture.width; ++x) {
      const uint8_t* c = &picture.palette[picture.pixels[row + x] * 4];
      uint32_t texel = layout->red.Place(c[2]) | layout->green.Place(c[1]) | layout->blue.Place(c[0]);
      if (alphaFormat)
        texel |= picture.HasAlphaLayer() ? layout->alpha.Place(picture.alpha[row + x])
                                         : layout->alpha.mask;
      for (uint32_t b = 0; b < layout->bytes; ++b)
        *out++ = static_cast<uint8_t>(texel >> (8 * b));
    }
  }
  return true;
}
