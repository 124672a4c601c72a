// The town stage (map kind 0): villagers who can be talked to and conversations run as scripts, no
// enemies. While a conversation runs, the map objects are not tested and the menu key is not read.
#pragma once
#include "game/field/TStage.h"

class TMapEventState;

class TStageB : public TStage {
 public:
  TStageB(const TMapData& map, TFieldScene& scene);

  bool Update() override { return (this->*update)(); }
  void Draw() override { (this->*draw)(); }
  void SetupPlayer() override;

  bool IsInConversation() const { return update == &TStageB::UpdateTalking; }

 private:
  bool UpdateWalking();
  bool UpdateTalking();
  void DrawWalking();
  void DrawTalking();
  // The town tick without the menu key and the map objects.
  void UpdateWorld();
  void EnterTalking();
  void EnterWalking();

  bool (TStageB::*update)() = &TStageB::UpdateWalking;
  void (TStageB::*draw)() = &TStageB::DrawWalking;
  // The conversation's "MapEvent" object; null when a map object started the script.
  TMapEventState* mapEventObject = nullptr;
};
