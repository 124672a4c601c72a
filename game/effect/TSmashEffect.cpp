#include "game/effect/TSmashEffect.h"

#include "common/TFrame8.h"
#include "game/effect/EffectFolder.h"
#include "game/effect/EffectVectors.h"
#include "game/effect/FieldServices.h"
#include "game/effect/MtRandomState.h"
#include "game/effect/TEffectManager.h"

using plat::D3DXVECTOR3;

namespace {

constexpr uint32_t kAdd = 4000;
constexpr uint32_t kAlphaNotCull = 2100;
constexpr uint32_t kDestInverse = 5000;
constexpr uint32_t kFloatsPerVertex = 6;
const char kDebrisMeshName[] = "smash_obj";

D3DXVECTOR3 PointAt(const float* vertices, uint32_t offset) {
  return D3DXVECTOR3(vertices[offset], vertices[offset + 1], vertices[offset + 2]);
}

// One axis of a random direction: the word halved, signed by its bit 1.
float RandomAxis() {
  const uint32_t word = GenRand();
  const float size = static_cast<float>(word >> 1);
  return (word & 2u) ? size : -size;
}

D3DXVECTOR3 Direction(uint32_t mode, const D3DXVECTOR3 p[3], const TMeshBounds& bounds) {
  using effectmath::Minus;
  switch (static_cast<TSmashEffect::PieceMode>(mode)) {
    case TSmashEffect::PieceMode::kFromCentre: {
      const D3DXVECTOR3 sum = effectmath::Plus(effectmath::Plus(p[0], p[1]), p[2]);
      return Minus(effectmath::Times(sum, 0.333333f), D3DXVECTOR3(bounds.x, bounds.y, bounds.z));
    }
    case TSmashEffect::PieceMode::kNormal: {
      const D3DXVECTOR3 a = Minus(p[0], p[1]), b = Minus(p[0], p[2]);
      D3DXVECTOR3 normal;
      return *plat::D3DXVec3Cross(&normal, &a, &b);
    }
    case TSmashEffect::PieceMode::kRandom: {
      D3DXVECTOR3 d;
      d.x = RandomAxis();
      d.y = RandomAxis();
      d.z = RandomAxis();
      return d;
    }
  }
  return D3DXVECTOR3();  // a mode the registry never uses: the piece stays in place
}

}  // namespace

TSmashEffect::TSmashEffect(const std::string& meshName, uint32_t limit, uint32_t step, float speed, float fallGravity,
                           float fadeStep, uint32_t pieceMode, uint8_t alphaLook, const D3DXVECTOR3& scale)
    : TEffect(TCountedPtr<TFrame8>()),
      waitLimit(limit),
      timeStep(step),
      pieceSpeed(speed),
      gravity(fallGravity),
      fade(fadeStep),
      alpha(alphaLook) {
  SetFrame(CreateNamedFrame("smash_root", IdentityMatrix()));
  TMesh8 mesh = LoadEffectMesh(meshName);
  BuildPieces(mesh, pieceMode);
  mesh.SetName(kDebrisMeshName);
  frame->AddMesh(mesh);
  debris = frame->FindMesh(kDebrisMeshName, false);
  const bool zero = scale.x == 0.0f && scale.y == 0.0f && scale.z == 0.0f;
  if (!zero && plat::D3DXVec3Length(&scale) != 1.0f) debris->Scale(scale.x, scale.y, scale.z);
}

TSmashEffect::TSmashEffect(const TSmashEffect& other)
    : TEffect(other),
      waitLimit(other.waitLimit == kPersistent ? 1 : other.waitLimit),
      timeStep(other.timeStep),
      keys(other.keys),
      pieceSpeed(other.pieceSpeed),
      gravity(other.gravity),
      fade(other.fade),
      pieces(other.pieces),
      alpha(other.alpha),
      persistent(other.waitLimit == kPersistent ? 1 : 0) {
  debris = frame ? frame->FindMesh(kDebrisMeshName, false) : nullptr;
}

TSmashEffect::~TSmashEffect() = default;

void TSmashEffect::BuildPieces(TMesh8& mesh, uint32_t pieceMode) {
  const auto* vertices = static_cast<const float*>(mesh.LockVerticesReadOnly(0));
  const uint16_t* indices = mesh.LockIndicesReadOnly();
  if (vertices && indices) {
    TMeshBounds bounds;
    mesh.GetBoundingSphere(bounds, IdentityMatrix());
    pieces.resize(mesh.GetTriangleCount());
    for (size_t t = 0; t < pieces.size(); ++t) {
      Piece& piece = pieces[t];
      D3DXVECTOR3 p[3];
      for (int k = 0; k < 3; ++k) {
        piece.vertex[k] = kFloatsPerVertex * indices[3 * t + k];
        p[k] = PointAt(vertices, piece.vertex[k]);
      }
      D3DXVECTOR3 direction = Direction(pieceMode, p, bounds);
      plat::D3DXVec3Normalize(&direction, &direction);
      piece.velocity = effectmath::Times(direction, pieceSpeed);
    }
  }
  if (vertices) mesh.UnlockVertices(0, false);
  if (indices) mesh.UnlockIndices();
}

void TSmashEffect::Init(int32_t newId, const D3DXVECTOR3& position, const D3DXVECTOR3& lookAt, TFrame8& parent,
                        TEffectStage* newStage, const plat::D3DCOLORVALUE& newColour) {
  TEffect::Init(newId, position, lookAt, parent, newStage, newColour);
  stage = newStage;
  manager = stage ? stage->GetEffectManager() : nullptr;
}

void TSmashEffect::ApplyRenderMode() {
  if (!debris) return;
  debris->SetRenderMode(alpha ? kAlphaNotCull : kAdd, TMesh8::kAllParts);
  if (persistent) debris->SetRenderMode(kDestInverse, TMesh8::kAllParts);
}

std::unique_ptr<TEffect> TSmashEffect::Clone() const { return std::unique_ptr<TEffect>(new TSmashEffect(*this)); }

void TSmashEffect::SetScale(const D3DXVECTOR3& scale) {
  if (frame) frame->Scale(scale.x, scale.y, scale.z, false);
}

void TSmashEffect::AddKey(TEffectKind kind, const D3DXVECTOR3& position, const D3DXVECTOR3& scale,
                          const plat::D3DCOLORVALUE& keyColour) {
  keys.push_back(TEffectKey{kind, position, scale, keyColour});
}

bool TSmashEffect::Update() {
  RunState();
  return IsAlive();
}

void TSmashEffect::RunState() {
  if (state == State::kWait)
    Wait();
  else
    Fall();
}

void TSmashEffect::Wait() {
  time += timeStep;
  if (time >= waitLimit) Break();
}

void TSmashEffect::Break() {
  state = State::kFall;
  TFrame8* parent = frame ? frame->GetParent() : nullptr;
  if (!manager || !parent) return;
  const D3DXVECTOR3 forward = effectmath::WorldForward(*frame);
  // Through a copy: a spawned effect's Init must not meet a list that is growing.
  const std::vector<TEffectKey> spawning = keys;
  for (const TEffectKey& key : spawning)
    manager->Spawn(key.kind, effectmath::PointInFrameAxes(*frame, key.position), forward, *parent, stage, key.colour,
                   key.scale);
}

void TSmashEffect::Fall() {
  fallSpeed += gravity;
  if (debris) {
    if (auto* v = static_cast<float*>(debris->LockVertices(0))) {
      for (const Piece& piece : pieces)
        for (uint32_t offset : piece.vertex) {
          v[offset] += piece.velocity.x;
          v[offset + 1] += piece.velocity.y;
          v[offset + 1] -= fallSpeed;
          v[offset + 2] += piece.velocity.z;
        }
      debris->UnlockVertices(0, false);
    }
  }
  alive = 1;
  bool faded = false;
  auto fadeChannel = [&](float& c) {
    c -= fade;
    if (c < 0.0f) {
      c = 0.0f;
      faded = true;
    }
  };
  fadeChannel(colour.r);
  fadeChannel(colour.g);
  fadeChannel(colour.b);
  if (alpha)
    fadeChannel(colour.a);
  else
    colour.a -= fade;
  if (faded) alive = 0;
  if (persistent || !debris) return;
  if (alpha)
    debris->SetAlpha(colour.a, TMesh8::kAllParts);
  else
    debris->SetColorRGB(colour.r, colour.g, colour.b, TMesh8::kAllParts);
}
