// Weapon type 2, both members: a five-step ground combo, a three-step air combo, hold attacks on
// the ground, running and in the air, a run attack, and fourteen techniques (four of them
// aerial). Its landed hits recoil but stick nothing on the target.
#pragma once
#include <string>

#include "game/moveset/TPlayerStyle.h"

class TPlayerStyle02 : public TPlayerStyle {
 public:
  TPlayerStyle02(TFieldScene& scene, uint32_t member, const TCharBlock& block, const std::string& model)
      : TPlayerStyle(scene, member, block, model, Table()) {}

  static const TStyleTable& Table();
};
