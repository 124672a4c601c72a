#include "tests/game/actor/PlayerFixture.h"

#include "game/data/TGameData.h"
#include "game/data/TWeaponTable.h"
#include "game/shell/TInput.h"
#include "sound/TDSound8.h"
#include "sound/TSound8.h"
#include "sound/TSoundSet8.h"

namespace playertest {

namespace {

// The fixture whose player the style maker builds.
Log* styleLog = nullptr;

TPlayerChar* MakeTestStyle(TFieldScene& scene, uint32_t member, const TCharBlock& block, uint32_t,
                           const std::string& model) {
  return new TestStyle(scene, member, block, model, *styleLog);
}

}  // namespace

TestStyle::TestStyle(TFieldScene& scene, uint32_t member, const TCharBlock& block, const std::string& model,
                     Log& log)
    : TPlayerChar(scene, member, block, model), log(log) {
  SetMode(0);
  EquipFromBlock(block);
}

std::span<const TPlayerChar::TStateRow> TestStyle::GetStateTable() const {
  static const std::vector<TStateRow> rows = [] {
    std::vector<TStateRow> all(CommonStateRows().begin(), CommonStateRows().end());
    all.resize(33, TStateRow{0, nullptr});
    all.push_back(TStateRow{56, &TestStyle::EndMotionToIdle});
    return all;
  }();
  return rows;
}

TCountedPtr<TStagePlayer> PlayerFixture::Services::CreatePlayerChar(TFieldScene& scene, uint32_t member) {
  return ::CreatePlayerChar(scene, member);
}

TCountedPtr<TStageEnemies> PlayerFixture::Services::CreateEnemyManager(TStage& stage, const TMapData& map) {
  if (!withRoster) return TestServices::CreateEnemyManager(stage, map);
  roster = new FoeRoster(stage);
  return TCountedPtr<TStageEnemies>(roster);
}

TCountedPtr<TFieldHud> PlayerFixture::Services::CreateHud(TFieldScene&) {
  hud = new TestHudMaker(log);
  hud->noticeLife = 50;
  hud->levelUpLife = 100;
  return TCountedPtr<TFieldHud>(hud);
}

void PlayerFixture::SetUp() {
  FieldSceneFixture::SetUp();
  TGameData::Instance()->NewGame();
  styleLog = &playerLog;
  SetPlayerStyleMaker(&MakeTestStyle);
  SetFieldServices(&services);
}

void PlayerFixture::TearDown() {
  player = nullptr;
  hud = nullptr;
  if (app) app->ClearScenes();
  SetPlayerStyleMaker(nullptr);
  styleLog = nullptr;
  FieldSceneFixture::TearDown();
}

TestStyle& PlayerFixture::Open(uint32_t member) {
  TGameData::Instance()->SetCurrentMember(member);
  OpenMap("03.pbms/field");
  player = dynamic_cast<TestStyle*>(field->GetPlayer());
  EXPECT_NE(player, nullptr);
  hud = services.hud->last;
  return *player;
}

void PlayerFixture::Press(uint32_t word) {
  TInput& input = *app->GetInput();
  for (size_t age = 3; age > 0; --age) input.SetButtons(age, input.GetButtons(age - 1));
  input.SetButtons(0, word);
}

void PlayerFixture::SetWords(std::array<uint32_t, 4> words) {
  for (size_t age = 0; age < words.size(); ++age) app->GetInput()->SetButtons(age, words[age]);
}

bool PlayerFixture::Playing(int32_t set, int32_t id) {
  TCountedPtr<TSound8> sound = TDSound8::Get().Find(set)->GetSound(id);
  return sound && sound->GetState() == TSound8::kPlaying;
}

}  // namespace playertest
