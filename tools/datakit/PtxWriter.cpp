#include "tools/datakit/PtxWriter.h"

namespace datakit {

PtxWriter& PtxWriter::Add(const std::string& entryName, const PtxPicture& picture) {
  entries_.push_back({entryName, false, 0, picture});
  return *this;
}

PtxWriter& PtxWriter::AddRawEntry(const std::string& entryName, uint32_t offset) {
  entries_.push_back({entryName, true, offset, {}});
  return *this;
}

uint32_t PtxWriter::OffsetOf(size_t entry) const {
  size_t at = 4;
  for (const Entry& e : entries_) at += 4 + e.name.size() + 4;
  for (size_t i = 0; i < entry && i < entries_.size(); ++i) {
    const Entry& e = entries_[i];
    if (e.raw) continue;
    size_t area = size_t(e.picture.width) * e.picture.height;
    at += 12 + 1024 + area * (e.picture.HasAlpha() ? 2 : 1);
  }
  return entries_[entry].raw ? entries_[entry].rawOffset : static_cast<uint32_t>(at);
}

std::vector<uint8_t> PtxWriter::Build() const {
  ByteWriter out;
  out.U32(static_cast<uint32_t>(entries_.size()));
  for (size_t i = 0; i < entries_.size(); ++i) out.LString(entries_[i].name).U32(OffsetOf(i));
  for (const Entry& e : entries_) {
    if (e.raw) continue;
    const PtxPicture& p = e.picture;
    const size_t area = size_t(p.width) * p.height;
    out.U32(p.kind).U32(p.width).U32(p.height);
    for (const Rgb& c : p.palette) out.U8(c.b).U8(c.g).U8(c.r).U8(0);
    std::vector<uint8_t> pixels = p.pixels;
    pixels.resize(area, 0);
    out.Raw(pixels);
    if (p.HasAlpha()) {
      std::vector<uint8_t> alpha = p.alpha;
      alpha.resize(area, 0);
      out.Raw(alpha);
    }
  }
  return out.data();
}

}  // namespace datakit
