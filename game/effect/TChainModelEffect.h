// Chain effects: model effects (fade in, hold, die) that play sounds through the character that
// caused them while their time lies in the hook's windows, and that spawn a follow-up effect (a
// piece, typically) when they die, continuing where they ended. The edge, ice and fang chains are
// one engine over a hook row; the fang adds spawn points and keys it hands on.
#pragma once
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "game/effect/TModelEffect.h"
#include "game/effect/TSmashEffect.h"

class TEffectActor;
class TEffectManager;

// What a chain does besides its model: each entry into a window (from, to), strict at both ends,
// plays the window sound once; the death spawns the follow-up and plays the death sound.
struct TChainHook {
  // How the follow-up is placed at the chain's world position.
  enum class FollowUp : uint8_t {
    kCopyMatrix,    // looking along (0, 0, 1), then given the chain frame's local matrix
    kAlongForward,  // looking along the chain frame's third world axis
  };
  struct Window {
    float from, to;
  };

  std::vector<Window> windows;
  int32_t windowSound;
  int32_t deathSound;
  FollowUp followUp;
};

class TChainModelEffect : public TModelEffect {
 public:
  static const TChainHook kEdgeHook;
  static const TChainHook kIceHook;
  static const TChainHook kFangHook;

  // Base Init, then the stage and its effect manager kept; the sound latch cleared.
  void Init(int32_t id, const plat::D3DXVECTOR3& position, const plat::D3DXVECTOR3& lookAt, TFrame8& parent,
            TEffectStage* stage, const plat::D3DCOLORVALUE& colour) override;
  // Sounds of the windows, the hook's own step, and on the tick the effect died its follow-up.
  void OnTick() override;
  // The character whose effect this is (-2: none), looked up on the stage every tick.
  void SetOwnerId(int32_t id) override { ownerId = id; }
  void SetCasterId(int32_t id) override { ownerId = id; }

  int32_t GetOwnerId() const { return ownerId; }
  TEffectKind GetFollowUpKind() const { return followUpKind; }

 protected:
  TChainModelEffect(const TModelLook& look, const std::string& asset, const TModelTimes& times,
                    const TChainHook& hook, TEffectKind followUpKind);
  // For Clone: the follow-up kind and hook copied; no owner; stage and latch set by Init.
  TChainModelEffect(const TChainModelEffect& other);

  // The fang's points; nothing here.
  virtual void RunHookStep();
  // The fang's keys handed to the new follow-up; nothing here.
  virtual void HandOver(TEffect& followUp);
  // Spawns a kind at a point with white colour and unit scale under the frame's parent; null when
  // the chain is not on a stage.
  TCountedPtr<TEffect> SpawnHere(TEffectKind kind, const plat::D3DXVECTOR3& position,
                                 const plat::D3DXVECTOR3& lookAt);

  TEffectManager* manager = nullptr;
  TEffectStage* stage = nullptr;
  int32_t ownerId = -2;
  uint8_t soundLatch = 0;
  TEffectKind followUpKind;
  const TChainHook* hook;

 private:
  void PlayWindowSound(TEffectActor* owner);
  void SpawnFollowUp(TEffectActor* owner);
};

// The blade edge: fades in to 20 by 3, holds to 29 by 0.4; sound 504 while 1 < time < 4; its
// piece takes over its exact pose, and 505 plays.
class TEdgeChainEffect : public TChainModelEffect {
 public:
  TEdgeChainEffect(const std::string& asset, TEffectKind followUpKind);
  std::unique_ptr<TEffect> Clone() const override;

 private:
  TEdgeChainEffect(const TEdgeChainEffect& other) = default;
};

// The ice crystal (additive): fades in to 2 by 0.2, holds to 5 by 0.2; sound 504 in each of four
// half-unit windows from 1, 2, 3 and 4, and again at its death. The ice-field form (the extra
// whole number, ignored) runs to 1 and 2 by 0.1.
class TIceChainEffect : public TChainModelEffect {
 public:
  TIceChainEffect(const std::string& asset, TEffectKind followUpKind);
  TIceChainEffect(const std::string& asset, TEffectKind followUpKind, int32_t unused);
  std::unique_ptr<TEffect> Clone() const override;

 private:
  TIceChainEffect(const TIceChainEffect& other) = default;
};

// The earth fang: fades in to 2 by 0.3, holds to 11 by 0.3; sound 506 while 1 < time < 1.5 and
// at its death. Spawning code gives it a key kind (through SetOwnerId), points with times at which
// that kind is spawned (at most one a tick), and keys its piece receives.
class TFangChainEffect : public TChainModelEffect {
 public:
  struct SpawnPoint {
    plat::D3DXVECTOR3 position;  // in the effect frame's axes
    float time;
  };

  TFangChainEffect(const std::string& asset, TEffectKind followUpKind);
  std::unique_ptr<TEffect> Clone() const override;

  // On this class the owner setter chooses the key kind (skills pass 54); the caster is the owner.
  void SetOwnerId(int32_t kind) override { keyKind = kind; }
  void AddPoint(const plat::D3DXVECTOR3& position, float time) override;
  void AddKey(TEffectKind kind, const plat::D3DXVECTOR3& position, const plat::D3DXVECTOR3& scale,
              const plat::D3DCOLORVALUE& colour) override;

  TEffectKind GetKeyKind() const { return keyKind; }
  uint32_t GetNextPoint() const { return nextPoint; }

 private:
  TFangChainEffect(const TFangChainEffect& other) = default;
  void RunHookStep() override;
  void HandOver(TEffect& followUp) override;

  TEffectKind keyKind = -1;
  uint32_t nextPoint = 0;
  std::vector<TEffectKey> keys;
  std::vector<SpawnPoint> points;
};
