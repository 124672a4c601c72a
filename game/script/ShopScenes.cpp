#include "game/script/ShopScenes.h"

#include "game/shell/TStateScene.h"

namespace {

// A shop that closes as soon as it opens.
class TShopStandIn : public TStateScene {
 public:
  explicit TShopStandIn(TGameWnd& app) : TStateScene(app) { SetUpdate(&TShopStandIn::Close); }

 private:
  SceneResult Close() { return kSceneFinished; }
};

class TShopStandIns : public TShopScenes {
 public:
  TScene* CreateBuyShop(TGameWnd& app, const std::vector<uint32_t>&) override { return new TShopStandIn(app); }
  TScene* CreateSellShop(TGameWnd& app) override { return new TShopStandIn(app); }
  TScene* CreateInn(TGameWnd& app, TFieldScene*) override { return new TShopStandIn(app); }
};

TShopStandIns standIns;
TShopScenes* installed = &standIns;

}  // namespace

void SetShopScenes(TShopScenes* scenes) { installed = scenes ? scenes : &standIns; }

TShopScenes& GetShopScenes() { return *installed; }
