// The player-character factory: the style table, the build from the member's block, the hand-over
// from the character the scene held, and the face reordering of the player models.
#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "game/actor/TPatternInfo.h"
#include "game/actor/TPlayerFactory.h"
#include "game/data/TGameData.h"
#include "game/data/THrdefTable.h"
#include "game/field/TGameObject.h"
#include "tests/game/actor/PlayerFixture.h"
#include "tools/datakit/MeshWriter.h"

namespace {

using playertest::PlayerFixture;
using playertest::TestStyle;

using FactoryTest = PlayerFixture;

TEST(PlayerStyles, TheTableGivesEachMemberItsModelsAndNoneElse) {
  struct Case {
    uint32_t member, type;
    const char* model;
  };
  const Case cases[] = {{0, 0, "hero01"},    {1, 0, "heroine01"}, {0, 1, "hero01"},    {1, 2, "heroine02"},
                        {0, 3, ""},          {1, 3, "heroine03"}, {1, 4, "heroine03"}, {0, 5, "hero04"},
                        {1, 5, ""},          {0, 8, "hero05"},    {1, 9, "heroine06"}, {0, 10, "hero07"},
                        {1, 11, "heroine08"}, {0, 11, ""},        {0, 12, ""},         {2, 0, ""}};
  for (const Case& c : cases) EXPECT_EQ(StyleModelOf(c.member, c.type), c.model) << c.member << " " << c.type;
  for (uint32_t type = 0; type < kWeaponTypes; ++type) EXPECT_EQ(PlayerStyles()[type].weaponType, type);
}

TEST_F(FactoryTest, AMemberWithoutAStyleForTheWeaponGetsNoCharacter) {
  TestStyle& hero = Open();
  hero.SetWeapon(1003);  // the heroine's rod: the hero's values, weapon too, go to the record first
  EXPECT_FALSE(CreatePlayerChar(*field, 0));
  EXPECT_EQ(TGameData::Instance()->GetCharBlock(0).weaponId, 1003u);
  EXPECT_FALSE(CreatePlayerChar(*field, 5)) << "a member with no style at all";
}

TEST_F(FactoryTest, ANewCharacterTakesOverTheOldOnesValues) {
  TestStyle& old = Open();
  old.hp = 7;
  old.GetSlow().Set(40);
  hud->cursor = 2;
  TCountedPtr<TPlayerChar> next = CreatePlayerChar(*field, 0);
  ASSERT_TRUE(next);
  EXPECT_EQ(next->GetHp(), 7);
  EXPECT_EQ(next->GetSlow().GetFramesLeft(), 40);
  EXPECT_EQ(TGameData::Instance()->GetCharBlock(0).hp, 7);
  EXPECT_EQ(TGameData::Instance()->GetSkillRingCursor(), 2u);
  EXPECT_EQ(next->GetHud().GetSkillRingCursor(), 2u);
}

TEST_F(FactoryTest, WithoutAStyleMakerInstalledNoCharacterIsMade) {
  Open();
  SetPlayerStyleMaker(nullptr);
  EXPECT_FALSE(CreatePlayerChar(*field, 0));
  EXPECT_FALSE(CreatePlayerChar(*field, 1));
}

TEST_F(FactoryTest, TheSampleGameHoldsEveryStylesModelWithTheModesAndCommonStatesMotions) {
  uint32_t motions = TPlayerChar::kModeCount;
  for (const TPlayerChar::TStateRow& row : TPlayerChar::CommonStateRows()) motions = std::max(motions, row.motion + 1);
  EXPECT_EQ(motions, 37u);
  std::vector<std::string> models = {THrdefTable::Find(0)->modelName, THrdefTable::Find(1)->modelName};
  for (const TPlayerStyleRow& row : PlayerStyles())
    for (const char* model : {row.heroModel, row.heroineModel})
      if (model) models.push_back(model);
  for (const std::string& name : models) {
    TMesh8 mesh = TMesh8::Load(TGameObject::GetFolder() + name + ".tob");
    EXPECT_GE(mesh.GetData()->GetClipCount(), motions) << name;
    EXPECT_EQ(TPatternInfo(name + ".pat").GetMotionCount(), mesh.GetData()->GetClipCount()) << name;
  }
}

// Triangles of three vertices each; the given corner of each has the texture coordinates.
TMesh8 WindowMesh(const std::vector<std::pair<float, float>>& marks) {
  datakit::MeshFile file;
  file.name = "window";
  file.materials = {datakit::MeshMaterial::Colored("skin", 1, 1, 1)};
  file.frames.emplace_back();
  for (size_t t = 0; t < marks.size(); ++t) {
    for (int k = 0; k < 3; ++k) {
      datakit::MeshVertex v;
      v.x = static_cast<float>(t) + (k == 1 ? 0.5f : 0.0f);
      v.y = k == 2 ? 1.0f : 0.0f;
      if (k == 2) {
        v.u = marks[t].first;
        v.v = marks[t].second;
      }
      file.frames[0].push_back(v);
      file.indices.push_back(static_cast<uint16_t>(3 * t + k));
    }
    file.parts.push_back(0);
  }
  file.clips = {{"still", {0}, {1.0f}}};
  file.Tob().Save("data/msh03/char03/window.tob");
  return TMesh8::Load("char03/window.tob");
}

// The triangles in index-buffer order, by their number when written.
std::vector<uint16_t> TriangleOrder(TMesh8& mesh) {
  std::vector<uint16_t> order;
  const uint16_t* indices = mesh.LockIndicesReadOnly();
  for (uint32_t t = 0; t < mesh.GetTriangleCount(); ++t) order.push_back(static_cast<uint16_t>(indices[3 * t] / 3));
  mesh.UnlockIndices();
  return order;
}

TEST_F(FactoryTest, WindowFacesGoLastInReverseOrderAndTheBoundsAreStrict) {
  Open();
  TMesh8 mesh = WindowMesh({{0, 0},
                            {0.28f, 0.8f},    // in the window
                            {0.25f, 0.8f},    // on its edge
                            {0.3f, 0.76f},    // in the window
                            {0.3125f, 0.8f},  // on its edge
                            {0.28f, 0.875f},  // on its edge
                            {0.26f, 0.87f}}); // in the window
  MoveWindowFacesLast(mesh);
  EXPECT_EQ(TriangleOrder(mesh), (std::vector<uint16_t>{0, 2, 4, 5, 6, 3, 1}));
  TMesh8 again = TMesh8::Load("char03/window.tob");
  EXPECT_EQ(TriangleOrder(again), (std::vector<uint16_t>{0, 1, 2, 3, 4, 5, 6})) << "the file's mesh is untouched";
}

}  // namespace
