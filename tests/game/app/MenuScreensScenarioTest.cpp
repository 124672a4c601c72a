// The field menu's item, equipment, skill and save screens in the game as it is wired: the sample
// town from its save point, the game's own services, and keys held as a player holds them. The
// hero has bought magic water, a spear and a silver ring and learned a sword technique and a skill
// of the ring; the water goes onto the item ring, the spear into the hands, the ring's skill into
// a slot and out again; at the save point the game is saved into slot 0 and loaded from there,
// back onto the disc, the slot and the town's banner giving the town the same name.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstring>
#include <filesystem>
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "common/TView8.h"
#include "game/data/SaveFiles.h"
#include "game/data/TAccessoryTable.h"
#include "game/data/TWeaponTable.h"
#include "game/ui/TEquipMenu.h"
#include "game/ui/TFieldHudParts.h"
#include "game/ui/TGetRender.h"
#include "game/ui/TItemMenu.h"
#include "game/ui/TMenuSave.h"
#include "game/ui/TMenuTop.h"
#include "game/ui/TSkillMenu.h"
#include "game/ui/TStatusMenu.h"
#include "tests/game/app/GameFieldFixture.h"
#include "tests/game/app/MenuKeys.h"
#include "tests/game/ui/DrawnText.h"
#include "tools/datakit/SampleMaps.h"

namespace {

using L = datakit::SampleMapLayout;

constexpr uint32_t kWater = 2, kSword = 1000, kSpear = 1001, kSilverRing = 2001, kCrown = 2003;
constexpr uint32_t kFireUp = 1145, kUpperCut = 2000;  // the ring's skill, the sword's technique
const std::string kTownName = "\x82\xcd\x82\xb6\x82\xdc\x82\xe8\x82\xcc\x92\xac";  // はじまりの町

std::vector<uint32_t> MenuIds(const TMenuListScreen& screen) {
  std::vector<uint32_t> ids;
  for (const TListEntry& entry : screen.GetEntries()) ids.push_back(entry.id);
  return ids;
}

// The box round every vertex of a mesh's morph frames, in its own space.
struct Box {
  plat::D3DXVECTOR3 low, high;
};
Box BoxOf(TMesh8& mesh) {
  Box box{{1e9f, 1e9f, 1e9f}, {-1e9f, -1e9f, -1e9f}};
  const uint32_t stride = plat::D3DXGetFVFVertexSize(mesh.GetVertexFormat());
  for (uint32_t frame = 0; frame < mesh.GetFrameCount(); ++frame) {
    const auto* bytes = static_cast<const uint8_t*>(mesh.LockVerticesReadOnly(frame));
    for (uint32_t v = 0; bytes && v < mesh.GetVertexCount(); ++v) {
      float p[3];
      std::memcpy(p, bytes + v * stride, sizeof p);
      box.low = {std::min(box.low.x, p[0]), std::min(box.low.y, p[1]), std::min(box.low.z, p[2])};
      box.high = {std::max(box.high.x, p[0]), std::max(box.high.y, p[1]), std::max(box.high.z, p[2])};
    }
    mesh.UnlockVertices(frame, false);
  }
  return box;
}

// The rectangle of a 640 x 480 screen round the eight corners of a box held by a frame, seen
// through a view; whether every corner lies beyond the near distance.
struct ScreenRect {
  float left = 1e9f, top = 1e9f, right = -1e9f, bottom = -1e9f;
  bool inFront = true;
  bool Meets(float x0, float y0, float x1, float y1) const { return left < x1 && right > x0 && top < y1 && bottom > y0; }
};
ScreenRect OnScreen(const Box& box, const TFrame8& frame, const TView8& view) {
  plat::D3DXMATRIX world, toClip;
  frame.GetWorldMatrix(&world);
  plat::D3DXMatrixMultiply(&toClip, &world, view.GetViewProjection());
  ScreenRect rect;
  for (int corner = 0; corner < 8; ++corner) {
    const plat::D3DXVECTOR3 p((corner & 1) ? box.high.x : box.low.x, (corner & 2) ? box.high.y : box.low.y,
                              (corner & 4) ? box.high.z : box.low.z);
    plat::D3DXVECTOR4 clip;
    plat::D3DXVec3Transform(&clip, &p, &toClip);
    rect.inFront = rect.inFront && clip.w > view.GetNear();
    const float x = (clip.x / clip.w + 1) * 320, y = (1 - clip.y / clip.w) * 240;
    rect = {std::min(rect.left, x), std::min(rect.top, y), std::max(rect.right, x), std::max(rect.bottom, y),
            rect.inFront};
  }
  return rect;
}

class MenuScreensScenario : public MenuKeys<GameFieldFixture> {
 protected:
  void SetUp() override {
    MenuKeys::SetUp();
    LinkGame();
    for (auto [id, count] : {std::pair{kWater, 3u}, {kSpear, 1u}, {kSilverRing, 1u}}) Data().AddItem(id, count);
    std::vector<uint32_t> learned;
    Data().AddWeaponPoints(0, kSword, 100, learned);
    Data().AddAccessoryPoints(0, kSilverRing, 100, learned);
    Open(TFieldScene::CreateFromSave(*app, L::kTownSavePoint));
    FinishOpeningFade();
  }
  void TearDown() override {
    field = nullptr;
    app->ClearScenes();
    UnlinkGame();
    MenuKeys::TearDown();
  }

  bool Until(const std::function<bool()>& done) { return WaitFor(done, 600); }
  // From the menu's select phase: the entry's screen, waiting in its phase.
  template <class S, class P>
  S* Enter(int32_t entry, SceneResult (P::*phase)()) {
    TMenuTop* menu = WaitIn<TMenuTop>(&TMenuTop::Select);
    if (!menu) return nullptr;
    while (menu->GetCursor() != entry) Press(kButtonDown);
    Press(kButtonA);
    return WaitIn<S>(phase);
  }
  // B until the menu is back in its select phase.
  void BackToMenu() {
    Press(kButtonB);
    EXPECT_NE(WaitIn<TMenuTop>(&TMenuTop::Select), nullptr);
  }
  static bool InSlotInput(const TMenuSave& screen) {
    return screen.GetList().InPhase(&TSlotList::SaveInput) || screen.GetList().InPhase(&TSlotList::LoadInput);
  }
  // Each named text of the status screen drawn once since the log was cleared, showing its text.
  void ExpectShown(const std::vector<std::pair<const char*, const char*>>& shown) {
    for (const auto& [name, text] : shown) {
      SCOPED_TRACE(name);
      std::vector<std::string> drawn;
      for (const plat::RecordedDraw& d : renderer->Draws())
        if (d.textures[0].name.rfind(std::string(name) + "#", 0) == 0) drawn.push_back(d.textures[0].name);
      ASSERT_EQ(drawn.size(), 1u);
      EXPECT_TRUE(uitest::ShowsText(drawn[0], text));
    }
  }
};

TEST_F(MenuScreensScenario, TheHeroFillsTheRingArmsSetsASkillThenSavesAndLoadsAtTheSavePoint) {
  const TStagePlayer* before = field->GetPlayer();
  Hold(kButtonE);
  ASSERT_NE(WaitIn<TMenuTop>(&TMenuTop::Select), nullptr);

  // Items: the water onto position 2 with its stack.
  TItemMenu* items = Enter<TItemMenu>(0, &TItemMenu::Ring);
  ASSERT_NE(items, nullptr);
  for (int i = 0; i < 2; ++i) {
    Press(kButtonDown);
    ASSERT_NE(WaitIn<TItemMenu>(&TItemMenu::Ring), nullptr);
  }
  Press(kButtonA);
  ASSERT_NE(WaitIn<TItemMenu>(&TMenuListScreen::ListSelect), nullptr);
  Press(kButtonA);
  EXPECT_EQ(Data().GetEquipEntry(2).id, kWater);
  EXPECT_EQ(Data().GetEquipEntry(2).count, 3);
  ASSERT_NE(WaitIn<TItemMenu>(&TItemMenu::Ring), nullptr);
  BackToMenu();

  // Equipment: the spear, a weapon of another type, rebuilds the hero; the sword goes to the bag.
  TEquipMenu* equipment = Enter<TEquipMenu>(1, &TEquipMenu::Slots);
  ASSERT_NE(equipment, nullptr);
  Press(kButtonA);
  ASSERT_NE(WaitIn<TEquipMenu>(&TMenuListScreen::ListSelect), nullptr);
  EXPECT_EQ(MenuIds(*equipment), std::vector<uint32_t>{kSpear});
  Press(kButtonA);
  EXPECT_NE(field->GetPlayer(), before) << "a new player character";
  EXPECT_EQ(Hero().GetWeaponId(), kSpear);
  EXPECT_EQ(TWeaponTable::Find(Hero().GetWeaponId())->type, 1u) << "of the spear's type";
  EXPECT_EQ(Data().FindItem(kSword)->count, 1);
  EXPECT_EQ(Data().FindItem(kSpear), nullptr);
  ASSERT_NE(WaitIn<TEquipMenu>(&TEquipMenu::Slots), nullptr);
  BackToMenu();

  // Skills: with the spear the sword's technique is not offered; the ring's skill goes into slot 1
  // and out again.
  TSkillMenu* skills = Enter<TSkillMenu>(2, &TSkillMenu::SlotSelect);
  ASSERT_NE(skills, nullptr);
  Press(kButtonRight);
  Press(kButtonA);
  ASSERT_NE(WaitIn<TSkillMenu>(&TMenuListScreen::ListSelect), nullptr);
  EXPECT_EQ(MenuIds(*skills), std::vector<uint32_t>{kFireUp});
  Press(kButtonA);
  EXPECT_EQ(Data().GetSkillSlot(0, 1), kFireUp);
  ASSERT_NE(WaitIn<TSkillMenu>(&TSkillMenu::SlotSelect), nullptr);
  Press(kButtonA);
  ASSERT_NE(WaitIn<TSkillMenu>(&TMenuListScreen::ListSelect), nullptr);
  EXPECT_EQ(MenuIds(*skills), std::vector<uint32_t>{0});
  Press(kButtonA);
  EXPECT_EQ(Data().GetSkillSlot(0, 1), 0u);
  EXPECT_EQ(Data().GetCharBlock(0).learned, (std::vector<uint32_t>{kUpperCut, kFireUp}));
  ASSERT_NE(WaitIn<TSkillMenu>(&TSkillMenu::SlotSelect), nullptr);
  BackToMenu();
  Press(kButtonB);
  ASSERT_TRUE(Until([&] { return Current<TFieldScene>() != nullptr; }));

  // At the save point: Save, slot 0.
  const D3DXVECTOR3 savePoint(L::kTownSavePointAt.x, L::kTownSavePointAt.y, L::kTownSavePointAt.z);
  Stand(savePoint, D3DXVECTOR3(0, 0, 1), 1);
  ASSERT_TRUE(Hero().IsAtSavePoint());
  Data().SetSavePointId(0);
  Hold(kButtonE);
  TMenuSave* save = Enter<TMenuSave>(6, &TChoiceMenu::Select);
  ASSERT_NE(save, nullptr);
  ASSERT_TRUE(save->OffersSave());
  Press(kButtonUp);
  Press(kButtonUp);
  Press(kButtonA);
  ASSERT_TRUE(Until([&] { return InSlotInput(*save); }));
  EXPECT_EQ(Data().GetSavePointId(), L::kTownSavePoint) << "kept before the save";
  Press(kButtonA);
  ASSERT_TRUE(Until([&] { return InSlotInput(*save); }));
  EXPECT_EQ(save->GetList().GetLastSaveResult(), save_code::kDone);
  EXPECT_TRUE(std::filesystem::exists(dir / "save/sav_00.dat"));
  EXPECT_EQ(save->GetList().GetSlotState(0), TSlotList::kUsable);
  std::string slot;
  EXPECT_EQ(SaveSlotSummaryLine(0, false, -1, slot), save_code::kDone);
  EXPECT_NE(slot.find(kTownName), std::string::npos) << "the slot names the town as its banner does: " << slot;

  // Back to the choice, Load, slot 0: the town again at the save point, as saved.
  Press(kButtonB);
  ASSERT_NE(WaitIn<TMenuSave>(&TChoiceMenu::Select), nullptr);
  Press(kButtonDown);
  Press(kButtonA);
  ASSERT_TRUE(Until([&] { return InSlotInput(*save); }));
  EXPECT_FALSE(save->GetList().IsSaving());
  Data().NewGame();
  field = nullptr;
  Press(kButtonA);
  ASSERT_TRUE(Until([&] { return Current<TFieldScene>() != nullptr; }));
  EXPECT_EQ(app->GetSceneCount(), 1u);
  ASSERT_NE(Arrive("03.pbms/town"), nullptr);
  EXPECT_EQ(Data().GetSavePointId(), L::kTownSavePoint);
  EXPECT_LT(Distance(D3DXVECTOR3(4, 0, -4)), 1.0f) << "back on the disc";
  EXPECT_TRUE(Hero().IsAtSavePoint());
  TGetRender* banner = dynamic_cast<TFieldHudParts&>(*field->GetHud()).GetMessageWindow();
  ASSERT_TRUE(WaitFor([&] { return !banner->GetShownText().empty(); }));
  EXPECT_EQ(banner->GetShownText(), kTownName);
  EXPECT_EQ(Data().GetEquipEntry(2).id, kWater);
  EXPECT_EQ(Data().GetCharBlock(0).weaponId, kSpear);
  EXPECT_EQ(Hero().GetWeaponId(), kSpear);
}

// The status screen draws the hero's own values: the new hero's parameters 12, 10, 8, 8 with a
// rate of 0.5 on the first, the sword's attack of 10, and the silver ring's 2 defence and 0.2 fire;
// a rate of 0.25 on water.
TEST_F(MenuScreensScenario, TheStatusScreenDrawsTheHerosOwnValues) {
  Hero().SetEquipSlot(TAccessoryTable::GetShared(kSilverRing), 'A');
  Data().SetBonusRate(0, 0.5f);
  Data().SetBonusRate(4 + 1, 0.25f);
  Hold(kButtonE);
  ASSERT_NE(Enter<TStatusMenu>(3, &TStatusMenu::Idle), nullptr);
  renderer->ClearLog();
  Hold(0);

  ExpectShown({
      {"tATK", " 28"},        // 12 + 12 x 0.5, and the sword's 10
      {"tDIF", " 12"},        // 10 and the ring's 2
      {"tSTR", " 12 +   6"},  // the bonus part on its own
      {"tVIT", " 10"},        {"tINT", "  8"},    {"tMEN", "  8"},    {"tFire", " 80%"},
      {"tWater", " 75%"},     {"tWind", "100%"},  {"tSoil", "100%"},  {"tLight", "100%"},
      {"tDark", "100%"},
  });
}

// The element rates as the game reckons them, in single precision and in the order e - a - b - r x e:
// the crown's 0.1 leaves 90 where double shows 89; with a 5 % skill rate 85 where double shows 84;
// and the silver ring's 0.2, the crown's 0.1 and a 15 % skill rate leave a little under 0.55, 54.
TEST_F(MenuScreensScenario, TheStatusScreenShowsTheElementRatesAsTheGameReckonsThem) {
  Hero().SetEquipSlot(TAccessoryTable::GetShared(kSilverRing), 'A');
  Hero().SetEquipSlot(TAccessoryTable::GetShared(kCrown), 'B');
  Data().SetBonusRate(4 + 0, 0.15f);
  Data().SetBonusRate(4 + 1, 0.05f);
  Hold(kButtonE);
  ASSERT_NE(Enter<TStatusMenu>(3, &TStatusMenu::Idle), nullptr);
  renderer->ClearLog();
  Hold(0);
  ExpectShown({{"tFire", " 54%"},
               {"tWater", " 85%"},
               {"tWind", " 90%"},
               {"tSoil", " 90%"},
               {"tLight", " 90%"},
               {"tDark", " 90%"}});
}

// The sample hero, turning on the status screen, stands whole on the screen and covers none of the
// seventeen places where the screen writes its values, at every fifteenth degree of a whole turn.
TEST_F(MenuScreensScenario, TheStatusScreensModelTurnsBesideTheValues) {
  // The values' places from the window's corner and their widths, each 16 pixels high.
  constexpr std::array<std::array<float, 3>, 17> kValues = {{{78, 44, 64},   {234, 44, 128},  {242, 64, 128},
                                                             {122, 102, 128}, {122, 120, 128}, {94, 170, 128},
                                                             {94, 188, 128},  {94, 206, 128},  {94, 224, 128},
                                                             {94, 242, 128},  {94, 260, 128},  {226, 170, 64},
                                                             {226, 188, 64},  {226, 206, 64},  {226, 224, 64},
                                                             {226, 242, 64},  {226, 260, 64}}};
  Hold(kButtonE);
  TStatusMenu* status = Enter<TStatusMenu>(3, &TStatusMenu::Idle);
  ASSERT_NE(status, nullptr);
  ASSERT_EQ(status->GetWindow().X(), 64);
  ASSERT_EQ(status->GetWindow().Y(), 80);
  TMesh8* model = status->GetCharFrame()->FindMesh("StatusHero", false);
  ASSERT_NE(model, nullptr);
  const Box bounds = BoxOf(*model);
  ASSERT_GT(bounds.high.y - bounds.low.y, 1.0f) << "the hero's body";

  TView8 view;
  view.SetProjection(0.1f, 20.0f, 45.0f, 640, 480);
  for (int turn = 0; turn < 360; turn += 15) {
    SCOPED_TRACE(turn);
    ASSERT_TRUE(status->InPhase(&TStatusMenu::Idle));
    ASSERT_TRUE(view.SetViewFromFrame(*status->GetCameraFrame()));
    const ScreenRect shown = OnScreen(bounds, *status->GetCharFrame(), view);
    ASSERT_TRUE(shown.inFront);
    EXPECT_GE(shown.left, 0);
    EXPECT_GE(shown.top, 0);
    EXPECT_LE(shown.right, 640);
    EXPECT_LE(shown.bottom, 480);
    for (const auto& [x, y, width] : kValues)
      EXPECT_FALSE(shown.Meets(64 + x, 80 + y, 64 + x + width, 80 + y + 16))
          << "the model (" << shown.left << ", " << shown.top << ")-(" << shown.right << ", " << shown.bottom
          << ") covers the value at (" << x << ", " << y << ")";
    for (int tick = 0; tick < 15; ++tick) Hold(0);
  }
}

}  // namespace
