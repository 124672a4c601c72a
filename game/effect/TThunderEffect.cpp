#include "game/effect/TThunderEffect.h"

#include <cmath>
#include <cstdio>

#include "common/TFrame8.h"
#include "common/Truncate.h"
#include "game/effect/FieldServices.h"
#include "game/effect/MtRandomState.h"
#include "game/effect/TParticleEffect.h"

using plat::D3DXVECTOR3;

namespace {

constexpr int32_t kAimTowardView = 12;

struct BoltVertex {
  float x, y, z;
  uint32_t colour;
  float u, v;
};
static_assert(sizeof(BoltVertex) == 24);

std::string BoltName(uint32_t index) {
  char name[32];
  std::snprintf(name, sizeof name, "ThunderMsh%lu", static_cast<unsigned long>(index));
  return name;
}

// Lays a bolt upright: segment i at height 0.2 + 9.8 i / N, its left copies at x = -0.2 and its
// right ones at 0.2, fading from opaque white at the foot.
void LayBolt(TMesh8& bolt, const TRibbonSegments& segments) {
  auto* v = static_cast<BoltVertex*>(bolt.LockVertices(0));
  if (!v) return;
  for (int32_t i = 0; i < segments.count; ++i) {
    const float fraction = static_cast<float>(i) / static_cast<float>(segments.count);
    const auto alpha = static_cast<uint32_t>(255.0f * (1.0f - fraction));
    const TSegmentVertices& segment = segments.table[static_cast<size_t>(i)];
    for (int k = 0; k < 6; ++k) {
      BoltVertex& vertex = v[segment[k]];
      const bool right = k >= 3;
      vertex.x = right ? 0.2f : -0.2f;
      vertex.u = right ? 1.0f : 0.0f;
      vertex.y = 0.2f + 9.8f * fraction;
      vertex.v = fraction;
      vertex.colour = alpha << 24 | 0x00FFFFFFu;
    }
  }
  bolt.UnlockVertices(0, true);
}

// One random step of -64..63 over the divisor.
float Jitter(float divisor) {
  const int32_t step = static_cast<int32_t>((GenRand() >> 1) & 127) - 64;
  return static_cast<float>(step) / divisor;
}

// Moves x by the step while it lies in [low, high], else back toward that band by the step's size;
// the tests read x before the change.
float Nudge(float x, float step, float low, float high) {
  if (x >= low && x <= high) return x + step;
  if (x > high) return x - std::fabs(step);
  return x + std::fabs(step);
}

}  // namespace

TThunderEffect::TThunderEffect(const std::string& name, uint32_t count, float e1, float s1, float e2, float s2,
                               int32_t loops, float e3, float s3)
    : TAlphaModelEffect(kLook, name, TModelTimes::InLoopOut(e1, s1, e2, s2, loops, e3, s3)), boltCount(count) {
  SetFrame(CreateNamedFrame("ThunderRoot", IdentityMatrix()));
  for (uint32_t i = 0; i < boltCount; ++i) {
    TMesh8 bolt = TMesh8::Load(kBoltMesh);
    segments = ReadRibbonSegments(bolt, kBoltMesh);
    LayBolt(bolt, segments);
    RewriteIndicesInOrder(bolt);
    bolt.SetName(BoltName(i));
    frame->AddMesh(bolt);
  }
  // Single precision as the game computes: in double, 90 segments put the second band at 62.
  band1 = TruncateToInt(static_cast<float>(segments.count) * 0.3f);
  band2 = TruncateToInt(static_cast<float>(segments.count) * 0.7f);
  FindBolts();
}

TThunderEffect::TThunderEffect(const TThunderEffect& other)
    : TAlphaModelEffect(other),
      boltCount(other.boltCount),
      velocity(other.velocity),
      segments(other.segments),
      band1(other.band1),
      band2(other.band2) {
  FindBolts();
}

void TThunderEffect::FindBolts() {
  bolts.clear();
  for (uint32_t i = 0; i < boltCount; ++i) bolts.push_back(frame->FindMesh(BoltName(i), false));
}

std::unique_ptr<TEffect> TThunderEffect::Clone() const {
  return std::unique_ptr<TEffect>(new TThunderEffect(*this));
}

void TThunderEffect::Init(int32_t newId, const D3DXVECTOR3& position, const D3DXVECTOR3& lookAt, TFrame8& parent,
                          TEffectStage* stage, const plat::D3DCOLORVALUE& newColour) {
  TAlphaModelEffect::Init(newId, position, lookAt, parent, stage, newColour);
  sceneFrame = stage ? stage->GetSceneFrame() : nullptr;
  stageFrame = stage ? stage->GetRootFrame() : nullptr;
}

void TThunderEffect::SetVelocity(const D3DXVECTOR3& newVelocity) { velocity = newVelocity; }

void TThunderEffect::SetWatchedEffect(const TCountedPtr<TWatchedObject>& newWatched) { watched = newWatched; }

void TThunderEffect::SetSparkles(const TCountedPtr<TEffect>& newSparkles) { sparkles = newSparkles; }

void TThunderEffect::OnTick() {
  if (!watched || !watched->IsLive()) {
    SetFlag();
    if (auto* jitter = dynamic_cast<TJitterParticleEffect*>(sparkles.Get()))
      jitter->SetBehaviour(TJitterParticleEffect::Behaviour::kFiniteRgb);
  }
  for (TMesh8* bolt : bolts)
    if (bolt) JitterBolt(*bolt);
  frame->AddPosition(velocity.x, velocity.y, velocity.z);
  frame->Aim(sceneFrame, stageFrame, kAimTowardView);
}

void TThunderEffect::JitterBolt(TMesh8& bolt) {
  auto* v = static_cast<BoltVertex*>(bolt.LockVertices(0));
  if (!v) return;
  for (int32_t i = 1; i < segments.count - 1; ++i) {
    const float divisor = i <= band1 ? 500.0f : i <= band2 ? 200.0f : 400.0f;
    const TSegmentVertices& segment = segments.table[static_cast<size_t>(i)];
    const float left = Nudge(v[segment[0]].x, Jitter(divisor), -0.4f, 0.0f);
    for (int k = 0; k < 3; ++k) v[segment[k]].x = left;
    const float right = Nudge(v[segment[3]].x, Jitter(divisor), 0.0f, 0.4f);
    for (int k = 3; k < 6; ++k) v[segment[k]].x = right;
  }
  bolt.UnlockVertices(0, false);
}
