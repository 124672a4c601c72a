#include "game/ui/ShopScreens.h"

#include <memory>

#include "game/ui/TFieldMenuLink.h"
#include "game/ui/TInn.h"
#include "game/ui/TShop.h"

TScene* CreateBuyShop(TGameWnd& app, const std::vector<uint32_t>& itemIds) { return new TBuyShop(app, itemIds); }

TScene* CreateSellShop(TGameWnd& app) { return new TSellShop(app); }

TScene* CreateInn(TGameWnd& app, TFieldScene* field) {
  if (!field) return new TInn(app, nullptr);
  return new TInn(app, std::make_unique<TFieldMenuLink>(*field));
}
