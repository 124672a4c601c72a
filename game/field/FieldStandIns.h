// The field's services until the subsystems above it are built: each the smallest that lets a
// field scene load its stage, run and draw. The player is a plain object standing at the start
// point under gravity, the enemy manager spawns nothing, the HUD shows nothing, there is no field
// menu and no villager, and a conversation ends at once. The later subsystems replace them one by
// one through SetFieldServices.
#pragma once
#include <cstdint>
#include <string>

#include "game/field/FieldServices.h"
#include "game/field/StageEnemies.h"
#include "game/field/StagePlayer.h"
#include "game/field/TFieldActor.h"

// The model of the member's hero definition in the model folder, body height 0.5, falling at
// 0.01 per tick per tick; it never moves of itself and takes no input.
class TPlayerStandIn : public TFieldActor, public TStagePlayer {
 public:
  static constexpr float kBodyHeight = 0.5f;
  static constexpr float kGravity = -0.01f;

  explicit TPlayerStandIn(uint32_t member);

  TFieldActor& Actor() override { return *this; }
  void Update() override {}
  bool IsAirborne() override { return false; }
  // It neither hits nor is hit.
  void TestHits(TFieldActor&) override {}
  void ReceiveHit(THitObject&) override {}
  bool FacesTargetOnHit() override { return false; }
  void OnHitLanded(TFieldActor&, int32_t, int32_t, uint8_t) override {}
  bool IsInvulnerable() const override { return true; }

  bool IsMenuKeyTriggered() override { return false; }
  bool IsExamineKeyTriggered() override { return false; }
  void UpdateInTown() override {}
  void SnapToGround() override {}
  void PlaceAt(const plat::D3DXVECTOR3& point, const plat::D3DXVECTOR3& lookAt) override;
  void LoadModel() override {}
  void LoadPlainModel() override {}
  void DrawHud() override {}
  uint32_t GetMember() const override { return member; }
  uint32_t GetWeaponId() const override;
  // The member's block as it stands: the stand-in changes nothing of it.
  TPlayerState GetState() const override;
  TPlayerCarry SaveState() const override;
  void RestoreState(const TPlayerCarry& carry) override;

 private:
  uint32_t member;
};

class TEnemiesStandIn : public TStageEnemies {
 public:
  void Update() override {}
  void DrawGauges() override {}
  void ApplyGravity() override {}
  void CheckGround() override {}
  TFieldActor* Find(uint32_t) override { return nullptr; }
  bool Contains(uint32_t) const override { return false; }
  void FindInRadius(const plat::D3DXVECTOR3&, float, int32_t* handles, uint32_t capacity) const override;
};

class TFieldStandIns : public TFieldServices {
 public:
  TCountedPtr<TStagePlayer> CreatePlayerChar(TFieldScene& scene, uint32_t member) override;
  TCountedPtr<TStageEnemies> CreateEnemyManager(TStage& stage, const TMapData& map) override;
  TCountedPtr<TFieldHud> CreateHud(TFieldScene& scene) override;
  TScene* CreateFieldMenu(TGameWnd&, TFieldScene&) override { return nullptr; }
  TCountedPtr<TVillager> CreateVillager(const std::string&) override;
  void CreateScriptEngine() override {}
  void DestroyScriptEngine() override {}
  TMapEventState* StartConversation(TFieldScene&, const std::string&) override { return nullptr; }
  // Nothing left to run.
  uint32_t RunScripts() override { return 4; }
  void UpdateScriptObjects() override {}
  void DrawScriptObjects() override {}
};
