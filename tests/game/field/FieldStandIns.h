// Field services for tests that want a field without the subsystems above it: each the smallest
// that lets a field scene load its stage, run and draw. The player is a plain object standing at the start
// point under gravity, the enemy manager spawns nothing and has defeated nobody, the HUD shows
// nothing, there is no field menu and no villager, a conversation or map script ends at once and
// the game over is a scene that ends at once.
#pragma once
#include <cstdint>
#include <string>

#include "game/field/FieldServices.h"
#include "game/field/StageEnemies.h"
#include "game/field/StagePlayer.h"
#include "game/field/TFieldActor.h"
#include "game/shell/TStateScene.h"

class TInput;

// The model of the member's hero definition in the model folder, body height 0.5, falling at
// 0.01 per tick per tick; it never moves of itself. Of the input it reads the examine key only (A
// newly pressed), so that it can talk and examine where a test or the game puts it. Its sounds
// play straight from the effects set; it never dies.
class TPlayerStandIn : public TFieldActor, public TStagePlayer {
 public:
  static constexpr float kBodyHeight = 0.5f;
  static constexpr float kGravity = -0.01f;
  static constexpr int32_t kSavePointSound = 503;

  // Loads the sounds it plays; a missing effects set leaves it silent.
  explicit TPlayerStandIn(uint32_t member, const TInput* input = nullptr);
  ~TPlayerStandIn() override;

  TFieldActor& Actor() override { return *this; }
  void Update() override {}
  bool IsAirborne() override { return false; }
  // It neither hits nor is hit.
  void TestHits(TFieldActor&) override {}
  void ReceiveHit(THitObject&) override {}
  bool FacesTargetOnHit() override { return false; }
  void OnHitLanded(TFieldActor&, int32_t, int32_t, uint8_t) override {}
  bool IsInvulnerable() const override { return true; }

  void PlaySe(int32_t id) override;

  bool IsMenuKeyTriggered() override { return false; }
  bool IsExamineKeyTriggered() override;
  void UpdateInTown() override {}
  void SnapToGround() override {}
  void PlaceAt(const plat::D3DXVECTOR3& point, const plat::D3DXVECTOR3& lookAt) override;
  void LoadModel() override {}
  void LoadPlainModel() override {}
  void DrawHud() override {}
  bool EnterSavePoint(int32_t savePointId) override;
  void LeaveSavePoint() override;
  bool IsDeathFinished() const override { return false; }
  uint32_t GetMember() const override { return member; }
  uint32_t GetWeaponId() const override;
  // The member's block as it stands: the stand-in changes nothing of it.
  TPlayerState GetState() const override;
  TPlayerCarry SaveState() const override;
  void RestoreState(const TPlayerCarry& carry) override;

  bool IsAtSavePoint() const { return atSavePoint != 0; }
  int32_t GetSavePointId() const { return savePointId; }

 private:
  uint32_t member;
  const TInput* input;  // the game window's, not owned
  uint8_t atSavePoint = 0;
  int32_t savePointId = -1;
};

class TEnemiesStandIn : public TStageEnemies {
 public:
  void Update() override {}
  void DrawGauges() override {}
  void ApplyGravity() override {}
  void CheckGround() override {}
  TFieldActor* Find(uint32_t) override { return nullptr; }
  bool Contains(uint32_t) const override { return false; }
  uint32_t GetDefeatedCount() const override { return 0; }
  void FindInRadius(const plat::D3DXVECTOR3&, float, int32_t* handles, uint32_t capacity) const override;
};

// The game-over scene: it ends at once, letting go of the music it was handed.
class TGameOverStandIn : public TStateScene {
 public:
  TGameOverStandIn(TGameWnd& app, int32_t musicId);
  ~TGameOverStandIn() override;

 private:
  SceneResult End() { return kSceneFinished; }
  int32_t musicId;
};

class TFieldStandIns : public TFieldServices {
 public:
  TCountedPtr<TStagePlayer> CreatePlayerChar(TFieldScene& scene, uint32_t member) override;
  TCountedPtr<TStageEnemies> CreateEnemyManager(TStage& stage, const TMapData& map) override;
  TCountedPtr<TFieldHud> CreateHud(TFieldScene& scene) override;
  TScene* CreateFieldMenu(TGameWnd&, TFieldScene&) override { return nullptr; }
  TCountedPtr<TVillager> CreateVillager(const std::string&) override;
  TScene* CreateGameOver(TGameWnd& app, int32_t musicId) override;
  void CreateScriptEngine() override {}
  void DestroyScriptEngine() override {}
  TMapEventState* StartConversation(TFieldScene&, const std::string&) override { return nullptr; }
  TMapEventState* LoadMapScript(TFieldScene&, const std::string&) override { return nullptr; }
  void LoadVillagerScript(VillagerRecord&) override {}
  void EndVillagerScript() override {}
  // Nothing left to run.
  uint32_t RunScripts() override { return 4; }
  void UpdateScriptObjects() override {}
  void DrawScriptObjects() override {}
};
