// The bullets of shots: small elements, each with its own frame "BullFrm" holding one mesh
// "BullMsh", stored by value in their shot's vector. The head bullet is moved by the shot's motion
// controller and every other one follows the bullet ahead. Six classes differ only in a row of
// data: where the mesh comes from, its render mode, the texture cell it shows and whether the cell
// walks through a 2 x 2 sheet from frame to frame.
#pragma once
#include <cstdint>
#include <string>

#include "common/TCountedPtr.h"
#include "common/TFrame8.h"
#include "common/TFrameSpace8.h"
#include "common/TMesh8.h"
#include "platform/gfx/D3D8Types.h"
#include "platform/gfx/D3DXMath.h"

class TBullet {
 public:
  virtual ~TBullet() = 0;
  TBullet& operator=(const TBullet&) = delete;

  // Hangs the frame under the parent at the world position, turned along the look-at direction
  // (up (0, 1, 0)), and colours the mesh.
  void Attach(TFrame8& parent, const plat::D3DXVECTOR3& position, const plat::D3DXVECTOR3& lookAt,
              const plat::D3DCOLORVALUE& colour);
  // The per-frame step of the texture cell.
  virtual void Animate() = 0;
  // The frame's world position, and moving the frame so that it lies there.
  plat::D3DXVECTOR3 GetPosition() const;
  void SetPosition(const plat::D3DXVECTOR3& position);
  // Parks the frame out of sight at (-1000, -1000, -1000) in its parent's space.
  void Hide();
  // Turns the frame toward the view: the frame aim in mode 12 with the two view references.
  void FaceView(TFrame8* view1, TFrame8* view2);
  // The shot's space, which the moves above go through while it serves the bullet (null: none).
  void SetSpace(const TFrameSpace8* shared) { space = shared; }

  TFrame8* GetFrame() const { return frame.Get(); }
  const TCountedPtr<TFrame8>& GetFramePtr() const { return frame; }
  TMesh8* GetMesh() const { return mesh; }
  const plat::D3DCOLORVALUE& GetColor() const { return colour; }

 protected:
  // The frame "BullFrm" holding the mesh, renamed "BullMsh" and scaled.
  TBullet(TMesh8 loaded, uint32_t renderMode, const plat::D3DXVECTOR3& scale);
  // A deep copy of the frame subtree.
  TBullet(const TBullet& other);
  TBullet(TBullet&& other) noexcept;

  TCountedPtr<TFrame8> frame;
  TMesh8* mesh = nullptr;  // inside the frame, which owns it
  plat::D3DCOLORVALUE colour{0, 0, 0, 0};
  const TFrameSpace8* space = nullptr;
};

// Where a bullet's mesh comes from.
enum class TBulletSource {
  kParticleQuad,  // "particle_mesh.msh" of the effect folder, textured with the shot's texture
  kShotMesh,      // the shot's own mesh file of the effect folder
};

// One bullet class's row.
struct TBulletRow {
  TBulletSource source;
  uint32_t renderMode;
  // The size of a texture cell (1.0 one cell, 0.5 a 2 x 2 sheet); 0 for mesh bullets.
  float cell;
  // Every Animate shows the next cell.
  bool animates;
  // The class's count of bullets constructed (copies excluded), from which each particle bullet
  // takes its serial; null for mesh bullets.
  uint32_t* serialCounter;
};

template <const TBulletRow& Row>
class TBulletOf final : public TBullet {
 public:
  // Particle bullets: the texture "pack.ptx/entry"; mesh bullets: the mesh file. A file that cannot
  // be loaded, or a quad of fewer than 4 vertices, throws my_error.
  TBulletOf(const std::string& asset, const plat::D3DXVECTOR3& scale);
  TBulletOf(const TBulletOf& other) = default;
  TBulletOf(TBulletOf&& other) noexcept = default;

  void Animate() override;

  // The cell the bullet shows; mesh bullets keep 0.
  uint32_t GetSerial() const { return serial; }
  static constexpr const TBulletRow& kRow = Row;

 private:
  uint32_t serial = 0;
};

namespace bullet_serials {
inline uint32_t add = 0, alphaCell = 0, addCell = 0, alpha = 0;
}  // namespace bullet_serials

inline constexpr TBulletRow kAddBulletRow{TBulletSource::kParticleQuad, 4000, 1.0f, false, &bullet_serials::add};
inline constexpr TBulletRow kAlphaCellBulletRow{TBulletSource::kParticleQuad, 2300, 0.5f, true,
                                                &bullet_serials::alphaCell};
inline constexpr TBulletRow kAddCellBulletRow{TBulletSource::kParticleQuad, 4000, 0.5f, true,
                                              &bullet_serials::addCell};
inline constexpr TBulletRow kAlphaBulletRow{TBulletSource::kParticleQuad, 2300, 1.0f, false, &bullet_serials::alpha};
inline constexpr TBulletRow kAddMeshBulletRow{TBulletSource::kShotMesh, 4000, 0.0f, false, nullptr};
inline constexpr TBulletRow kMeshBulletRow{TBulletSource::kShotMesh, 1200, 0.0f, false, nullptr};

using TAddBullet = TBulletOf<kAddBulletRow>;
using TAlphaCellBullet = TBulletOf<kAlphaCellBulletRow>;
using TAddCellBullet = TBulletOf<kAddCellBulletRow>;
using TAlphaBullet = TBulletOf<kAlphaBulletRow>;
using TAddMeshBullet = TBulletOf<kAddMeshBulletRow>;
using TMeshBullet = TBulletOf<kMeshBulletRow>;

// Non-template work of the bullet template.
namespace bullet_detail {
// The shot's mesh file, or the particle quad (checked by RequireQuad) with the texture on part 0.
TMesh8 LoadBulletMesh(const TBulletRow& row, const std::string& asset);
// Writes the cell of the serial into the quad.
void ShowCell(TMesh8& mesh, const TBulletRow& row, uint32_t serial);
}  // namespace bullet_detail

template <const TBulletRow& Row>
TBulletOf<Row>::TBulletOf(const std::string& asset, const plat::D3DXVECTOR3& scale)
    : TBullet(bullet_detail::LoadBulletMesh(Row, asset), Row.renderMode, scale) {
  if constexpr (Row.source == TBulletSource::kParticleQuad) {
    serial = *Row.serialCounter;
    bullet_detail::ShowCell(*mesh, Row, serial);
    ++*Row.serialCounter;
  }
}

template <const TBulletRow& Row>
void TBulletOf<Row>::Animate() {
  if constexpr (Row.animates) {
    ++serial;
    bullet_detail::ShowCell(*mesh, Row, serial);
  }
}

extern template class TBulletOf<kAddBulletRow>;
extern template class TBulletOf<kAlphaCellBulletRow>;
extern template class TBulletOf<kAddCellBulletRow>;
extern template class TBulletOf<kAlphaBulletRow>;
extern template class TBulletOf<kAddMeshBulletRow>;
extern template class TBulletOf<kMeshBulletRow>;
