#include "game/script/ChangeScenes.h"

namespace {

class TNoChangeScenes : public TChangeScenes {
 public:
  TScene* CreateSaveScreen(TGameWnd&) override { return nullptr; }
};

TNoChangeScenes none;
TChangeScenes* installed = &none;

}  // namespace

void SetChangeScenes(TChangeScenes* scenes) { installed = scenes ? scenes : &none; }

TChangeScenes& GetChangeScenes() { return *installed; }
