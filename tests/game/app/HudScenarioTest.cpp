// The HUD in the game as it is wired: the sample battle map (without its enemies), the real player
// character and the field's HUD parts, keys held as a player holds them. The item ring uses an item,
// the skill ring moves, the acquisition window announces the bag, a poison shows its icon over the
// hero, and the HUD pass draws its parts in their places and order.
#include <algorithm>
#include <array>
#include <string>
#include <vector>

#include "game/actor/TPlayerChar.h"
#include "game/data/TGameData.h"
#include "game/shell/TInput.h"
#include "game/ui/TFieldHudParts.h"
#include "game/ui/TGetRender.h"
#include "game/ui/TGlyphTable.h"
#include "game/ui/TItemRing.h"
#include "game/ui/TPlayerHudParts.h"
#include "game/ui/TSkillRing.h"
#include "game/ui/TStatusIcons.h"
#include "platform/window/InputState.h"
#include "sound/TDSound8.h"
#include "sound/TSound8.h"
#include "sound/TSoundSet8.h"
#include "tests/game/app/GameFieldFixture.h"
#include "tools/datakit/SampleMaps.h"

namespace {

using namespace fieldscenetest;
using L = datakit::SampleMapLayout;

class HudScenario : public GameFieldFixture {
 protected:
  void SetUp() override {
    GameFieldFixture::SetUp();
    OpenMap("03.pbms/field");
    FinishOpeningFade();
    ASSERT_NE(dynamic_cast<TPlayerChar*>(field->GetPlayer()), nullptr);
    ASSERT_NE(dynamic_cast<TFieldHudParts*>(field->GetHud()), nullptr);
  }
  void TearDown() override {
    plat::ReleaseAllKeys();
    GameFieldFixture::TearDown();
  }

  TPlayerChar& Hero() { return dynamic_cast<TPlayerChar&>(*field->GetPlayer()); }
  TFieldHudParts& Hud() { return dynamic_cast<TFieldHudParts&>(*field->GetHud()); }
  TItemRing& ItemRing() { return *Hud().GetItemRing(); }
  TGetRender& Messages() { return *Hud().GetMessageWindow(); }

  // One tick with the buttons held through it.
  void Hold(uint32_t buttons) {
    for (int k = 0; k < TInput::kButtonCount; ++k)
      plat::SetKeyDown(static_cast<int>(TInput::kDefaultKeys[k]), (buttons >> k & 1) != 0);
    Tick();
  }
  static bool Played(int32_t id) {
    TCountedPtr<TSoundSet8> effects = TDSound8::Get().Find(0);
    TCountedPtr<TSound8> sound = effects->GetSound(id);
    const bool playing = sound && sound->GetState() == TSound8::kPlaying;
    effects->Stop(id);
    return playing;
  }
  // The two count glyphs of a ring slot, as the characters they show.
  std::string CountShown(int32_t slot) {
    std::string shown;
    for (int32_t place = 0; place < 2; ++place) {
      const TSprite8& digit = ItemRing().GetWheel().GetCountDigit(slot, place);
      char found = '?';
      for (char c : std::string("#0123456789"))
        if (SameCut(digit, Hud().GetGlyphTable()->GetGlyph(c))) found = c;
      shown += found;
    }
    return shown;
  }
  static bool SameCut(const TSprite8& a, const TSprite8& b) {
    for (int k = 0; k < 4; ++k)
      if (a.vertices[k].u != b.vertices[k].u || a.vertices[k].v != b.vertices[k].v) return false;
    return a.texture.GetName() == b.texture.GetName();
  }
  int Owned(uint32_t id) {
    TItemEntry* entry = TGameData::Instance()->FindItem(id);
    return entry ? entry->count : 0;
  }
};

TEST_F(HudScenario, TheRingKeyOpensTheItemRingDownSelectsTheFirstItemAndLettingGoUsesIt) {
  ASSERT_EQ(Owned(1), 5) << "a new game's five of item 1, on ring entry 1";
  Hold(kButtonD);
  EXPECT_TRUE(ItemRing().IsOpen());
  Hold(kButtonD | kButtonDown);
  EXPECT_EQ(ItemRing().GetCursor(), 1);
  EXPECT_TRUE(Played(TItemRing::kSoundTurn));
  EXPECT_EQ(CountShown(1), "#5");
  EXPECT_EQ(Hero().GetMode(), 0u) << "the character does not take the pad while the ring has it";
  Hold(kButtonD);
  Hold(0);
  EXPECT_EQ(Hero().GetRingItem(), 1u) << "the hero uses item 1";
  EXPECT_EQ(Hero().GetMode(), 18u);

  for (int i = 0; i < 300 && (Hero().GetMode() == 18 || !ItemRing().IsClosed()); ++i) Hold(0);
  ASSERT_TRUE(ItemRing().IsClosed());
  ASSERT_NE(Hero().GetMode(), 18u) << "the item-use motion has ended";
  Hold(kButtonD);
  Hold(kButtonD);
  EXPECT_EQ(ItemRing().GetCursor(), 0) << "each opening starts at slot 0";
  EXPECT_EQ(Owned(1), 4) << "one used";
  EXPECT_EQ(CountShown(1), "#4") << "the next opening shows what is left";
  Hold(0);
  EXPECT_NE(Hero().GetMode(), 18u) << "let go on the empty slot, the ring uses nothing";
  for (int i = 0; i < 30; ++i) Hold(0);
  EXPECT_EQ(Owned(1), 4);
}

TEST_F(HudScenario, TheBagIsAnnouncedBehindTheAreasTitleAndSlidesInToX376In20Updates) {
  const std::string bag = TGetRender::Compose({TGetRender::kItem, L::kBagItem, ""});
  const int bags = Owned(L::kBagItem);
  Hero().PlaceAt(D3DXVECTOR3(L::kBagAt.x, 0, L::kBagAt.z), D3DXVECTOR3(L::kBagAt.x, 0, L::kBagAt.z + 1));
  Tick();
  ASSERT_EQ(Owned(L::kBagItem), bags + 1) << "the hero picked up the bag";
  int ticks = 0;
  while (Messages().GetShownText() != bag && ticks < 400) {
    Tick();
    ++ticks;
  }
  ASSERT_EQ(Messages().GetShownText(), bag);
  EXPECT_GT(ticks, 20) << "the area's title went first";
  EXPECT_TRUE(Messages().IsSlidingIn());
  EXPECT_EQ(Messages().GetX(), 627) << "its first update";
  Ticks(18);
  EXPECT_NE(Messages().GetX(), 376);
  Tick();
  EXPECT_EQ(Messages().GetX(), 376) << "after 20 updates";
}

TEST_F(HudScenario, TheSkillButtonMovesTheSkillRingToCellOne) {
  ASSERT_EQ(Hud().GetSkillRing()->GetCursor(), 0);
  Hold(kButtonG);
  EXPECT_EQ(Hud().GetSkillRing()->GetCursor(), 1);
  EXPECT_TRUE(Played(TSkillRing::kSoundMove));
  Hold(kButtonG);
  EXPECT_EQ(Hud().GetSkillRing()->GetCursor(), 1) << "held: no second move";
  Hold(0);
}

TEST_F(HudScenario, APoisonShowsOneIconAboveTheHerosHead) {
  const auto& own = dynamic_cast<const TPlayerHudParts&>(Hero().GetHud());
  const TStatusIcons& icons = own.GetStatusIcons();
  EXPECT_EQ(icons.GetShownCount(), 0u);
  Hero().GetPoison().Set(600);
  Tick();
  EXPECT_EQ(icons.GetShownCount(), 1u);
  Ticks(61);  // the glide of sixty updates after the one it starts in
  const TStatusIcon& poison = icons.GetIcon(0);
  EXPECT_TRUE(poison.IsSteady());
  EXPECT_EQ(poison.GetFrame()->GetParent(), icons.GetRoot().Get());
  D3DXVECTOR3 at, root;
  poison.GetFrame()->GetPosition(&at);
  EXPECT_EQ((std::array{at.x, at.y, at.z}), (std::array{0.0f, 0.0f, 0.0f})) << "one icon stands at the centre";
  icons.GetRoot()->GetPosition(&root);
  const D3DXVECTOR3 hero = Hero().GetPosition();
  EXPECT_EQ(icons.GetRoot()->GetParent(), Hero().GetFrame()->GetParent());
  EXPECT_FLOAT_EQ(root.x, hero.x);
  EXPECT_FLOAT_EQ(root.y, hero.y + Hero().GetBodyHeight() + 1.0f);
  EXPECT_FLOAT_EQ(root.z, hero.z);
}

// The HUD's textures, and the acquisition window's two.
bool IsHudTexture(const std::string& name) {
  for (const char* prefix : {"sprite.ptx/guage09", "sprite.ptx/bar00", "sprite.ptx/word", "face.ptx/", "itm_icon.ptx/",
                             "sprite.ptx/guage06", "skl_icon.ptx/", "sprite.ptx/ring", "itemicon.ptx/"})
    if (name.rfind(prefix, 0) == 0) return true;
  return false;
}
bool IsWindowTexture(const std::string& name) {
  return name == "sprite.ptx/window22" || name.rfind("TGetRender::tGet", 0) == 0;
}

TEST_F(HudScenario, TheHudPassDrawsTheGaugeAtTheCornerTheSkillRingBelowAndTheWindowLast) {
  Hero().PlaceAt(D3DXVECTOR3(L::kBagAt.x, 0, L::kBagAt.z), D3DXVECTOR3(L::kBagAt.x, 0, L::kBagAt.z + 1));
  for (int i = 0; i < 400 && !Messages().IsHolding(); ++i) Tick();
  ASSERT_TRUE(Messages().IsHolding());
  Hold(kButtonD);  // the item ring open too
  renderer->ClearLog();
  Hold(kButtonD);
  const std::vector<plat::RecordedDraw>& draws = renderer->Draws();
  auto quadOf = [](const plat::RecordedDraw& d) {
    std::array<float, 2> corner{1e9f, 1e9f};
    for (const auto& v : d.vertices) {
      corner[0] = std::min(corner[0], v.position.x);
      corner[1] = std::min(corner[1], v.position.y);
    }
    return corner;
  };
  std::vector<std::string> order;
  size_t lastHud = 0, firstWindow = draws.size(), lastWindow = 0;
  for (size_t k = 0; k < draws.size(); ++k) {
    const std::string& name = draws[k].textures[0].name;
    if (IsWindowTexture(name)) {
      firstWindow = std::min(firstWindow, k);
      lastWindow = k;
    } else if (IsHudTexture(name)) {
      lastHud = k;
      if (order.empty() || order.back() != name) order.push_back(name);
    }
  }
  ASSERT_FALSE(order.empty());
  EXPECT_EQ(order.front(), "sprite.ptx/guage09") << "the gauge first";
  auto first = [&](const std::string& name) {
    return std::find_if(draws.begin(), draws.end(), [&](const plat::RecordedDraw& d) { return d.textures[0].name == name; });
  };
  const auto gauge = first("sprite.ptx/guage09"), wheel = first("sprite.ptx/ring01_c"), bar = first("sprite.ptx/guage06");
  ASSERT_NE(gauge, draws.end());
  ASSERT_NE(wheel, draws.end());
  ASSERT_NE(bar, draws.end());
  EXPECT_EQ(quadOf(*gauge), (std::array{-0.5f, -0.5f})) << "the gauge at (0, 0)";
  EXPECT_EQ(quadOf(*bar), (std::array{-0.5f, 416 - 0.5f})) << "the skill ring at (0, 416)";
  EXPECT_LT(gauge, wheel) << "then the item ring";
  EXPECT_LT(wheel, bar) << "then the skill ring";
  ASSERT_LT(firstWindow, draws.size());
  EXPECT_EQ(draws[firstWindow].textures[0].name, "sprite.ptx/window22");
  EXPECT_EQ(lastWindow, firstWindow + 1) << "the window, then its text";
  EXPECT_GT(firstWindow, lastHud) << "the acquisition window last";
  Hold(0);
}

}  // namespace
