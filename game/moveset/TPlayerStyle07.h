// Weapon type 7, the hero's: the basic attacks of weapon type 5 with a hold attack of its own,
// and eight techniques (one rising, one aerial). Its landed hits do nothing beyond the character's
// own work.
#pragma once
#include <string>

#include "game/moveset/TPlayerStyle.h"

class TPlayerStyle07 : public TPlayerStyle {
 public:
  TPlayerStyle07(TFieldScene& scene, uint32_t member, const TCharBlock& block, const std::string& model)
      : TPlayerStyle(scene, member, block, model, Table()) {}

  static const TStyleTable& Table();
};
