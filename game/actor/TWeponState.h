// The weapon-hand keys of a character model (".wpm"): for every frame of every motion, where the
// left-hand and right-hand weapons sit relative to the character. Keys are stored once and shared
// by index, so the many frames where a hand does not move cost one index each.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "common/TCountedPtr.h"
#include "platform/gfx/D3DXMath.h"

class TWeponState {
 public:
  // Loads folder + fileName (the model name + ".wpm"). A missing file throws `my_error` with the
  // bare fileName; a file cut short or a key index past the keys throws naming the file.
  explicit TWeponState(const std::string& fileName);

  // The hand's local matrix at the motion time: the frame's key, or between two frames the keys
  // blended (position lerped, rotation slerped); the last frame is not blended. A time past the
  // last frame holds it; a motion outside the table or without frames gives the identity.
  plat::D3DXMATRIX* GetLeftMatrix(plat::D3DXMATRIX* out, uint32_t motion, float time) const;
  plat::D3DXMATRIX* GetRightMatrix(plat::D3DXMATRIX* out, uint32_t motion, float time) const;

  uint32_t GetKeyCount() const { return static_cast<uint32_t>(data_->left.size()); }
  uint32_t GetMotionCount() const { return static_cast<uint32_t>(data_->motions.size()); }

  static void SetFolder(const std::string& folder);
  static const std::string& GetFolder();

 private:
  struct THandKey {
    plat::D3DXVECTOR3 position;
    plat::D3DXQUATERNION rotation;
  };
  struct TData {
    std::vector<THandKey> left, right;
    std::vector<std::vector<uint32_t>> motions;  // key index per frame
  };

  plat::D3DXMATRIX* HandMatrix(plat::D3DXMATRIX* out, const std::vector<THandKey>& keys, uint32_t motion,
                               float time) const;

  // Copies share the keys and motions.
  TCountedPtr<TData> data_;
};
