#include "tools/datakit/WeaponStateWriter.h"

namespace datakit {

ByteWriter WeaponStateFile::Build() const {
  ByteWriter out;
  out.U32(header).U32(static_cast<uint32_t>(keys.size()));
  for (const HandKey& k : keys) {
    for (float v : k.leftPosition) out.F32(v);
    for (float v : k.leftRotation) out.F32(v);
    for (float v : k.rightPosition) out.F32(v);
    for (float v : k.rightRotation) out.F32(v);
  }
  out.U32(static_cast<uint32_t>(motions.size()));
  for (const std::vector<uint32_t>& frames : motions) {
    out.U32(static_cast<uint32_t>(frames.size()));
    for (uint32_t key : frames) out.U32(key);
  }
  return out;
}

}  // namespace datakit
