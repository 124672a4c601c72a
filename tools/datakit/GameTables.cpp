#include "tools/datakit/GameTables.h"

#include <cstring>
#include <initializer_list>

#include "common/scramble.h"

namespace datakit {

namespace {

// Scrambled record fields: numbers from rotation `field`, string texts from `text`.
class FieldWriter {
 public:
  FieldWriter(ByteWriter& out, uint8_t field, uint8_t text) : out_(out), field_(field), text_(text) {}
  FieldWriter& U8(uint8_t v) {
    out_.ScrambledBlock(&v, 1, field_);
    return *this;
  }
  FieldWriter& U32(uint32_t v) {
    uint8_t b[4];
    for (int i = 0; i < 4; ++i) b[i] = static_cast<uint8_t>(v >> (8 * i));
    out_.ScrambledBlock(b, 4, field_);
    return *this;
  }
  FieldWriter& I32(int32_t v) { return U32(static_cast<uint32_t>(v)); }
  FieldWriter& F32(float v) {
    uint32_t bits;
    std::memcpy(&bits, &v, 4);
    return U32(bits);
  }
  FieldWriter& Str(const std::string& s) {
    out_.ScrambledString(s, text_);
    return *this;
  }
  template <class T, size_t N>
  FieldWriter& Each(const std::array<T, N>& values, FieldWriter& (FieldWriter::*write)(T)) {
    for (T v : values) (this->*write)(v);
    return *this;
  }
  FieldWriter& Strs(const std::array<std::string, 3>& values) {
    for (const auto& v : values) Str(v);
    return *this;
  }

 private:
  ByteWriter& out_;
  uint8_t field_, text_;
};

FieldWriter TableRow(TableWriter& table, std::initializer_list<const char*> columns) {
  if (table.ColumnCount() == 0)
    for (const char* c : columns) table.Column(c);
  return FieldWriter(table.Row(), 0, scramble::kTableTextOffset);
}

}  // namespace

void AddRow(TableWriter& t, const WeaponRow& r) {
  TableRow(t, {"id", "name", "type", "attack", "value", "element", "skills", "mesh"})
      .U32(r.id)
      .Str(r.name)
      .U32(r.type)
      .U32(r.attack)
      .U32(r.secondValue)
      .U32(r.element)
      .Each(r.skills, &FieldWriter::U32)
      .Str(r.meshName);
}

void AddRow(TableWriter& t, const AccessoryRow& r) {
  TableRow(t, {"id", "name", "spare", "pdef", "mdef", "elements", "skills", "text"})
      .U32(r.id)
      .Str(r.name)
      .U8(r.spare)
      .I32(r.physicalDefence)
      .I32(r.magicDefence)
      .Each(r.elementDefences, &FieldWriter::F32)
      .Each(r.skills, &FieldWriter::U32)
      .Str(r.spareText);
}

void AddRow(TableWriter& t, const ItemMeanRow& r) {
  TableRow(t, {"id", "reserved", "hp", "mp", "boosts", "cures", "cost", "duration"})
      .U32(r.id)
      .U32(r.reserved)
      .I32(r.hpRestored)
      .I32(r.mpRestored)
      .Each(r.boosts, &FieldWriter::I32)
      .Each(r.cures, &FieldWriter::U8)
      .I32(r.ringCost)
      .I32(r.duration);
}

void AddRow(TableWriter& t, const ItemRow& r) {
  TableRow(t, {"id", "name", "kind", "sell", "ring", "spare", "buy", "price", "model", "icon", "picture", "lines"})
      .U32(r.id)
      .Str(r.name)
      .U8(r.mapModelKind)
      .U8(r.sellFlag)
      .U8(r.ringFlag)
      .U8(r.spare)
      .U32(r.buyPrice)
      .U32(r.sellPrice)
      .Str(r.modelName)
      .Str(r.iconName)
      .Str(r.pictureName)
      .Strs(r.description);
}

void AddRow(TableWriter& t, const SkillRow& r) {
  TableRow(t, {"id", "name", "kind", "icon", "picture", "lines"})
      .U32(r.id)
      .Str(r.name)
      .U8(r.kind)
      .U8(r.icon)
      .Str(r.pictureName)
      .Strs(r.description);
}

void AddRow(TableWriter& t, const SvpRow& r) {
  TableRow(t, {"id", "map", "x", "y", "z", "place"}).U32(r.id).Str(r.mapName).F32(r.x).F32(r.y).F32(r.z).Str(r.placeName);
}

void AddRow(TableWriter& t, const HrdefRow& r) {
  TableRow(t, {"id", "name", "level", "exp", "hp", "mp", "gauge", "params", "elements", "weapon", "accA", "accB",
               "growth", "face", "model", "table"})
      .U32(r.id)
      .Str(r.name)
      .U32(r.level)
      .U32(r.experience)
      .U32(r.maxHp)
      .U32(r.maxMp)
      .U32(r.ringGaugeMax)
      .Each(r.params, &FieldWriter::I32)
      .Each(r.elements, &FieldWriter::F32)
      .U32(r.weaponId)
      .U32(r.accessoryA)
      .U32(r.accessoryB)
      .Each(r.growth, &FieldWriter::I32)
      .Str(r.faceName)
      .Str(r.modelName)
      .Str(r.tableName);
}

void AddRow(TableWriter& t, const EnemyRow& r) {
  if (t.ColumnCount() == 0) t.Column("id").Column("name");
  FieldWriter(t.Row(), scramble::kEnemyFieldOffset, scramble::kEnemyTextOffset)
      .U32(r.id)
      .Str(r.name)
      .F32(r.height)
      .F32(r.shadowSize)
      .U8(r.objectFlagA)
      .U8(r.objectFlagB)
      .F32(r.gravity)
      .U8(r.actorFlagA)
      .U8(r.actorFlagB)
      .U8(r.actorFlagC)
      .I32(r.maxHp)
      .I32(r.hp)
      .I32(r.maxPoints)
      .I32(r.points)
      .Each(r.param, &FieldWriter::I32)
      .Each(r.element, &FieldWriter::F32)
      .U32(r.level)
      .U32(r.levelSpare)
      .U32(r.valueA)
      .U32(r.valueB)
      .U32(r.growthA)
      .U32(r.growthB)
      .Each(r.paramGrowth, &FieldWriter::I32)
      .I32(r.hpGrowth)
      .U32(r.extraValue)
      .U32(r.dropMoney)
      .U32(r.dropItem2)
      .U32(r.dropItem1)
      .F32(r.dropChance2)
      .F32(r.dropChance1)
      .Str(r.modelName)
      .Str(r.soundName);
}

}  // namespace datakit
