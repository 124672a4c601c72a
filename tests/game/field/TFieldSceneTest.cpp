// The field scene: its two ways of starting, the opening fade, the stage replaced at a map change,
// the player rebuilt, the record written when it ends, and a run on the sample game's battle map
// with the test kit's stand-ins.
#include <algorithm>

#include "common/TD3D8.h"
#include "common/my_error.h"
#include "game/data/TGameData.h"
#include "game/field/FieldServices.h"
#include "game/field/TMapData.h"
#include "game/shell/TInput.h"
#include "platform/window/InputState.h"
#include "sound/TDSound8.h"
#include "sound/TSound8.h"
#include "sound/TSoundSet8.h"
#include "tests/game/field/FieldSceneFixture.h"
#include "tests/game/field/FieldStandIns.h"

namespace {

using namespace fieldscenetest;

class FieldSceneTest : public FieldSceneFixture {
 protected:
  size_t IndexOf(const std::string& line) const {
    return static_cast<size_t>(std::find(fieldLog.begin(), fieldLog.end(), line) - fieldLog.begin());
  }
};

TEST_F(FieldSceneTest, TheOpeningFadeRunsSixtyTicksWithoutAStageUpdateAndPlayStartsWithAnEmptyInputHistory) {
  OpenMap("03.pbms/field");
  TestPlayer& player = *fieldServices.lastPlayer;
  std::vector<uint32_t> seenBefore;
  player.onUpdate = [&] { seenBefore.push_back(app->GetInput()->GetButtons(1)); };
  plat::SetKeyDown(plat::VK_UP, true);
  renderer->ClearLog();

  for (int tick = 1; tick <= TFieldScene::kOpeningFadeFrames; ++tick) {
    Tick();
    ASSERT_TRUE(InMode()) << tick;
  }
  EXPECT_EQ(CountOf("player 1 update"), 0u);
  EXPECT_EQ(CountOf("enemies update"), 0u);
  EXPECT_NE(app->GetInput()->GetButtons(1), 0u) << "the held key is in the history meanwhile";
  // Each fade frame clears to the stage's colour and lays the board over the picture.
  EXPECT_EQ(renderer->PresentCount(), 60u);
  EXPECT_EQ(renderer->Clears().front().color, 0xFF8098B0u);

  Tick();  // the fade has been drawn to its end
  EXPECT_FALSE(InMode());
  EXPECT_EQ(CountOf("player 1 update"), 0u);
  Tick();
  EXPECT_EQ(CountOf("player 1 update"), 1u);
  EXPECT_EQ(CountOf("enemies update"), 1u);
  ASSERT_EQ(seenBefore.size(), 1u);
  EXPECT_EQ(seenBefore[0], 0u) << "nothing held through the fade is in the first tick's history";
}

TEST_F(FieldSceneTest, ChangeStageDeletesTheOldStageBeforeTheNewStageAndItsPlayerAreBuilt) {
  OpenMap("03.pbms/field");
  FinishOpeningFade();
  const size_t mark = fieldLog.size();
  field->ChangeStage(TMapData("03.pbms/town"));

  const Log after = LogFrom(mark);
  auto at = [&](const std::string& line) {
    auto it = std::find(after.begin(), after.end(), line);
    EXPECT_NE(it, after.end()) << line;
    return it - after.begin();
  };
  EXPECT_LT(at("player 1 detach"), at("enemies gone"));
  EXPECT_LT(at("enemies gone"), at("create player 2 of member 0"));
  EXPECT_LT(at("create player 2 of member 0"), at("player 1 gone"));
  EXPECT_LT(at("player 1 gone"), at("player 2 attach"));
  // The new stage is updated once at once.
  EXPECT_LT(at("player 2 attach"), at("player 2 town update"));
  EXPECT_EQ(std::count(after.begin(), after.end(), "player 2 town update"), 1);
  EXPECT_EQ(field->GetStage()->GetPlayer(), fieldServices.lastPlayer);
  EXPECT_EQ(field->GetPlayer(), fieldServices.lastPlayer);
}

TEST_F(FieldSceneTest, AFieldStartedAtASavePointStandsOnItFacingMinusZWithTheSkillCursorBackAtTheStart) {
  TGameData::Instance()->SetSkillRingCursor(3);
  Open(TFieldScene::CreateFromSave(*app, 8));
  EXPECT_EQ(TGameData::Instance()->GetSkillRingCursor(), 0u);
  EXPECT_EQ(field->GetStage()->GetMusicId(), 0) << "the sample battle map's music";
  ASSERT_EQ(fieldServices.lastPlayer->placements.size(), 2u);
  const D3DXVECTOR3 at = fieldServices.lastPlayer->placements[1];
  EXPECT_GE(at.x, 10.02f);
  EXPECT_LE(at.x, 10.05f);
  EXPECT_GE(at.z, 5.02f);
  EXPECT_LE(at.z, 5.05f);
  // The save point's placement, which comes after the map's own start, faces -z.
  std::string placing;
  for (const std::string& line : fieldLog)
    if (line.find(" placed ") != std::string::npos) placing = line;
  EXPECT_NE(placing.find("placed 10.0"), std::string::npos) << placing;
  EXPECT_NE(placing.find("facing 0.00,0.00,-1.00"), std::string::npos) << placing;

  EXPECT_THROW(TFieldScene::CreateFromSave(*app, 4242), my_error) << "a save point the table lacks names no map";
}

TEST_F(FieldSceneTest, RebuildingThePlayerKeepsTheBodyAndReadiesTheNewOneForTheStage) {
  OpenMap("03.pbms/field");
  FinishOpeningFade();
  TestPlayer& old = *fieldServices.lastPlayer;
  old.SetPosition(D3DXVECTOR3(3, 0.5f, -2));
  old.SetGravity(-0.5f);
  const size_t mark = fieldLog.size();

  field->RebuildPlayer(1);
  EXPECT_EQ(TGameData::Instance()->GetCurrentMember(), 1u);
  TestPlayer& rebuilt = *fieldServices.lastPlayer;
  EXPECT_EQ(rebuilt.member, 1u);
  EXPECT_EQ(LogFrom(mark), (Log{"player 1 detach", "create player 2 of member 1", "player 2 made", "player 1 gone",
                                "player 2 attach", "player 2 model", "player 2 restored", "hud new player"}));
  const D3DXVECTOR3 at = rebuilt.GetPosition();
  EXPECT_FLOAT_EQ(at.x, 3);
  EXPECT_FLOAT_EQ(at.z, -2);
  EXPECT_FLOAT_EQ(rebuilt.GetGravity(), -0.5f);
  EXPECT_EQ(field->GetStage()->GetPlayer(), &rebuilt);
  EXPECT_EQ(field->GetStage()->FindActor(rebuilt.GetObjectId()), &rebuilt);

  field->RefreshHud();
  EXPECT_EQ(fieldLog.back(), "hud refresh");
}

TEST_F(FieldSceneTest, LeavingTheFieldWritesThePlayerIntoTheRecordFirst) {
  OpenMap("03.pbms/field");
  FinishOpeningFade();
  app->ClearScenes();
  field = nullptr;
  EXPECT_EQ(TGameData::Instance()->GetCharBlock(0).hp, 56);
  EXPECT_EQ(TGameData::Instance()->GetCharBlock(0).level, 7u);
  EXPECT_LT(IndexOf("player 1 detach"), IndexOf("player 1 gone"));
}

// The program installs the real services at start-up; nothing in the game falls back to stand-ins.
TEST(FieldServices, AFieldAskingWithNoneInstalledGetsAClearError) {
  SetFieldServices(nullptr);
  EXPECT_THROW(GetFieldServices(), my_error);
}

TEST_F(FieldSceneTest, TheSampleBattleMapRunsWithTheTestKitsStandIns) {
  static TFieldStandIns standIns;  // outlives the field, which TearDown clears
  SetFieldServices(&standIns);
  // Save point 9 lies 2 above the sample battle map's ground.
  Open(TFieldScene::CreateFromSave(*app, 9));
  TStage& stage = *field->GetStage();
  auto* player = dynamic_cast<TPlayerStandIn*>(field->GetPlayer());
  ASSERT_NE(player, nullptr);
  EXPECT_NE(stage.GetEnemyManager(), nullptr);
  EXPECT_GT(player->GetPosition().y, 1.9f);
  renderer->ClearLog();

  const int frames = 120;
  Ticks(frames);
  EXPECT_EQ(renderer->PresentCount(), static_cast<uint32_t>(frames));
  EXPECT_EQ(renderer->Clears().back().color, 0xFF8098B0u) << "the map's fog colour";
  EXPECT_FALSE(InMode());

  // The player fell onto the collision ground and stays there, the camera behind and above it.
  const D3DXVECTOR3 at = player->GetPosition();
  EXPECT_NEAR(at.y, 0.0f, 0.02f);
  EXPECT_NEAR(at.x, -4.0f, 0.06f);
  D3DXVECTOR3 eye;
  stage.GetCamera()->GetFrame()->GetPosition(&eye);
  EXPECT_GT(eye.y, at.y + 1);
  EXPECT_LT(eye.z, at.z - 1);

  // The ground was drawn: the last frame holds draws with the sample ground's many triangles.
  renderer->ClearLog();
  Tick();
  size_t triangles = 0;
  for (const plat::RecordedDraw& draw : renderer->Draws()) triangles += draw.primitiveCount;
  EXPECT_GT(triangles, 200u);

  // The stage's music plays, held once.
  TCountedPtr<TSoundSet8> music = TDSound8::Get().Find(2);
  const int32_t tune = music->FindId("field.ogg");
  EXPECT_EQ(stage.GetMusicId(), tune);
  EXPECT_EQ(music->GetCount(tune), 1u);
  EXPECT_EQ(music->GetSound(tune)->GetState(), TSound8::kPlaying);

  app->ClearScenes();
  field = nullptr;
  EXPECT_EQ(music->GetCount(tune), 0u) << "the stage let its music go";
}

}  // namespace
