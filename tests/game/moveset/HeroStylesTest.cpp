// The styles of weapon types 1, 2, 5, 6, 7, 8 and 10 as built, each with a sample weapon of its
// type: the classes the maker builds and their models, the techniques' states and motions, the
// ground combos, where the buttons start what, the rows' answers to what they find, the landed
// hits, and the sequences that only one style has (the held technique's sub-kind, the landing air
// attacks, the air combo that only hits continue, the launch).
#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "common/TMesh8.h"
#include "game/actor/TPlayerFactory.h"
#include "game/effect/TEffectManager.h"
#include "game/moveset/PlayerStyles.h"
#include "game/moveset/TPlayerStyle01.h"
#include "game/moveset/TPlayerStyle02.h"
#include "game/moveset/TPlayerStyle05.h"
#include "game/moveset/TPlayerStyle06.h"
#include "game/moveset/TPlayerStyle07.h"
#include "game/moveset/TPlayerStyle08.h"
#include "game/moveset/TPlayerStyle10.h"
#include "tests/game/moveset/StyleFixture.h"

namespace {

using styletest::Air;
using styletest::StyleCase;
using styletest::StyleFixture;
using P = TPlayerChar;

constexpr uint32_t A = P::kButtonA, B = P::kButtonB;
constexpr uint32_t H = P::kHoldCommand, T = P::kStateCommand;
// Not above the height that an air hold asks for.
constexpr float kAtTheEdge = 1.4f;

// The sample weapons of the types.
constexpr uint32_t kSpear = 1001, kGreatSword = 1008, kAxe = 1002, kMace = 1009, kHammer = 1010, kDaggers = 1004,
                   kKnuckles = 1011;

class HeroStylesTest : public StyleFixture {
 protected:
  // The hero with the weapon, on the battle map opened once.
  void Wield(uint32_t weaponId) {
    if (!style) {
      ASSERT_NE(OpenAny(0, weaponId), nullptr) << weaponId;
    } else if (style->GetWeaponId() != weaponId) {
      ASSERT_NE(Equip(weaponId), nullptr) << weaponId;
    }
  }
};

template <class Style>
bool Is(TStagePlayer* p) {
  return dynamic_cast<Style*>(p) != nullptr;
}

TEST_F(HeroStylesTest, TheMakerBuildsEachTypesClassInAModelThatHoldsEveryMotionOfItsTable) {
  SetPlayerStyleMaker(&MakePlayerStyle);
  const struct {
    uint32_t member, weapon;
    const char* model;
    bool (*is)(TStagePlayer*);
  } cases[] = {
      {0, kSpear, "hero01", &Is<TPlayerStyle01>},      {1, kSpear, "heroine01", &Is<TPlayerStyle01>},
      {0, kGreatSword, "hero02", &Is<TPlayerStyle02>}, {1, kGreatSword, "heroine02", &Is<TPlayerStyle02>},
      {0, kAxe, "hero04", &Is<TPlayerStyle05>},        {0, kMace, "hero04", &Is<TPlayerStyle06>},
      {0, kHammer, "hero04", &Is<TPlayerStyle07>},     {0, kDaggers, "hero05", &Is<TPlayerStyle08>},
      {0, kKnuckles, "hero07", &Is<TPlayerStyle10>},
  };
  for (const auto& c : cases) {
    OpenAny(c.member, c.weapon);
    auto* made = dynamic_cast<TPlayerStyle*>(field->GetPlayer());
    ASSERT_NE(made, nullptr) << c.weapon;
    EXPECT_TRUE(c.is(made)) << c.weapon;
    EXPECT_EQ(made->GetModelName(), c.model);
    EXPECT_EQ(made->GetWeaponId(), c.weapon);
    const TMesh8Data& motions = *made->GetModel()->GetData();
    for (const P::TStateRow& row : made->GetStyleTable().states)
      EXPECT_NE(motions.GetClip(row.motion), nullptr) << c.model << " motion " << row.motion;
  }
  // The pair of type 8: the other hand's record (id + 10000) first, the weapon's own second.
  OpenAny(0, kDaggers);
  auto* pair = dynamic_cast<P*>(field->GetPlayer());
  ASSERT_NE(pair, nullptr);
  EXPECT_EQ(pair->GetWeaponRecord()->id, kDaggers + 10000);
  EXPECT_EQ(pair->GetSecondWeaponRecord()->id, kDaggers);
  // The heroine has no style of the hero's own types.
  OpenAny(1, kAxe);
  EXPECT_EQ(field->GetPlayer(), nullptr);
}

TEST_F(HeroStylesTest, EachTechniqueTapsAndHoldsIntoStatesThatPlayItsMotions) {
  const struct {
    uint32_t weapon, skill;
    int32_t tap, hold;
    uint32_t tapMotion, holdMotion;
  } cases[] = {
      {kSpear, 2100, 47, 49, 75, 76},       {kSpear, 2109, 83, 85, 119, 119},
      {kGreatSword, 2203, 61, 64, 69, 72},  {kGreatSword, 2213, 105, 107, 96, 96},
      {kAxe, 2500, 41, 43, 53, 53},         {kAxe, 2503, 53, 56, 60, 63},
      {kAxe, 2511, 89, 91, 118, 118},       {kMace, 2603, 53, 55, 75, 77},
      {kMace, 2607, 69, 71, 119, 119},      {kHammer, 2705, 63, 65, 104, 106},
      {kHammer, 2707, 71, 73, 120, 120},    {kDaggers, 2804, 65, 68, 70, 73},
      {kDaggers, 2809, 87, 89, 88, 88},     {kKnuckles, 3006, 70, 72, 71, 73},
      {kKnuckles, 3007, 74, 76, 74, 74},    {kKnuckles, 1, 5, 7, 22, 24},
  };
  for (const auto& c : cases) {
    Wield(c.weapon);
    const int32_t states[] = {c.tap, c.hold};
    const uint32_t motions[] = {c.tapMotion, c.holdMotion};
    for (int k = 0; k < 2; ++k) {
      EXPECT_EQ(style->StateForTechnique(c.skill, k == 1), states[k]) << c.skill;
      style->ChangeState(states[k]);
      EXPECT_EQ(style->GetModel()->GetMotion(), motions[k]) << c.skill;
    }
  }
  // Another type's technique has no state here.
  EXPECT_EQ(style->StateForTechnique(2600, false), -1);
}

TEST_F(HeroStylesTest, BufferedPressesRunTheGroundComboAndTheLastStepLeavesTheQueueToTheRecovery) {
  const struct {
    uint32_t weapon;
    std::vector<int32_t> steps;  // the states after 25, the last step's recovery last
  } cases[] = {
      {kSpear, {27, 29, 31, 32}},      {kGreatSword, {27, 29, 31, 33, 34}}, {kAxe, {27, 29, 30}},
      {kMace, {27, 29, 30}},           {kHammer, {27, 29, 30}},             {kDaggers, {27, 29, 31, 33, 34}},
      {kKnuckles, {27, 29, 30}},
  };
  for (const auto& c : cases) {
    Wield(c.weapon);
    style->ClearHits();
    style->ChangeState(25);
    // One press more than the steps take.
    for (size_t k = 0; k < c.steps.size(); ++k) style->PushHit(1);
    for (int32_t next : c.steps) {
      RunState();
      EXPECT_EQ(style->GetActionState(), next) << c.weapon;
    }
    EXPECT_EQ(style->GetQueue().GetCount(), 1u) << c.weapon;
    RunState();
    EXPECT_EQ(style->GetMode(), 0u) << c.weapon;
    EXPECT_EQ(style->GetQueue().GetCount(), 0u) << c.weapon << ": the recovery's end drops it";
  }
}

TEST_F(HeroStylesTest, TheButtonsStartEachStylesStatesOnlyWhereTheyBelong) {
  const struct {
    uint32_t weapon;
    uint32_t skill;  // 0: the attack button
    bool hold;
    uint32_t mode;
    float height;
    uint32_t started;
  } cases[] = {
      // Type 1: a tapped technique never in the air; a held one by its skill's sub-kind (2100-2104:
      // 31, 32, 33, 36, 37; aerial from 32 to 36), whatever its state.
      {kSpear, 2105, false, 0, 0, 67},     {kSpear, 2105, false, 4, 2, kNone},  {kSpear, 2102, false, 5, 2, kNone},
      {kSpear, 2102, true, 4, 2, 57},      {kSpear, 2102, true, 6, 0, 57},      {kSpear, 2102, true, 0, 0, kNone},
      {kSpear, 2105, true, 0, 0, 69},      {kSpear, 2105, true, 4, 2, kNone},   {kSpear, 2100, true, 4, 2, kNone},
      {kSpear, 2100, true, 3, 0, 49},      {kSpear, 2101, true, 5, 2, 53},      {kSpear, 2101, true, 1, 0, kNone},
      {kSpear, 2103, true, 4, 2, 61},      {kSpear, 2103, true, 2, 0, kNone},   {kSpear, 2104, true, 4, 2, kNone},
      {kSpear, 2104, true, 0, 0, 65},
      // Type 2's aerial techniques only from a jump or a fall (held: above the moving modes).
      {kGreatSword, 2204, false, 0, 0, kNone}, {kGreatSword, 2204, false, 4, 2, 67},
      {kGreatSword, 2210, false, 5, 2, 93},    {kGreatSword, 2211, true, 6, 0, 99},
      {kGreatSword, 2205, true, 3, 0, kNone},  {kGreatSword, 0, false, 4, 2, 37},
      {kGreatSword, 0, true, 3, 0, 47},
      // Type 5: the run hold, the air hold only above 1.4, the air attack.
      {kAxe, 0, true, 3, 0, 39},           {kAxe, 0, true, 4, 1.41f, 35},       {kAxe, 0, true, 4, kAtTheEdge, kNone},
      {kAxe, 0, false, 5, 2, 33},          {kAxe, 0, false, 3, 0, 37},          {kAxe, 2504, false, 4, 2, 59},
      {kAxe, 2509, false, 0, 0, kNone},    {kAxe, 2500, false, 5, 2, kNone},
      // Type 6: no technique in the air.
      {kMace, 2600, false, 4, 2, kNone},   {kMace, 2600, false, 5, 2, kNone},   {kMace, 2600, true, 4, 2, kNone},
      {kMace, 2600, true, 5, 2, kNone},    {kMace, 2600, false, 0, 0, 41},      {kMace, 0, true, 0, 0, 31},
      // Type 7's aerial technique.
      {kHammer, 2705, false, 0, 0, kNone}, {kHammer, 2705, false, 5, 2, 63},    {kHammer, 0, true, 2, 0, 31},
      // Type 8.
      {kDaggers, 2806, false, 4, 2, 75},   {kDaggers, 2808, true, 6, 0, 85},    {kDaggers, 2806, false, 0, 0, kNone},
      {kDaggers, 0, false, 4, 2, 37},      {kDaggers, 0, true, 4, 3, 43},
      // Type 10: the hold launches from modes 0-2; 3006 only in the air.
      {kKnuckles, 0, true, 0, 0, 31},      {kKnuckles, 0, true, 2, 0, 31},      {kKnuckles, 0, true, 3, 0, 44},
      {kKnuckles, 0, false, 4, 2, 34},     {kKnuckles, 0, false, 3, 0, 42},     {kKnuckles, 3006, false, 0, 0, kNone},
      {kKnuckles, 3006, false, 4, 2, 70},  {kKnuckles, 3006, true, 5, 2, 72},
  };
  for (const auto& c : cases) {
    Wield(c.weapon);
    if (c.skill) SetRingSkill(c.skill);
    EXPECT_EQ(After(c.mode, c.height, c.skill ? B : A, c.hold), c.started)
        << "weapon " << c.weapon << " skill " << c.skill << (c.hold ? " held" : " tapped") << " in mode " << c.mode;
  }
}

TEST_F(HeroStylesTest, EachStylesRowsAnswerWhatTheyFindAsTheStyleSays) {
  const StyleCase cases[] = {
      // Type 1: a held technique of an aerial sub-kind is a ground state; no air state obeys it.
      {kSpear, {"a ground step takes a held aerial-kind technique", 25, {.kind = T, .value = 57}, {.state = 57}}},
      {kSpear, {"a finisher too", 47, {.kind = T, .value = 57}, {.state = 57}}},
      {kSpear, {"an air step never", 35, Air({.kind = T, .value = 57}), {.state = 36}}},
      {kSpear, {"the hold attack plays its own motion", 33, {}, {.state = 34}}},
      // Type 2: the aerial techniques from the air states only.
      {kGreatSword, {"a ground step refuses an aerial technique", 29, {.kind = T, .value = 67}, {.state = 30}}},
      {kGreatSword, {"the hold attack too", 35, {.kind = T, .value = 93}, {.state = 36}}},
      {kGreatSword, {"an air step takes it", 37, Air({.kind = T, .value = 93}), {.state = 93}}},
      {kGreatSword, {"the launch blow takes another", 62, Air({.kind = T, .value = 71}), {.state = 71}}},
      {kGreatSword, {"the launch blow's press", 88, Air({.presses = 1, .flag = true}), {.state = 37}}},
      {kGreatSword, {"the fourth step continues", 31, {.presses = 1}, {.state = 33}}},
      // Type 5: the airborne blows refuse ground techniques; a press starts the air attack and keeps
      // no flag.
      {kAxe, {"54 refuses a ground technique", 54, Air({.kind = T, .value = 41}), {.state = 55}}},
      {kAxe, {"57 too", 57, Air({.kind = T, .value = 45}), {.state = 58}}},
      {kAxe, {"72 too", 72, Air({.kind = T, .value = 63}), {.state = 73}}},
      {kAxe, {"75 too", 75, Air({.kind = T, .value = 85}), {.state = 76}}},
      {kAxe, {"the blow's press", 72, Air({.presses = 2}), {.state = 33, .presses = 1}}},
      {kAxe, {"the blow's hold at any height", 75, Air({.kind = H, .height = 0.5f}), {.state = 35}}},
      {kAxe, {"the blow's aerial technique", 54, Air({.kind = T, .value = 81}), {.state = 81}}},
      {kAxe, {"the third step takes no press", 29, {.presses = 1}, {.state = 30, .presses = 1}}},
      {kAxe, {"the landing of 33 takes a hold", 34, {.kind = H}, {.state = 31}}},
      {kAxe, {"the landing of 59 a ground technique", 60, {.kind = T, .value = 63}, {.state = 63}}},
      // Type 6: a technique refuses its own skill.
      {kMace, {"its own tap", 41, {.kind = T, .value = 41}, {.state = 42}}},
      {kMace, {"its own hold", 43, {.kind = T, .value = 41}, {.state = 44}}},
      {kMace, {"another technique", 41, {.kind = T, .value = 45}, {.state = 45}}},
      {kMace, {"a technique's hold", 57, {.kind = H}, {.state = 31}}},
      // Type 7: the top of 2703.
      {kHammer, {"2705 tapped at 54", 54, Air({.kind = T, .value = 63}), {.state = 63}}},
      {kHammer, {"2705 held at 57", 57, Air({.kind = T, .value = 65}), {.state = 65}}},
      {kHammer, {"a press", 54, Air({.presses = 1}), {.state = 33}}},
      {kHammer, {"a hold", 57, Air({.kind = H, .height = 0.5f}), {.state = 35}}},
      {kHammer, {"nothing", 54, Air({}), {.state = 55}}},
      {kHammer, {"nothing at 57", 57, Air({}), {.state = 58}}},
      {kHammer, {"then a fall", 55, Air({}), {.mode = 5}}},
      // Type 8: only a landed hit continues the air combo; the ground ends it at once.
      {kDaggers, {"a miss recovers despite presses", 37, Air({.presses = 2}), {.state = 38, .presses = 2}}},
      {kDaggers, {"and falls", 38, Air({.presses = 2}), {.mode = 5}}},
      {kDaggers, {"a hit continues", 39, Air({.flag = true}), {.state = 41}}},
      {kDaggers, {"a low hold is spent", 37, Air({.kind = H, .flag = true, .height = kAtTheEdge}), {.state = 37}}},
      {kDaggers, {"a high hold", 41, Air({.kind = H}), {.state = 43}}},
      {kDaggers, {"landing in 37", 37, {.presses = 1, .flag = true, .ended = false}, {.mode = 6, .flag = true}}},
      {kDaggers, {"landing in 38", 38, {.ended = false}, {.mode = 6}}},
      {kDaggers, {"landing in 40", 40, {.ended = false}, {.mode = 6}}},
      {kDaggers, {"landing in 42", 42, {.ended = false}, {.mode = 6}}},
      {kDaggers, {"landing in 83", 83, {.ended = false}, {.mode = 6}}},
      {kDaggers, {"landing in 86", 86, {.ended = false}, {.mode = 6}}},
      {kDaggers, {"2804's top takes a press", 66, Air({.presses = 1, .flag = true}), {.state = 37}}},
      {kDaggers, {"and a low hold", 69, Air({.kind = H, .height = 0.5f}), {.state = 43}}},
      // Type 10: the top of the launch, and 3006's hang.
      {kKnuckles, {"the launch takes off", 31, {}, {.state = 32}}},
      {kKnuckles, {"its top without input", 32, Air({}), {.state = 33}}},
      {kKnuckles, {"then a fall", 33, Air({}), {.mode = 5}}},
      {kKnuckles, {"its top's press", 32, Air({.presses = 1, .flag = true}), {.state = 34}}},
      {kKnuckles, {"its top's hold", 32, Air({.kind = H, .height = 0.5f}), {.state = 40}}},
      {kKnuckles, {"its top's aerial technique", 32, Air({.kind = T, .value = 72}), {.state = 72}}},
      {kKnuckles, {"not a ground one", 32, Air({.kind = T, .value = 46}), {.state = 33}}},
      {kKnuckles, {"a combo step's hold launches", 27, {.kind = H}, {.state = 31}}},
      {kKnuckles, {"so does a technique's", 46, {.kind = H}, {.state = 31}}},
      {kKnuckles, {"a recovery drops it", 26, {.kind = H}, {.mode = 0}}},
      {kKnuckles, {"the hang ends", 70, Air({}), {.state = 71}}},
      {kKnuckles, {"the air combo's hit", 34, Air({.flag = true}), {.state = 36}}},
      {kKnuckles, {"the air combo's miss", 36, Air({}), {.state = 37}}},
  };
  CheckAll(0, cases);
}

TEST_F(HeroStylesTest, LandedHitsRecoilOrStickPiecesAsEachStyleDoes) {
  fieldscenetest::TestPlayer target(2, 0, fieldLog);
  target.GetFrame()->SetPositionXYZ(1, 0.5f, -3);
  const struct {
    uint32_t weapon;
    int32_t kind;
    float hop;  // 0: no recoil
    bool piece;
  } cases[] = {
      {kGreatSword, 1, 0.05f, false}, {kGreatSword, 3, 0.07f, false}, {kGreatSword, 4, 0, false},
      {kGreatSword, 5, 0, false},     {kAxe, 1, 0, false},            {kAxe, 4, 0, true},
      {kMace, 2, 0, false},           {kMace, 5, 0, true},            {kHammer, 1, 0, false},
      {kHammer, 4, 0, false},         {kHammer, 5, 0, false},         {kDaggers, 2, 0.06f, false},
      {kDaggers, 4, 0, true},         {kKnuckles, 1, 0.05f, false},   {kKnuckles, 5, 0, true},
      {kSpear, 5, 0, true},
  };
  for (const auto& c : cases) {
    Wield(c.weapon);
    const std::string what = std::to_string(c.weapon) + " kind " + std::to_string(c.kind);
    style->ClearHits();
    style->PushHit(1);
    style->SetAirCombo(false);
    probe->Velocity().y = -0.3f;
    const size_t live = field->GetEffectManager()->GetLiveCount();
    style->OnHitLanded(target, c.kind, 9, 0);
    EXPECT_FLOAT_EQ(probe->Velocity().y, c.hop ? c.hop : -0.3f) << what;
    EXPECT_EQ(field->GetEffectManager()->GetLiveCount(), live + (c.piece ? 1 : 0)) << what;
    // Kinds 1 and 2 take the press to keep an air combo going, in the styles that recoil.
    const bool keeps = c.hop != 0 && c.kind <= 2;
    EXPECT_EQ(style->GetQueue().GetCount(), keeps ? 0u : 1u) << what;
    EXPECT_EQ(style->HasAirCombo(), keeps) << what;
  }
  // The styles without the flag never hold it.
  for (uint32_t weapon : {kAxe, kMace, kHammer}) {
    Wield(weapon);
    style->SetAirCombo(true);
    EXPECT_FALSE(style->HasAirCombo()) << weapon;
  }
}

TEST_F(HeroStylesTest, AHeldTechniqueLatchedDuringAnActionKeepsItsStateWhateverItsSubKind) {
  Wield(kSpear);
  for (uint32_t skill : {2102u, 2104u}) {
    SetRingSkill(skill);
    style->ChangeState(25);
    style->SetHoldCounterB(20);
    SetWords({0, 0, B, B});
    style->DispatchButtons();
    uint32_t value = 0;
    EXPECT_EQ(Latched(value), T) << skill;
    EXPECT_EQ(value, static_cast<uint32_t>(style->StateForTechnique(skill, true))) << skill;
  }
}

TEST_F(HeroStylesTest, TypeFivesLandingAttacksHoldTheirLastFrameUntilTheGroundAndALowHoldIsSpent) {
  Wield(kAxe);
  const std::pair<int32_t, int32_t> landings[] = {{33, 34}, {35, 36}, {59, 60}, {61, 62}, {81, 82}, {83, 84}};
  for (const auto& [state, landing] : landings) {
    style->ChangeState(state);
    Stand(P::kActionMode, 2.0f, false);
    EndMotion();
    const float last = style->GetModel()->GetMotionTime();
    for (int t = 0; t < 5; ++t) probe->RunOnce();
    EXPECT_EQ(style->GetActionState(), state);
    EXPECT_EQ(style->GetModel()->GetMotionTime(), last) << state << ": held on its last frame";
    probe->SetGround(true);
    probe->RunOnce();
    EXPECT_EQ(style->GetActionState(), landing);
  }

  // A hold in a low jump fires for nothing, and its release starts no air attack.
  EXPECT_EQ(After(4, kAtTheEdge, A, true), kNone);
  EXPECT_EQ(style->GetHoldCounterA(), P::kHoldSpent);
  SetWords({0, 0, 0, A});
  style->DispatchButtons();
  EXPECT_EQ(Started(), kNone);
  EXPECT_EQ(style->GetHoldCounterA(), 0u);
  EXPECT_EQ(style->GetQueue().GetCount(), 0u);
}

TEST_F(HeroStylesTest, TypeSixsTechniqueTappedInTheAirAttackStartsAtTheEndOfItsLanding) {
  Wield(kMace);
  SetRingSkill(2601);
  style->ChangeState(33);
  Stand(P::kActionMode, 2.0f, false);
  SetWords({0, 0, 0, B});
  style->SetHoldCounterB(1);
  style->DispatchButtons();
  for (int t = 0; t < 30; ++t) probe->RunOnce();
  EXPECT_EQ(style->GetActionState(), 33) << "until it lands";
  probe->SetGround(true);
  probe->RunOnce();
  ASSERT_EQ(style->GetActionState(), 34);
  RunState();
  EXPECT_EQ(style->GetActionState(), 45);
}

TEST_F(HeroStylesTest, TypeEightsAirComboGoesOnOnlyForAHitThatFindsAPressWaiting) {
  fieldscenetest::TestPlayer target(2, 0, fieldLog);
  Wield(kDaggers);
  struct Case {
    bool pressBefore, hit, pressAfter;
    int32_t next;
  } cases[] = {{true, true, false, 39}, {false, true, true, 38}, {true, false, false, 38}};
  for (const Case& c : cases) {
    style->ClearHits();
    style->ChangeState(37);
    Stand(P::kActionMode, 2.0f, false);
    if (c.pressBefore) style->PushHit(1);
    if (c.hit) style->OnHitLanded(target, 1, 5, 0);
    if (c.pressAfter) style->PushHit(1);
    EndMotion();
    probe->RunOnce();
    EXPECT_EQ(style->GetActionState(), c.next) << c.pressBefore << c.hit << c.pressAfter;
  }

  // A hold fired too low during 37: the flag goes at once, the recovery a tick later.
  style->ChangeState(37);
  Stand(P::kActionMode, kAtTheEdge, false);
  style->SetAirCombo(true);
  style->SetHoldCounterA(20);
  SetWords({0, 0, A, A});
  style->DispatchButtons();
  EndMotion();
  probe->RunOnce();
  EXPECT_EQ(style->GetActionState(), 37);
  EXPECT_FALSE(style->HasAirCombo());
  probe->RunOnce();
  EXPECT_EQ(style->GetActionState(), 38);
}

TEST_F(HeroStylesTest, TypeTensLaunchCarriesABufferedPressIntoTheAirComboAndItsHangHoldsTheHeight) {
  fieldscenetest::TestPlayer target(2, 0, fieldLog);
  Wield(kKnuckles);
  // The second press continues only for a kind-1 or kind-2 hit of 34 while it waits.
  const struct {
    int32_t hitKind;  // 0: none
    bool pressFirst;
    int32_t next;
  } cases[] = {{1, true, 36}, {2, true, 36}, {3, true, 35}, {0, true, 35}, {1, false, 35}};
  for (const auto& c : cases) {
    style->ClearHits();
    style->ChangeState(31);
    Stand(P::kActionMode, 0, true);
    style->PushHit(1);
    RunState();
    ASSERT_EQ(style->GetActionState(), 32);
    EXPECT_FLOAT_EQ(probe->Gravity(), -0.007f);
    EXPECT_FLOAT_EQ(probe->Velocity().y, 0.18f);
    Stand(P::kActionMode, 2.0f, false);
    EndMotion();
    probe->RunOnce();
    ASSERT_EQ(style->GetActionState(), 34) << "the buffered press at the top";
    EXPECT_EQ(style->GetQueue().GetCount(), 0u);
    if (c.pressFirst) style->PushHit(1);
    if (c.hitKind) style->OnHitLanded(target, c.hitKind, 5, 0);
    if (!c.pressFirst) style->PushHit(1);
    EndMotion();
    probe->RunOnce();
    EXPECT_EQ(style->GetActionState(), c.next) << c.hitKind << c.pressFirst;
  }

  // 3006 latched during the launch starts at its top, and hangs until its motion ends.
  style->ClearHits();
  style->ChangeState(31);
  Stand(P::kActionMode, 0, true);
  style->PostCommand(T, 70);
  RunState();
  Stand(P::kActionMode, 2.0f, false);
  EndMotion();
  probe->RunOnce();
  ASSERT_EQ(style->GetActionState(), 70);
  probe->Velocity().y = -0.2f;
  probe->RunOnce();
  EXPECT_EQ(probe->Velocity().y, 0.0f);
  EndMotion();
  probe->RunOnce();
  EXPECT_EQ(style->GetActionState(), 71);
}

}  // namespace
