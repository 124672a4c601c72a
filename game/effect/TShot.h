// The shot over a bullet class: the bullets in one vector, element 0 the head, driven by the
// course of TShotEffect. Every instance runs the same code; only the bullet class differs.
#pragma once
#include <memory>
#include <string>
#include <vector>

#include "game/effect/TBullet.h"
#include "game/effect/TShotEffect.h"

template <class B>
class TShot : public TShotEffect {
 public:
  // The asset is the bullets' texture ("pack.ptx/entry") or mesh file; count bullets are built one
  // after another (so particle bullets take consecutive serials), each with the scale. Hidden
  // bullets start parked out of sight at Init.
  TShot(const std::string& asset, int32_t lifetime, int32_t count, uint8_t hidden, const plat::D3DXVECTOR3& scale);

  // The effect's Init, the view references from the stage, then every bullet hung under the shot
  // frame at the position with the colour fading down the trail: bullet k gets colour x (1 - k/n).
  void Init(int32_t id, const plat::D3DXVECTOR3& position, const plat::D3DXVECTOR3& lookAt, TFrame8& parent,
            TEffectStage* stage, const plat::D3DCOLORVALUE& colour) override;
  // Bullets copied with their prototype's serials; no controller.
  std::unique_ptr<TEffect> Clone() const override { return std::unique_ptr<TEffect>(new TShot(*this)); }

  TFrame8* GetHeadFrame() const override { return bullets.front().GetFrame(); }
  TCountedPtr<TFrame8> GetHeadFramePtr() const override { return bullets.front().GetFramePtr(); }
  void LookAlong(const plat::D3DXVECTOR3& direction) override;
  void RotateParts(const plat::D3DXVECTOR3& axis, float angle) override;
  size_t GetBulletCount() const override { return bullets.size(); }
  const B& GetBullet(size_t index) const { return bullets[index]; }

 protected:
  TShot(const TShot& other) : TShotEffect(other), bullets(other.bullets) { ShareSpace(); }

  void MoveTrail() override;
  void MoveHead() override;
  void HideHead() override { bullets.front().Hide(); }

  std::vector<B> bullets;

 private:
  void ShareSpace() {
    for (B& bullet : bullets) bullet.SetSpace(&bulletSpace);
  }
};

template <class B>
TShot<B>::TShot(const std::string& asset, int32_t frames, int32_t count, uint8_t hide, const plat::D3DXVECTOR3& scale)
    : TShotEffect(asset, frames, count, hide) {
  bullets.reserve(static_cast<size_t>(count));
  for (int32_t k = 0; k < count; ++k) bullets.emplace_back(asset, scale);
  ShareSpace();
}

template <class B>
void TShot<B>::Init(int32_t newId, const plat::D3DXVECTOR3& position, const plat::D3DXVECTOR3& lookAt,
                    TFrame8& parent, TEffectStage* stage, const plat::D3DCOLORVALUE& newColour) {
  TEffect::Init(newId, position, lookAt, parent, stage, newColour);
  TakeViews(stage);
  const float share = 1.0f / static_cast<float>(bullets.size());
  const plat::D3DCOLORVALUE step{newColour.r * share, newColour.g * share, newColour.b * share, newColour.a * share};
  plat::D3DCOLORVALUE current = newColour;
  for (B& bullet : bullets) {
    bullet.Attach(*frame, position, lookAt, current);
    current = {current.r - step.r, current.g - step.g, current.b - step.b, current.a - step.a};
    if (hidden) bullet.Hide();
  }
}

template <class B>
void TShot<B>::MoveTrail() {
  TEffectMover* mover = motion.Get();
  for (size_t k = bullets.size() - 1; k >= 1; --k) {
    bullets[k].Animate();
    if (!mover) continue;
    mover->Follow(bullets[k], bullets[k - 1]);
    mover->Face(bullets[k], view1, view2);
  }
}

template <class B>
void TShot<B>::MoveHead() {
  if (TEffectMover* mover = motion.Get()) {
    mover->Step(bullets.front(), view1, view2);
    mover->Face(bullets.front(), view1, view2);
  }
}

template <class B>
void TShot<B>::LookAlong(const plat::D3DXVECTOR3& direction) {
  for (B& bullet : bullets) bullet.GetFrame()->LookAt(direction, plat::D3DXVECTOR3(0, 1, 0));
}

template <class B>
void TShot<B>::RotateParts(const plat::D3DXVECTOR3& axis, float angle) {
  for (B& bullet : bullets) bullet.GetFrame()->RotateAxis(axis, angle, true);
}

extern template class TShot<TAddBullet>;
extern template class TShot<TAlphaCellBullet>;
extern template class TShot<TAddCellBullet>;
extern template class TShot<TAlphaBullet>;
extern template class TShot<TAddMeshBullet>;
extern template class TShot<TMeshBullet>;
