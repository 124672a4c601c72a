#include "tools/datakit/SaveGameWriter.h"

#include <cstdio>

#include "common/TFile.h"
#include "common/scramble.h"
#include "tools/datakit/ByteWriter.h"

namespace datakit {

std::vector<uint8_t> SavePayload(const SaveGame& s) {
  ByteWriter w;
  w.U32(s.playTime).U32(s.musicLevel).U32(s.effectLevel).U32(s.voiceLevel).U8(s.miniMapMode);
  w.U32(s.currentMember).U32(s.savePointId + kSavePointDisguise).U32(s.gold);
  for (const SaveBlock& b : s.party) {
    w.I32(b.memberId).U32(b.level).U32(b.experience);
    w.I32(b.maxHp).I32(b.maxMp).I32(b.ringGaugeMax).I32(b.hp).I32(b.mp).I32(b.ringGaugeUsed);
    for (int32_t v : b.params) w.I32(v);
    for (float v : b.elements) w.F32(v);
    w.U32(b.weaponId).U32(b.accessoryA).U32(b.accessoryB);
    for (uint32_t v : b.skillSlots) w.U32(v);
    for (uint16_t v : b.weaponPoints) w.U16(v);
    for (uint16_t v : b.accessoryPoints) w.U16(v);
    for (uint32_t v : b.timers) w.U32(v);
    for (uint32_t v : b.bestCombos) w.U32(v);
    w.U32(b.declaredLearnedCount.value_or(static_cast<uint32_t>(b.learned.size())));
    for (uint32_t v : b.learned) w.U32(v);
  }
  w.Raw(s.flags.data(), s.flags.size()).Raw(s.pickups.data(), s.pickups.size());
  for (auto& [id, count] : s.ring) w.U32(id).U8(count);
  w.U32(s.declaredBagCount.value_or(static_cast<uint32_t>(s.bag.size())));
  for (auto& [id, count] : s.bag) w.U32(id).U8(count);
  return w.data();
}

std::vector<uint8_t> SaveFileBytes(const std::vector<uint8_t>& plainPayload, uint8_t placement) {
  std::vector<uint8_t> stored = plainPayload;
  scramble::ScrambleBytes(stored.data(), stored.size(), 0);
  const uint32_t crc = Crc32(stored.data(), static_cast<int32_t>(stored.size()));
  ByteWriter w;
  w.U8(placement);
  if (placement == 1) w.U32(crc);
  w.Raw(stored);
  if (placement != 1) w.U32(crc);
  return w.data();
}

std::string SaveFilePath(const std::string& folder, int slot) {
  char name[32];
  std::snprintf(name, sizeof name, "sav_%02d.dat", slot);
  return folder + name;
}

void WriteSave(const std::string& path, const SaveGame& save, uint8_t placement) {
  SaveFile(path, SaveFileBytes(SavePayload(save), placement));
}

}  // namespace datakit
