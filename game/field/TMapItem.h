// An item or a heap of gold lying on the ground of a stage. It spins and bobs until the player
// comes within 1.2 of it; then it goes into the party's stock (or the purse), the acquisition
// window announces it, a sound plays, and it rises and fades away. A tracked item remembers in the
// game-progress record that it was taken; an untracked one fades away by itself after 1000 ticks.
#pragma once
#include <cstdint>

#include "common/TCountedPtr.h"
#include "common/TFrame8.h"
#include "common/TMoveValue.h"
#include "game/field/MapRecords.h"
#include "game/field/TMapObject.h"
#include "game/field/TStepCounter.h"
#include "platform/gfx/D3DXMath.h"

class TMesh8;

// How a weapon of one type lies on the ground: the Y and Z axes of its item frame (X is their
// cross product) and an offset added to its position.
struct TWeaponPose {
  plat::D3DXVECTOR3 yAxis, zAxis, offset;
};
// The pose of a weapon type 0-11; null for any other type (the weapon then lies as placed).
const TWeaponPose* FindWeaponPose(uint32_t weaponType);

class TMapItem : public TMapObject {
 public:
  static constexpr uint32_t kGold = 0xFFFFFFFFu;
  static constexpr uint32_t kUntracked = 0xFFFFFFFFu;
  static constexpr int32_t kUntrackedLifetime = 1000;
  static constexpr float kPickUpReach = 1.2f;
  static constexpr int32_t kBobFrames = 100;
  static constexpr float kBobStep = 0.001f;
  static constexpr float kSpin = 0.04f;
  static constexpr int32_t kFadeFrames = 100;
  static constexpr float kRiseStep = 0.01f;
  static constexpr float kRiseSpin = 0.08f;
  static constexpr int32_t kItemSound = 215;
  static constexpr int32_t kGoldSound = 217;
  // Index of the gold pick-up bonus among the game record's bonus rates.
  static constexpr int32_t kGoldBonusRate = 12;
  // Test results besides 1: taken, and not stored (the stock is full).
  static constexpr int32_t kTaken = 2;
  static constexpr int32_t kNotStored = 0;

  // An item already taken is born inactive and builds nothing. Otherwise the frame "outerItem"
  // under the scene frame at the position (a weapon's moved by its pose) holds "innerItem", turned
  // by the pose, with the mesh "Item"; a drop shadow lies on the ground found below. A missing mesh
  // throws my_error.
  TMapItem(TStage* stage, const TMapItemRecord& record);
  ~TMapItem() override;

  // The lifetime counts down first (at 0 the item starts fading); then the current handler runs.
  int32_t Test() override;
  // Takes the item's frames out of the scene.
  void OnRemove() override;

  bool IsBobbingUp() const { return handler == &TMapItem::BobUp; }
  bool IsBobbingDown() const { return handler == &TMapItem::BobDown; }
  bool IsRising() const { return handler == &TMapItem::RiseAndFade; }
  bool IsFadingOut() const { return handler == &TMapItem::FadeOut; }
  uint32_t GetItemId() const { return itemId; }
  uint32_t GetGoldAmount() const { return goldAmount; }
  bool IsTracked() const { return pickupFlag != kUntracked; }
  int32_t GetLifetime() const { return lifetime; }
  const plat::D3DXVECTOR3& GetPosition() const { return position; }
  TFrame8* GetOuterFrame() const { return outerFrame.Get(); }
  TFrame8* GetInnerFrame() const { return innerFrame; }
  TFrame8* GetShadowFrame() const { return shadowFrame.Get(); }
  TMesh8* GetMesh() const;
  float GetAlpha() const { return alpha.value; }

 private:
  using Handler = int32_t (TMapItem::*)();

  void BuildMesh(uint32_t itemId);
  void BuildShadow();
  int32_t BobUp() { return Bob(kBobStep, &TMapItem::BobDown); }
  int32_t BobDown() { return Bob(-kBobStep, &TMapItem::BobUp); }
  int32_t Bob(float step, Handler next);
  int32_t TryPickUp();
  // False when the stock had no room.
  bool Store();
  int32_t RiseAndFade() { return Fade(true); }
  int32_t FadeOut() { return Fade(false); }
  int32_t Fade(bool rise);
  int32_t Idle() { return kNothingHappened; }

  uint32_t pickupFlag;
  uint32_t itemId;
  uint32_t goldAmount;
  int32_t lifetime;
  plat::D3DXVECTOR3 position;
  TCountedPtr<TFrame8> outerFrame;
  TCountedPtr<TFrame8> shadowFrame;
  TFrame8* innerFrame = nullptr;  // inside outerFrame
  Handler handler = &TMapItem::BobUp;
  TStepCounter bobCounter{0, kBobFrames, 1};
  TMoveValue alpha;
};

// What an enemy drops onto the stage: an item (gold -1) or gold (item -1) lying at the position,
// untracked, so it fades away by itself if nobody takes it.
TCountedPtr<TMapObject> CreateDroppedItem(TStage& stage, int32_t itemId, int32_t gold,
                                          const plat::D3DXVECTOR3& position);
