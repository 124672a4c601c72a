// The status screen: its seventeen texts, the window and the turning model, and the way out.
#include "game/ui/TStatusMenu.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "game/data/TGameData.h"
#include "game/data/TWeaponTable.h"
#include "tests/game/ui/MenuFixture.h"

namespace {

using menutest::MenuFixture;
using V = std::vector<int32_t>;

class StatusMenu : public MenuFixture {
 protected:
  TStatusMenu& OpenStatus() {
    TMenuTop& m = OpenMenu();
    while (m.GetCursor() != 3) Press(kButtonDown);
    Tick(kButtonA);
    EXPECT_TRUE(TickUntil([this] { return Current<TStatusMenu>() != nullptr; }));
    TStatusMenu* status = Current<TStatusMenu>();
    EXPECT_TRUE(TickUntil([status] { return status->InPhase(&TStatusMenu::Idle); }));
    Sounds();
    return *status;
  }
  std::string Text(const char* name) {
    const auto texts = TStatusMenu::Texts(&field, TGameData::Instance()->GetGold());
    for (size_t n = 0; n < TStatusMenu::kTexts; ++n)
      if (std::string(TStatusMenu::kTextShapes[n].name) == name) return texts[n];
    ADD_FAILURE() << "no text " << name;
    return {};
  }
};

TEST_F(StatusMenu, TheTextsShowTheStoredLevelPlusOneAndTheProgressWithinIt) {
  const uint32_t weaponAttack = TWeaponTable::Find(field.weaponId)->attack;
  field.level = 0;
  field.experience = 0;
  EXPECT_EQ(Text("tLv"), " 1");
  EXPECT_EQ(Text("tEXP"), "   0/1000");
  field.level = 11;
  field.experience = 11 * 1000 + 275;
  EXPECT_EQ(Text("tLv"), "12");
  EXPECT_EQ(Text("tEXP"), " 275/1000");

  EXPECT_EQ(Text("tHP"), " 120/ 150");
  EXPECT_EQ(Text("tMP"), "  20/  30");
  EXPECT_EQ(Text("tATK"), std::to_string(12 + weaponAttack).insert(0, 3 - std::to_string(12 + weaponAttack).size(), ' '));
  EXPECT_EQ(Text("tDIF"), "  9");
  TGameData::Instance()->SetGold(4321);
  EXPECT_EQ(Text("tGold"), "    4321 \x83\x78\x83\x8b");

  field.bonuses = {0, 3, 0, 120};
  EXPECT_EQ(Text("tSTR"), " 10");
  EXPECT_EQ(Text("tVIT"), " 11 +   3");
  EXPECT_EQ(Text("tINT"), " 12");
  EXPECT_EQ(Text("tMEN"), " 13 + 120");

  // truncate(rate x 100) in single precision: 0.29, 0.9 and 0.95 are each a little under
  // themselves as floats, and their float products round back up to the whole percent.
  const char* rates[] = {"tFire", "tWater", "tWind", "tSoil", "tLight", "tDark"};
  field.rates = {0.5f, 1.0f, 0.0f, 1.5f, 0.29f, 2.0f};
  const char* shown[] = {" 50%", "100%", "  0%", "150%", " 29%", "200%"};
  for (int n = 0; n < 6; ++n) EXPECT_EQ(Text(rates[n]), shown[n]) << rates[n];
  field.rates = {0.9f, 0.95f, 0.85f, 0.7f, 0.3f, -0.5f};
  const char* shownToo[] = {" 90%", " 95%", " 85%", " 70%", " 30%", "  0%"};
  for (int n = 0; n < 6; ++n) EXPECT_EQ(Text(rates[n]), shownToo[n]) << rates[n];

  EXPECT_EQ(TStatusMenu::Texts(nullptr, 0)[0], "") << "no player, no texts";
}

// The window drops in with the model rising beside it; idle, the model turns in place.
TEST_F(StatusMenu, TheWindowDropsInAndTheModelTurnsInPlace) {
  field.model = "wepon/sword00.msh";
  TStatusMenu& s = OpenStatus();
  EXPECT_EQ(s.GetWindow().X(), 64);
  EXPECT_EQ(s.GetWindow().y.start, -320);
  EXPECT_EQ(s.GetWindow().Y(), 80);
  EXPECT_FLOAT_EQ(s.GetModelHeight().value, 0.6f);
  ASSERT_NE(s.GetCharFrame()->FindMesh("StatusHero", false), nullptr);

  plat::D3DXVECTOR3 before, after, axisBefore, axisAfter;
  s.GetCharFrame()->GetPosition(&before);
  s.GetCharFrame()->GetAxis(&axisBefore, 3);
  renderer->ClearLog();
  Ticks(30);
  s.GetCharFrame()->GetPosition(&after);
  s.GetCharFrame()->GetAxis(&axisAfter, 3);
  EXPECT_FLOAT_EQ(after.x, -0.9f);
  EXPECT_FLOAT_EQ(after.y, 0.6f);
  EXPECT_FLOAT_EQ(after.z, -4.0f);
  EXPECT_NEAR(axisBefore.x * axisAfter.x + axisBefore.z * axisAfter.z, std::cos(30 * TStatusMenu::kTurnPerTick), 1e-4);

  // Each frame: the depth cleared alone, the window, the texts, and the model in view.
  renderer->ClearLog();
  Tick();
  ASSERT_FALSE(renderer->Clears().empty());
  EXPECT_EQ(renderer->Clears().back().flags, static_cast<plat::DWORD>(plat::D3DCLEAR_ZBUFFER));
  ASSERT_EQ(DrawsOf("sprite.ptx/window09").size(), 1u);
  EXPECT_FLOAT_EQ(DrawsOf("sprite.ptx/window09")[0]->Vertex(0).position.y + 0.5f, 80);
  const auto level = DrawsOf("tLv");
  ASSERT_EQ(level.size(), 1u);
  EXPECT_FLOAT_EQ(level[0]->Vertex(0).position.x + 0.5f, 64 + 78);
  EXPECT_FLOAT_EQ(level[0]->Vertex(0).position.y + 0.5f, 80 + 44);
  size_t textDraws = 0;
  for (const TStatusTextShape& shape : TStatusMenu::kTextShapes) textDraws += DrawsOf(shape.name).size();
  EXPECT_EQ(textDraws, TStatusMenu::kTexts);
  size_t modelDraws = 0;
  for (const plat::RecordedDraw& d : renderer->Draws())
    if (d.vertexShader != TSprite8::kVertexFormat) ++modelDraws;
  EXPECT_GT(modelDraws, 0u) << "the model is in view";
  EXPECT_EQ(renderer->Draws().size(), 2 + 1 + TStatusMenu::kTexts + modelDraws)
      << "background, overlay, window, texts and the model";
}

TEST_F(StatusMenu, AOrBLeavesWith606AndNothingElseReacts) {
  for (uint32_t key : {kButtonA, kButtonB}) {
    SCOPED_TRACE(key);
    TStatusMenu& s = OpenStatus();
    for (uint32_t other : {kButtonUp, kButtonDown, kButtonLeft, kButtonRight, kButtonE}) Press(other);
    EXPECT_TRUE(s.InPhase(&TStatusMenu::Idle));
    EXPECT_TRUE(Sounds().empty());
    Tick(key);
    EXPECT_EQ(Sounds(), V{606});
    EXPECT_TRUE(s.InPhase(&TStatusMenu::Close));
    EXPECT_TRUE(TickUntil([this] { return app->GetCurrentScene() == menu; }));
    app->ClearScenes();
  }
}

}  // namespace
