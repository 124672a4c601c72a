#include "game/effect/TParticleEffect.h"

#include "common/TFrame8.h"
#include "common/TTexture8.h"
#include "game/effect/EffectFolder.h"
#include "game/effect/EffectMeshChecks.h"
#include "game/effect/FieldServices.h"
#include "game/effect/MtRandomState.h"

using plat::D3DXVECTOR3;

namespace {

constexpr uint32_t kAdd = 4000;
constexpr uint32_t kZwnAlphaNotCull = 2300;

const TParticleLook kAdditiveLook{kAdd, kAdd, false, &TSheetCellCounters::additive};
const TParticleLook kAlphaLook{kZwnAlphaNotCull, kZwnAlphaNotCull, true, &TSheetCellCounters::alpha};
const TParticleLook kJitterLook{kAdd, kZwnAlphaNotCull, false, &TSheetCellCounters::additive};

// One random step of -64..63 over the divisor.
float Jitter(float divisor) {
  const int32_t step = static_cast<int32_t>((GenRand() >> 1) & 127) - 64;
  return static_cast<float>(step) / divisor;
}

}  // namespace

uint32_t TSheetCellCounters::additive = 0;
uint32_t TSheetCellCounters::alpha = 0;

TEffectBox::TEffectBox(float minX, float minY, float minZ, float maxX, float maxY, float maxZ)
    : minimum(minX, minY, minZ),
      maximum(maxX, maxY, maxZ),
      centre((minX + maxX) * 0.5f, (minY + maxY) * 0.5f, (minZ + maxZ) * 0.5f) {}

int32_t RandomCoordinateSteps(float minimum, float maximum) {
  // Kept in floats step by step on purpose: in single precision 0.1..0.12 is two steps wide (one
  // in double), and two is the width the effects use.
  const float high = maximum * 100.0f;
  const float low = minimum * 100.0f;
  const float width = high - low;
  return static_cast<int32_t>(width);
}

float RandomCoordinate(float minimum, float maximum) {
  const uint32_t word = GenRand();
  const int32_t n = RandomCoordinateSteps(minimum, maximum);
  if (n <= 0) return minimum;
  return minimum + static_cast<float>(word % static_cast<uint32_t>(n)) * 0.01f;
}

TParticleBody::TParticleBody(const TParticleLook& particleLook, const std::string& meshName, uint32_t particleCount,
                             const TEffectBox& start, const TEffectBox& end, float particleRate,
                             const D3DXVECTOR3& meshScale)
    : TEffect(TCountedPtr<TFrame8>()),
      look(particleLook),
      startBox(start),
      endBox(end),
      count(particleCount),
      rate(particleRate) {
  SetFrame(CreateNamedFrame("ParticleMain", IdentityMatrix()));
  TMesh8 mesh = LoadEffectMesh(meshName.empty() ? kParticleQuadMesh : meshName);
  mesh.Scale(meshScale.x, meshScale.y, meshScale.z);
  mesh.SetRenderMode(look.meshRenderMode, TMesh8::kAllParts);
  for (uint32_t i = 0; i < count; ++i) AddParticle(mesh);
}

TParticleBody::TParticleBody(const TParticleLook& particleLook, const std::string& textureName, uint32_t divisions1,
                             uint32_t divisions2, uint32_t particleCount, const TEffectBox& start,
                             const TEffectBox& end, float particleRate, const D3DXVECTOR3& meshScale)
    : TEffect(TCountedPtr<TFrame8>()),
      look(particleLook),
      startBox(start),
      endBox(end),
      count(particleCount),
      rate(particleRate) {
  SetFrame(CreateNamedFrame("ParticleMain", IdentityMatrix()));
  TMesh8 mesh = LoadEffectMesh(kParticleQuadMesh);
  effectmesh::RequireQuad(mesh, GetEffectFolder() + kParticleQuadMesh);
  mesh.Scale(meshScale.x, meshScale.y, meshScale.z);
  mesh.SetRenderMode(look.meshRenderMode, TMesh8::kAllParts);
  mesh.GetMaterialForUpdate(0).SetTexture(TTexture8::Load(textureName, plat::D3DPOOL_MANAGED, 0));
  // A sheet of no cells would divide by zero; the registry never asks for one.
  const uint32_t across = divisions1 ? divisions1 : 1, down = divisions2 ? divisions2 : 1;
  const float d1 = 1.0f / static_cast<float>(across), d2 = 1.0f / static_cast<float>(down);
  for (uint32_t i = 0; i < count; ++i) {
    TMesh8 cellMesh = mesh;
    mesh.Clone(cellMesh, 0);
    const uint32_t cell = *look.cellCounter % (across * down);
    const float s = static_cast<float>(cell % across) * d1, t = static_cast<float>(cell / across) * d2;
    effectmesh::SetQuadTexCoords(cellMesh, {{{t + d2, s + d1}, {t + d2, s}, {t, s}, {t, s + d1}}});
    AddParticle(cellMesh);
    ++*look.cellCounter;
  }
}

TParticleBody::TParticleBody(const TParticleBody& other)
    : TEffect(other),
      look(other.look),
      startBox(other.startBox),
      endBox(other.endBox),
      count(other.count),
      rate(other.rate) {
  particles.reserve(other.particles.size());
  for (const Particle& source : other.particles) {
    Particle copy{source.start, source.end, source.frame->Clone(nullptr)};
    frame->AddChild(copy.frame);
    particles.push_back(copy);
  }
}

TParticleBody::~TParticleBody() = default;

void TParticleBody::AddParticle(const TMesh8& mesh) {
  TCountedPtr<TFrame8> particleFrame = CreateNamedFrame("", IdentityMatrix());
  particleFrame->AddMesh(mesh);
  particles.push_back(Particle{D3DXVECTOR3(), D3DXVECTOR3(), particleFrame});
}

void TParticleBody::Init(int32_t newId, const D3DXVECTOR3& position, const D3DXVECTOR3& lookAt, TFrame8& parent,
                         TEffectStage* stage, const plat::D3DCOLORVALUE& newColour) {
  TEffect::Init(newId, position, lookAt, parent, stage, newColour);
  sceneFrame = stage ? stage->GetSceneFrame() : nullptr;
  stageFrame = stage ? stage->GetRootFrame() : nullptr;
  for (Particle& p : particles) {
    p.start.x = RandomCoordinate(startBox.minimum.x, startBox.maximum.x);
    p.start.y = RandomCoordinate(startBox.minimum.y, startBox.maximum.y);
    p.start.z = RandomCoordinate(startBox.minimum.z, startBox.maximum.z);
    p.end.x = RandomCoordinate(endBox.minimum.x, endBox.maximum.x);
    p.end.y = RandomCoordinate(endBox.minimum.y, endBox.maximum.y);
    p.end.z = RandomCoordinate(endBox.minimum.z, endBox.maximum.z);
  }
  colourStep = {colour.r * rate, colour.g * rate, colour.b * rate, colour.a * rate};
  if (look.fadesAlpha) {
    colourStep.r = colourStep.g = colourStep.b = 0.0f;
    frame->SetAlpha(colour.a, true, false);
  } else {
    colourStep.a = 0.0f;
    frame->SetColorRGB(colour.r, colour.g, colour.b, true, false);
  }
}

void TParticleBody::ApplyRenderMode() { frame->SetRenderMode(look.frameRenderMode, true, false); }

void TParticleBody::FadeColour() {
  colour.r -= colourStep.r;
  colour.g -= colourStep.g;
  colour.b -= colourStep.b;
  colour.a -= colourStep.a;
  if (look.fadesAlpha)
    frame->SetAlpha(colour.a, true, false);
  else
    frame->SetColorRGB(colour.r, colour.g, colour.b, true, false);
}

TFrameSpace8 TParticleBody::ViewSpace() const {
  TFrameSpace8 space;
  if (GetFrame()) space.Take(*GetFrame(), sceneFrame, stageFrame);
  return space;
}

void TParticleBody::Face(TFrame8& particleFrame, const TFrameSpace8& space) const {
  space.AimAtView(particleFrame, sceneFrame, stageFrame);
}

bool TParticleBody::Update() {
  FadeColour();
  progress += rate;
  const TFrameSpace8 space = ViewSpace();
  for (Particle& p : particles) {
    const D3DXVECTOR3 at(p.start.x + (p.end.x - p.start.x) * progress, p.start.y + (p.end.y - p.start.y) * progress,
                         p.start.z + (p.end.z - p.start.z) * progress);
    p.frame->SetPosition(at);
    Face(*p.frame, space);
  }
  if (progress > 1.0f) Kill();
  return IsAlive();
}

TParticleEffect::TParticleEffect(const std::string& meshName, uint32_t particleCount, const TEffectBox& start,
                                 const TEffectBox& end, float particleRate, const D3DXVECTOR3& meshScale)
    : TParticleBody(kAdditiveLook, meshName, particleCount, start, end, particleRate, meshScale) {}

TParticleEffect::TParticleEffect(const std::string& textureName, uint32_t divisions1, uint32_t divisions2,
                                 uint32_t particleCount, const TEffectBox& start, const TEffectBox& end,
                                 float particleRate, const D3DXVECTOR3& meshScale)
    : TParticleBody(kAdditiveLook, textureName, divisions1, divisions2, particleCount, start, end, particleRate,
                    meshScale) {}

TParticleEffect::TParticleEffect(const TParticleLook& particleLook, const std::string& textureName,
                                 uint32_t divisions1, uint32_t divisions2, uint32_t particleCount,
                                 const TEffectBox& start, const TEffectBox& end, float particleRate,
                                 const D3DXVECTOR3& meshScale)
    : TParticleBody(particleLook, textureName, divisions1, divisions2, particleCount, start, end, particleRate,
                    meshScale) {}

std::unique_ptr<TEffect> TParticleEffect::Clone() const {
  return std::unique_ptr<TEffect>(new TParticleEffect(*this));
}

TAlphaParticleEffect::TAlphaParticleEffect(const std::string& meshName, uint32_t particleCount,
                                           const TEffectBox& start, const TEffectBox& end, float particleRate,
                                           const D3DXVECTOR3& meshScale)
    : TParticleBody(kAlphaLook, meshName, particleCount, start, end, particleRate, meshScale) {}

TAlphaParticleEffect::TAlphaParticleEffect(const std::string& textureName, uint32_t divisions1, uint32_t divisions2,
                                           uint32_t particleCount, const TEffectBox& start, const TEffectBox& end,
                                           float particleRate, const D3DXVECTOR3& meshScale)
    : TParticleBody(kAlphaLook, textureName, divisions1, divisions2, particleCount, start, end, particleRate,
                    meshScale) {}

std::unique_ptr<TEffect> TAlphaParticleEffect::Clone() const {
  return std::unique_ptr<TEffect>(new TAlphaParticleEffect(*this));
}

TJitterParticleEffect::TJitterParticleEffect(const std::string& textureName, uint32_t divisions1,
                                             uint32_t divisions2, uint32_t particleCount, const TEffectBox& start,
                                             const TEffectBox& end, float particleRate,
                                             const D3DXVECTOR3& divisors, uint8_t finite,
                                             const D3DXVECTOR3& meshScale)
    : TParticleEffect(kJitterLook, textureName, divisions1, divisions2, particleCount, start, end, particleRate,
                      meshScale),
      jitterDivisors(divisors),
      behaviour(finite ? Behaviour::kFinite : Behaviour::kEndless) {}

std::unique_ptr<TEffect> TJitterParticleEffect::Clone() const {
  return std::unique_ptr<TEffect>(new TJitterParticleEffect(*this));
}

void TJitterParticleEffect::Walk() {
  const TFrameSpace8 space = ViewSpace();
  for (Particle& p : particles) {
    D3DXVECTOR3 at;
    p.frame->GetPosition(&at);
    at.x += Jitter(jitterDivisors.x);
    at.y += Jitter(jitterDivisors.y);
    at.z += Jitter(jitterDivisors.z);
    p.frame->SetPosition(at);
    Face(*p.frame, space);
  }
}

bool TJitterParticleEffect::Update() {
  if (behaviour == Behaviour::kEndless) {
    Walk();
    return IsAlive();
  }
  colour.r -= colourStep.r;
  colour.g -= colourStep.g;
  colour.b -= colourStep.b;
  colour.a -= colourStep.a;
  if (behaviour == Behaviour::kFinite)
    frame->SetColor(colour.r, colour.g, colour.b, colour.a, true, false);
  else
    frame->SetColorRGB(colour.r, colour.g, colour.b, true, false);
  progress += rate;
  Walk();
  if (progress > 1.0f) Kill();
  return IsAlive();
}
