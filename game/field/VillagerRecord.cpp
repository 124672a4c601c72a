#include "game/field/VillagerRecord.h"

#include "game/field/FieldServices.h"

namespace {

constexpr uint32_t kEngineStopped = 16;

// Waiting (3) or finished (4); a stopped engine would answer 16 for ever.
bool RunEnds(uint32_t result) { return (result & 6) != 0 || result == kEngineStopped; }

}  // namespace

VillagerRecord::VillagerRecord(const std::string& script) : scriptName(script) {
  TFieldServices& services = GetFieldServices();
  services.LoadVillagerScript(*this);
  while (!RunEnds(services.RunScripts())) {
  }
  services.EndVillagerScript();
}
