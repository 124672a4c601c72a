#include "game/script/TShopObject.h"

#include <vector>

#include "game/script/ScriptNumber.h"
#include "game/script/ShopScenes.h"
#include "game/script/TScriptEngine.h"
#include "game/shell/TGameWnd.h"

TShopObject::TShopObject(TGameWnd& application, TFieldScene* fieldScene)
    : TScriptObject("Shop"), app(application), field(fieldScene) {}

// An op that opens nothing must not arm the release: it would let go of a wait that another object
// (the message window) holds.
uint32_t TShopObject::Dispatch(uint32_t op, const TScriptArgs& args, const TScriptArgTypes&) {
  TShopScenes& shops = GetShopScenes();
  TScene* shop = nullptr;
  switch (op) {
    case kBuy: {
      std::vector<uint32_t> ids;
      for (const std::string& arg : args) ids.push_back(static_cast<uint32_t>(scriptnum::Decimal(arg)));
      shop = shops.CreateBuyShop(app, ids);
      break;
    }
    case kSell: shop = shops.CreateSellShop(app); break;
    case kInn: shop = shops.CreateInn(app, field); break;
    default: return kDone;
  }
  state = &TShopObject::Arm;
  if (shop) app.SetScene(shop);
  return kWait;
}

void TShopObject::ReleaseEngine() {
  state = &TShopObject::Idle;
  TScriptEngine::SetObjectWait(false);
}
