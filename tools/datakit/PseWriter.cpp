#include "tools/datakit/PseWriter.h"

#include <cmath>
#include <numbers>

#include "tools/datakit/ByteWriter.h"

namespace datakit {

WaveFormat WaveFormat::Pcm(uint16_t channels, uint32_t rate, uint16_t bits) {
  WaveFormat f;
  f.channels = channels;
  f.samplesPerSec = rate;
  f.bitsPerSample = bits;
  f.blockAlign = static_cast<uint16_t>(channels * bits / 8);
  f.bytesPerSec = f.blockAlign * rate;
  return f;
}

std::vector<uint8_t> ToneData(const WaveFormat& f, double hz, uint32_t frames, double amplitude) {
  ByteWriter w;
  for (uint32_t i = 0; i < frames; ++i) {
    double v = amplitude * std::sin(2.0 * std::numbers::pi * hz * i / f.samplesPerSec);
    for (uint16_t c = 0; c < f.channels; ++c) {
      if (f.bitsPerSample == 8)
        w.U8(static_cast<uint8_t>(std::lround(128.0 + v * 127.0)));
      else
        w.U16(static_cast<uint16_t>(static_cast<int16_t>(std::lround(v * 32767.0))));
    }
  }
  return w.data();
}

std::vector<uint8_t> SilenceData(const WaveFormat& f, uint32_t frames) {
  return std::vector<uint8_t>(static_cast<size_t>(frames) * f.blockAlign, f.bitsPerSample == 8 ? 0x80 : 0);
}

PseWriter& PseWriter::Entry(const std::string& name, const WaveFormat& format, const std::vector<uint8_t>& data,
                            std::optional<uint32_t> declaredSize) {
  items_.push_back({name, format, data, declaredSize});
  return *this;
}

PseWriter& PseWriter::DeclareEntryCount(uint32_t n) {
  count_ = n;
  return *this;
}

std::vector<uint8_t> PseWriter::Build() const {
  uint32_t offset = 4;
  for (const Item& item : items_) offset += 8 + static_cast<uint32_t>(item.name.size());
  ByteWriter w;
  w.U32(count_.value_or(static_cast<uint32_t>(items_.size())));
  for (const Item& item : items_) {
    w.LString(item.name).U32(offset);
    offset += 18 + 4 + static_cast<uint32_t>(item.data.size());
  }
  for (const Item& item : items_) {
    const WaveFormat& f = item.format;
    w.U16(f.formatTag).U16(f.channels).U32(f.samplesPerSec).U32(f.bytesPerSec);
    w.U16(f.blockAlign).U16(f.bitsPerSample).U16(f.extraSize);
    w.U32(item.declaredSize.value_or(static_cast<uint32_t>(item.data.size())));
    w.Raw(item.data);
  }
  return w.data();
}

void PseWriter::Save(const std::string& path) const { SaveFile(path, Build()); }

}  // namespace datakit
