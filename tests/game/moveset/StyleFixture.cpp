#include "tests/game/moveset/StyleFixture.h"

#include "common/TMesh8.h"
#include "game/actor/PlayerHud.h"
#include "game/actor/TPlayerFactory.h"
#include "game/data/TGameData.h"
#include "game/moveset/PlayerStyles.h"
#include "game/shell/TInput.h"

namespace styletest {

namespace {

// The real makers, with weapon type 0 in the test style.
TPlayerChar* MakeTestStyle(TFieldScene& scene, uint32_t member, const TCharBlock& block, uint32_t weaponType,
                           const std::string& model) {
  if (weaponType == 0) return new TestStyle00(scene, member, block, model);
  return MakePlayerStyle(scene, member, block, weaponType, model);
}

}  // namespace

TCountedPtr<TStagePlayer> StyleFixture::StyleServices::CreatePlayerChar(TFieldScene& scene, uint32_t member) {
  return ::CreatePlayerChar(scene, member);
}

void StyleFixture::SetUp() {
  FieldSceneFixture::SetUp();
  TGameData::Instance()->NewGame();
  SetPlayerStyleMaker(&MakeTestStyle);
  SetFieldServices(&services);
}

void StyleFixture::TearDown() {
  player = nullptr;
  if (app) app->ClearScenes();
  SetPlayerStyleMaker(nullptr);
  FieldSceneFixture::TearDown();
}

TestStyle00* StyleFixture::Open(uint32_t member, uint32_t weaponId) {
  TGameData& data = *TGameData::Instance();
  data.SetCurrentMember(member);
  data.GetCharBlock(member).weaponId = weaponId;
  OpenMap("03.pbms/field");
  FinishOpeningFade();
  player = dynamic_cast<TestStyle00*>(field->GetPlayer());
  return player;
}

void StyleFixture::Press(uint32_t word) {
  TInput& input = *app->GetInput();
  for (size_t age = 3; age > 0; --age) input.SetButtons(age, input.GetButtons(age - 1));
  input.SetButtons(0, word);
}

void StyleFixture::SetWords(std::array<uint32_t, 4> words) {
  for (size_t age = 0; age < words.size(); ++age) app->GetInput()->SetButtons(age, words[age]);
}

void StyleFixture::SetRingSkill(uint32_t skillId) {
  TGameData::Instance()->SetSkillSlot(player->GetMember(), player->GetHud().GetSkillRingCursor(), skillId);
}

void StyleFixture::Stand(uint32_t mode, float height, bool landed) {
  const plat::D3DXVECTOR3 at = player->GetPosition();
  player->GetFrame()->SetPositionXYZ(at.x, height, at.z);
  player->groundHeight = 0;
  player->landed = landed ? 1 : 0;
  if (player->GetMode() != mode) player->SetMode(static_cast<int32_t>(mode));
}

int StyleFixture::RunState(int limit) {
  const uint32_t mode = player->GetMode();
  const int32_t state = player->GetActionState();
  for (int t = 1; t <= limit; ++t) {
    player->RunMode();
    if (player->GetMode() != mode || player->GetActionState() != state) return t;
  }
  return limit + 1;
}

void StyleFixture::EndMotion() {
  TMesh8& model = *player->GetModel();
  const TMotionClip8* clip = model.GetData()->GetClip(model.GetMotion());
  model.SetMotionTime(clip ? static_cast<float>(clip->frameCount) - 1.0f : 0.0f);
}

}  // namespace styletest
