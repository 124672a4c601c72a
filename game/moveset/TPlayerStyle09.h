// Weapon type 9, the heroine: a three-step ground combo, a charged strike on the ground as its hold
// attack, one air attack that hovers while it strikes, a plunge that strikes on landing, dash
// attacks, and ten techniques (four of them hovering). The style keeps no air-combo flag.
#pragma once
#include <string>

#include "game/moveset/TPlayerStyle.h"

class TPlayerStyle09 : public TPlayerStyle {
 public:
  TPlayerStyle09(TFieldScene& scene, uint32_t member, const TCharBlock& block, const std::string& model)
      : TPlayerStyle(scene, member, block, model, Table()) {}

  static const TStyleTable& Table();
};
