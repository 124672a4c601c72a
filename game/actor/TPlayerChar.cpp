#include "game/actor/TPlayerChar.h"

#include <bit>
#include <cmath>

#include "common/Truncate.h"
#include "game/actor/CharTables.h"
#include "game/actor/PlayerFoe.h"
#include "game/actor/PlayerHud.h"
#include "game/actor/TPlayerFactory.h"
#include "game/data/GameGlobals.h"
#include "game/data/HeroTextures.h"
#include "game/data/TGameData.h"
#include "game/data/THrdefTable.h"
#include "game/effect/TAfterImage.h"
#include "game/effect/TEffectManager.h"
#include "game/effect/TimeStopState.h"
#include "game/field/FieldHud.h"
#include "game/field/TFieldScene.h"
#include "game/shell/TGameWnd.h"
#include "game/shell/TInput.h"

using plat::D3DXMATRIX;
using plat::D3DXVECTOR3;

namespace {

constexpr float kGroundSink = 0.01f;  // how far the body sits into the ground it stands on
constexpr float kHighAboveGround = 1.4f;
constexpr int32_t kSaveSound = 503;
constexpr int32_t kStepSounds[] = {1000, 1500};
constexpr uint32_t kDustSurface = 7;
constexpr int32_t kDustEffect = 35;
constexpr float kDustLift = 0.02f;
constexpr int32_t kHeroDownVoice = 106, kHeroineDownVoice = 1100;
constexpr int32_t kHeroineVoices = 1000;
constexpr int32_t kEnemyTargetCount = 2;
constexpr float kEnemyTargetDepth[kEnemyTargetCount] = {-0.8f, -1.8f};
constexpr uint32_t kHeroFaceFlag = 560, kHeroineFaceFlag = 561;
constexpr uint32_t kFaceVariants = 3;

TActorStats StatsOf(const TCharBlock& block) {
  TActorStats s;
  s.maxHp = block.maxHp;
  s.hp = block.hp;
  s.maxSp = block.maxMp;
  s.sp = block.mp;
  s.params = block.params;
  s.elements = block.elements;
  return s;
}

int32_t TimerOf(const TCharBlock& block, int32_t k) { return static_cast<int32_t>(block.timers[k]); }

TGameData* Data() { return TGameData::Instance(); }

bool InMembers(uint32_t member) { return member < static_cast<uint32_t>(TGameData::kMembers); }

TCountedPtr<TPlayerHud> HudFor(TFieldScene& scene, TPlayerChar& player) {
  if (auto* maker = dynamic_cast<TPlayerHudMaker*>(scene.GetHud()))
    if (TCountedPtr<TPlayerHud> hud = maker->MakePlayerHud(player)) return hud;
  return MakeSilentPlayerHud();
}

}  // namespace

// --- life ----------------------------------------------------------------------------------------

TPlayerChar::TPlayerChar(TFieldScene& scene, uint32_t partyMember, const TCharBlock& block, const std::string& model,
                         uint32_t queueCapacity)
    : TActor(kPlayerKind, kBodyHeight, kShadowSize, 1, 1, kGravity, StatsOf(block), model),
      member(partyMember),
      ringPointsMax(block.ringGaugeMax),
      ringPointsUsed(block.ringGaugeUsed),
      queue(queueCapacity),
      level(block.level),
      experience(block.experience),
      boostA(this, 0),
      boostB(this, 0),
      poison(this, TimerOf(block, kPoison)),
      drain(this, TimerOf(block, kDrain)),
      reversal(0, TimerOf(block, kReversal)),
      holdBlock(0, TimerOf(block, kHoldBlock)),
      slow(0, TimerOf(block, kSlow)),
      skillBlock(0, TimerOf(block, kSkillBlock)),
      sounds(THrdefTable::Find(member)->tableName),
      input(scene.GetApp().GetInput()),
      modelName(model),
      styleModel(model) {
  savedOrientation = IdentityMatrix();
  enemyTarget0 = CreateNamedFrame("enemyTarget0", IdentityMatrix());
  enemyTarget1 = CreateNamedFrame("enemyTarget1", IdentityMatrix());
  const TCountedPtr<TFrame8>* targets[kEnemyTargetCount] = {&enemyTarget0, &enemyTarget1};
  for (int32_t k = 0; k < kEnemyTargetCount; ++k) {
    (*targets[k])->SetPositionXYZ(0, 0, kEnemyTargetDepth[k]);
    frame->AddChild(*targets[k]);
  }
  expTable = ReadCharTable(GetDataFolder() + "ex.tbl");
  abilityTable = ReadCharTable(GetDataFolder() + "abp.tbl");
  hud = HudFor(scene, *this);
  if (TGameData* data = Data()) hud->SetSkillRingCursor(data->GetSkillRingCursor());
}

TPlayerChar::~TPlayerChar() {
  if (TGameData* data = Data()) data->SetSkillRingCursor(hud->GetSkillRingCursor());
}

void TPlayerChar::EquipFromBlock(const TCharBlock& block) {
  trailA = TAfterImage::Create(*GetLeftWeaponFrame(), *this);
  trailB = TAfterImage::Create(*GetRightWeaponFrame(), *this);
  SetWeapon(block.weaponId);
  SetEquipSlot(TAccessoryTable::GetShared(block.accessoryA), 'A');
  SetEquipSlot(TAccessoryTable::GetShared(block.accessoryB), 'B');
}

// --- the stage -----------------------------------------------------------------------------------

void TPlayerChar::Attach(TStageLinks* newStage) {
  TActor::Attach(newStage);
  atSavePoint = 0;
  for (TAfterImage* trail : {trailA.get(), trailB.get()})
    if (trail) trail->Attach(*sceneFrame);
  hud->RefreshGauge();
  hud->ResetItemRing();
  hud->RefreshSkillRing();
  hud->AttachStatusIcons();
  ClearCommand();
  ClearHits();
  Reset();
  UpdateWeaponFrames();
  SetMode(0);
  referenceFrame = newStage->GetViewFrame();
}

void TPlayerChar::Detach() {
  TActor::Detach();
  hud->DetachStatusIcons();
  atSavePoint = 0;
  for (TAfterImage* trail : {trailA.get(), trailB.get()})
    if (trail) trail->Detach();
  enemyHandle.Reset();
  sceneFrame = nullptr;
  referenceFrame = nullptr;
}

void TPlayerChar::PlaceAt(const D3DXVECTOR3& point, const D3DXVECTOR3& lookAt) {
  const D3DXVECTOR3 up(0, 1, 0);
  SetPosition(point);
  frame->LookAt(lookAt, up);
  groundHeight = point.y + kGroundSink;
  groundNormal = up;
  shadowFrame->LookAt(D3DXVECTOR3(0, 0, 1), up);
  shadowFrame->SetPosition(point);
  shadowFrame->Translate(0, kGroundSink, 0, true);
}

void TPlayerChar::SnapToGround() {
  // Only a body standing on the ground is held to it; one in the air keeps its course.
  if (!landed) return;
  D3DXVECTOR3 ground;
  shadowFrame->GetPosition(&ground);
  ground.y = groundHeight;
  shadowFrame->SetPosition(ground);
  D3DXVECTOR3 body = GetPosition();
  body.y = groundHeight - kGroundSink;
  SetPosition(body);
}

bool TPlayerChar::IsHighAboveGround() { return std::fabs(GetPosition().y - groundHeight) > kHighAboveGround; }

TPlayerCarry TPlayerChar::SaveState() const {
  TPlayerCarry carry;
  carry.matrix = *frame->GetMatrix();
  carry.motionTime = model->GetMotionTime();
  carry.mode = mode;
  carry.gravity = gravity;
  carry.velocity = velocity;
  carry.groundLevel = groundHeight;
  carry.groundNormal = groundNormal;
  return carry;
}

void TPlayerChar::RestoreState(const TPlayerCarry& carry) {
  frame->SetMatrix(carry.matrix);
  SetMode(static_cast<int32_t>(carry.mode));
  model->SetMotionTime(carry.motionTime);
  gravity = carry.gravity;
  velocity = carry.velocity;
  groundHeight = carry.groundLevel;
  groundNormal = carry.groundNormal;
  UpdateShadow();
  UpdateWeaponFrames();
}

TPlayerState TPlayerChar::GetState() const {
  TPlayerState s;
  s.member = member;
  s.level = level;
  s.experience = experience;
  s.maxHp = maxHp;
  s.hp = hp;
  s.maxMp = maxSp;
  s.mp = sp;
  s.ringGaugeMax = ringPointsMax;
  s.ringGaugeUsed = ringPointsUsed;
  s.params = params;
  s.elements = elements;
  s.weaponId = GetWeaponId();
  s.accessoryA = accessoryA ? accessoryA->id : 0;
  s.accessoryB = accessoryB ? accessoryB->id : 0;
  for (int32_t k = 0; k < kAilmentCount; ++k) s.timers[k] = static_cast<uint32_t>(std::max(GetAilmentFrames(k), 0));
  for (size_t k = 0; k < bestCombos.size(); ++k) s.bestCombos[k] = static_cast<uint32_t>(bestCombos[k]);
  return s;
}

void TPlayerChar::StoreState() const {
  if (TGameData* data = Data()) data->StorePlayerState(GetState());
}

// --- per tick ------------------------------------------------------------------------------------

uint32_t TPlayerChar::GetButtons(size_t age) const { return input ? input->GetButtons(age) : 0; }

void TPlayerChar::SetButtons(size_t age, uint32_t word) {
  if (input) input->SetButtons(age, word);
}

uint32_t TPlayerChar::HideButtons() {
  const uint32_t word = GetButtons(0);
  SetButtons(0, word & ~kLowButtons);
  return word & kLowButtons;
}

void TPlayerChar::RunMode() {
  if (modeRow && modeRow->handler) (this->*modeRow->handler)(*modeRow);
}

void TPlayerChar::Update() {
  uint32_t kept = 0;
  if (GetTimeStop()) kept = HideButtons();
  UpdateChildren();
  UpdateEnemyHandle();
  if (hud->StepItemRing()) kept = HideButtons();
  DispatchButtons();
  CheckDoubleTap();
  CheckFall();
  CheckJump();
  RunPatternEvents();
  if (!GetTimeStop()) RunMode();
  PostUpdate();
  if (!GetTimeStop() && kept) SetButtons(0, (GetButtons(0) & ~kLowButtons) | kept);
  ApplyTimeStop(*frame);
}

void TPlayerChar::UpdateWithoutButtons() {
  uint32_t kept = stage && stage->IsEventRunning() ? HideButtons() : 0;
  if (hud->StepItemRing()) kept = HideButtons();
  UpdateChildren();
  CheckDoubleTap();
  CheckFall();
  CheckJump();
  RunPatternEvents();
  RunMode();
  hud->UpdateGauge();
  hud->HandleSkillRingInput();
  hud->UpdateStatusIcons();
  hud->UpdateMessages();
  UpdateTimers();
  if (kept) SetButtons(0, (GetButtons(0) & ~kLowButtons) | kept);
}

void TPlayerChar::PostUpdate() {
  hud->UpdateGauge();
  hud->HandleSkillRingInput();
  TActor::PostUpdate();
  if (weaponA && trailA) trailA->Update();
  if (weaponB && trailB) trailB->Update();
  if (TGameData* data = Data(); data && InMembers(member)) data->GetTimedModifier(member).Tick();
  hud->UpdateStatusIcons();
  hud->UpdateMessages();
  UpdateTimers();
}

void TPlayerChar::UpdateTimers() {
  if (!boostA.Tick()) boostA.Clear();
  if (!boostB.Tick()) boostB.Clear();
  if (!poison.TickPoison()) poison.Clear();
  if (!drain.TickDrain()) drain.Clear();
  for (TShortTimer* timer : {&reversal, &holdBlock, &slow, &skillBlock})
    if (!timer->Tick()) timer->Clear();
}

int32_t TPlayerChar::GetAilmentFrames(int32_t ailment) const {
  switch (ailment) {
    case kPoison: return poison.GetFramesLeft();
    case kDrain: return drain.GetFramesLeft();
    case kReversal: return reversal.GetFramesLeft();
    case kHoldBlock: return holdBlock.GetFramesLeft();
    case kSlow: return slow.GetFramesLeft();
    case kSkillBlock: return skillBlock.GetFramesLeft();
    default: return 0;
  }
}

void TPlayerChar::ClearAilment(int32_t ailment) {
  switch (ailment) {
    case kPoison: return poison.Clear();
    case kDrain: return drain.Clear();
    case kReversal: return reversal.Clear();
    case kHoldBlock: return holdBlock.Clear();
    case kSlow: return slow.Clear();
    case kSkillBlock: return skillBlock.Clear();
    default: return;
  }
}

float TPlayerChar::PatternDisplacementScale() { return slow.IsRunning() && mode >= 1 && mode <= 3 ? 0.5f : 1.0f; }

// --- modes ---------------------------------------------------------------------------------------

void TPlayerChar::SetMode(int32_t newMode) {
  if (newMode >= 0 && newMode <= 3) lastMovementMode = static_cast<uint32_t>(newMode);
  TActor::SetMode(newMode);
  modeRow = newMode >= 0 && newMode < kModeCount ? &BaseModeTable()[static_cast<size_t>(newMode)] : nullptr;
  model->SetMotion(static_cast<uint32_t>(newMode));
}

void TPlayerChar::Reset() {
  TActor::Reset();
  ClearCommand();
  SetMode(0);
}

bool TPlayerChar::QueryStateA() const { return mode == kActionMode && (actionState < 5 || actionState > 24); }

bool TPlayerChar::IsFreeForAction() { return mainState == 1 && mode != 17 && mode != 18; }

// --- values --------------------------------------------------------------------------------------

// The game computes in single precision, each step rounded to float: widened to double, 0.06 x 50
// lands just under 3, and the skill's point is lost in the truncation.
int32_t TPlayerChar::ParamOf(int32_t k) {
  TGameData* data = Data();
  const float rate = data ? data->GetBonusRate(k) : 0.0f;
  const auto p = static_cast<float>(params[static_cast<size_t>(k)]);
  float value = rate * p + p;
  if (data && InMembers(member))
    value += static_cast<float>(data->GetTimedModifier(member).GetValues()[static_cast<size_t>(k)]);
  for (const TCountedPtr<TAccessoryEquip>* slot : {&accessoryA, &accessoryB}) {
    if (!*slot) continue;
    if (k == 1) value += static_cast<float>((*slot)->physicalDefence);
    if (k == 3) value += static_cast<float>((*slot)->magicDefence);
  }
  return TruncateToInt(value);
}

float TPlayerChar::ElementOf(int32_t k) {
  const TGameData* data = Data();
  const float e = elements[static_cast<size_t>(k)];
  const float r = data ? data->GetBonusRate(4 + k) : 0.0f;
  // e - a - b - r x e in this order: each step rounds to float.
  float v = e;
  for (const TCountedPtr<TAccessoryEquip>* slot : {&accessoryA, &accessoryB})
    if (*slot) v -= (*slot)->elementDefences[static_cast<size_t>(k)];
  v -= r * e;
  return v < 0.0f ? 0.0f : v;
}

int32_t TPlayerChar::GetParamBonus(int32_t k) {
  if (k < 0 || k > 3) return 0;
  TGameData* data = Data();
  if (!data) return 0;
  const auto modifier =
      InMembers(member) ? static_cast<float>(data->GetTimedModifier(member).GetValues()[static_cast<size_t>(k)]) : 0.0f;
  return TruncateToInt(data->GetBonusRate(k) * static_cast<float>(params[static_cast<size_t>(k)]) + modifier);
}

bool TPlayerChar::HasTimedModifier() const {
  TGameData* data = Data();
  return data && InMembers(member) && data->GetTimedModifier(member).IsActive();
}

void TPlayerChar::TakeTimedModifier(const TCountedPtr<TItemEffect>& effect) {
  if (TGameData* data = Data(); data && InMembers(member)) data->GetTimedModifier(member).Assign(effect);
}

// --- sounds --------------------------------------------------------------------------------------

void TPlayerChar::PlaySe(int32_t id) {
  if (id == kStepSounds[0] || id == kStepSounds[1]) {
    if (surfaceCode == kDustSurface && effectManager && sceneFrame) {
      D3DXVECTOR3 at = GetPosition();
      at.y += kDustLift;
      TEffectStage* context = stage ? stage->GetEffectStage() : nullptr;
      effectManager->Spawn(kDustEffect, at, D3DXVECTOR3(0, 1, 0), *sceneFrame, context,
                           plat::D3DCOLORVALUE{0.4f, 0.35f, 0.15f, 1.0f}, D3DXVECTOR3(1, 1, 1));
    }
    id += static_cast<int32_t>(surfaceCode);
  }
  sounds.PlaySe(id);
}

void TPlayerChar::PlayVoice(int32_t id) {
  if (voiceTimer > 0) return;
  if (member == kHeroine) id += kHeroineVoices;
  voiceTimer = sounds.PlayVoice(id);
}

void TPlayerChar::PlayDownVoice() {
  voiceTimer = sounds.PlayVoice(member == kHeroine ? kHeroineDownVoice : kHeroDownVoice);
}

// --- the enemy -----------------------------------------------------------------------------------

void TPlayerChar::SetEnemyHandle(const TCountedPtr<TPlayerFoe>& handle) {
  if (handle.Get() != enemyHandle.Get()) enemyHandle = handle;
  enemyHandleTimer = 200;
}

void TPlayerChar::UpdateEnemyHandle() {
  if (--enemyHandleTimer >= 0) return;
  enemyHandle.Reset();
  enemyHandleTimer = -1;
}

void TPlayerChar::ShowEnemyPanel(const TPlayerFoe& enemy) {
  const std::array<int32_t, 2> values = enemy.GetPanelValues();
  hud->ShowEnemyPanel(520, 140, values[0], values[1]);
}

void TPlayerChar::KeepBestCombo(const TPlayerFoe& enemy) {
  const std::array<int32_t, 4> records = enemy.GetComboRecords();
  for (size_t k = 0; k < bestCombos.size(); ++k) bestCombos[k] = std::max(bestCombos[k], records[k]);
}

// --- equipment and models ------------------------------------------------------------------------

uint32_t TPlayerChar::GetWeaponId() const {
  if (weaponB) return weaponB->id;
  return weaponA ? weaponA->id : 0;
}

void TPlayerChar::SetWeapon(uint32_t id) {
  const uint32_t type = TWeaponTable::Find(id)->type;
  TCountedPtr<TWeaponEquip> first, second;
  switch (type) {
    case 2:
      first = TWeaponTable::GetShared(id);
      second = TWeaponTable::GetShared(id);
      break;
    case 8:
      first = TWeaponTable::GetShared(id + 10000);
      second = TWeaponTable::GetShared(id);
      break;
    case 3:
    case 4:
    case 10:
    case 11: first = TWeaponTable::GetShared(id); break;
    default: second = TWeaponTable::GetShared(id); break;
  }
  SetWeaponRecord(first);
  SetSecondWeaponRecord(second);
}

void TPlayerChar::StartTrail(TAfterImage* trail, const TWeaponEquip& record) {
  if (!trail) return;
  // The second value's bits are the blade's length.
  trail->Start(std::bit_cast<float>(record.secondValue), record.red, record.green, record.blue,
               static_cast<int32_t>(record.element));
}

void TPlayerChar::AttachWeaponModel(TFrame8& weaponFrame, const TCountedPtr<TWeaponEquip>& record) {
  weaponFrame.RemoveMeshes();
  if (record && record->mesh) weaponFrame.AddMesh(*record->mesh);
}

void TPlayerChar::SetWeaponRecord(const TCountedPtr<TWeaponEquip>& record) {
  if (record.Get() != weaponA.Get()) weaponA = record;
  if (weaponA) StartTrail(trailA.get(), *weaponA);
  AttachWeaponModel(*GetLeftWeaponFrame(), weaponA);
}

void TPlayerChar::SetSecondWeaponRecord(const TCountedPtr<TWeaponEquip>& record) {
  if (record.Get() != weaponB.Get()) weaponB = record;
  if (weaponB) StartTrail(trailB.get(), *weaponB);
  AttachWeaponModel(*GetRightWeaponFrame(), weaponB);
}

void TPlayerChar::SetEquipSlot(const TCountedPtr<TAccessoryEquip>& record, char slot) {
  TCountedPtr<TAccessoryEquip>& held = slot == 'A' ? accessoryA : accessoryB;
  if (record.Get() != held.Get()) held = record;
}

uint16_t TPlayerChar::GetWeaponPoints() const {
  const TGameData* data = Data();
  return data ? data->GetCharBlock(member).PointsOf(GetWeaponId()) : 0;
}

uint16_t TPlayerChar::GetEquipPoints(char slot) const {
  const TGameData* data = Data();
  const TCountedPtr<TAccessoryEquip>& record = GetEquipSlot(slot);
  return data && record ? data->GetCharBlock(member).PointsOf(record->id) : 0;
}

void TPlayerChar::SetFaceVariant(uint32_t variant) {
  TGameData* data = Data();
  if (!data) return;
  data->SetFlag(member == kHeroine ? kHeroineFaceFlag : kHeroFaceFlag,
                static_cast<uint8_t>(variant < kFaceVariants ? variant : 0));
  SelectHeroTextures(*model);
}

void TPlayerChar::SwapBodyModel(const std::string& name) {
  // Both files are read before anything changes, so a missing one leaves the old model.
  TPatternInfo newPattern(name + ".pat");
  TMesh8 mesh = TMesh8::Load(TGameObject::GetFolder() + name + ".tob");
  MoveWindowFacesLast(mesh);
  mesh.SetName(name);
  mesh.SetRenderMode(kModelRenderMode, TMesh8::kAllParts);
  frame->RemoveMeshes();
  frame->AddMesh(mesh);
  model = frame->FindMesh(name, false);
  pattern = newPattern;
  modelName = name;
}

void TPlayerChar::LoadModel() {
  if (weaponModelShown) return;
  std::string name = StyleModelOf(member, TWeaponTable::Find(GetWeaponId())->type);
  // A weapon no style of the member holds keeps the model the character was made with.
  if (name.empty()) name = styleModel;
  SwapBodyModel(name);
  weaponModelShown = 1;
  SetWeapon(GetWeaponId());
  SetEquipSlot(GetEquipSlot('A'), 'A');
  SetEquipSlot(GetEquipSlot('B'), 'B');
}

void TPlayerChar::LoadMemberModel() {
  if (!weaponModelShown) return;
  SwapBodyModel(THrdefTable::Find(member)->modelName);
  weaponModelShown = 0;
  GetLeftWeaponFrame()->RemoveMeshes();
  GetRightWeaponFrame()->RemoveMeshes();
}

// --- save points ---------------------------------------------------------------------------------

bool TPlayerChar::EnterSavePoint(int32_t id) {
  savePointId = id;
  if (atSavePoint) return false;
  atSavePoint = 1;
  PlaySe(kSaveSound);
  return true;
}

void TPlayerChar::LeaveSavePoint() {
  atSavePoint = 0;
  savePointId = -1;
}

// --- the HUD pass --------------------------------------------------------------------------------

void TPlayerChar::DrawHud() {
  hud->DrawParts();
  for (const TCountedPtr<TPlayerHudItem>& child : children) child->Draw();
  hud->DrawMessages();
}
