// The battle stage (map kind 1): the hit table loaded, the enemies of the area, the player fighting.
#pragma once
#include "game/field/TStage.h"

class TStageA : public TStage {
 public:
  TStageA(const TMapData& map, TFieldScene& scene);
  // Empties the program-wide hit table this stage loaded.
  ~TStageA() override;

  // The menu key opens the field menu and ends the tick; otherwise the player, the enemies, the
  // map objects, the hits between the player and the actors, gravity (the player's not while time
  // is stopped), collision, ground and shadows, then the view.
  bool Update() override;
  // The enemies' panels, the player's HUD, the minimap.
  void Draw() override;
  void SetupPlayer() override;
};
