#include "common/TAnimation8.h"

#include "common/ReadCount.h"
#include "common/TFile.h"

using namespace plat;

namespace {

// Key times and values of one track; false (nothing kept) for a track without keys or one that
// runs past the end of the file.
template <class Value>
bool ReadKeys(TFile& file, std::vector<uint32_t>& times, std::vector<Value>& values, bool& ok) {
  uint32_t n = 0;
  if (!ReadCount(file, n, 4 + sizeof(Value))) {
    ok = false;
    return false;
  }
  if (n == 0) return false;  // evaluating it would have no key to read
  times.resize(n);
  values.resize(n);
  if (!file.Read(times.data(), n * 4) || !file.Read(values.data(), n * static_cast<uint32_t>(sizeof(Value)))) {
    ok = false;
    return false;
  }
  return true;
}

}  // namespace

TKeyTrack8::Bracket TKeyTrack8::Find(float t) const {
  const uint32_t n = GetKeyCount();
  const float first = static_cast<float>(times[0]);
  const float last = static_cast<float>(times[n - 1]);
  if (t > last) {
    t = last;
  } else if (t < first) {
    t = first;
  }
  // The bracket starts at the last key whose time is not greater than t.
  Bracket b{n - 1, n - 1, 0.0f};
  for (uint32_t i = 0; i < n; ++i) {
    if (static_cast<float>(times[i]) > t) {
      b.next = i;
      b.prev = i == 0 ? 0 : i - 1;
      break;
    }
  }
  const float from = static_cast<float>(times[b.prev]);
  const float d = static_cast<float>(times[b.next]) - from;
  b.fraction = d == 0.0f ? 0.0f : (t - from) / d;
  return b;
}

std::unique_ptr<TRotationKeys8> TRotationKeys8::Read(TFile& file, bool& ok) {
  auto track = std::make_unique<TRotationKeys8>();
  if (!ReadKeys(file, track->times, track->values, ok)) return nullptr;
  return track;
}

const D3DXMATRIX* TRotationKeys8::Evaluate(float time) {
  const Bracket b = Find(time);
  // The keys are stored as the inverse rotations.
  D3DXQUATERNION from, to, q;
  D3DXQuaternionConjugate(&from, &values[b.prev]);
  D3DXQuaternionConjugate(&to, &values[b.next]);
  D3DXQuaternionSlerp(&q, &from, &to, b.fraction);
  return D3DXMatrixRotationQuaternion(&result, &q);
}

D3DXVECTOR3 TVectorKeys8::ValueAt(float time) const {
  const Bracket b = Find(time);
  D3DXVECTOR3 v;
  D3DXVec3Lerp(&v, &values[b.prev], &values[b.next], b.fraction);
  return v;
}

bool TVectorKeys8::ReadInto(TVectorKeys8& track, TFile& file, bool& ok) {
  static_assert(sizeof(D3DXVECTOR3) == 12);
  return ReadKeys(file, track.times, track.values, ok);
}

std::unique_ptr<TScaleKeys8> TScaleKeys8::Read(TFile& file, bool& ok) {
  auto track = std::make_unique<TScaleKeys8>();
  if (!ReadInto(*track, file, ok)) return nullptr;
  return track;
}

const D3DXMATRIX* TScaleKeys8::Evaluate(float time) {
  const D3DXVECTOR3 v = ValueAt(time);
  return D3DXMatrixScaling(&result, v.x, v.y, v.z);
}

std::unique_ptr<TPositionKeys8> TPositionKeys8::Read(TFile& file, bool& ok) {
  auto track = std::make_unique<TPositionKeys8>();
  if (!ReadInto(*track, file, ok)) return nullptr;
  return track;
}

const D3DXMATRIX* TPositionKeys8::Evaluate(float time) {
  const D3DXVECTOR3 v = ValueAt(time);
  return D3DXMatrixTranslation(&result, v.x, v.y, v.z);
}

namespace {

// Stores a track that was read; a track left out keeps the earlier one of its kind.
template <class Track>
void Keep(std::unique_ptr<Track>& slot, std::unique_ptr<Track> track) {
  if (track) slot = std::move(track);
}

}  // namespace

TCountedPtr<TAnimation8> TAnimation8::Read(TFile& file, bool& ok) {
  TCountedPtr<TAnimation8> block(new TAnimation8);
  bool good = true;
  uint32_t count = 0;
  if (!ReadCount(file, count, 4)) good = false;
  for (uint32_t i = 0; i < count && good; ++i) {
    uint32_t kind = 0;
    if (!file.Read(&kind, 4)) {
      good = false;
      break;
    }
    switch (kind) {
      case kRotation: Keep(block->rotation, TRotationKeys8::Read(file, good)); break;
      case kScale: Keep(block->scale, TScaleKeys8::Read(file, good)); break;
      case kPosition: Keep(block->position, TPositionKeys8::Read(file, good)); break;
      default: break;  // only the kind word belongs to an unknown track
    }
  }
  if (!good) ok = false;
  return block;
}

D3DXMATRIX TAnimation8::GetMatrix(float time, const D3DXMATRIX& base) {
  D3DXMATRIX m;
  D3DXMatrixIdentity(&m);
  if (scale) D3DXMatrixMultiply(&m, &m, scale->Evaluate(time));
  if (rotation) D3DXMatrixMultiply(&m, &m, rotation->Evaluate(time));
  D3DXMATRIX move;
  if (position) {
    move = *position->Evaluate(time);
  } else {
    D3DXMatrixTranslation(&move, base._41, base._42, base._43);
  }
  return *D3DXMatrixMultiply(&m, &m, &move);
}
