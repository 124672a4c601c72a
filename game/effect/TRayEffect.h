// The ray: a ribbon that grows along a cubic Bezier curve from a start point toward a target
// character, follows the target while it flies, then shrinks into its end point. The newest
// point is the head; the ribbon fades from white at the head to black at the tail.
#pragma once
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "common/TMoveValue.h"
#include "game/effect/RibbonSegments.h"
#include "game/effect/TEffect.h"

class TRayEffect : public TEffect {
 public:
  static constexpr float kHalfWidth = 0.1f;

  // The ribbon mesh of the effect folder (named "Ray" under the frame "RayFrame"), drawn in its
  // vertex colours: segment i grey 255 x (1 - i / segments). A mesh that cannot hold two segments
  // throws my_error naming it.
  explicit TRayEffect(const std::string& meshName);

  // Grows a head point each tick until the tween has run, then drains: finished when as many
  // ticks have passed after the tween as there are segments. Kill does not end a ray.
  bool Update() override;
  // Before SetCurve: every control point at the spawn position, no target, a tween without frames.
  void Init(int32_t id, const plat::D3DXVECTOR3& position, const plat::D3DXVECTOR3& lookAt, TFrame8& parent,
            TEffectStage* stage, const plat::D3DCOLORVALUE& colour) override;
  std::unique_ptr<TEffect> Clone() const override;

  // What the spawning code gives the ray: the stage the target is looked up on, the control points
  // in the space of the ray frame's parent (where the characters' positions are), the target whose
  // body centre the last point follows, and the tween of the curve parameter.
  void SetCurve(TEffectStage* stage, const plat::D3DXVECTOR3& p0, const plat::D3DXVECTOR3& p1,
                const plat::D3DXVECTOR3& p2, const plat::D3DXVECTOR3& p3, int32_t targetId, const TMoveValue& tween);

  int32_t GetSegmentCount() const { return segments.count; }
  const std::vector<TSegmentVertices>& GetSegmentTable() const { return segments.table; }
  int32_t GetPointCount() const { return pointCount; }
  const std::vector<plat::D3DXVECTOR3>& GetPoints() const { return points; }
  const plat::D3DXVECTOR3& GetControlPoint(int index) const { return control[index]; }
  bool IsFinished() const { return finished != 0; }
  TMesh8* GetRibbonMesh() const { return ribbon; }

 private:
  // For Clone: the frame deep-copied, the ribbon found again, segments and points copied; nothing
  // grown yet.
  TRayEffect(const TRayEffect& other);
  plat::D3DXVECTOR3 CurvePoint(float t) const;
  void LayRibbon();

  TMesh8* ribbon = nullptr;
  TEffectStage* stage = nullptr;
  plat::D3DXVECTOR3 control[4];
  int32_t targetId = -2;
  TMoveValue curveT;
  int32_t pointCount = 0;
  TRibbonSegments segments;
  std::vector<plat::D3DXVECTOR3> points;  // newest first
  int32_t drain = 0;
  uint8_t finished = 0;
};
