// Weapon type 8, the hero's pair of weapons: a five-step ground combo, a three-step air combo
// that goes on only while its hits land, hold attacks on the ground, running and in the air, a run
// attack, and ten techniques (two aerial, one rising).
#pragma once
#include <string>

#include "game/moveset/TPlayerStyle.h"

class TPlayerStyle08 : public TPlayerStyle {
 public:
  TPlayerStyle08(TFieldScene& scene, uint32_t member, const TCharBlock& block, const std::string& model)
      : TPlayerStyle(scene, member, block, model, Table()) {}

  static const TStyleTable& Table();
};
