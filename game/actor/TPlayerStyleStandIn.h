// The one fighting style until the twelve styles are built: it equips the character and moves it
// through the base's modes, but knows no action state, so the attack and skill buttons do nothing.
#pragma once
#include <string>

#include "game/actor/TPlayerChar.h"

class TPlayerStyleStandIn : public TPlayerChar {
 public:
  TPlayerStyleStandIn(TFieldScene& scene, uint32_t member, const TCharBlock& block, const std::string& model);

  void OnHitLanded(TFieldActor& victim, int32_t landedValue, int32_t damage, uint8_t hasHit) override {
    OnHitLandedBody(victim, landedValue, damage, hasHit);
  }
  int32_t GetHoldState() override { return 0; }
  int32_t StateForTechnique(uint32_t, bool) override { return 0; }
  void OnReleaseA() override {}
  void OnReleaseB() override {}
  void OnReleaseAB() override {}
};

TPlayerChar* MakeStandInStyle(TFieldScene& scene, uint32_t member, const TCharBlock& block, uint32_t weaponType,
                              const std::string& model);
