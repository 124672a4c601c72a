#include "tests/game/moveset/StyleFixture.h"

#include <iterator>

#include "common/TMesh8.h"
#include "game/actor/PlayerHud.h"
#include "game/actor/TPlayerFactory.h"
#include "game/data/TGameData.h"
#include "game/moveset/PlayerStyles.h"
#include "game/moveset/TPlayerStyle01.h"
#include "game/moveset/TPlayerStyle02.h"
#include "game/moveset/TPlayerStyle03.h"
#include "game/moveset/TPlayerStyle04.h"
#include "game/moveset/TPlayerStyle05.h"
#include "game/moveset/TPlayerStyle06.h"
#include "game/moveset/TPlayerStyle07.h"
#include "game/moveset/TPlayerStyle08.h"
#include "game/moveset/TPlayerStyle09.h"
#include "game/moveset/TPlayerStyle10.h"
#include "game/moveset/TPlayerStyle11.h"
#include "game/shell/TInput.h"
#include "platform/window/InputState.h"
#include "tools/datakit/SampleCharData.h"

namespace styletest {

namespace {

template <class Style>
TPlayerChar* Make(TFieldScene& scene, uint32_t member, const TCharBlock& block, const std::string& model) {
  return new Noting<Style>(scene, member, block, model);
}

// Every style in its noting subclass, by weapon type.
using Maker = TPlayerChar* (*)(TFieldScene&, uint32_t, const TCharBlock&, const std::string&);
constexpr Maker kNotingStyles[] = {
    &Make<TPlayerStyle00>, &Make<TPlayerStyle01>, &Make<TPlayerStyle02>, &Make<TPlayerStyle03>,
    &Make<TPlayerStyle04>, &Make<TPlayerStyle05>, &Make<TPlayerStyle06>, &Make<TPlayerStyle07>,
    &Make<TPlayerStyle08>, &Make<TPlayerStyle09>, &Make<TPlayerStyle10>, &Make<TPlayerStyle11>,
};

// The styles in their noting subclasses; the real maker for any other type.
TPlayerChar* MakeTestStyle(TFieldScene& scene, uint32_t member, const TCharBlock& block, uint32_t weaponType,
                           const std::string& model) {
  if (weaponType < std::size(kNotingStyles)) return kNotingStyles[weaponType](scene, member, block, model);
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
  style = nullptr;
  probe = nullptr;
  if (app) app->ClearScenes();
  SetPlayerStyleMaker(nullptr);
  FieldSceneFixture::TearDown();
}

TPlayerStyle* StyleFixture::Adopt() {
  TStagePlayer* now = field->GetPlayer();
  player = dynamic_cast<TestStyle00*>(now);
  probe = dynamic_cast<StyleProbe*>(now);
  style = probe ? dynamic_cast<TPlayerStyle*>(now) : nullptr;
  return style;
}

TPlayerStyle* StyleFixture::OpenAny(uint32_t member, uint32_t weaponId) {
  TGameData& data = *TGameData::Instance();
  data.SetCurrentMember(member);
  data.GetCharBlock(member).weaponId = weaponId;
  OpenMap("03.pbms/field");
  FinishOpeningFade();
  return Adopt();
}

TPlayerStyle* StyleFixture::Equip(uint32_t weaponId) {
  TGameData& data = *TGameData::Instance();
  if (auto* character = dynamic_cast<TPlayerChar*>(field->GetPlayer()))
    character->SetWeapon(weaponId);
  else
    data.GetCharBlock(data.GetCurrentMember()).weaponId = weaponId;
  field->RebuildPlayer(data.GetCurrentMember());
  return Adopt();
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

void StyleFixture::CheckAll(uint32_t member, std::span<const StyleCase> cases) {
  for (const StyleCase& c : cases) {
    if (!style) {
      ASSERT_NE(OpenAny(member, c.weapon), nullptr) << c.weapon;
    } else if (style->GetWeaponId() != c.weapon) {
      ASSERT_NE(Equip(c.weapon), nullptr) << c.weapon;
    }
    SCOPED_TRACE("weapon " + std::to_string(c.weapon));
    Check(c.c);
  }
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

void StyleFixture::Release(uint32_t button, uint32_t heldTicks) {
  if (button == TPlayerChar::kButtonA)
    style->SetHoldCounterA(heldTicks);
  else
    style->SetHoldCounterB(heldTicks);
  SetWords({0, 0, 0, button});
  style->DispatchButtons();
}

void StyleFixture::HoldFires(uint32_t button) {
  if (button == TPlayerChar::kButtonA)
    style->SetHoldCounterA(TPlayerStyle::kHoldFires - 1);
  else
    style->SetHoldCounterB(TPlayerStyle::kHoldFires - 1);
  SetWords({0, 0, button, button});
  style->DispatchButtons();
}

uint32_t StyleFixture::Started() const {
  return style->GetMode() == TPlayerChar::kActionMode ? static_cast<uint32_t>(style->GetActionState()) : kNone;
}

uint32_t StyleFixture::After(uint32_t mode, float height, uint32_t button, bool hold) {
  style->ClearHits();
  Stand(mode, height, height == 0);
  if (hold)
    HoldFires(button);
  else
    Release(button);
  return Started();
}

void StyleScenario::TearDown() {
  beforeTick = nullptr;
  plat::ReleaseAllKeys();
  StyleFixture::TearDown();
}

void StyleScenario::Hold(uint32_t buttons, int ticks) {
  for (int k = 0; k < TInput::kButtonCount; ++k)
    plat::SetKeyDown(static_cast<int>(TInput::kDefaultKeys[k]), (buttons >> k & 1) != 0);
  for (int t = 0; t < ticks; ++t) {
    if (beforeTick) beforeTick();
    const float before = style->GetModel()->GetMotionTime();
    Tick();
    const bool acting = style->GetMode() == TPlayerChar::kActionMode;
    const std::string now = acting ? Seen(style->GetActionState(), style->GetModel()->GetMotion())
                                   : "mode " + std::to_string(style->GetMode());
    const bool again = acting && !seen.empty() && seen.back() == now && style->GetModel()->GetMotionTime() < before;
    if (seen.empty() || seen.back() != now || again) seen.push_back(now);
  }
}

void StyleScenario::Taps(int presses) {
  Hold(TPlayerChar::kButtonA, 1);
  Hold(0, 3);
  for (int k = 0; k < presses; ++k) {
    Hold(TPlayerChar::kButtonA, 1);
    Hold(0, 1);
  }
}

void StyleScenario::Settle() {
  Hold(0, 30);
  ASSERT_EQ(style->GetMode(), 0u);
  seen.clear();
  probe->attacks.clear();
}

std::vector<uint16_t> StyleScenario::AttacksOf(const std::vector<uint32_t>& motions) const {
  std::vector<uint16_t> kinds;
  for (const datakit::SamplePlayerModel& model : datakit::SamplePlayerModels()) {
    if (model.name != style->GetModelName()) continue;
    for (uint32_t m : motions)
      if (const uint16_t kind = datakit::SampleMotionsOf(model).at(m).attackKind) kinds.push_back(kind);
  }
  return kinds;
}

std::vector<uint16_t> StyleScenario::AttacksSeen() const {
  std::vector<uint32_t> motions;
  for (const std::string& s : seen) {
    const size_t at = s.find(" motion ");
    if (at != std::string::npos) motions.push_back(static_cast<uint32_t>(std::stoul(s.substr(at + 8))));
  }
  return AttacksOf(motions);
}

std::string StyleScenario::Seen(int32_t state, uint32_t motion) {
  return std::to_string(state) + " motion " + std::to_string(motion);
}

}  // namespace styletest
