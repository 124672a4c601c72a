#include "game/effect/TAfterImage.h"

#include <cstring>
#include <vector>

#include "common/TFrame8.h"
#include "game/effect/ActorServices.h"

using plat::D3DXVECTOR3;

namespace {

constexpr uint32_t kHidden = 0;
constexpr int32_t kOff = -1;
constexpr uint32_t kVerticesPerQuad = 6;

D3DXVECTOR3 Blend(const D3DXVECTOR3& a, float wa, const D3DXVECTOR3& b, float wb, const D3DXVECTOR3& c, float wc) {
  return D3DXVECTOR3(a.x * wa + b.x * wb + c.x * wc, a.y * wa + b.y * wb + c.y * wc, a.z * wa + b.z * wb + c.z * wc);
}

// One side of the ribbon (base or tip points, index 0 the newest): three older points move back,
// the newest is the current one, and the three between it and the previous newest lie on the
// Bezier curve A, B, B, C at t = 1/6, 1/3 and 1/2.
void AdvanceSide(std::vector<D3DXVECTOR3>& p, const D3DXVECTOR3& now) {
  const int last = static_cast<int>(p.size()) - 1;
  for (int k = last - 3; k >= 0; --k) p[k + 3] = p[k];
  p[0] = now;
  const D3DXVECTOR3 a = p[0], b = p[3], c = p[6];
  p[1] = Blend(a, 0.57870305f, b, 0.1388891f * 3, c, 0.004629657f);
  p[2] = Blend(a, 0.29629675f, b, 0.2222221f * 3, c, 0.03703692f);
  p[3] = Blend(a, 0.125f, b, 0.25f * 3, c, 0.125f);
}

// Where point k of a side lives among the quads' vertices (role 0 the base, 1 the tip): quad j
// holds b(j), t(j), b(j+1), t(j), b(j+1), t(j+1).
uint32_t FirstVertexOf(uint32_t k, uint32_t quads, uint32_t role) {
  return k < quads ? kVerticesPerQuad * k + role : kVerticesPerQuad * (quads - 1) + 2 + 3 * role;
}

}  // namespace

void TAfterImage::Channel::Step() {
  if (frame < count) ++frame;
  current = frame >= count ? end : start + (end - start) * static_cast<float>(frame) / static_cast<float>(count);
}

std::unique_ptr<TAfterImage> TAfterImage::Create(TFrame8& weaponFrame, const TEffectActor& owner) {
  return std::unique_ptr<TAfterImage>(new TAfterImage(weaponFrame, owner));
}

TAfterImage::TAfterImage(TFrame8& weaponFrame, const TEffectActor& trailOwner)
    : owner(&trailOwner), weapon(&weaponFrame) {
  TMesh8 mesh = TMesh8::Load(kRibbonMesh);
  mesh.SetColor(1, 1, 1, 1, TMesh8::kAllParts);
  ribbon = CreateNamedFrame("AftImg", IdentityMatrix());
  ribbon->AddMesh(mesh);
  tip = CreateNamedFrame("AftImgEnd", IdentityMatrix());
  tip->SetPositionXYZ(0, 0, -bladeLength);
  weapon->AddChild(tip);
}

TAfterImage::~TAfterImage() {
  // Through the frames' own parent links, which a parent torn down first has already cleared.
  tip->Detach();
  ribbon->Detach();
}

TMesh8* TAfterImage::GetMesh() const {
  std::vector<TMesh8>& meshes = ribbon->GetMeshes();
  return meshes.empty() ? nullptr : &meshes.front();
}

void TAfterImage::Hide() {
  if (TMesh8* mesh = GetMesh()) mesh->SetRenderMode(kHidden, TMesh8::kAllParts);
}

void TAfterImage::Attach(TFrame8& parent) {
  wasActing = 0;
  Hide();
  parent.AddChild(ribbon);
}

void TAfterImage::Detach() {
  wasActing = 0;
  Hide();
  ribbon->Detach();
}

void TAfterImage::Start(float length, float red, float green, float blue, int32_t selector) {
  if (selector < 7) renderMode = kDefaultRenderMode;
  const float rgb[3] = {red, green, blue};
  const bool constantColour = renderMode == 2300 || renderMode == 3000;
  if (constantColour || renderMode == kDefaultRenderMode) {
    for (int c = 0; c < 3; ++c) {
      channels[c].start = rgb[c];
      channels[c].end = constantColour ? rgb[c] : 0.0f;
    }
    channels[3].start = 1.0f;
    channels[3].end = constantColour ? 0.0f : 1.0f;
    for (Channel& channel : channels) {
      channel.current = channel.start;
      channel.frame = 0;
      channel.count = kRunFrames;
    }
  }
  bladeLength = length;
  tip->SetPositionXYZ(0, 0, -length);
}

void TAfterImage::Update() {
  const bool acting = owner->IsInAction();
  if ((!wasActing || acting) && timer == kOff) {
    // Idle, or still acting: nothing runs.
  } else {
    if (timer == kOff) {
      // The action has just ended: a new run starts from the start colours.
      for (Channel& channel : channels) {
        channel.current = channel.start;
        channel.frame = 0;
      }
      timer = kRunFrames;
    } else {
      for (Channel& channel : channels) channel.Step();
      if (TMesh8* mesh = GetMesh())
        mesh->SetColor(channels[0].current, channels[1].current, channels[2].current, channels[3].current, TMesh8::kAllParts);
      if (timer-- == 1) {
        timer = kOff;
        Hide();
      }
    }
    Refresh(false);
  }
  if (acting) {
    timer = kOff;
    Refresh(true);
  }
  wasActing = acting ? 1 : 0;
}

void TAfterImage::Refresh(bool reset) {
  D3DXVECTOR3 base, tipPoint;
  weapon->GetWorldPosition(&base);
  tip->GetWorldPosition(&tipPoint);
  if (reset && !wasActing)
    Collapse(base, tipPoint);
  else
    Advance(base, tipPoint);
}

void TAfterImage::Collapse(const D3DXVECTOR3& base, const D3DXVECTOR3& tipPoint) {
  TMesh8* mesh = GetMesh();
  if (!mesh) return;
  const uint32_t stride = plat::D3DXGetFVFVertexSize(mesh->GetVertexFormat()), count = mesh->GetVertexCount();
  if (auto* vertices = static_cast<uint8_t*>(mesh->LockVertices(0))) {
    for (uint32_t k = 0; k < count; ++k) std::memcpy(vertices + size_t(stride) * k, k % 2 ? &tipPoint.x : &base.x, 12);
    mesh->UnlockVertices(0, true);
  }
  mesh->SetRenderMode(renderMode, TMesh8::kAllParts);
  mesh->SetColor(channels[0].start, channels[1].start, channels[2].start, channels[3].start, TMesh8::kAllParts);
}

void TAfterImage::Advance(const D3DXVECTOR3& base, const D3DXVECTOR3& tipPoint) {
  TMesh8* mesh = GetMesh();
  if (!mesh) return;
  const uint32_t quads = mesh->GetVertexCount() / kVerticesPerQuad;
  const uint32_t stride = plat::D3DXGetFVFVertexSize(mesh->GetVertexFormat());
  // A ribbon too short for the curve is left as it is.
  if (quads < kMinQuads) return;
  auto* vertices = static_cast<uint8_t*>(mesh->LockVertices(0));
  if (!vertices) return;
  auto at = [&](uint32_t index) { return vertices + size_t(stride) * index; };

  const D3DXVECTOR3 now[2] = {base, tipPoint};
  for (uint32_t role = 0; role < 2; ++role) {
    std::vector<D3DXVECTOR3> points(quads + 1);
    for (uint32_t k = 0; k <= quads; ++k) std::memcpy(&points[k].x, at(FirstVertexOf(k, quads, role)), 12);
    AdvanceSide(points, now[role]);
    for (uint32_t j = 0; j < quads; ++j) {
      // Role 0 sits at slots 0, 2, 4 (b(j), b(j+1), b(j+1)); role 1 at 1, 3, 5 (t(j), t(j), t(j+1)).
      const uint32_t first = kVerticesPerQuad * j + role;
      std::memcpy(at(first), &points[j].x, 12);
      std::memcpy(at(first + 2), &points[j + 1 - role].x, 12);
      std::memcpy(at(first + 4), &points[j + 1].x, 12);
    }
  }
  mesh->UnlockVertices(0, true);
}
