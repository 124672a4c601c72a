#include "tests/game/moveset/StyleFixture.h"

#include "common/TMesh8.h"
#include "game/actor/PlayerHud.h"
#include "game/actor/TPlayerFactory.h"
#include "game/data/TGameData.h"
#include "game/moveset/PlayerStyles.h"
#include "game/moveset/TPlayerStyle03.h"
#include "game/moveset/TPlayerStyle04.h"
#include "game/moveset/TPlayerStyle09.h"
#include "game/moveset/TPlayerStyle11.h"
#include "game/shell/TInput.h"

namespace styletest {

namespace {

template <class Style>
TPlayerChar* Make(TFieldScene& scene, uint32_t member, const TCharBlock& block, const std::string& model) {
  return new Noting<Style>(scene, member, block, model);
}

// The real makers, with the built styles in their noting subclasses.
TPlayerChar* MakeTestStyle(TFieldScene& scene, uint32_t member, const TCharBlock& block, uint32_t weaponType,
                           const std::string& model) {
  switch (weaponType) {
    case 0: return Make<TPlayerStyle00>(scene, member, block, model);
    case 3: return Make<TPlayerStyle03>(scene, member, block, model);
    case 4: return Make<TPlayerStyle04>(scene, member, block, model);
    case 9: return Make<TPlayerStyle09>(scene, member, block, model);
    case 11: return Make<TPlayerStyle11>(scene, member, block, model);
    default: return MakePlayerStyle(scene, member, block, weaponType, model);
  }
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
  style = nullptr;
  probe = nullptr;
  if (app) app->ClearScenes();
  SetPlayerStyleMaker(nullptr);
  FieldSceneFixture::TearDown();
}

TPlayerStyle* StyleFixture::OpenAny(uint32_t member, uint32_t weaponId) {
  TGameData& data = *TGameData::Instance();
  data.SetCurrentMember(member);
  data.GetCharBlock(member).weaponId = weaponId;
  OpenMap("03.pbms/field");
  FinishOpeningFade();
  style = dynamic_cast<TPlayerStyle*>(field->GetPlayer());
  probe = dynamic_cast<StyleProbe*>(field->GetPlayer());
  return probe ? style : nullptr;
}

void StyleFixture::Check(const HandlerCase& c) {
  style->ClearHits();
  style->ChangeState(c.state);
  Stand(TPlayerChar::kActionMode, c.in.height, c.in.landed);
  style->SetAirCombo(c.in.flag);
  for (uint32_t k = 0; k < c.in.presses; ++k) style->PushHit(1);
  if (c.in.kind) style->PostCommand(c.in.kind, c.in.value);
  if (c.in.ended) EndMotion();
  probe->RunOnce();

  EXPECT_EQ(style->GetMode(), c.out.mode) << c.what;
  if (c.out.mode == TPlayerChar::kActionMode) {
    EXPECT_EQ(style->GetActionState(), c.out.state) << c.what;
  }
  uint32_t value = 0;
  EXPECT_EQ(Latched(value), c.out.latched) << c.what;
  EXPECT_EQ(style->HasAirCombo(), c.out.flag) << c.what;
  EXPECT_EQ(style->GetQueue().GetCount(), c.out.presses) << c.what;
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
  TGameData::Instance()->SetSkillSlot(style->GetMember(), style->GetHud().GetSkillRingCursor(), skillId);
}

void StyleFixture::Stand(uint32_t mode, float height, bool landed) {
  const plat::D3DXVECTOR3 at = style->GetPosition();
  style->GetFrame()->SetPositionXYZ(at.x, height, at.z);
  probe->SetGround(landed);
  if (style->GetMode() != mode) style->SetMode(static_cast<int32_t>(mode));
}

int StyleFixture::RunState(int limit) {
  const uint32_t mode = style->GetMode();
  const int32_t state = style->GetActionState();
  for (int t = 1; t <= limit; ++t) {
    probe->RunOnce();
    if (style->GetMode() != mode || style->GetActionState() != state) return t;
  }
  return limit + 1;
}

void StyleFixture::EndMotion() {
  TMesh8& model = *style->GetModel();
  const TMotionClip8* clip = model.GetData()->GetClip(model.GetMotion());
  model.SetMotionTime(clip ? static_cast<float>(clip->frameCount) - 1.0f : 0.0f);
}

}  // namespace styletest
