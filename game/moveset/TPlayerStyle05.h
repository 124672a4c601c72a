// Weapon type 5, the hero's: a three-step ground combo, one air attack that lasts until the
// landing, hold attacks on the ground, running and in the air, a run attack, and twelve techniques
// (two aerial, two rising). Its landed hits stick pieces on the target but do not recoil.
#pragma once
#include <string>

#include "game/moveset/TPlayerStyle.h"

class TPlayerStyle05 : public TPlayerStyle {
 public:
  TPlayerStyle05(TFieldScene& scene, uint32_t member, const TCharBlock& block, const std::string& model)
      : TPlayerStyle(scene, member, block, model, Table()) {}

  static const TStyleTable& Table();
};
