// Enemies a test places itself on a battle map: a roster of fighters it adds, attached to the stage,
// found by their object ids and within a radius, updated with the stage and detached when the stage
// goes; and a fighter that stands where it is put and notes the damage of every hit it takes.
#pragma once
#include <array>
#include <cstdint>
#include <memory>
#include <vector>

#include "game/actor/TActor.h"
#include "game/field/StageEnemies.h"

class TStage;

namespace foetest {

class FoeRoster : public TStageEnemies {
 public:
  explicit FoeRoster(TStage& stage) : stage(stage) {}
  ~FoeRoster() override;

  // Attached to the stage; the roster keeps it.
  TActor& Add(std::unique_ptr<TActor> foe);
  // Detached and gone, as a defeated enemy leaves the live map.
  void Remove(const TActor& foe);

  void Update() override;
  void DrawGauges() override {}
  void ApplyGravity() override {}
  void CheckGround() override {}
  TFieldActor* Find(uint32_t id) override;
  bool Contains(uint32_t) const override { return false; }
  uint32_t GetDefeatedCount() const override { return 0; }
  void FindInRadius(const plat::D3DXVECTOR3& point, float radius, int32_t* handles, uint32_t capacity) const override;

 private:
  TStage& stage;
  std::vector<std::unique_ptr<TActor>> foes;
};

// A fighter of the sample hero's model with many points: each hit it takes is noted with the damage
// the calculation gives for it and the points it really lost.
class StandingFoe : public TActor {
 public:
  struct TTaken {
    int32_t calculated;
    int32_t lost;
  };

  explicit StandingFoe(int32_t hp = 100000);
  // With its own four parameters (the second and fourth are its defences).
  StandingFoe(int32_t hp, const std::array<int32_t, 4>& params);

  void Update() override { PostUpdate(); }
  bool IsAirborne() override { return false; }
  bool QueryStateA() const override { return false; }
  bool QueryStateB() const override { return false; }
  void GetHitParams(const THitRecord&, THitParams& out) override { out.parent = GetFrame(); }
  void OnHitLanded(TFieldActor&, int32_t, int32_t, uint8_t) override {}
  void ReceiveHit(THitObject& hit) override;
  void OnHitKind1(uint32_t, int32_t, int32_t, int32_t, bool, float, float, int32_t d) override { TakeDamage(d); }
  void OnHitKind2(uint32_t, int32_t, int32_t, int32_t, bool, float, float, int32_t d) override { TakeDamage(d); }
  void OnHitKind4(uint32_t, int32_t, int32_t, int32_t, bool, float, float, float, int32_t d) override {
    TakeDamage(d);
  }
  void OnHitKind8(uint32_t, int32_t, int32_t, int32_t, bool, bool, float, float, int32_t d) override {
    TakeDamage(d);
  }
  void OnHitKind16(uint32_t, int32_t, int32_t, int32_t, bool, float, float, int32_t d) override { TakeDamage(d); }

  std::vector<TTaken> taken;
};

}  // namespace foetest
