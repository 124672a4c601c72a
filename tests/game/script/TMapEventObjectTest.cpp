// "MapEvent" ends a field script's sequence: each operation's result and exit code, and what it
// queues with the stage's music kept for the next scene.
#include <gtest/gtest.h>

#include "game/actor/TPlayerChar.h"
#include "game/actor/TPlayerFactory.h"
#include "game/data/TGameData.h"
#include "game/field/TMapTransition.h"
#include "game/field/TStage.h"
#include "game/script/TChange.h"
#include "game/script/TMapEventObject.h"
#include "tests/game/script/SceneFixture.h"

namespace {

// The plainest character the factory can make, for what the field keeps of it.
class FaceVariantStyle : public TPlayerChar {
 public:
  using TPlayerChar::TPlayerChar;
  int32_t GetHoldState() override { return 0; }
  int32_t StateForTechnique(uint32_t, bool) override { return 0; }
  void OnHitLanded(TFieldActor&, int32_t, int32_t, uint8_t) override {}
  void OnReleaseA() override {}
  void OnReleaseB() override {}
  void OnReleaseAB() override {}
};

TPlayerChar* MakeFaceVariantStyle(TFieldScene& scene, uint32_t member, const TCharBlock& block, uint32_t,
                                  const std::string& model) {
  return new FaceVariantStyle(scene, member, block, model);
}

class MapEventObject : public scenetest::SceneFixture {
 protected:
  void SetUp() override {
    SceneFixture::SetUp();
    SaveTestMaps(datakit::MapDataWriter().Entry("quiet", BattleMap("none.ogg")));
    EmptyStack();
  }
  TFieldScene& OpenReady(const std::string& map) {
    OpenMap(map);
    FinishOpeningFade();
    return *field;
  }
  // The scene queued behind the field: the field goes, so that it is current.
  TScene* Queued() {
    field = nullptr;
    app->PopScene();
    return app->GetCurrentScene();
  }
};

TEST_F(MapEventObject, EachOperationGivesItsResultAndExitCode) {
  OpenReady("03.pbms/field");
  TMapEventObject object(*app, *field);
  EXPECT_EQ(object.GetResult(), 1) << "at creation";
  struct Case {
    uint32_t op;
    TScriptArgs args;
    uint32_t result;
    int32_t code;
  };
  const TScriptArgs toTown{"1", "0", "2", "0", "0", "1", "1", "3", "-4", "0", "03.pbms/town"};
  for (const Case& c : {Case{3, {}, 7, 10003}, Case{5, {}, 7, 1}, Case{4, {"x"}, 4, 1}, Case{99, {"1"}, 7, 1},
                        Case{1, {}, 7, 10004}, Case{2, {"202", "0"}, 4, 10005}, Case{0, toTown, 7, 10001}}) {
    EXPECT_EQ(object.Dispatch(c.op, c.args, {}), c.result) << c.op;
    EXPECT_EQ(object.GetResult(), c.code) << c.op;
  }
  auto* transition = dynamic_cast<TMapTransition*>(field->GetMode());
  ASSERT_NE(transition, nullptr);
  EXPECT_EQ(transition->GetMapData().GetMapName(), "03.pbms/town");
  EXPECT_EQ(object.Dispatch(0, {"0", "0", "0", "0", "0", "0", "0", "0", "0", "7", "03.pbms/town"}, {}), 7u);
  EXPECT_EQ(object.GetResult(), 1) << "a kind that makes no transition changes no map";
}

// Op 4 gives the player character the face variant, a text that is no number variant 0; the
// variant is kept in the member's story flag, 560 for the hero and 561 for the heroine.
TEST_F(MapEventObject, OpFourSetsThePlayersFaceVariant) {
  OpenReady("03.pbms/field");
  TStage& stage = *field->GetStage();
  TStagePlayer* own = stage.GetPlayer();
  TGameData& data = *TGameData::Instance();
  SetPlayerStyleMaker(&MakeFaceVariantStyle);
  for (const auto& [member, flag] : {std::pair{0u, 560u}, std::pair{1u, 561u}}) {
    SCOPED_TRACE(member);
    TCountedPtr<TPlayerChar> player = ::CreatePlayerChar(*field, member);
    ASSERT_TRUE(player);
    stage.SetPlayer(player.Get());
    TMapEventObject object(*app, *field);
    EXPECT_EQ(object.Dispatch(4, {"2"}, {}), 4u);
    EXPECT_EQ(data.GetFlag(flag), 2);
    EXPECT_EQ(data.GetFlag(1121 - flag), 0) << "the other member's stays";
    EXPECT_EQ(object.Dispatch(4, {"x"}, {}), 4u);
    EXPECT_EQ(data.GetFlag(flag), 0);
    stage.SetPlayer(own);
  }
  SetPlayerStyleMaker(nullptr);
}

// Game over and the change to an event keep the stage's music loaded once more for the next scene,
// which lets it go; a stage without music loads nothing and passes -1 on.
TEST_F(MapEventObject, TheGameOverAndTheEventChangeKeepTheStagesMusic) {
  for (const char* map : {"03.pbms/field", "t.pbms/quiet"}) {
    SCOPED_TRACE(map);
    OpenReady(map);
    const int32_t music = field->GetStage()->GetMusicId();
    const uint32_t loaded = music == -1 ? 0 : MusicCount(music);
    TMapEventObject object(*app, *field);
    object.Dispatch(1, {}, {});
    ASSERT_FALSE(fieldServices.gameOvers.empty());
    EXPECT_EQ(fieldServices.gameOvers.back(), music);
    if (music != -1) {
      EXPECT_EQ(MusicCount(music), loaded + 1);
    }
    EXPECT_EQ(app->GetSceneCount(), 2u) << "queued behind the field";

    object.Dispatch(2, {"203", "1"}, {});
    if (music != -1) {
      EXPECT_EQ(MusicCount(music), loaded + 2);
    }
    EXPECT_EQ(app->GetSceneCount(), 3u);
    Queued();
    app->PopScene();  // the game over
    auto* change = dynamic_cast<TChange*>(app->GetCurrentScene());
    ASSERT_NE(change, nullptr);
    EXPECT_EQ(change->GetMode(), TChange::kEvent);
    EXPECT_EQ(change->GetEventId(), 203);
    EXPECT_EQ(change->GetKeptMusic(), music);
    EmptyStack();
  }
  EXPECT_EQ(fieldServices.gameOvers, (std::vector<int32_t>{0, -1}));
}

// The change fades to black, or to white for any other choice, always from clear.
TEST_F(MapEventObject, TheFadeChoiceChoosesTheChangesColour) {
  for (const auto& [choice, colour] : {std::pair{"0", 0x00000000u}, std::pair{"1", 0x00FFFFFFu},
                                       std::pair{"7", 0x00FFFFFFu}, std::pair{"no", 0x00000000u}}) {
    OpenReady("t.pbms/quiet");
    TMapEventObject object(*app, *field);
    EXPECT_EQ(object.Dispatch(2, {"204", choice}, {}), 4u);
    auto* change = dynamic_cast<TChange*>(Queued());
    ASSERT_NE(change, nullptr);
    EXPECT_EQ(change->GetFade().GetSprite().vertices[0].diffuse, colour) << choice;
    EXPECT_EQ(change->GetEventId(), 204);
    EmptyStack();
  }
}

}  // namespace
