// Weapon type 4, the heroine: the ground and air combos of weapon type 3, a charged strike on the
// ground as its hold attack, a plunge that strikes on landing, dash attacks, and eight techniques
// (one hovering, one plunging).
#pragma once
#include <string>

#include "game/moveset/TPlayerStyle.h"

class TPlayerStyle04 : public TPlayerStyle {
 public:
  TPlayerStyle04(TFieldScene& scene, uint32_t member, const TCharBlock& block, const std::string& model)
      : TPlayerStyle(scene, member, block, model, Table()) {}

  static const TStyleTable& Table();
};
