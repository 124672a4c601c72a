// "Shop" opens the buy shop, the sell shop or the inn in front of the field and holds the script
// until the field runs again after it has closed.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "game/script/ShopScenes.h"
#include "game/script/TShopObject.h"
#include "tests/game/script/SceneFixture.h"
#include "tests/game/script/TestShops.h"

namespace {

using scenetest::TestShops;

class ShopObject : public scenetest::SceneFixture {
 protected:
  void SetUp() override {
    SceneFixture::SetUp();
    SetShopScenes(&shops);
    OpenMap("03.pbms/field");
    FinishOpeningFade();
    TScriptEngine::Create();
    shop = new TShopObject(*app, field);
    Engine().AddObject(shop);
  }
  void TearDown() override {
    SetShopScenes(nullptr);
    SceneFixture::TearDown();
  }
  TScriptEngine& Engine() { return *TScriptEngine::Get(); }
  // What the field does with a script each tick: run it, and update the objects while it waits.
  uint32_t Step() {
    const uint32_t result = Engine().Run();
    if (result & 1) Engine().UpdateObjects();
    return result;
  }

  TestShops shops{log};
  TShopObject* shop = nullptr;
};

TEST_F(ShopObject, EachShopOpensInFrontAndTheScriptGoesOnTheTickAfterTheFieldRunsAgain) {
  const struct {
    const char* message;
    const char* opened;
  } cases[] = {{"0", "buy"}, {"0 \"1\" 2001 \"x\"", "buy 1 2001 0"}, {"1 5", "sell"}, {"2", "inn"}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.message);
    Scripts({{"shop", std::string("CALL @@SendMsg \"Shop\" ") + c.message + "\n$after = $after + 1\n"}});
    const int32_t after = Global("$after");
    Engine().LoadScript("03.pbsc/shop");
    EXPECT_EQ(Step(), TScriptEngine::kWaiting);
    ASSERT_FALSE(shops.opened.empty());
    EXPECT_EQ(shops.opened.back(), c.opened);
    EXPECT_EQ(app->GetCurrentScene(), shops.shop) << "in front at once";
    EXPECT_TRUE(field->IsSuspended());
    EXPECT_TRUE(Engine().IsObjectWaiting());
    EXPECT_FALSE(shop->IsIdle()) << "armed by the update of the tick it opened in";

    shops.close = true;
    Tick();
    EXPECT_EQ(app->GetCurrentScene(), field);
    EXPECT_EQ(Step(), TScriptEngine::kWaiting) << "released by this tick's update";
    EXPECT_FALSE(Engine().IsObjectWaiting());
    EXPECT_TRUE(shop->IsIdle());
    EXPECT_EQ(Global("$after"), after);
    EXPECT_EQ(Step(), TScriptEngine::kFinished);
    EXPECT_EQ(Global("$after"), after + 1);
  }
  EXPECT_EQ(shops.innField, field);
}

// An op that opens nothing must not let go of a wait that another object holds.
TEST_F(ShopObject, AnotherOpOpensNothingAndLeavesOtherWaitsAlone) {
  const size_t scenes = app->GetSceneCount();
  EXPECT_EQ(shop->Dispatch(3, {"1"}, {TScriptObject::kNumberArg}), TScriptObject::kDone);
  EXPECT_TRUE(shops.opened.empty());
  EXPECT_EQ(app->GetSceneCount(), scenes);
  EXPECT_TRUE(shop->IsIdle());
  TScriptEngine::SetObjectWait(true);  // as the message window while it types
  Engine().UpdateObjects();
  Engine().UpdateObjects();
  EXPECT_TRUE(Engine().IsObjectWaiting());
}

// Until the shops are built, each closes on its first tick.
TEST_F(ShopObject, TheStandInShopsCloseOnTheirFirstTick) {
  SetShopScenes(nullptr);
  for (uint32_t op : {TShopObject::kBuy, TShopObject::kSell, TShopObject::kInn}) {
    EXPECT_EQ(shop->Dispatch(op, {}, {}), TScriptObject::kWait);
    EXPECT_NE(app->GetCurrentScene(), field) << op;
    Tick();
    EXPECT_EQ(app->GetCurrentScene(), field) << op;
  }
}

}  // namespace
