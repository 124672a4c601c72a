// What moving and turning many children of one frame needs of the world, worked out once for all
// of them: the parent's world matrix and its inverse, and the world matrices of a view reference
// and a target. A child placed, read or turned through it lands where the frame's own calls put
// it (within float noise), without building and inverting a world matrix of its own. It serves
// only children with no animation (their local matrix is the one that draws); turning also needs
// a rigid placement (unit, right-angled, right-handed axes). Everything else goes through the
// frame's own calls. The caller takes it afresh whenever the parent, reference or target may have
// moved.
#pragma once

#include "common/TFrame8.h"

class TFrameSpace8 {
 public:
  void Take(const TFrame8& parent, const TFrame8* reference, const TFrame8* target);
  void Forget() { parent_ = nullptr; }
  bool Serves(const TFrame8& frame) const {
    return parent_ && frame.GetParent() == parent_ && frame.GetAnimations().empty();
  }

  // GetWorldPosition, SetWorldPosition and Aim in mode 12 (the reference's up, facing the
  // target's origin) of the frame.
  plat::D3DXVECTOR3 WorldPosition(const TFrame8& frame) const;
  void SetWorldPosition(TFrame8& frame, const plat::D3DXVECTOR3& point) const;
  void AimAtView(TFrame8& frame, const TFrame8* reference, const TFrame8* target) const;

 private:
  bool IsRigid(const TFrame8& frame) const;

  const TFrame8* parent_ = nullptr;
  bool invertible_ = false;
  plat::D3DXMATRIX world_, inverse_;
  const TFrame8* reference_ = nullptr;
  const TFrame8* target_ = nullptr;
  // The target's origin and the reference's up axis (normalised, when it can be) in the
  // parent's axes: the same for every child.
  plat::D3DXVECTOR3 targetHere_, up_;
  bool upUsable_ = false;
};
