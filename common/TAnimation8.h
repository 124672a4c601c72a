// Key-track animation of a frame: an animation block holds up to one rotation, scale and position
// track and turns a time into the matrix that stands in for the frame's local matrix.
#pragma once
#include <cstdint>
#include <memory>
#include <vector>

#include "common/TCountedPtr.h"
#include "platform/gfx/D3DXMath.h"

class TFile;

// Key times are whole numbers in the animation's own unit, compared as floats.
class TKeyTrack8 {
 public:
  virtual ~TKeyTrack8() = default;
  // The track's matrix at the time, clamped to the first and last key; valid until the next call.
  virtual const plat::D3DXMATRIX* Evaluate(float time) = 0;
  uint32_t GetKeyCount() const { return static_cast<uint32_t>(times.size()); }

 protected:
  struct Bracket {
    uint32_t prev, next;
    float fraction;
  };
  // The two keys around the time and how far between them it lies. Needs at least one key.
  Bracket Find(float time) const;

  std::vector<uint32_t> times;
  plat::D3DXMATRIX result;
};

class TRotationKeys8 : public TKeyTrack8 {
 public:
  // Null when the track has no keys or its keys run past the end of the file (ok then false).
  static std::unique_ptr<TRotationKeys8> Read(TFile& file, bool& ok);
  const plat::D3DXMATRIX* Evaluate(float time) override;

 private:
  std::vector<plat::D3DXQUATERNION> values;  // x, y, z, w as stored
};

// Scale and position tracks interpolate three floats alike and differ in the matrix they build.
class TVectorKeys8 : public TKeyTrack8 {
 protected:
  plat::D3DXVECTOR3 ValueAt(float time) const;
  static bool ReadInto(TVectorKeys8& track, TFile& file, bool& ok);

  std::vector<plat::D3DXVECTOR3> values;
};

class TScaleKeys8 : public TVectorKeys8 {
 public:
  static std::unique_ptr<TScaleKeys8> Read(TFile& file, bool& ok);
  const plat::D3DXMATRIX* Evaluate(float time) override;
};

class TPositionKeys8 : public TVectorKeys8 {
 public:
  static std::unique_ptr<TPositionKeys8> Read(TFile& file, bool& ok);
  const plat::D3DXMATRIX* Evaluate(float time) override;
};

class TAnimation8 {
 public:
  static constexpr uint32_t kRotation = 0;
  static constexpr uint32_t kScale = 1;
  static constexpr uint32_t kPosition = 2;

  // Reads one block. Unknown track kinds are skipped (only their kind word is consumed); a later
  // track of a kind replaces the earlier one; a track without keys is left out. A count or key
  // array that runs past the end stops the reading there: the file is left at its end and ok
  // becomes false, the block keeps what was read in full.
  static TCountedPtr<TAnimation8> Read(TFile& file, bool& ok);

  // Scale, then rotation, then position; without a position track the base matrix's translation.
  plat::D3DXMATRIX GetMatrix(float time, const plat::D3DXMATRIX& base);

  bool HasRotation() const { return rotation != nullptr; }
  bool HasScale() const { return scale != nullptr; }
  bool HasPosition() const { return position != nullptr; }

 private:
  std::unique_ptr<TRotationKeys8> rotation;
  std::unique_ptr<TScaleKeys8> scale;
  std::unique_ptr<TPositionKeys8> position;
};
