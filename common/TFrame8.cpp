#include "common/TFrame8.h"

#include <cstdio>
#include <utility>

#include "common/ReadCount.h"
#include "common/TFile.h"
#include "platform/core/Win32Types.h"

using namespace plat;

namespace {

// The least a frame record takes: name length, matrix and three counts.
constexpr uint32_t kMinRecordBytes = 4 + 64 + 4 * 3;
// Deeper nesting than any model has; it keeps a damaged file from exhausting the stack.
constexpr uint32_t kMaxDepth = 256;

std::string& Folder() {
  static std::string folder;
  return folder;
}

D3DXMATRIX Identity() {
  D3DXMATRIX m;
  return *D3DXMatrixIdentity(&m);
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
  D3DXMATRIX matrix = Identity();
  D3DXMATRIX read;
  if (file.Read(&read, sizeof read)) {
    matrix = read;
  } else {
    ok = false;
  }
  TCountedPtr<TFrame8> frame(new TFrame8(frameName, matrix, parentFrame));

  uint32_t count = 0;
  // Embedded meshes come first in a record; a file holding any is read further on.
  if (!ReadCount(file, count, 4)) ok = false;
  if (count != 0) {
    file.Seek(0, 2);
    ok = false;
  }

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

// --- copies and hierarchy ------------------------------------------------------------------------

TCountedPtr<TFrame8> TFrame8::Clone(TFrame8* parentFrame) const {
  TCountedPtr<TFrame8> copy(new TFrame8(name, local, parentFrame));
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
