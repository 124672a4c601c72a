// Tests of the player's attacks and hits on the sample battle map: the player of the test style,
// standing on the ground at (1, y, 2) turned 0.7 radians about y, with the shot assets written and
// the field's effect manager given recording prototypes (AttackRecording.h), so that each test can
// read what one attack or one landed hit spawned, which volumes it made and which sounds it played.
#pragma once
#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "tests/game/actor/AttackRecording.h"
#include "tests/game/actor/PlayerFixture.h"

namespace playerarena {

using attacktest::TSpawnRecord;
using mathcheck::Near;
using mathcheck::Vec;
using plat::D3DCOLORVALUE;
using plat::D3DXVECTOR3;

inline D3DXVECTOR3 Plus(const D3DXVECTOR3& a, const D3DXVECTOR3& b) { return Vec(a.x + b.x, a.y + b.y, a.z + b.z); }
inline D3DXVECTOR3 Times(const D3DXVECTOR3& v, float k) { return Vec(v.x * k, v.y * k, v.z * k); }

inline bool SameColour(const D3DCOLORVALUE& a, const D3DCOLORVALUE& b) {
  return a.r == b.r && a.g == b.g && a.b == b.b && a.a == b.a;
}

inline D3DXVECTOR3 WorldPosition(const TFrame8& f) {
  D3DXVECTOR3 p;
  f.GetWorldPosition(&p);
  return p;
}

inline D3DXVECTOR3 WorldZ(const TFrame8& f) {
  D3DXVECTOR3 z;
  f.GetWorldAxis(&z, 3);
  return z;
}

template <class Mover>
const Mover* MoverOf(const TSpawnRecord& r) {
  TShotEffect* shot = AsShot(r.effect);
  return shot ? dynamic_cast<const Mover*>(shot->GetMotion()) : nullptr;
}

// The shot's lifetime; -2 for an effect that is no shot.
inline int32_t LifeOf(const TSpawnRecord& r) {
  TShotEffect* shot = AsShot(r.effect);
  return shot ? shot->GetLifetime() : -2;
}

// What one attack or landed hit did.
struct Outcome {
  std::vector<TSpawnRecord> spawns;
  std::vector<const THitObject*> hits;
  std::vector<int32_t> sounds;
  int draws = 0;

  std::vector<TEffectKind> Kinds() const;
  // The first spawn of the kind.
  const TSpawnRecord& Of(TEffectKind kind) const;
};

class PlayerArena : public playertest::PlayerFixture {
 protected:
  static constexpr uint32_t kSeed = 4242;

  void SetUp() override;
  void TearDown() override;
  // Runs before the map opens and the character is made.
  virtual void BeforeOpen() {}

  // No live effects, no volumes, no sounds noted, the generator seeded.
  void Fresh();
  // What happened since Fresh.
  Outcome Collect() const;
  // The player's attack of the kind from a fresh state; the actor base's own when asked.
  Outcome Attack(uint16_t kind, bool actorsOnly = false);

  D3DXVECTOR3 B() const { return player->GetBodyCenter(); }
  D3DXVECTOR3 F() const { return player->GetFront(); }

  std::shared_ptr<attacktest::SpawnLog> log = std::make_shared<attacktest::SpawnLog>();
};

}  // namespace playerarena
