// Weapon type 0, both members: a four-step ground combo, a three-step air combo, hold attacks on
// the ground, running and in the air, a run attack, and sixteen techniques (four of them aerial).
#pragma once
#include <string>

#include "game/moveset/TPlayerStyle.h"

class TPlayerStyle00 : public TPlayerStyle {
 public:
  TPlayerStyle00(TFieldScene& scene, uint32_t member, const TCharBlock& block, const std::string& model)
      : TPlayerStyle(scene, member, block, model, Table()) {}

  static const TStyleTable& Table();
};
