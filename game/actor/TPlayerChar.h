// The character the player steers on the field: the base of the twelve fighting styles. It holds
// what every style shares: the party member shown, the equipped weapons and accessories with the
// values they give, the character's sounds and voices, the pad turned into commands (the command
// latch, the hold counters, the buffered attack presses, the double tap, jumping and falling), the
// eight status timers, the enemy being fought, experience and level-ups with their notices, and the
// per-tick work around the current movement mode. The field scene owns the one player character;
// the factory (TPlayerFactory.h) makes it in the style of the member's weapon.
#pragma once
#include <array>
#include <cstdint>
#include <deque>
#include <list>
#include <memory>
#include <span>
#include <string>
#include <vector>

#include "common/TCountedPtr.h"
#include "game/actor/GainNotice.h"
#include "game/actor/SkillRows.h"
#include "game/actor/TActor.h"
#include "game/actor/TAttackQueue.h"
#include "game/actor/TCharSoundLists.h"
#include "game/actor/TStatusTimer.h"
#include "game/data/TAccessoryTable.h"
#include "game/data/TCharBlock.h"
#include "game/data/TWeaponTable.h"
#include "game/field/StagePlayer.h"

class TAfterImage;
class TFieldScene;
class TInput;
class TItemEffect;
class TPlayerFoe;
class TPlayerHud;
class TPlayerHudItem;

class TPlayerChar : public TActor, public TStagePlayer {
 public:
  struct TModeRow;
  struct TStateRow;
  // A row's handler runs every tick with its row, whose values it reads.
  using ModeHandler = void (TPlayerChar::*)(const TModeRow&);
  using StateHandler = void (TPlayerChar::*)(const TStateRow&);
  // A skill's step: the skill table's row that RunSkill runs once a tick while the skill lasts.
  using SkillStep = const TSkillRow*;

  // Buttons of the input words.
  static constexpr uint32_t kDirections = 0x0F;
  static constexpr uint32_t kUp = 0x1, kDown = 0x2, kLeft = 0x4, kRight = 0x8;
  static constexpr uint32_t kButtonA = 0x10, kButtonB = 0x20, kButtonC = 0x40;
  static constexpr uint32_t kRingButton = 0x80, kMenuButton = 0x100;
  static constexpr uint32_t kLowButtons = 0xFFFF;

  static constexpr uint32_t kPlayerKind = 1;
  static constexpr float kBodyHeight = 0.5f;
  static constexpr float kShadowSize = 1.0f;
  static constexpr float kGravity = -0.01f;
  static constexpr uint32_t kQueueCapacity = 10;
  static constexpr uint32_t kHoldSpent = 0xFFFFFFFFu;
  static constexpr int32_t kModeCount = 20;
  static constexpr int32_t kActionMode = 19;
  static constexpr uint32_t kHero = 0, kHeroine = 1;
  // Kinds of the latched command.
  static constexpr uint32_t kHoldCommand = 1, kStateCommand = 2;
  // The next-mode value that means the actor's reset (which stands the character up in mode 0).
  static constexpr int32_t kResetMode = -1;
  // Slides and drifts push along the body's z: its front is -z.
  static constexpr float kBackward = 1.0f, kForward = -1.0f;

  // The status timers that the member's block keeps, in its order.
  enum Ailment : int32_t { kPoison, kDrain, kReversal, kHoldBlock, kSlow, kSkillBlock, kAilmentCount };

  // One row of a mode table: what runs every tick while the character is in that mode.
  struct TModeRow {
    int32_t mode;
    ModeHandler handler;
    int32_t next = 0;       // the mode the handler moves on to (kResetMode: the actor's reset)
    float push = 0;         // slides and drifts: kBackward or kForward
    uint8_t atHitRate = 0;  // the motion runs at the rate the hit gave
  };
  using TModeTable = std::array<TModeRow, kModeCount>;
  // Modes 0-18, the movement modes, are the same in every style; mode 19 runs the action state.
  static const TModeTable& BaseModeTable();

  // One row of an action-state table, indexed by state: the motion the state plays and its
  // handler with the handler's values.
  struct TStateRow {
    uint32_t motion;
    StateHandler handler;
    int32_t next = 0;                            // the state that follows when no command is obeyed
    std::array<int32_t, 3> excluded{};           // state commands not obeyed here (0 never is)
    TStatusTimer TPlayerChar::*boost = nullptr;  // restarted when the motion ends
    int32_t hold = 0;                            // where a hold command leads (the style's hold state when 0)
    int32_t chain = 0;                           // where a buffered attack press (or a landed air hit) leads
    uint8_t steered = 0;                         // the pad moves the body while the state runs
    // Hovers: the vertical speed while the motion runs, whether a hold is obeyed only high above the
    // ground, and whether an air technique is obeyed.
    float sink = 0;
    uint8_t heightTested = 0;
    uint8_t airTechniques = 0;
  };
  static constexpr size_t kCommonStates = 25;
  // States 0-24, the head of every style's table: the skills being run, the five common skills and
  // their recoveries. A style's table repeats these rows first.
  static std::span<const TStateRow> CommonStateRows();

  // The model name + ".tob", ".pat" and ".wpm" (a missing file throws my_error), the member's
  // values from its block, the sound lists of the member's sound table, the experience and
  // ability-point tables of the table folder and the HUD that the scene's HUD makes. A style then
  // equips the character (EquipFromBlock).
  TPlayerChar(TFieldScene& scene, uint32_t member, const TCharBlock& block, const std::string& model,
              uint32_t queueCapacity = kQueueCapacity);
  // The skill ring's cursor goes back to the game-progress record.
  ~TPlayerChar() override;

  // --- the field's view ---------------------------------------------------------------------------
  TFieldActor& Actor() override { return *this; }
  bool IsMenuKeyTriggered() override;
  bool IsExamineKeyTriggered() override;
  void UpdateInTown() override { UpdateWithoutButtons(); }
  // While standing on the ground: the body 0.01 into the ground level, so the next collision step
  // finds it standing.
  void SnapToGround() override;
  void PlaceAt(const plat::D3DXVECTOR3& point, const plat::D3DXVECTOR3& lookAt) override;
  // The model of the equipped weapon's style, re-equipped; only after the plain model was shown.
  void LoadModel() override;
  void LoadPlainModel() override { LoadMemberModel(); }
  void DrawHud() override;
  uint32_t GetMember() const override { return member; }
  // The second weapon's when one is set, else the first's; 0 with neither.
  uint32_t GetWeaponId() const override;
  TPlayerState GetState() const override;
  // The live values into the member's block of the game-progress record.
  void StoreState() const;
  TPlayerCarry SaveState() const override;
  void RestoreState(const TPlayerCarry& carry) override;

  // --- slots of the game object and the actor -------------------------------------------------------
  // The tick every style runs (below the stage's menu check).
  void Update() override;
  bool IsAirborne() override { return mode == 4 || mode == 13; }
  void Attach(TStageLinks* stage) override;
  void Detach() override;
  // 1000 and 1500 take the ground's sound offset (a surface of 7 also raises dust).
  void PlaySe(int32_t id) override;
  // Nothing while a voice plays; the heroine's voices lie 1000 further.
  void PlayVoice(int32_t id) override;
  // Modes 0-3 are kept as the last movement mode; the mode's handler is installed and its motion
  // started.
  void SetMode(int32_t newMode) override;
  // Mode 19 with the state's row of the style's table: its handler and its motion. A state the
  // table lacks runs nothing.
  void ChangeState(int32_t state) override;
  int32_t GetParam0() override { return ParamOf(0); }
  int32_t GetParam1() override { return ParamOf(1); }
  int32_t GetParam2() override { return ParamOf(2); }
  int32_t GetParam3() override { return ParamOf(3); }
  // Parameter 0 as the player's attacks strike with it: x 1.1 while boost A runs, else x 1.2 while
  // boost B runs, truncated.
  int32_t GetBoostedParam0();
  float GetElement0() override { return ElementOf(0); }
  float GetElement1() override { return ElementOf(1); }
  float GetElement2() override { return ElementOf(2); }
  float GetElement3() override { return ElementOf(3); }
  float GetElement4() override { return ElementOf(4); }
  float GetElement5() override { return ElementOf(5); }
  void PostUpdate() override;
  void ReceiveHit(THitObject& hit) override;
  bool QueryStateA() const override;
  bool QueryStateB() const override { return mode == 16; }
  void GetHitParams(const THitRecord& def, THitParams& out) override;
  void Attack(const TAttackInfo& info) override;
  bool IsFreeForAction() override;
  void Reset() override;
  // The reactions to an enemy's hit: the hit shown, the damage taken, then the flinch, knock-down,
  // throw or stun the hit's strength may start (a hit no stronger than the current reaction only
  // hurts). The overhead kind is shown; the value after it is handed to the display only.
  void OnHitKind1(uint32_t overhead, int32_t b, int32_t knockFlags, int32_t strength, bool front, float rate,
                  float divisor, int32_t damage) override;
  void OnHitKind2(uint32_t overhead, int32_t b, int32_t knockFlags, int32_t strength, bool front, float rate,
                  float divisor, int32_t damage) override;
  void OnHitKind4(uint32_t overhead, int32_t b, int32_t knockFlags, int32_t strength, bool front, float rate,
                  float divisor, float speed, int32_t damage) override;
  void OnHitKind8(uint32_t overhead, int32_t b, int32_t knockFlags, int32_t strength, bool longStun, bool front,
                  float rate, float divisor, int32_t damage) override;
  void OnHitKind16(uint32_t overhead, int32_t b, int32_t knockFlags, int32_t strength, bool front, float rate,
                   float divisor, int32_t damage) override;

  // --- the player's own slots ------------------------------------------------------------------------
  // The tick of a town stage: no buttons, no time stop, no actor post-update.
  virtual void UpdateWithoutButtons();
  // The member's own model of the hero definition (events and towns); only while the weapon's
  // model is shown.
  virtual void LoadMemberModel();
  virtual void PlayDownVoice();
  // One of this character's hits landed: every style's OnHitLanded runs it first.
  virtual void OnHitLandedBody(TFieldActor& target, int32_t landedValue, int32_t damage, uint8_t hasHit);
  // One falling shot in the weapon's element, as the actor's rock falls: from `height` above the
  // level 0.5 below the ground, shifted by the offset's x and z, fallRate a tick.
  void DropElementShot(const plat::D3DXVECTOR3& offset, float height, float fallRate);
  // The enemy code calls it when the enemy is defeated: experience, ability points, the notice.
  virtual void GainFromDefeat(TPlayerFoe& enemy);
  virtual void SetWeaponRecord(const TCountedPtr<TWeaponEquip>& record);
  virtual void SetSecondWeaponRecord(const TCountedPtr<TWeaponEquip>& record);
  // The voice of a skill command (10000-10059 hero, 11000-11059 heroine).
  virtual void PlaySkillVoice(uint32_t skillId);
  // The hero's voice of a skill command by its last two digits (the heroine's lie 1000 further);
  // any other id is its own voice. The voices with a choice draw a random number.
  static int32_t SkillVoiceOf(uint32_t skillId);
  // More than 1.4 above the ground under it.
  virtual bool IsHighAboveGround();
  // A style's filter of a state command; true refuses it.
  virtual bool IsCommandRefused(int32_t) { return false; }
  // Whether the state is one of the style's aerial techniques, which a ground state never obeys.
  virtual bool IsAirTechnique(int32_t) { return false; }
  // The style's action-state table; the base knows the common head only.
  virtual std::span<const TStateRow> GetStateTable() const { return CommonStateRows(); }
  // The action state a hold command leads to.
  virtual int32_t GetHoldState() = 0;
  virtual int32_t StateForTechnique(uint32_t skillId, bool charged) = 0;
  virtual void UpdateEnemyHandle();
  // The attack and skill buttons, two ticks late.
  virtual void DispatchButtons();
  virtual void OnPressA() {}
  virtual void OnPressB() {}
  virtual void OnHoldA() {}
  virtual void OnHoldB() {}
  virtual void OnReleaseA() = 0;
  virtual void OnReleaseB() = 0;
  virtual void OnReleaseAB() = 0;
  // What an enemy hit of each kind shows on the character.
  virtual void ShowHitKind1Effects(int32_t damage, uint32_t knockFlags, int32_t overhead, int32_t b);
  virtual void ShowHitKind2Effects(int32_t damage, uint32_t knockFlags, int32_t overhead, int32_t b);
  virtual void ShowHitKind4Effects(int32_t damage, uint32_t knockFlags, int32_t overhead, int32_t b);
  virtual void ShowHitKind8Effects(int32_t damage, uint32_t knockFlags, int32_t overhead, int32_t b);
  virtual void ShowHitKind16Effects(int32_t damage, uint32_t knockFlags, int32_t overhead, int32_t b);
  // The skill table's row for a skill command and its charge: the idle row for the ids of 100-159
  // without a skill, null outside them.
  virtual SkillStep GetSkillThunk(uint32_t command, bool charged);
  // The one thunk: the row's routine with the row's arguments, once a tick; true while the skill
  // runs, false on the tick its motion ends.
  virtual bool RunSkill(const TSkillRow& row);

  // --- the skill routines (TPlayerCharSkills.cpp) ------------------------------------------------------
  // Each runs one tick of its skill with the arguments given; true while the skill runs. The voice
  // kind is the one PlaySkillVoice is given, 1000 further for a charged argument where the routine
  // adds it.
  bool SkillTimedStrike(uint32_t attackKind, uint32_t cost);
  bool SkillHeldStrikes(uint32_t attackKind, uint32_t cost, uint32_t period, uint32_t volleys, uint8_t charged);
  bool SkillStepVolleyA(uint32_t cost, uint32_t period, uint32_t volleys, uint8_t charged);
  bool SkillStepVolleyB(uint32_t cost, uint32_t period, uint32_t volleys, uint8_t charged);
  bool SkillStepVolleyC(uint32_t cost, uint32_t period, uint32_t volleys, uint8_t charged);
  bool SkillGroundWaveA(uint32_t cost, uint32_t period, uint32_t volleys, uint8_t charged);
  bool SkillGroundWaveB(uint32_t cost, uint32_t period, uint32_t volleys, uint8_t charged, uint32_t voiceKind);
  bool SkillGroundWaveC(uint32_t cost, uint32_t period, uint32_t volleys, uint8_t charged, uint32_t voiceKind);
  bool SkillFanBurst(uint32_t cost, uint32_t period, uint32_t voiceKind);
  bool SkillHealBlessing(uint32_t cost, uint32_t period, uint32_t volleys, uint8_t charged);
  bool SkillHealBlessingB(uint32_t cost, uint32_t period, uint32_t volleys, uint8_t charged, uint32_t voiceKind);
  bool SkillFallingShots(uint32_t cost, uint32_t period, uint32_t volleys, uint8_t charged, uint32_t voiceKind);
  bool SkillScatterShots(uint32_t cost, uint32_t period, uint32_t volleys, uint8_t charged, uint32_t voiceKind);

  // The enemies a ground wave runs to, by handle, and the point it runs from: kept from the firing
  // point of one use to the next.
  struct TSkillTargets {
    std::vector<int32_t> ids;
    plat::D3DXVECTOR3 origin{0, 0, 0};
  };

  // --- commands, buttons and moving ------------------------------------------------------------------
  // The latched command's kind (0 none, 1 hold, 2 technique), its argument written out; both cleared.
  uint32_t TakeCommand(uint32_t& argument);
  void PostCommand(uint32_t kind, uint32_t argument);
  // Kind 0 and no double tap; the argument stays.
  void ClearCommand();
  void PushHit(uint32_t value) { queue.Push(value); }
  uint32_t PopHit() { return queue.Pop(); }
  // The queue emptied, the skill's progress and the command cleared.
  void ClearHits();
  // Skill commands 100-159 only.
  void SetSkillCommand(uint32_t command, bool charged);
  // False (sound 608) while skills are blocked or unless the points exceed the cost.
  bool PaySkillCost(uint32_t cost);
  bool IsRingKeyHeld() const;
  void UseRingCommand(uint32_t itemId);
  uint32_t GetRingItem() const { return ringItem; }
  void SetRingItem(uint32_t itemId) { ringItem = itemId; }
  void CheckDoubleTap();
  void CheckJump();
  void CheckFall();
  // The landing attack and sound when on the ground; false in the air.
  bool FireFixedAttack();
  // With a direction held: the turn (when asked) and the step of the last movement mode.
  void MoveByPad(bool turn);
  // The turn of one tick toward the pad's direction seen from the reference frame, in radians.
  float GetTurnStep();

  // --- experience ----------------------------------------------------------------------------------
  void ApplyLevelUp();
  void ComputeLevelUpGains();
  uint32_t GetExpForNextLevel() const { return (level + 1) * 1000; }
  // Child objects and notices, the level-up when it is due, the enemy panel.
  void UpdateChildren();
  // Every status timer ticks once; one that runs out is cleared.
  void UpdateTimers();

  // --- the enemy -----------------------------------------------------------------------------------
  void SetEnemyHandle(const TCountedPtr<TPlayerFoe>& handle);
  void ShowEnemyPanel(const TPlayerFoe& enemy);
  void KeepBestCombo(const TPlayerFoe& enemy);
  TFrame8* GetEnemyTarget0() const { return enemyTarget0.Get(); }
  TFrame8* GetEnemyTarget1() const { return enemyTarget1.Get(); }

  // --- equipment -----------------------------------------------------------------------------------
  // Both hands from the weapon's type; an id the weapon table lacks holds no model.
  void SetWeapon(uint32_t id);
  // Slot 'A', any other letter 'B'.
  void SetEquipSlot(const TCountedPtr<TAccessoryEquip>& record, char slot);
  const TCountedPtr<TAccessoryEquip>& GetEquipSlot(char slot) const { return slot == 'A' ? accessoryA : accessoryB; }
  const TCountedPtr<TWeaponEquip>& GetWeaponRecord() const { return weaponA; }
  TAfterImage* GetTrailA() const { return trailA.get(); }
  TAfterImage* GetTrailB() const { return trailB.get(); }
  const TCountedPtr<TWeaponEquip>& GetSecondWeaponRecord() const { return weaponB; }
  uint16_t GetWeaponPoints() const;
  uint16_t GetEquipPoints(char slot) const;
  // 0, 1 or 2, else 0, into the member's costume flag and onto the model.
  void SetFaceVariant(uint32_t variant);

  // --- save points ---------------------------------------------------------------------------------
  // True (and sound 503) on the first entry; a repeated entry only updates the id.
  bool EnterSavePoint(int32_t id) override;
  void LeaveSavePoint() override;
  bool IsAtSavePoint() const { return atSavePoint != 0; }
  int32_t GetSavePointId() const { return savePointId; }

  // --- getters -------------------------------------------------------------------------------------
  int32_t GetParamBonus(int32_t k);
  bool HasTimedModifier() const;
  // The member's timed modifier takes the item effect's values and time (an item, a blessing).
  void TakeTimedModifier(const TCountedPtr<TItemEffect>& effect);
  bool IsDeathFinished() const override { return hp < -25 && voiceTimer <= 0; }
  uint32_t GetLevel() const { return level; }
  uint32_t GetExperience() const { return experience; }
  bool IsLevelUpPending() const { return levelUpPending != 0; }
  int32_t GetNoticeSequenceAtLevelUp() const { return noticeSequenceAtLevelUp; }
  // Parameters 0-3, maximum HP, maximum points.
  const std::array<uint32_t, 6>& GetLevelUpGains() const { return gains; }
  const std::array<int32_t, 4>& GetBestCombos() const { return bestCombos; }
  int32_t GetRingPointsMax() const { return ringPointsMax; }
  int32_t GetRingPointsUsed() const { return ringPointsUsed; }
  void SetRingPointsUsed(int32_t n) { ringPointsUsed = n; }
  uint32_t GetLastMovementMode() const { return lastMovementMode; }
  uint32_t GetHoldCounterA() const { return holdA; }
  uint32_t GetHoldCounterB() const { return holdB; }
  void SetHoldCounterA(uint32_t v) { holdA = v; }
  void SetHoldCounterB(uint32_t v) { holdB = v; }
  const TAttackQueue& GetQueue() const { return queue; }
  bool HasDoubleTap() const { return doubleTapFlag != 0; }
  uint8_t GetDoubleTappedDirection() const { return doubleTappedDirection; }
  uint32_t GetDoubleTapCounter() const { return doubleTapCounter; }
  const plat::D3DXMATRIX& GetSavedOrientation() const { return savedOrientation; }
  TStatusTimer& GetBoostA() { return boostA; }
  TStatusTimer& GetBoostB() { return boostB; }
  TStatusTimer& GetPoison() { return poison; }
  TStatusTimer& GetDrain() { return drain; }
  TShortTimer& GetReversal() { return reversal; }
  TShortTimer& GetHoldBlock() { return holdBlock; }
  TShortTimer& GetSlow() { return slow; }
  TShortTimer& GetSkillBlock() { return skillBlock; }
  // The frames left of ailment 0-5; 0 for any other.
  int32_t GetAilmentFrames(int32_t ailment) const;
  // Ends ailment 0-5; any other is none.
  void ClearAilment(int32_t ailment);
  const std::vector<uint32_t>& GetExpTable() const { return expTable; }
  const std::vector<uint32_t>& GetAbilityTable() const { return abilityTable; }
  size_t GetQueuedNoticeCount() const { return notices.size(); }
  const std::list<TCountedPtr<TPlayerHudItem>>& GetChildren() const { return children; }
  int32_t GetNoticeTimer() const { return noticeTimer; }
  const TCountedPtr<TPlayerFoe>& GetEnemyHandle() const { return enemyHandle; }
  int32_t GetEnemyHandleTimer() const { return enemyHandleTimer; }
  TInput* GetInput() const { return input; }
  // The button word of `age` ticks ago; 0 without input.
  uint32_t GetButtons(size_t age) const;
  TFrame8* GetReferenceFrame() const { return referenceFrame; }
  TPlayerHud& GetHud() const { return *hud; }
  const TCharSoundLists& GetSounds() const { return sounds; }
  const std::string& GetModelName() const { return modelName; }
  bool IsWeaponModelShown() const { return weaponModelShown != 0; }
  int32_t GetVoiceTimer() const { return voiceTimer; }
  SkillStep GetSkillStep() const { return skillStep; }
  SkillStep GetNextSkillStep() const { return nextSkillStep; }
  int32_t GetSkillTick() const { return static_cast<int32_t>(skillTick); }
  uint32_t GetSkillVolley() const { return skillVolley; }
  bool IsSkillDone() const { return skillDone != 0; }
  const TSkillTargets& GetSkillTargets() const { return skillTargets; }

  // The program-wide count of defeated enemies that the notices carry.
  static uint32_t GetNoticeSequence();

 protected:
  // Whether a latched state command may leave the row for its state: a state of the table that
  // the row does not exclude and the style does not refuse, an aerial technique where `air` and a
  // ground one elsewhere.
  bool Obeys(const TStateRow& row, int32_t state, bool air = false);
  // What every style does last when it is made: the two weapon trails on the weapon frames, then
  // the block's weapon and accessories equipped.
  void EquipFromBlock(const TCharBlock& block);
  // The slow timer halves the walking and running displacement.
  float PatternDisplacementScale() override;
  // The current mode's handler.
  void RunMode();

  // --- the movement modes (one handler may serve several rows) --------------------------------------
  void MoveStand(const TModeRow& row);
  void MoveStartWalk(const TModeRow& row);
  void MoveWalk(const TModeRow& row);
  void MoveJump(const TModeRow& row);
  void MoveFall(const TModeRow& row);
  // Plays the motion once; then the row's mode at the rate 1.0.
  void PlayMotionThen(const TModeRow& row);
  // Flinching and being knocked down: the slide that slows to nothing at the motion's last frame,
  // and the escape from it.
  void MoveSlide(const TModeRow& row);
  // Lying: getting up, or the count of death.
  void MoveLie(const TModeRow& row);
  void MoveBlownUp(const TModeRow& row);
  void MoveBlownFall(const TModeRow& row);
  void MoveStunned(const TModeRow& row);
  // The level-up's shock once in its window, then a blink.
  void MoveLevelUp(const TModeRow& row);
  // The ring's item applied once past its moment.
  void MoveUseItem(const TModeRow& row);
  // Mode 19: the current action state's handler.
  void RunActionState(const TModeRow& row);

  // --- the common action states --------------------------------------------------------------------
  // The running skill's step; once it is done, the command (a chain into state 3 makes the queued
  // skill the running one).
  void RunSkillState(const TStateRow& row);
  // As RunSkillState, never chaining a further skill.
  void RunChainedSkillState(const TStateRow& row);
  // At the motion's end: the row's boost restarted, then the command.
  void EndMotionThenCommand(const TStateRow& row);
  // At the motion's end the row's next state; the latched command stays.
  void EndMotionThenState(const TStateRow& row);
  // At the motion's end the hits and commands cleared and the character stands (mode 0), or
  // falls (mode 5); true while the motion runs.
  bool EndMotionTo(int32_t movementMode);
  void EndMotionToIdle(const TStateRow& row);
  void EndMotionToFall(const TStateRow& row);

  uint32_t member;

 private:
  int32_t ParamOf(int32_t k);
  float ElementOf(int32_t k);
  void SetButtons(size_t age, uint32_t word);
  // Keeps the low buttons of this tick's word and clears them from it.
  uint32_t HideButtons();
  bool DirectionHeld() const { return (GetButtons(0) & kDirections) != 0; }
  // A turn of one tick toward the pad's direction.
  void TurnByPad();
  // Moves the body along its z by the row's push of the distance over the slide divisor; a divisor
  // of 0 moves nothing.
  void Push(const TModeRow& row, float distance, float factor);
  // The recovery from a slide: skill 5 on the ring's selected slot, 20 points, the first two frames
  // and the cancel button.
  bool TryEscape(float time);
  void ApplyRingItem();
  void AttackOfKind(uint16_t kind);
  // Flinch or knock-down of a hit of kind 1 or 2 (and a killing stun); a killing hit without knock
  // flags knocks down with the flags given.
  void FlinchOrKnockDown(int32_t killFlags, int32_t knockFlags, int32_t strength, bool front, float rate,
                         float divisor);
  // Whether a hit of the strength breaks into the current reaction; the states compare unsigned.
  bool IsInterruptedBy(int32_t strength) const;
  void KnockDown(bool front);
  // The latched command taken: a hold leads to the hold state, a state command that the row obeys
  // (a state of the table, not excluded, not refused, not aerial) to its state, anything else to
  // the row's next state. The state changed to.
  int32_t ObeyCommand(const TStateRow& row);
  // False when no skill runs.
  bool RunSkillStep();
  // The skeleton every skill routine runs on: its firing point, the cost, the voice, the held pose,
  // the volleys and the end.
  bool RunRoutine(TSkillRoutine routine, const TSkillArgs& args);
  // A shown notice becomes a child object.
  void ShowOldestNotice();
  // The body model of the name: pattern file and ".tob", faces reordered, render mode 2100.
  void SwapBodyModel(const std::string& name);
  void StartTrail(TAfterImage* trail, const TWeaponEquip& record);
  void AttachWeaponModel(TFrame8& frame, const TCountedPtr<TWeaponEquip>& record);

  const TModeRow* modeRow = nullptr;
  const TStateRow* stateRow = nullptr;
  uint8_t weaponModelShown = 1;
  uint8_t atSavePoint = 0;
  int32_t savePointId = -1;
  TCountedPtr<TPlayerFoe> enemyHandle;
  TCountedPtr<TFrame8> enemyTarget0;
  TCountedPtr<TFrame8> enemyTarget1;
  uint32_t doubleTapCounter = 0;
  uint8_t doubleTapDirection = 0;
  uint8_t doubleTappedDirection = 0;
  uint8_t doubleTapFlag = 0;
  plat::D3DXMATRIX savedOrientation;
  int32_t ringPointsMax;
  int32_t ringPointsUsed;
  uint32_t ringItem = 0;
  uint32_t holdA = 0;
  uint32_t holdB = 0;
  TAttackQueue queue;
  uint32_t commandKind = 0;
  uint32_t commandArgument = 0;
  uint8_t skillDone = 0;
  uint32_t skillTick = 0;
  uint32_t skillVolley = 0;
  SkillStep skillStep = nullptr;
  SkillStep nextSkillStep = nullptr;
  TSkillTargets skillTargets;
  uint32_t lastMovementMode = 0;
  uint8_t levelUpPending = 0;
  int32_t noticeSequenceAtLevelUp = -1;
  uint32_t level;
  uint32_t experience;
  std::array<uint32_t, 6> gains{};
  std::array<int32_t, 4> bestCombos{};
  int32_t enemyHandleTimer = -1;
  int32_t noticeTimer = 0;
  std::list<TCountedPtr<TPlayerHudItem>> children;
  std::deque<TGainNotice> notices;
  std::vector<uint32_t> expTable;
  std::vector<uint32_t> abilityTable;
  TStatusTimer boostA;
  TStatusTimer boostB;
  TStatusTimer poison;
  TStatusTimer drain;
  TShortTimer reversal;
  TShortTimer holdBlock;
  TShortTimer slow;
  TShortTimer skillBlock;
  std::unique_ptr<TAfterImage> trailA;
  std::unique_ptr<TAfterImage> trailB;
  TCountedPtr<TAccessoryEquip> accessoryA;
  TCountedPtr<TAccessoryEquip> accessoryB;
  TCountedPtr<TWeaponEquip> weaponA;
  TCountedPtr<TWeaponEquip> weaponB;
  TCharSoundLists sounds;
  TInput* input;
  TFrame8* referenceFrame = nullptr;
  TCountedPtr<TPlayerHud> hud;
  std::string modelName;
  const std::string styleModel;  // the model the character was made with
};
