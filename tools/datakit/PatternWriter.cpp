#include "tools/datakit/PatternWriter.h"

namespace datakit {

void WritePatternFrame(ByteWriter& out, const PatternFrame& f) {
  out.U16(f.hitId).U8(f.paramA).U16(f.attackKind).U32(f.seId).U32(f.voiceId).U8(f.shakeLevel);
  for (float v : f.displacement) out.F32(v);
  out.U8(f.blink).U8(f.paramB);
}

ByteWriter PatternFile::Build() const {
  ByteWriter out;
  out.U32(header).U32(static_cast<uint32_t>(motions.size()));
  for (const std::vector<PatternFrame>& frames : motions) {
    out.U32(static_cast<uint32_t>(frames.size()));
    for (const PatternFrame& f : frames) WritePatternFrame(out, f);
  }
  return out;
}

}  // namespace datakit
