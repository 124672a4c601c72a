#include "tools/datakit/HitTableWriter.h"

#include <stdexcept>

#include "common/scramble.h"

namespace datakit {

namespace {

void Count(ByteWriter& out, uint32_t v, bool scrambled) {
  if (scrambled)
    out.Scrambled4(v);
  else
    out.U32(v);
}

void Name(ByteWriter& out, const std::string& name, bool scrambled) {
  if (!scrambled) {
    out.LString(name);
    return;
  }
  ByteWriter length;
  length.U32(static_cast<uint32_t>(name.size()));
  out.ScrambledBlock(length, scramble::kHitNameLengthOffset);
  out.ScrambledBlock(name.data(), name.size(), scramble::kHitNameTextOffset);
}

}  // namespace

void WriteHitRecord(ByteWriter& out, const HitRecordRow& r) {
  out.U32(r.id).U32(r.volumeKind).U32(r.cancelMask).U32(r.attachPoint).U32(r.lifetime);
  for (float v : r.position) out.F32(v);
  out.I32(r.rehitInterval).I32(r.hitFlags).U32(r.paramB).U32(r.paramC).U32(r.hitCount);
  out.F32(r.paramD).F32(r.radius).F32(r.paramE).F32(r.paramF).F32(r.paramG).I32(r.landedValue);
}

ByteWriter HitTableFile::Build() const {
  if (names.size() != ids.size()) throw std::invalid_argument("hit table: one id per name");
  ByteWriter out;
  out.U8(scrambled ? 1 : 0);
  Count(out, declaredRecordCount.value_or(static_cast<uint32_t>(records.size())), scrambled);
  Count(out, static_cast<uint32_t>(names.size()), scrambled);
  for (const std::string& name : names) Name(out, name, scrambled);
  for (uint32_t id : ids) Count(out, id, scrambled);
  for (const HitRecordRow& r : records) WriteHitRecord(out, r);
  return out;
}

}  // namespace datakit
