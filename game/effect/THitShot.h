// Shots that carry an attack hit volume. The attacker makes the volume under the head's frame, so
// that it flies with the head, and hands it to the shot; the shot ends its flight early when the
// volume has ended (it hit, or was cancelled), runs its end-of-flight action (Burst) as the head
// is parked, and ends a volume still held when the trail has drained. Burst does nothing here;
// burst and relay shots spawn follow-up effects with it.
#pragma once
#include <cstdint>
#include <memory>
#include <string>

#include "game/effect/FieldServices.h"
#include "game/effect/TShot.h"

// The volume a hit shot holds and the id of the actor that made it (-2: none).
class THitLink {
 public:
  static constexpr int32_t kNoOwner = -2;

  // Shares the volume unless it is the one held (an empty pointer lets the held one go); the
  // owner id follows a held volume.
  void Attach(const TCountedPtr<TEffectHitVolume>& volume);
  // False, and the volume let go, once the held volume has ended; true otherwise (none held too).
  bool IsLive();
  // Ends a volume still held, unless it has ended already.
  void EndHeld();

  TEffectHitVolume* Get() const { return hit.Get(); }
  const TCountedPtr<TEffectHitVolume>& GetPtr() const { return hit; }
  int32_t GetOwnerId() const { return ownerId; }

 private:
  TCountedPtr<TEffectHitVolume> hit;
  int32_t ownerId = kNoOwner;
};

template <class B>
class THitShot : public TShot<B> {
 public:
  // No volume, no owner.
  THitShot(const std::string& asset, int32_t lifetime, int32_t count, uint8_t hidden, const plat::D3DXVECTOR3& scale)
      : TShot<B>(asset, lifetime, count, hidden, scale) {}
  // A volume still held (the shot was killed or cleared in flight) is ended with the head it hangs
  // on, instead of staying live with no head to carry it.
  ~THitShot() override { link.EndHeld(); }

  std::unique_ptr<TEffect> Clone() const override { return std::unique_ptr<TEffect>(new THitShot(*this)); }
  void AttachHit(const TCountedPtr<TEffectHitVolume>& volume) override { link.Attach(volume); }
  bool IsHitLive() { return link.IsLive(); }
  // The end-of-flight action, run once as the head ends.
  virtual void Burst() {}

  TEffectHitVolume* GetHit() const { return link.Get(); }
  int32_t GetOwnerId() const { return link.GetOwnerId(); }

 protected:
  // A clone never shares the prototype's volume.
  THitShot(const THitShot& other) : TShot<B>(other) {}

  bool HeadMayFly() override { return IsHitLive(); }
  void OnHeadEnded() override { Burst(); }
  void OnDrained() override { link.EndHeld(); }

  THitLink link;
};

extern template class THitShot<TAddBullet>;
extern template class THitShot<TAlphaCellBullet>;
extern template class THitShot<TAddCellBullet>;
extern template class THitShot<TAlphaBullet>;
extern template class THitShot<TAddMeshBullet>;
extern template class THitShot<TMeshBullet>;
