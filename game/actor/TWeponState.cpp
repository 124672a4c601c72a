#include "game/actor/TWeponState.h"

#include <cstring>

#include "game/actor/CharFileReader.h"

using namespace plat;

namespace {

constexpr uint32_t kKeySize = 56;

std::string& Folder() {
  static std::string folder;
  return folder;
}

// A key holds the left position and rotation, then the right ones: 12 + 16 + 12 + 16 bytes.
const uint8_t* TakeHand(D3DXVECTOR3& position, D3DXQUATERNION& rotation, const uint8_t* p) {
  float v[7];
  std::memcpy(v, p, sizeof v);
  position = D3DXVECTOR3(v[0], v[1], v[2]);
  rotation = D3DXQUATERNION{v[3], v[4], v[5], v[6]};
  return p + sizeof v;
}

}  // namespace

TWeponState::TWeponState(const std::string& fileName) {
  TCharFileReader reader(Folder(), fileName, __FILE__, 25);
  reader.GetU32("header");
  const uint32_t keyCount = reader.GetU32("key count");
  const std::vector<uint8_t> keyBytes = reader.GetBlock(keyCount, kKeySize, "keys");
  auto* data = new TData;
  data_.Reset(data);
  data->left.resize(keyCount);
  data->right.resize(keyCount);
  for (uint32_t k = 0; k < keyCount; ++k) {
    const uint8_t* p = keyBytes.data() + k * kKeySize;
    p = TakeHand(data->left[k].position, data->left[k].rotation, p);
    TakeHand(data->right[k].position, data->right[k].rotation, p);
  }

  const uint32_t motionCount = reader.GetU32("motion count");
  reader.Need(uint64_t(motionCount) * 4, "motion blocks");
  data->motions.resize(motionCount);
  for (std::vector<uint32_t>& frames : data->motions) {
    const uint32_t frameCount = reader.GetU32("frame count");
    const std::vector<uint8_t> block = reader.GetBlock(frameCount, 4, "key indices");
    frames.resize(frameCount);
    if (frameCount != 0) std::memcpy(frames.data(), block.data(), block.size());
    for (uint32_t key : frames)
      if (key >= keyCount) reader.Fail("key index " + std::to_string(key) + " past the keys");
  }
  reader.Close();
}

D3DXMATRIX* TWeponState::HandMatrix(D3DXMATRIX* out, const std::vector<THandKey>& keys, uint32_t motion,
                                    float time) const {
  if (motion >= data_->motions.size() || data_->motions[motion].empty()) return D3DXMatrixIdentity(out);
  const std::vector<uint32_t>& frames = data_->motions[motion];
  const size_t last = frames.size() - 1;
  // Time 0 (and anything not above it) is frame 0 exactly; the last frame and beyond hold its key.
  size_t i0 = 0, i1 = 0;
  if (time > 0.0f) {
    i0 = time >= static_cast<float>(last) ? last : static_cast<size_t>(time);
    i1 = i0 == last ? i0 : i0 + 1;
  }
  const THandKey& a = keys[frames[i0]];
  const THandKey& b = keys[frames[i1]];
  D3DXVECTOR3 position = a.position;
  D3DXQUATERNION rotation = a.rotation;
  if (frames[i0] != frames[i1]) {
    const float t = time - static_cast<float>(i0);
    D3DXVec3Lerp(&position, &a.position, &b.position, t);
    D3DXQuaternionSlerp(&rotation, &a.rotation, &b.rotation, t);
  }
  D3DXMATRIX turn, move;
  D3DXMatrixRotationQuaternion(&turn, &rotation);
  D3DXMatrixTranslation(&move, position.x, position.y, position.z);
  return D3DXMatrixMultiply(out, &turn, &move);
}

D3DXMATRIX* TWeponState::GetLeftMatrix(D3DXMATRIX* out, uint32_t motion, float time) const {
  return HandMatrix(out, data_->left, motion, time);
}

D3DXMATRIX* TWeponState::GetRightMatrix(D3DXMATRIX* out, uint32_t motion, float time) const {
  return HandMatrix(out, data_->right, motion, time);
}

void TWeponState::SetFolder(const std::string& folder) { Folder() = folder; }

const std::string& TWeponState::GetFolder() { return Folder(); }
