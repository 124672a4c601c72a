// Weapon type 3, the heroine: a five-step ground combo, a hold attack that launches her into a
// three-step air combo, a plunge that strikes on landing, dash attacks, and twelve techniques (six
// of them hovering in the air).
#pragma once
#include <string>

#include "game/moveset/TPlayerStyle.h"

class TPlayerStyle03 : public TPlayerStyle {
 public:
  TPlayerStyle03(TFieldScene& scene, uint32_t member, const TCharBlock& block, const std::string& model)
      : TPlayerStyle(scene, member, block, model, Table()) {}

  static const TStyleTable& Table();
};
