// Weapon type 10, the hero's: a three-step ground combo whose hold attack launches the character
// into a three-step air combo that goes on only while its hits land, run and air hold attacks,
// and eight techniques (one aerial, hanging in the air).
#pragma once
#include <string>

#include "game/moveset/TPlayerStyle.h"

class TPlayerStyle10 : public TPlayerStyle {
 public:
  TPlayerStyle10(TFieldScene& scene, uint32_t member, const TCharBlock& block, const std::string& model)
      : TPlayerStyle(scene, member, block, model, Table()) {}

  static const TStyleTable& Table();
};
