// "VillagerInfo": a villager's script describes the villager to it, and it writes the values into
// the record that the field's villager loader owns. Operation 0 takes, in order: the model name,
// three unsigned numbers (kind, a value kept by the villager, face mode), four reals (body height,
// shadow size, a value kept by the villager, gravity), two flags (shadow shown, pushable: set
// unless the text is exactly "0"), then the position and the facing. A value that does not scan
// leaves its field as it was. Every message holds the script, so the loader stops it there.
#pragma once
#include "game/script/TScriptObject.h"

struct VillagerRecord;

class TVillagerInfo : public TScriptObject {
 public:
  static constexpr uint32_t kDescribe = 0;

  explicit TVillagerInfo(VillagerRecord* record);

  // Always 7; other operations change nothing.
  uint32_t Dispatch(uint32_t op, const TScriptArgs& args, const TScriptArgTypes& argTypes) override;
  void Update() override {}
  void Draw() override {}

 private:
  void Describe(const TScriptArgs& args);

  VillagerRecord* record;  // the loader's, not owned
};
