#include "game/shell/StandIns.h"

#include <map>

#include "common/TD3D8.h"
#include "game/shell/TGameWnd.h"
#include "game/shell/TStateScene.h"

namespace standin {
namespace {

struct State {
  std::map<DataFolder, std::string> folders;
};

State& S() {
  static State state;
  return state;
}

class TTitleStandIn : public TStateScene {
 public:
  explicit TTitleStandIn(TGameWnd& app) : TStateScene(app) { SetDraw(&TTitleStandIn::Paint); }

 private:
  void Paint() {
    if (!d3d || !d3d->CheckDevice() || TD3D8::BeginScene() < 0) return;
    TD3D8::Clear(0xFF30486C, plat::D3DCLEAR_TARGET, 1.0f, 0, 0, nullptr);
    TD3D8::EndScene();
    d3d->Present();
  }
};

class TYesNoStandIn : public TStateScene {
 public:
  TYesNoStandIn(TGameWnd& app, int mode) : TStateScene(app), mode(mode) { SetUpdate(&TYesNoStandIn::Answer); }
  bool AllowsSystemDialog() override { return false; }

 private:
  SceneResult Answer() { return mode == 1 ? kSceneQuit : kSceneFinished; }
  int mode;
};

}  // namespace

void SetFolder(DataFolder which, const std::string& folder) { S().folders[which] = folder; }
const std::string& GetFolder(DataFolder which) { return S().folders[which]; }
void CreateSky() {}

TScene* CreateTitle(TGameWnd& app) { return new TTitleStandIn(app); }
TScene* CreateYesNo(TGameWnd& app, int mode) { return new TYesNoStandIn(app, mode); }

}  // namespace standin
