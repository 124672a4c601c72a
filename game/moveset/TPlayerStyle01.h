// Weapon type 1, both members: the basic attacks of weapon type 0 with a hold attack of its own,
// and ten techniques, all of them ground finishers. A held technique counts as aerial by its
// skill's sub-kind, a tapped one never.
#pragma once
#include <string>

#include "game/moveset/TPlayerStyle.h"

class TPlayerStyle01 : public TPlayerStyle {
 public:
  TPlayerStyle01(TFieldScene& scene, uint32_t member, const TCharBlock& block, const std::string& model)
      : TPlayerStyle(scene, member, block, model, Table()) {}

  static const TStyleTable& Table();
};
