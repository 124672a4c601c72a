// Attack hit volumes: spheres hung on a frame of the scene graph that hit the actors they touch.
// The attacking actor keeps its volumes and updates them every tick; the stage lets them test
// their targets. A volume remembers whom it hit, so as not to hit them again too soon, and ends
// when its hits or its frames run out, when it is ended, or when a cancel request matches it.
//
// Kinds: 0 `TTimedHit` hits each target once and lives a number of frames; 1 `TMultiHit` hits
// until its hits are used up; 2 `TTimedMultiHit` hits until its hits or its frames run out.
#pragma once
#include "game/effect/WatchedObject.h"
#include <cstdint>
#include <vector>

#include "common/TCountedPtr.h"
#include "common/TFrame8.h"
#include "game/effect/FieldServices.h"
#include "game/field/HitDamageInputs.h"
#include "platform/gfx/D3DXMath.h"

class TFieldActor;
class TStageLinks;

// Shots that fly a volume with their head reach it as a TEffectHitVolume; a thunder watches it as a
// TWatchedObject.
class THitObject : public TEffectHitVolume, public TWatchedObject {
 public:
  static constexpr uint32_t kMade = 2;
  static constexpr uint32_t kEnded = 0;

  // One target the volume hit: not hit again until framesLeft has counted down to 0 by step per
  // update (never with step 0).
  struct TRehitEntry {
    uint32_t targetId;
    uint32_t step;
    uint32_t framesLeft;
  };

  virtual ~THitObject();
  THitObject(const THitObject&) = delete;
  THitObject& operator=(const THitObject&) = delete;

  // The volume of the values' kind (0, 1 or 2) owned by the actor ownerId, hung on the parent at
  // the position; an empty pointer for any other kind.
  static TCountedPtr<THitObject> Create(uint32_t ownerId, TFrame8& parent, const plat::D3DXVECTOR3& position,
                                        const THitVolumeValues& values);

  // Hits the target when it is in range and may be hit now.
  virtual void Test(TFieldActor& target) = 0;
  // One tick; false when the volume has finished and is to be dropped.
  virtual bool Update();
  // Ends the volume when the mask shares a bit with its cancel mask.
  virtual void CancelByMask(uint32_t mask);
  // Inactive from now on, its frame taken off the parent.
  void End() override;
  virtual void TickRehitList();

  // Whether the target's body sphere reaches into the volume.
  bool IsInRange(const TFieldActor& target) const;
  bool IsInRehitList(uint32_t targetId) const;
  // Turns the victim's frame toward the volume's owner (toward the volume itself when the flag is
  // set or the owner has gone), aimed in the reference frame's space; true when the source was
  // behind the victim, which is then turned half round to face it.
  bool TurnVictim(TStageLinks* stage, TFrame8& victimFrame, const TFrame8* reference, bool useHitFrame);

  uint32_t GetOwnerId() const override { return ownerId; }
  bool IsActive() const override { return state != kEnded; }
  // A thunder that skills hand a volume to fades out once the volume has ended.
  bool IsLive() const override { return IsActive(); }
  uint32_t GetState() const { return state; }
  uint8_t HasHit() const { return hasHit; }
  const THitVolumeValues& GetValues() const { return values; }
  THitDamageInputs GetDamageInputs() const { return DamageInputsOf(values); }
  int32_t GetLandedValue() const { return values.landedValue; }
  TFrame8* GetFrame() const { return frame.Get(); }
  const std::vector<TRehitEntry>& GetRehitList() const { return rehitList; }

 protected:
  // Hangs a new frame "Hit" on the parent at the position.
  THitObject(uint32_t ownerId, TFrame8& parent, const plat::D3DXVECTOR3& position, const THitVolumeValues& values);

  // Whether the target may be hit now: not fading, not hit too recently, and in range.
  bool MayHit(const TFieldActor& target) const;
  // The target takes the hit; it reads the has-hit flag as it was before this hit.
  void Hit(TFieldActor& target);
  void Remember(uint32_t targetId, uint32_t step, uint32_t framesLeft);

  TCountedPtr<TFrame8> frame;
  uint32_t ownerId;
  uint32_t state = kMade;
  THitVolumeValues values;  // what the target's hit reception reads
  uint8_t hasHit = 0;
  std::vector<TRehitEntry> rehitList;
};

// Kind 1: hits while it has hits left, each target again after the re-hit interval.
class TMultiHit : public THitObject {
 public:
  TMultiHit(uint32_t ownerId, TFrame8& parent, const plat::D3DXVECTOR3& position, const THitVolumeValues& values);

  // A volume whose hits are used up hits nobody, however many targets it touches in a tick.
  void Test(TFieldActor& target) override;
  bool Update() override;

  uint32_t GetHitsLeft() const { return hitsLeft; }

 protected:
  uint32_t hitsLeft;
};

// Kind 2: a multi-hit that also ends when its frames run out.
class TTimedMultiHit : public TMultiHit {
 public:
  TTimedMultiHit(uint32_t ownerId, TFrame8& parent, const plat::D3DXVECTOR3& position,
                 const THitVolumeValues& values);

  // With L frames it answers true to L - 1 updates and ends on the L-th.
  bool Update() override;

  uint32_t GetFramesLeft() const { return framesLeft; }

 private:
  uint32_t framesLeft;
};

// Kind 0: hits each target once, for its frames; its re-hit interval is always -1.
class TTimedHit : public THitObject {
 public:
  TTimedHit(uint32_t ownerId, TFrame8& parent, const plat::D3DXVECTOR3& position, const THitVolumeValues& values);

  void Test(TFieldActor& target) override;
  bool Update() override;
  // Its entries never expire.
  void TickRehitList() override {}

  uint32_t GetFramesLeft() const { return framesLeft; }

 private:
  uint32_t framesLeft;
};
