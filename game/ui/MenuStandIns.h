// Stand-ins for the field menu's screens that are not built yet (items, equipment, skills, the
// in-menu save): each finishes on its first tick, and the menu slides in again.
#pragma once
#include "game/shell/TStateScene.h"

class TMenuTop;

namespace standin {

class TMenuScreenStandIn : public TStateScene {
 public:
  TMenuScreenStandIn(TGameWnd& app, TMenuTop&) : TStateScene(app) { SetUpdate(&TMenuScreenStandIn::Leave); }

 private:
  SceneResult Leave() { return kSceneFinished; }
};

}  // namespace standin
