// Weapon type 11, the heroine's bow: ground shots that go on as long as the button is tapped, a
// charged shot, air shots that sink slowly, a hovering charged shot in the air, dash shots, and
// eight techniques. Its attack kinds 6000-6500 loose arrows from the bow's frame: single, spread,
// multiple-hit and random volleys, each arrow a flying hit shot carrying the arrow mesh and its
// own hit volume.
#pragma once
#include <cstdint>
#include <string>

#include "common/TMesh8.h"
#include "game/moveset/TPlayerStyle.h"

class TPlayerStyle11 : public TPlayerStyle {
 public:
  // One arrow: its flight, its hits, the volume's factors, and the landed value it reports.
  struct TArrow {
    float speed;
    int32_t lifetime;
    uint32_t hits;
    float factor1, factor2;
    int32_t hitFlags;
    float factor3;
    int32_t status;
  };

  // Loads the arrow mesh "arw00.msh" of the effect folder, which every arrow shows.
  TPlayerStyle11(TFieldScene& scene, uint32_t member, const TCharBlock& block, const std::string& model);

  static const TStyleTable& Table();

  // The player's attack first, then the bow's arrows or its flash of the kind.
  void Attack(const TAttackInfo& info) override;
  // One arrow from the bow's frame, its direction turned by the yaw and then the pitch (degrees).
  void ShootArrow(const TArrow& arrow, float yaw, float pitch);

  const TMesh8& GetArrowMesh() const { return arrowMesh; }
  // The frame the bow hangs on, where arrows start.
  TFrame8* GetBowFrame() const { return GetLeftWeaponFrame(); }

 private:
  TMesh8 arrowMesh;
};
