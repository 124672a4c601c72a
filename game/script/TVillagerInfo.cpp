#include "game/script/TVillagerInfo.h"

#include <bit>
#include <utility>

#include "game/field/VillagerRecord.h"
#include "game/script/ScriptNumber.h"

namespace {

void ScanInto(uint32_t& field, const std::string& text) {
  if (std::optional<uint32_t> v = scriptnum::ScanUnsigned(text)) field = *v;
}

void ScanInto(float& field, const std::string& text) {
  if (std::optional<float> v = scriptnum::ScanFloat(text)) field = *v;
}

// The real's bits, as a real scanned into an unsigned field leaves them.
void ScanBitsInto(uint32_t& field, const std::string& text) {
  if (std::optional<float> v = scriptnum::ScanFloat(text)) field = std::bit_cast<uint32_t>(*v);
}

uint8_t Flag(const std::string& text) { return text == "0" ? 0 : 1; }

}  // namespace

TVillagerInfo::TVillagerInfo(VillagerRecord* r) : TScriptObject("VillagerInfo"), record(r) {}

uint32_t TVillagerInfo::Dispatch(uint32_t op, const TScriptArgs& args, const TScriptArgTypes&) {
  if (op == kDescribe && record) Describe(args);
  return kHold;
}

void TVillagerInfo::Describe(const TScriptArgs& args) {
  VillagerRecord& r = *record;
  // An argument the script left out changes nothing.
  const auto given = [&args](size_t i) { return i < args.size(); };
  if (given(0)) r.modelName = args[0];
  const std::pair<uint32_t*, size_t> numbers[] = {{&r.kind, 1}, {&r.infoValue1, 2}, {&r.faceMode, 3}};
  for (auto [field, i] : numbers)
    if (given(i)) ScanInto(*field, args[i]);
  const std::pair<float*, size_t> reals[] = {
      {&r.bodyHeight, 4},  {&r.shadowSize, 5}, {&r.gravity, 7},   {&r.position.x, 10}, {&r.position.y, 11},
      {&r.position.z, 12}, {&r.facing.x, 13},  {&r.facing.y, 14}, {&r.facing.z, 15}};
  for (auto [field, i] : reals)
    if (given(i)) ScanInto(*field, args[i]);
  if (given(6)) ScanBitsInto(r.infoValue2, args[6]);
  if (given(8)) r.shadowVisible = Flag(args[8]);
  if (given(9)) r.pushable = Flag(args[9]);
}
