#include "game/data/TCharBlock.h"

#include <algorithm>

#include "game/data/THrdefTable.h"
#include "game/data/TSaveBuffer.h"

void TCharBlock::ResetFromDefinition(uint32_t member) {
  const THrdefRecord& d = *THrdefTable::Find(member);
  memberId = static_cast<int32_t>(d.id);
  level = d.level;
  experience = d.experience;
  maxHp = static_cast<int32_t>(d.maxHp);
  maxMp = static_cast<int32_t>(d.maxMp);
  ringGaugeMax = static_cast<int32_t>(d.ringGaugeMax);
  params = d.params;
  elements = d.elements;
  weaponId = d.weaponId;
  accessoryA = d.accessoryA;
  accessoryB = d.accessoryB;
  Refill();
  skillSlots.fill(0);
  weaponPoints.fill(0);
  accessoryPoints.fill(0);
  timers.fill(0);
  bestCombos.fill(0);
  learned.clear();
}

void TCharBlock::CopyFromPlayer(const TPlayerState& p) {
  memberId = static_cast<int32_t>(p.member);
  level = p.level;
  experience = p.experience;
  maxHp = p.maxHp;
  maxMp = p.maxMp;
  ringGaugeMax = p.ringGaugeMax;
  hp = p.hp;
  mp = p.mp;
  ringGaugeUsed = p.ringGaugeUsed;
  params = p.params;
  elements = p.elements;
  weaponId = p.weaponId;
  accessoryA = p.accessoryA;
  accessoryB = p.accessoryB;
  timers = p.timers;
  bestCombos = p.bestCombos;
}

void TCharBlock::Serialize(TSaveWriter& out) const {
  out.U32(static_cast<uint32_t>(memberId)).U32(level).U32(experience);
  for (int32_t v : {maxHp, maxMp, ringGaugeMax, hp, mp, ringGaugeUsed}) out.U32(static_cast<uint32_t>(v));
  for (int32_t v : params) out.U32(static_cast<uint32_t>(v));
  for (float v : elements) out.F32(v);
  out.U32(weaponId).U32(accessoryA).U32(accessoryB);
  for (uint32_t v : skillSlots) out.U32(v);
  for (uint16_t v : weaponPoints) out.U16(v);
  for (uint16_t v : accessoryPoints) out.U16(v);
  for (uint32_t v : timers) out.U32(v);
  for (uint32_t v : bestCombos) out.U32(v);
  out.U32(static_cast<uint32_t>(learned.size()));
  for (uint32_t v : learned) out.U32(v);
}

bool TCharBlock::Deserialize(TSaveReader& in) {
  bool ok = in.I32(memberId) && in.U32(level) && in.U32(experience) && in.I32(maxHp) && in.I32(maxMp) &&
            in.I32(ringGaugeMax) && in.I32(hp) && in.I32(mp) && in.I32(ringGaugeUsed);
  for (int32_t& v : params) ok = ok && in.I32(v);
  for (float& v : elements) ok = ok && in.F32(v);
  ok = ok && in.U32(weaponId) && in.U32(accessoryA) && in.U32(accessoryB);
  ok = ok && in.U32s(skillSlots.data(), skillSlots.size()) && in.U16s(weaponPoints.data(), weaponPoints.size()) &&
       in.U16s(accessoryPoints.data(), accessoryPoints.size()) && in.U32s(timers.data(), timers.size()) &&
       in.U32s(bestCombos.data(), bestCombos.size());
  uint32_t count = 0;
  // The count is checked against the bytes left before anything is reserved.
  if (!ok || !in.U32(count) || count > in.Left() / 4) return false;
  learned.assign(count, 0);
  return in.U32s(learned.data(), learned.size());
}

namespace {

// The point cell of an id in either table, or none.
template <class Block>
auto PointCell(Block& block, uint32_t itemId) -> decltype(&block.weaponPoints[0]) {
  if (itemId - TCharBlock::kFirstWeapon < TCharBlock::kPointIds)
    return &block.weaponPoints[itemId - TCharBlock::kFirstWeapon];
  if (itemId - TCharBlock::kFirstAccessory < TCharBlock::kPointIds)
    return &block.accessoryPoints[itemId - TCharBlock::kFirstAccessory];
  return nullptr;
}

}  // namespace

uint16_t TCharBlock::PointsOf(uint32_t itemId) const {
  const uint16_t* cell = PointCell(*this, itemId);
  return cell ? *cell : 0;
}

uint16_t* TCharBlock::PointsSlot(uint32_t itemId) { return PointCell(*this, itemId); }

bool TCharBlock::HasSkill(uint32_t skillId) const {
  return std::find(skillSlots.begin(), skillSlots.end(), skillId) != skillSlots.end() ||
         std::find(learned.begin(), learned.end(), skillId) != learned.end();
}

void TCharBlock::Refill() {
  hp = maxHp;
  mp = maxMp;
  ringGaugeUsed = 0;
}
