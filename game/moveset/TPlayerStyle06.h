// Weapon type 6, the hero's: the basic attacks of weapon type 5 with a hold attack of its own,
// and eight techniques, all of them ground finishers. Its landed hits stick pieces on the target
// but do not recoil.
#pragma once
#include <string>

#include "game/moveset/TPlayerStyle.h"

class TPlayerStyle06 : public TPlayerStyle {
 public:
  TPlayerStyle06(TFieldScene& scene, uint32_t member, const TCharBlock& block, const std::string& model)
      : TPlayerStyle(scene, member, block, model, Table()) {}

  static const TStyleTable& Table();
};
