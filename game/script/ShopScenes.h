// The scenes that "Shop" opens: the buy shop, the sell shop and the inn belong to the screens above
// the scripts, which install them here. Until they do, each is a scene that ends on its first tick.
#pragma once
#include <cstdint>
#include <vector>

class TFieldScene;
class TGameWnd;
class TScene;

class TShopScenes {
 public:
  virtual ~TShopScenes() = default;

  // The buy shop offering the item ids in order (an empty list offers nothing).
  virtual TScene* CreateBuyShop(TGameWnd& app, const std::vector<uint32_t>& itemIds) = 0;
  virtual TScene* CreateSellShop(TGameWnd& app) = 0;
  // The inn, which refreshes the field's party.
  virtual TScene* CreateInn(TGameWnd& app, TFieldScene* field) = 0;
};

// Null puts the stand-ins back. The caller keeps the object alive while it is installed.
void SetShopScenes(TShopScenes* scenes);
TShopScenes& GetShopScenes();
