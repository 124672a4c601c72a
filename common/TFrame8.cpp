#include "common/TFrame8.h"

#include <cstdio>
#include <utility>

#include "common/ReadCount.h"
#include "common/ReadErrors.h"
#include "common/TFile.h"
#include "common/TView8.h"
#include "common/my_error.h"
#include "platform/core/Win32Types.h"

using namespace plat;

namespace {

// The least a frame record takes: name length, matrix and three counts.
constexpr uint32_t kMinRecordBytes = 4 + 64 + 4 * 3;
// The least an embedded mesh takes: name length, material count, one vertex, one triangle.
constexpr uint32_t kMinMeshBytes = 4 + 4 + 2 + 24 + 2 + 6 + 4;
// Embedded meshes always hold position, colour and one texture-coordinate pair.
constexpr uint32_t kEmbeddedVertexFormat = 0x142;
// Deeper nesting than any model has; it keeps a damaged file from exhausting the stack.
constexpr uint32_t kMaxDepth = 256;

std::string& Folder() {
  static std::string folder;
  return folder;
}

D3DXMATRIX FromFloats(const float values[16]) {
  D3DXMATRIX m;
  for (int i = 0; i < 16; ++i) m.m[i / 4][i % 4] = values[i];
  return m;
}

}  // namespace

TFrame8::TFrame8(const std::string& frameName, const D3DXMATRIX& matrix, TFrame8* parentFrame)
    : name(frameName), local(matrix), parent(parentFrame) {}

TFrame8::~TFrame8() { Release(); }

void TFrame8::Release() {
  RemoveChildren();
  RemoveMeshes();
  std::vector<TCountedPtr<TAnimation8>>().swap(animations);
  std::string().swap(name);
}

TCountedPtr<TFrame8> CreateNamedFrame(const std::string& name, const D3DXMATRIX& matrix) {
  return TCountedPtr<TFrame8>(new TFrame8(name, matrix, nullptr));
}

TCountedPtr<TFrame8> CreateNamedFrame(const std::string& name, const float matrix[16]) {
  return CreateNamedFrame(name, FromFloats(matrix));
}

// --- frame files ---------------------------------------------------------------------------------

void TFrame8::SetFolder(const std::string& folder) { Folder() = folder; }

const std::string& TFrame8::GetFolder() { return Folder(); }

TCountedPtr<TFrame8> TFrame8::Load(const std::string& fileName) {
  const std::string path = Folder() + fileName;
  TFile file;
  const bool opened = file.Open(true, GENERIC_READ, path);
  uint32_t header[2];
  bool ok = opened && file.Read(header, sizeof header);  // both words are of no use to us
  TCountedPtr<TFrame8> root = ReadRecord(file, nullptr, 0, ok);
  if (!opened) {
    std::fprintf(stderr, "TFrame8: cannot open the frame file \"%s\"\n", path.c_str());
  } else if (!ok) {
    std::fprintf(stderr, "TFrame8: the frame file \"%s\" is short or damaged\n", path.c_str());
  }
  return root;
}

TCountedPtr<TFrame8> TFrame8::ReadRecord(TFile& file, TFrame8* parentFrame, uint32_t depth, bool& ok) {
  std::string frameName;
  if (!file.ReadString(frameName, 255)) ok = false;
  D3DXMATRIX matrix = IdentityMatrix();
  D3DXMATRIX read;
  if (file.Read(&read, sizeof read)) {
    matrix = read;
  } else {
    ok = false;
  }
  TCountedPtr<TFrame8> frame(new TFrame8(frameName, matrix, parentFrame));

  frame->ReadMeshes(file, ok);

  uint32_t count = 0;
  if (!ReadCount(file, count, 4)) ok = false;
  for (uint32_t i = 0; i < count; ++i) frame->AddAnimation(TAnimation8::Read(file, ok));

  if (!ReadCount(file, count, kMinRecordBytes)) ok = false;
  if (count != 0 && depth >= kMaxDepth) {
    file.Seek(0, 2);
    ok = false;
    count = 0;
  }
  for (uint32_t i = 0; i < count; ++i) frame->AddChild(ReadRecord(file, frame.Get(), depth + 1, ok));
  return frame;
}

void TFrame8::ReadMeshes(TFile& file, bool& ok) {
  uint32_t count = 0;
  if (!ReadCount(file, count, kMinMeshBytes)) ok = false;
  for (uint32_t i = 0; i < count; ++i) {
    try {
      AddMesh(TMesh8::ReadBody(file, kEmbeddedVertexFormat));
    } catch (const TBadRecordError&) {
      ok = false;  // read whole but unusable: left out, and the file goes on after it
    } catch (const TCutShortError&) {
      // Bytes that ran out end the file for us; the frames read so far stay.
      file.Seek(0, 2);
      ok = false;
      return;
    }
  }
}

// --- copies and hierarchy ------------------------------------------------------------------------

TCountedPtr<TFrame8> TFrame8::Clone(TFrame8* parentFrame) const {
  TCountedPtr<TFrame8> copy(new TFrame8(name, local, parentFrame));
  copy->meshes = meshes;
  copy->animations = animations;
  for (const TCountedPtr<TFrame8>& child : children) copy->AddChild(child->Clone(copy.Get()));
  return copy;
}

bool TFrame8::IsSelfOrAncestor(const TFrame8* frame) const {
  for (const TFrame8* f = this; f; f = f->parent) {
    if (f == frame) return true;
  }
  return false;
}

bool TFrame8::AddChild(const TCountedPtr<TFrame8>& child) {
  if (!child || IsSelfOrAncestor(child.Get())) return false;
  // Our own share: the argument may be the very list entry that the removal below erases.
  const TCountedPtr<TFrame8> keep = child;
  if (keep->parent) keep->parent->RemoveChild(keep.Get());
  keep->parent = this;
  children.push_back(keep);
  return true;
}

bool TFrame8::RemoveChild(TFrame8* frame) {
  for (auto it = children.begin(); it != children.end(); ++it) {
    if (it->Get() != frame) continue;
    frame->parent = nullptr;
    // Erase first, release after: the child's teardown must not meet a half-changed list.
    TCountedPtr<TFrame8> gone = *it;
    children.erase(it);
    return true;
  }
  return false;
}

bool TFrame8::Detach() { return parent && parent->RemoveChild(this); }

void TFrame8::RemoveChildren() {
  std::vector<TCountedPtr<TFrame8>> gone;
  gone.swap(children);
  for (const TCountedPtr<TFrame8>& child : gone) child->parent = nullptr;
}

// --- meshes and their materials ------------------------------------------------------------------

void TFrame8::AddMesh(const TMesh8& mesh) { meshes.push_back(mesh); }

bool TFrame8::RemoveMesh(const TMesh8* mesh) {
  for (auto it = meshes.begin(); it != meshes.end(); ++it) {
    if (&*it != mesh) continue;
    meshes.erase(it);
    return true;
  }
  return false;
}

void TFrame8::RemoveMeshes() { std::vector<TMesh8>().swap(meshes); }

TMesh8* TFrame8::FindMesh(const std::string& meshName, bool recurse) {
  for (TMesh8& m : meshes) {
    if (m.GetName() == meshName) return &m;
  }
  if (!recurse) return nullptr;
  for (const TCountedPtr<TFrame8>& child : children) {
    if (TMesh8* found = child->FindMesh(meshName, true)) return found;
  }
  return nullptr;
}

template <class Apply>
void TFrame8::Spread(const Apply& apply, bool recurse, bool skipHidden, bool colourRule) {
  if (skipHidden && visible == 0) return;
  for (TMesh8& m : meshes) apply(m);
  if (!recurse) return;
  if (colourRule) {
    // A hidden child is coloured itself, but its own children are not reached.
    if (visible != 1) return;
    for (const TCountedPtr<TFrame8>& child : children) child->Spread(apply, true, false, true);
  } else {
    for (const TCountedPtr<TFrame8>& child : children) child->Spread(apply, true, true, false);
  }
}

namespace {
}  // namespace

void TFrame8::SetColorRGB(float r, float g, float b, bool recurse, bool skipHidden) {
  Spread([&](TMesh8& m) { m.SetColorRGB(r, g, b, TMesh8::kAllParts); }, recurse, skipHidden, false);
}

void TFrame8::SetAlpha(float a, bool recurse, bool skipHidden) {
  Spread([&](TMesh8& m) { m.SetAlpha(a, TMesh8::kAllParts); }, recurse, skipHidden, false);
}

void TFrame8::SetRenderMode(uint32_t code, bool recurse, bool skipHidden) {
  Spread([&](TMesh8& m) { m.SetRenderMode(code, TMesh8::kAllParts); }, recurse, skipHidden, false);
}

void TFrame8::SetColor(float r, float g, float b, float a, bool recurse, bool skipHidden) {
  Spread([&](TMesh8& m) { m.SetColor(r, g, b, a, TMesh8::kAllParts); }, recurse, skipHidden, true);
}

void TFrame8::Draw(TView8& view, const D3DXMATRIX& parentMatrix) {
  D3DXMATRIX world = GetCurrentMatrix();
  D3DXMatrixMultiply(&world, &world, &parentMatrix);
  for (const TCountedPtr<TFrame8>& child : children) child->Draw(view, world);
  for (TMesh8& m : meshes) {
    TMeshBounds sphere;
    m.GetBoundingSphere(sphere, world);
    if (view.IsSphereVisible(sphere.x, sphere.y, sphere.z, sphere.radius)) m.Queue(world, &view);
  }
}

// --- animation and matrices ----------------------------------------------------------------------

void TFrame8::AddAnimation(const TCountedPtr<TAnimation8>& block) { animations.push_back(block); }

void TFrame8::SetAnimation(int32_t index) {
  animationIndex = index;
  for (const TCountedPtr<TFrame8>& child : children) child->SetAnimation(index);
}

void TFrame8::SetAnimationTime(float time) {
  animationTime = time;
  for (const TCountedPtr<TFrame8>& child : children) child->SetAnimationTime(time);
}

void TFrame8::SetMatrix(const float matrix[16]) { local = FromFloats(matrix); }

D3DXMATRIX TFrame8::GetCurrentMatrix() const {
  if (animationIndex < 0 || static_cast<size_t>(animationIndex) >= animations.size()) return local;
  return animations[static_cast<size_t>(animationIndex)]->GetMatrix(animationTime, local);
}

D3DXMATRIX* TFrame8::GetWorldMatrix(D3DXMATRIX* out) const {
  D3DXMATRIX world = GetCurrentMatrix();
  for (const TFrame8* f = parent; f; f = f->parent) {
    const D3DXMATRIX m = f->GetCurrentMatrix();
    D3DXMatrixMultiply(&world, &world, &m);
  }
  *out = world;
  return out;
}
