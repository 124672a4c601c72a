// The shops and the inn of the sample town as the game wires them, with scripted input: the
// shopkeeper's script opens the buy shop, where three of the usable item are bought, and, once the
// field runs again, the sell shop, where two go back; the innkeeper's inn puts the hero, at 1 HP,
// back at full HP and MP before the field resumes. The quantity window's four directions.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "game/app/GameServices.h"
#include "game/data/TItemListTable.h"
#include "game/field/TStageB.h"
#include "game/field/TVillager.h"
#include "game/script/TMessageWindow.h"
#include "game/shell/TInput.h"
#include "game/ui/TInn.h"
#include "game/ui/TShop.h"
#include "sound/TDSound8.h"
#include "sound/TSound8.h"
#include "sound/TSoundSet8.h"
#include "tests/game/app/GameFieldFixture.h"
#include "tools/datakit/SampleScripts.h"

namespace {

constexpr uint32_t kWater = datakit::kSampleShopItems[0];  // the usable item on offer

class ShopScenario : public GameFieldFixture {
 protected:
  void SetUp() override {
    GameFieldFixture::SetUp();
    LinkGame();  // "Shop" opens the game's own screens
    OpenMap("03.pbms/town");
    FinishOpeningFade();
  }

  bool TickUntil(const std::function<bool()>& done, int limit = 600) {
    for (int i = 0; i < limit && !done(); ++i) Tick();
    return done();
  }
  // One tick with the pad's buttons held, then one with none.
  void PressButtons(uint32_t buttons) {
    for (int k = 0; k < TInput::kButtonCount; ++k)
      plat::SetKeyDown(static_cast<int>(TInput::kDefaultKeys[k]), (buttons >> k & 1) != 0);
    Tick();
    plat::ReleaseAllKeys();
    Tick();
  }
  TMessageWindow* Window() {
    return TScriptEngine::Get() ? dynamic_cast<TMessageWindow*>(TScriptEngine::Get()->FindObject("Text")) : nullptr;
  }
  // Walks up to the villager of the script, talks and reads its first page to the end.
  void TalkTo(const std::string& script) {
    auto& town = dynamic_cast<TStageB&>(Stage());
    TVillager* villager = nullptr;
    for (const TCountedPtr<TVillager>& v : town.GetObjects())
      if (v->GetScriptName() == script) villager = v.Get();
    ASSERT_NE(villager, nullptr) << script;
    const D3DXVECTOR3 at = villager->GetPosition();
    const D3DXVECTOR3 front = villager->GetFacing();
    ASSERT_TRUE(WalkTo(D3DXVECTOR3(at.x + 3 * front.x, 0, at.z + 3 * front.z))) << script;
    ASSERT_TRUE(WalkToward(at, [&] { return Distance(at) < 1.4f; })) << script;
    Release();
    Tick();
    Press();
    ASSERT_TRUE(town.IsInConversation()) << script;
    ASSERT_TRUE(TickUntil([this] { return Window() && Window()->IsPageWaiting(); })) << script;
    Press();
  }
  // The shop in front once it waits on its list.
  template <class Shop>
  Shop* WaitForShop() {
    Shop* shop = nullptr;
    EXPECT_TRUE(TickUntil([&] { return (shop = Current<Shop>()) && shop->InPhase(&TShop::Select); }));
    return shop;
  }
  // A of quantity `count` and Buy or Sell, from the list.
  void Deal(TShop& shop, int32_t count) {
    PressButtons(kButtonA);
    ASSERT_TRUE(TickUntil([&] { return shop.InPhase(&TShop::Quantity); }));
    for (int32_t n = 1; n < count; ++n) PressButtons(kButtonLeft);
    ASSERT_EQ(shop.GetQuantity(), count);
    PressButtons(kButtonA);
    ASSERT_TRUE(TickUntil([&] { return shop.InPhase(&TShop::Confirm); }));
    PressButtons(kButtonA);
  }
  // Leaves the shop with B; true once the field is in front again, on the tick of the pop.
  bool Leave(TShop& shop) {
    PressButtons(kButtonB);
    const TScene* scene = &shop;
    return TickUntil([&] { return app->GetCurrentScene() != scene; }) && app->GetCurrentScene() == field;
  }
  static bool Sounded(int32_t id) {
    TCountedPtr<TSound8> sound = TDSound8::Get().Find(0)->GetSound(id);
    return sound && sound->GetState() == TSound8::kPlaying;
  }
  uint32_t Owned(uint32_t id) {
    const TItemEntry* entry = Data().FindItem(id);
    return entry ? entry->count : 0;
  }
};

TEST_F(ShopScenario, TheHeroBuysSellsBackAndSleepsAtTheInn) {
  const uint32_t price = TItemListTable::Find(kWater)->buyPrice, sellPrice = TItemListTable::Find(kWater)->sellPrice;
  ASSERT_EQ(Data().GetGold(), 4000u);

  TalkTo("03.pbsc/Villager02");
  TBuyShop* buy = WaitForShop<TBuyShop>();
  ASSERT_NE(buy, nullptr);
  EXPECT_EQ(buy->GetItems(), std::vector<uint32_t>(std::begin(datakit::kSampleShopItems), std::end(datakit::kSampleShopItems)));
  Deal(*buy, 3);
  EXPECT_TRUE(Sounded(shop_se::kDeal));
  EXPECT_EQ(Owned(kWater), 3u);
  EXPECT_EQ(Data().GetGold(), 4000u - 3 * price);
  ASSERT_TRUE(TickUntil([&] { return buy->InPhase(&TShop::Select); }));
  ASSERT_TRUE(Leave(*buy));

  // The field lets the script go, and on the tick after, it opens the sell shop.
  Tick();
  EXPECT_EQ(app->GetCurrentScene(), field);
  Tick();
  EXPECT_NE(Current<TSellShop>(), nullptr);
  TSellShop* sell = WaitForShop<TSellShop>();
  ASSERT_NE(sell, nullptr);
  EXPECT_EQ(sell->GetItems(), std::vector<uint32_t>{kWater}) << "the first item waits in the ring";
  Deal(*sell, 2);
  EXPECT_TRUE(Sounded(shop_se::kDeal));
  EXPECT_EQ(Owned(kWater), 1u);
  EXPECT_EQ(Data().GetGold(), 4000u - 3 * price + 2 * sellPrice);
  ASSERT_TRUE(TickUntil([&] { return sell->InPhase(&TShop::Select); }));
  ASSERT_TRUE(Leave(*sell));
  ASSERT_TRUE(TickUntil([this] { return Data().GetFlag(datakit::kSampleShopFlag) == 1; }));
  ASSERT_TRUE(TickUntil([this] { return !dynamic_cast<TStageB&>(Stage()).IsInConversation(); }));

  // A night at the inn: the hero at 1 HP, no MP and ring points spent is whole again at once.
  Hero().LoseHp(Hero().GetHp() - 1);
  Hero().LoseMp(Hero().GetSp());
  Hero().SetRingPointsUsed(Hero().GetRingPointsMax());
  ASSERT_EQ(Hero().GetHp(), 1);
  TalkTo("03.pbsc/Villager03");
  ASSERT_TRUE(TickUntil([this] { return Current<TInn>() != nullptr; }));
  EXPECT_EQ(Hero().GetHp(), Hero().GetMaxHp());
  EXPECT_EQ(Hero().GetSp(), Hero().GetMaxSp());
  EXPECT_EQ(Hero().GetRingPointsUsed(), 0);
  const TScene* inn = app->GetCurrentScene();
  int ticks = 0;
  while (app->GetCurrentScene() == inn && ticks < 1000) {
    Tick();
    ++ticks;
  }
  EXPECT_EQ(app->GetCurrentScene(), field);
  EXPECT_GE(ticks, 2 * TInn::kFadeFrames + 200) << "the fades and the tune's 3200 ms";
  Tick();
  EXPECT_EQ(Hero().GetHp(), Hero().GetMaxHp());
  EXPECT_EQ(Hero().GetSp(), Hero().GetMaxSp());
  EXPECT_EQ(Data().GetGold(), 4000u - 3 * price + 2 * sellPrice) << "the night is free";
  ASSERT_TRUE(TickUntil([this] { return Window() && Window()->IsPageWaiting(); })) << "good morning";
  Press();
  EXPECT_TRUE(TickUntil([this] { return !dynamic_cast<TStageB&>(Stage()).IsInConversation(); }));
}

// In the buy shop's quantity window ↑ adds ten and ↓ takes ten away, ← adds one and → takes one
// away.
TEST_F(ShopScenario, UpAndLeftAddTenAndOneToTheQuantityDownAndRightTakeThemAway) {
  TalkTo("03.pbsc/Villager02");
  TBuyShop* buy = WaitForShop<TBuyShop>();
  ASSERT_NE(buy, nullptr);
  PressButtons(kButtonA);
  ASSERT_TRUE(TickUntil([&] { return buy->InPhase(&TShop::Quantity); }));
  ASSERT_EQ(buy->GetQuantity(), 1);
  const struct {
    const char* key;
    uint32_t button;
    int32_t quantity;
  } kSteps[] = {
      {"up", kButtonUp, 11}, {"left", kButtonLeft, 12}, {"right", kButtonRight, 11}, {"down", kButtonDown, 1}};
  for (const auto& step : kSteps) {
    PressButtons(step.button);
    EXPECT_EQ(buy->GetQuantity(), step.quantity) << step.key;
  }
}

}  // namespace
