// Shops that stay open until the test closes them, noting what they were opened with.
#pragma once
#include <string>
#include <vector>

#include "game/script/ShopScenes.h"
#include "tests/game/shell/ShellFixture.h"

namespace scenetest {

class TestShops : public TShopScenes {
 public:
  explicit TestShops(shelltest::Log& log) : log(log) {}
  TScene* CreateBuyShop(TGameWnd& app, const std::vector<uint32_t>& ids) override {
    std::string line = "buy";
    for (uint32_t id : ids) line += " " + std::to_string(id);
    return Open(app, line);
  }
  TScene* CreateSellShop(TGameWnd& app) override { return Open(app, "sell"); }
  TScene* CreateInn(TGameWnd& app, TFieldScene* field) override {
    innField = field;
    return Open(app, "inn");
  }

  shelltest::Log& log;
  std::vector<std::string> opened;
  shelltest::TestScene* shop = nullptr;  // the last one opened, owned by the scene stack
  bool close = false;                    // the shop open closes on its next tick
  TFieldScene* innField = nullptr;

 private:
  TScene* Open(TGameWnd& app, const std::string& name) {
    opened.push_back(name);
    shop = new shelltest::TestScene(app, name, log);
    shop->onUpdate = [this](shelltest::TestScene&) { return close ? kSceneFinished : kSceneRunning; };
    close = false;
    return shop;
  }
};

}  // namespace scenetest
