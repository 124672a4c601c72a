// Map changes inside the field scene: the fade to a colour, the stage replaced only under a full
// cover, the fade back, and the music kept, faded out or cross-faded with its references balanced.
#include "game/field/TMapTransition.h"

#include "game/field/TMapData.h"
#include "sound/TDSound8.h"
#include "sound/TSound8.h"
#include "sound/TSoundSet8.h"
#include "tests/game/field/FieldSceneFixture.h"

namespace {

using namespace fieldscenetest;

constexpr uint32_t kBattleFog = 0xFF8098B0, kTownFog = 0xFFB0C8E0;

class TransitionTest : public FieldSceneFixture {
 protected:
  void SetUp() override {
    FieldSceneFixture::SetUp();
    SaveTestMaps(datakit::MapDataWriter()
                     .Entry("same", BattleMap("field.ogg"))
                     .Entry("quiet", BattleMap("none.ogg"))
                     .Entry("jingle", BattleMap("jingle.ogg")));
    music = TDSound8::Get().Find(2);
    fieldTune = music->FindId("field.ogg");
    jingleTune = music->FindId("jingle.ogg");
  }
  void TearDown() override {
    music.Reset();
    FieldSceneFixture::TearDown();
  }

  static TExitTarget Target(const std::string& mapName) {
    TExitTarget target;
    target.startPosition = D3DXVECTOR3(2, 0, 3);
    target.startFacing = D3DXVECTOR3(0, 0, 1);
    target.startCamera = D3DXVECTOR3(2, 3, -3);
    target.destination = mapName;
    return target;
  }
  void Start(const std::string& mapName, uint32_t kind = 0) {
    field->SetMode(CreateMapTransition(*field->GetStage(), Target(mapName), kind));
  }
  // Starts the change and ticks until normal play is back; the ticks it took.
  int Run(const std::string& mapName) {
    Start(mapName);
    int ticks = 0;
    while (InMode() && ticks < 500) {
      Tick();
      ++ticks;
    }
    return ticks;
  }
  TSound8* Tune(int32_t id) { return music->GetSound(id).Get(); }

  TCountedPtr<TSoundSet8> music;
  int32_t fieldTune = -1, jingleTune = -1;
};

TEST_F(TransitionTest, TheKindChoosesBlackOrWhiteAndAnyOtherKindMakesNoTransition) {
  OpenMap("03.pbms/field");
  FinishOpeningFade();
  TStage& stage = *field->GetStage();
  EXPECT_TRUE(CreateMapTransition(stage, Target("03.pbms/town"), 0));
  EXPECT_TRUE(CreateMapTransition(stage, Target("03.pbms/town"), 1));
  EXPECT_FALSE(CreateMapTransition(stage, Target("03.pbms/town"), 2));
  EXPECT_THROW(CreateMapTransition(stage, Target("03.pbms/nowhere"), 0), my_error) << "the target is read at once";

  // At the full cover the board is the colour itself: black for kind 0, white for kind 1.
  for (uint32_t kind : {0u, 1u}) {
    Start("03.pbms/town", kind);
    Ticks(TMapTransition::kFrames);
    ASSERT_FALSE(renderer->Draws().empty());
    const plat::ResolvedVertex& corner = renderer->Draws().back().Vertex(0);
    const float c = kind == 0 ? 0.0f : 1.0f;
    EXPECT_FLOAT_EQ(corner.diffuse.x, c) << kind;
    EXPECT_FLOAT_EQ(corner.diffuse.y, c) << kind;
    EXPECT_FLOAT_EQ(corner.diffuse.z, c) << kind;
    EXPECT_FLOAT_EQ(corner.diffuse.w, 1.0f) << kind;
    while (InMode()) Tick();
  }
}

TEST_F(TransitionTest, TheStageIsReplacedOnlyUnderAFullCoverAndThenUpdatedOnceAtOnce) {
  OpenMap("03.pbms/field");
  FinishOpeningFade();
  const TStage* before = field->GetStage();
  Start("03.pbms/town");
  renderer->ClearLog();

  Ticks(TMapTransition::kFrames);
  EXPECT_EQ(field->GetStage(), before) << "the fade has only now reached its full colour";
  EXPECT_EQ(CountOf("create player 2 of member 0"), 0u);
  for (const plat::RecordedClear& clear : renderer->Clears()) EXPECT_EQ(clear.color, kBattleFog);

  const size_t mark = fieldLog.size();
  Tick();
  EXPECT_NE(field->GetStage(), before);
  Log change = LogFrom(mark);
  EXPECT_EQ(std::count(change.begin(), change.end(), "player 2 town update"), 1);
  // The exit's start point is where the new player stands.
  ASSERT_FALSE(fieldServices.lastPlayer->placements.empty());
  EXPECT_NEAR(fieldServices.lastPlayer->placements.back().x, 2.035f, 0.016f);
  EXPECT_NEAR(fieldServices.lastPlayer->placements.back().z, 3.035f, 0.016f);

  renderer->ClearLog();
  int fadeIn = 0;
  while (InMode() && fadeIn < 100) {
    Tick();
    ++fadeIn;
  }
  EXPECT_EQ(fadeIn, TMapTransition::kFrames);
  EXPECT_EQ(CountOf("player 2 town update"), 1u) << "no update while the screen fades back";
  for (const plat::RecordedClear& clear : renderer->Clears()) EXPECT_EQ(clear.color, kTownFog);
  Tick();
  EXPECT_EQ(CountOf("player 2 town update"), 2u);
}

TEST_F(TransitionTest, TheMusicGoesOnFadesOutOrCrossFadesWithItsReferencesBalanced) {
  OpenMap("03.pbms/field");
  FinishOpeningFade();
  TSound8* tune = Tune(fieldTune);
  ASSERT_NE(tune, nullptr);
  EXPECT_EQ(tune->GetState(), TSound8::kPlaying);

  // The same music: it plays on, neither restarted nor taken twice; a restart would also bring it
  // back to full volume.
  tune->SetVolume(-1000);
  EXPECT_EQ(Run("t.pbms/same"), 2 * TMapTransition::kFrames + 1);
  EXPECT_EQ(field->GetStage()->GetMusicId(), fieldTune);
  EXPECT_EQ(Tune(fieldTune), tune);
  EXPECT_EQ(music->GetCount(fieldTune), 1u);
  EXPECT_EQ(tune->GetState(), TSound8::kPlaying);
  EXPECT_EQ(tune->GetVolume(), -1000);
  tune->SetVolume(0);

  // Music the set does not know: the old one fades out over 50 frames and stops; the new stage is
  // silent. A holder other than the stage keeps its reference.
  music->Load(fieldTune);
  Start("t.pbms/quiet");
  Ticks(TMapTransition::kFrames + 1);
  EXPECT_EQ(field->GetStage()->GetMusicId(), -1);
  EXPECT_EQ(tune->GetState(), TSound8::kPlaying) << "still fading out";
  EXPECT_LT(tune->GetVolume(), 0);
  while (InMode()) Tick();
  EXPECT_EQ(tune->GetState(), TSound8::kStopped);
  EXPECT_EQ(music->GetCount(fieldTune), 1u) << "only the other holder's reference is left";
  music->Unload(fieldTune);
  music->PurgeUnused();
  EXPECT_FALSE(music->IsCached(fieldTune));

  // From silence the new stage starts its music itself.
  Run("03.pbms/field");
  tune = Tune(fieldTune);
  ASSERT_NE(tune, nullptr);
  EXPECT_EQ(music->GetCount(fieldTune), 1u);
  EXPECT_EQ(tune->GetState(), TSound8::kPlaying);

  // Other music: both play while the old fades out and the new fades in from silence; the old
  // one leaves the set and the new one stays held once, at full volume.
  Start("t.pbms/jingle");
  Ticks(TMapTransition::kFrames + 1);
  TSound8* next = Tune(jingleTune);
  ASSERT_NE(next, nullptr);
  EXPECT_EQ(next->GetState(), TSound8::kPlaying);
  EXPECT_EQ(tune->GetState(), TSound8::kPlaying);
  EXPECT_GT(next->GetVolume(), next->GetMinVolume());
  EXPECT_LT(next->GetVolume(), next->GetMaxVolume());
  while (InMode()) Tick();
  EXPECT_EQ(field->GetStage()->GetMusicId(), jingleTune);
  EXPECT_EQ(music->GetCount(jingleTune), 1u);
  EXPECT_EQ(next->GetVolume(), next->GetMaxVolume());
  EXPECT_FALSE(music->IsCached(fieldTune));

  // And back again.
  Run("03.pbms/field");
  EXPECT_EQ(music->GetCount(fieldTune), 1u);
  EXPECT_FALSE(music->IsCached(jingleTune));
  EXPECT_EQ(Tune(fieldTune)->GetState(), TSound8::kPlaying);
}

}  // namespace
