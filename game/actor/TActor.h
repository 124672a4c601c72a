// The base of every fighting character, the player and the enemies: hit points and skill points,
// four parameters and six element factors, the model's pattern table and weapon-hand keys, two
// weapon frames, the actor's live attack hit volumes, the damage calculation and the reaction to a
// hit, the combo record, blinking, and the per-tick work that turns the pattern table into events.
// The player and the enemies fill the pure operations and override the others as they need.
#pragma once
#include <array>
#include <cstdint>
#include <list>
#include <string>

#include "common/TCountedPtr.h"
#include "common/TFrame8.h"
#include "game/actor/TPatternInfo.h"
#include "game/actor/TWeponState.h"
#include "game/effect/ActorServices.h"
#include "game/field/HitDamageInputs.h"
#include "game/field/TFieldActor.h"
#include "game/field/THitObject.h"

struct TFallingShotRow;

// What an actor is made with besides its game-object values.
struct TActorStats {
  // When 0, incoming hits lose kind bit 0x20; bits 4 and 16; bit 8.
  uint8_t acceptsKind20 = 1;
  uint8_t acceptsKind4And16 = 1;
  uint8_t acceptsKind8 = 1;
  int32_t maxHp = 0, hp = 0;
  int32_t maxSp = 0, sp = 0;
  // The second is the defence against ordinary hits, the fourth against hits of kind bit 0x100.
  std::array<int32_t, 4> params{};
  // Damage factors: fire, water, wind, soil, light, dark.
  std::array<float, 6> elements{1, 1, 1, 1, 1, 1};
};

// What the damage calculation gives for one hit.
struct TDamageResult {
  int32_t kind = 0;  // 4, 8 or 16 alone, else what is left of 1 and 2; 0 when nothing is
  uint32_t element = 0;
  int32_t soundLevel = -1;
  int32_t status = 0;  // the knock-down bits 0x20 and 0x40
  bool defenceBit = false;  // kind bit 0x100
  bool noTurn = false;      // kind bit 0x80
  bool longStun = false;    // kind bit 0x200
  int32_t damage = 0;
  float p1 = 0, p2 = 0, p3 = 0;
};

// A camera jolt: periods, ticks per period, amplitude on the axes of the mask (1 x, 2 y, 4 z).
struct TCameraShake {
  uint32_t count;
  uint32_t period;
  float amplitude;
  uint32_t axes;
};

// The shake of a pattern's shake level 1-5; null for any other level.
const TCameraShake* CameraShakeOf(uint32_t level);

// The weight a reaction gives the hit's kind: 1000000 for bit 16, else 100000 for 4, 100 for 8,
// 1000 for 0x20 or 0x40, else 10.
int32_t HitKindScale(int32_t kind);

class TActor : public TFieldActor, public TEffectActor {
 public:
  static constexpr int32_t kBlinkUntilStopped = 2147483647;
  static constexpr int32_t kSpecialState = 100000;  // main states from here count as special

  // Loads the model name + ".tob", ".pat" and ".wpm"; a missing file throws my_error.
  TActor(uint32_t kind, float bodyHeight, float shadowSize, uint8_t shadowVisible, uint8_t pushable, float gravity,
         const TActorStats& stats, const std::string& name);
  // A new actor like the source (enemies are cloned from prototypes): its game object, character
  // files and weapon frames made again, its accept flags, points, parameters and elements copied,
  // everything else as new.
  TActor(const TActor& source);
  ~TActor() override;

  // --- slots of the game object -------------------------------------------------------------------
  // Detached as a game object; the pattern latches cleared and every hit volume ended and dropped.
  void Detach() override;
  void PlaySe(int32_t) override {}
  void PlayVoice(int32_t) override {}

  // --- the actor's own slots, in the order the player and enemies know them -----------------------
  virtual int32_t GetParam0() { return params[0]; }
  virtual int32_t GetParam1() { return params[1]; }
  virtual int32_t GetParam2() { return params[2]; }
  virtual int32_t GetParam3() { return params[3]; }
  virtual float GetElement0() { return elements[0]; }
  virtual float GetElement1() { return elements[1]; }
  virtual float GetElement2() { return elements[2]; }
  virtual float GetElement3() { return elements[3]; }
  virtual float GetElement4() { return elements[4]; }
  virtual float GetElement5() { return elements[5]; }
  // The end of every derived Update: weapon frames, hit volumes, blink and voice timer.
  virtual void PostUpdate();
  // Damage and reaction: the attacker turns to this actor, the damage is calculated, this actor
  // turns to the hit, the reaction of the resulting kind runs, the attacker hears that the hit
  // landed and the hit sound plays.
  void ReceiveHit(THitObject& hit) override;
  // The resolution's facing step: turns the actor toward the hit (toward the volume itself for
  // noTurn); true when the hit came from the front.
  virtual bool TurnToHit(THitObject& hit, bool noTurn);
  bool FacesTargetOnHit() override { return true; }
  void TestHits(TFieldActor& other) override;
  virtual void EndBlink();
  virtual void StartBlink(uint8_t withAlpha, int32_t ticks);
  // Tests of the current mode that the player and enemies define.
  virtual bool QueryStateA() const = 0;
  virtual bool QueryStateB() const = 0;
  // The values of a volume for the hit record: parent frame by its attach point, position, radius,
  // power, element and sound level.
  virtual void GetHitParams(const THitRecord& def, THitParams& out) = 0;
  virtual void ChangeState(int32_t state) { actionState = state; }
  // Every tick: the events of the pattern frame at the model's motion and time, each once on the
  // first tick of a run of frames that carry it, then the frame's displacement.
  virtual void RunPatternEvents();
  // Opens the volume of the record's hit id, built as the actor gives it.
  virtual void StartPatternHit(const TAttackInfo& info);
  // The whole attack of the record's attack kind (effects, shots, volumes, sound); a kind without a
  // body does nothing.
  virtual void Attack(const TAttackInfo& info);
  virtual void PlayPatternSe(const TAttackInfo& info) { PlaySe(static_cast<int32_t>(info.seId)); }
  virtual void PlayPatternVoice(const TAttackInfo& info) { PlayVoice(static_cast<int32_t>(info.voiceId)); }
  virtual void ShakeCamera(const TAttackInfo& info);
  // The weapon frames follow the hands' keys at the model's motion and time.
  virtual void UpdateWeaponFrames();
  virtual void PlayHitSound(int32_t damage, int32_t kind, int32_t level, bool defenceBit);
  // Each volume's tick; a finished one is ended and dropped.
  virtual void UpdateHits();
  virtual void UpdateBlink();
  // hp falls by the damage (not below 0, and never rises: a dying actor's count below 0 runs on)
  // and the combo record counts the hit.
  virtual void TakeDamage(int32_t damage);
  virtual bool IsFreeForAction() { return true; }
  virtual void CalcDamage(const THitObject& hit, TDamageResult& out);
  // Back to the normal state: gravity, combo counters (not their maxima), main state, motion rate,
  // reaction counting and stun mark.
  virtual void Reset();
  virtual void OnHitKind1(uint32_t element, int32_t soundLevel, int32_t status, int32_t scale, bool facing, float p1,
                          float p2, int32_t damage) = 0;
  virtual void OnHitKind2(uint32_t element, int32_t soundLevel, int32_t status, int32_t scale, bool facing, float p1,
                          float p2, int32_t damage) = 0;
  virtual void OnHitKind4(uint32_t element, int32_t soundLevel, int32_t status, int32_t scale, bool facing, float p1,
                          float p2, float p3, int32_t damage) = 0;
  virtual void OnHitKind8(uint32_t element, int32_t soundLevel, int32_t status, int32_t scale, bool longStun,
                          bool facing, float p1, float p2, int32_t damage) = 0;
  virtual void OnHitKind16(uint32_t element, int32_t soundLevel, int32_t status, int32_t scale, bool facing, float p1,
                           float p2, int32_t damage) = 0;
  // While knocked into the air: lifts the actor once a tick and runs its motion backwards, less
  // the more special hits it took; false once the motion is back at its start.
  virtual bool AirHitStep();
  virtual void ScaleAndRestart(float value);
  // What the pattern step's displacement is multiplied by this tick.
  virtual float PatternDisplacementScale() { return 1.0f; }

  // --- what the field and the effects ask -----------------------------------------------------------
  bool IsInvulnerable() const override { return blinkTimer != 0; }
  bool IsInAction() const override { return QueryStateA(); }
  // A piece stuck to the actor waits while this holds.
  bool IsStunned() const override { return QueryStateB(); }
  TFrame8* GetSceneFrame() const override { return TFrameObject::GetSceneFrame(); }
  plat::D3DXVECTOR3 GetPosition() const override { return TFrameObject::GetPosition(); }
  // The attack volume an effect strikes with: CreateAttackHit under the parent at the point, the
  // volume kept among the actor's own.
  void CreateAttackHit(uint32_t attackCode, TFrame8* parent, const plat::D3DXVECTOR3& position) override;
  float GetHeight() const override { return GetBodyHeight(); }

  // --- operations of the actor ---------------------------------------------------------------------
  // hp rises by at least 1, up to maxHp; the result is maxHp.
  int32_t RecoverHp(int32_t amount) override;
  void RecoverMp(int32_t amount);
  // hp falls by at least 1, without a floor.
  void LoseHp(int32_t amount);
  void LoseMp(int32_t amount);
  // The aim point of attacks: the position raised by the body height.
  plat::D3DXVECTOR3 GetBodyCenter() const override;
  // The volume of the hit record whose id is the low 16 bits of the code, made as the actor's
  // attack code makes it: frame and position from the actor unless given, radius and element from
  // the record, no sound level. It joins the actor's volumes and is handed back too; empty when
  // the record's kind makes no volume or the actor gives no frame.
  TCountedPtr<THitObject> CreateAttackHit(uint32_t attackCode, TFrame8* frame = nullptr,
                                          const plat::D3DXVECTOR3* position = nullptr);
  // A volume the caller made itself joins the actor's own (updated, tested and ended with them).
  void AddHit(const TCountedPtr<THitObject>& volume) { Keep(volume); }
  // The element mark over the actor: one effect for codes 0-6, the two of its elements for 7-18.
  void ShowOverheadEffect(int32_t code);
  // What a hit shows on this actor by the kind of its reaction (1, 2, 4, 8, 16): the element mark
  // of the overhead kind, a flash at chest height, two sparks flying off in random directions (for
  // kinds 1 and 2 only when the knock flags hold 32 or 64) and, for kinds 8 and 16, a burst.
  void ShowHitEffects(int32_t hitKind, int32_t knockFlags, int32_t overheadKind);
  // One burning rock falls onto the ground near the actor: from `height` above the level 0.5 below
  // the ground under the actor, shifted by the offset's x and z, fallRate a tick along a line leaning
  // toward the actor's front; its one-hit volume strikes with the actor's parameter 2.
  void DropRockShot(const plat::D3DXVECTOR3& offset, float height, float fallRate);
  // The same fall with another shot's row.
  void DropFallingShot(const TFallingShotRow& row, const plat::D3DXVECTOR3& offset, float height, float fallRate);

  int32_t GetHp() const { return hp; }
  int32_t GetMaxHp() const { return maxHp; }
  int32_t GetSp() const { return sp; }
  int32_t GetMaxSp() const { return maxSp; }
  int32_t GetActionState() const { return actionState; }
  int32_t GetMainState() const { return mainState; }
  void SetMainState(int32_t state) { mainState = state; }
  float GetMotionRate() const { return motionRate; }
  int32_t GetBlinkTimer() const { return blinkTimer; }
  float GetBlinkAlpha() const { return blinkAlpha; }
  int32_t GetComboDamage() const { return comboDamage; }
  int32_t GetComboHits() const { return comboHits; }
  int32_t GetSpecialHits() const { return specialHits; }
  int32_t GetNormalHits() const { return normalHits; }
  int32_t GetMaxComboDamage() const { return maxComboDamage; }
  int32_t GetMaxComboHits() const { return maxComboHits; }
  int32_t GetMaxSpecialHits() const { return maxSpecialHits; }
  int32_t GetMaxNormalHits() const { return maxNormalHits; }
  bool HasStunMark() const { return stunMark != 0; }
  const std::list<TCountedPtr<THitObject>>& GetHits() const { return hits; }
  const TPatternInfo& GetPattern() const { return pattern; }
  TFrame8* GetLeftWeaponFrame() const { return leftWeaponFrame.Get(); }
  TFrame8* GetRightWeaponFrame() const { return rightWeaponFrame.Get(); }

 protected:
  int32_t actionState = 0;
  std::list<TCountedPtr<THitObject>> hits;  // in creation order
  TPatternInfo pattern;
  TWeponState weaponState;
  TCountedPtr<TFrame8> leftWeaponFrame;
  TCountedPtr<TFrame8> rightWeaponFrame;
  float motionRate = 1.0f;
  uint8_t acceptsKind20;
  uint8_t acceptsKind4And16;
  uint8_t acceptsKind8;
  int32_t maxHp, hp;
  int32_t maxSp, sp;
  std::array<int32_t, 4> params;
  std::array<float, 6> elements;
  int32_t mainState = 1;
  // How long the current reaction lasts: ticks when countFrames is set, motion loops when not.
  int32_t reactionCount = 4;
  uint8_t countFrames = 0;
  int32_t blinkTimer = 0;  // 0 not blinking; kBlinkUntilStopped until ended
  uint8_t blinkFalling = 0;
  float blinkAlpha = 0.1f;
  float airHitScale = 0;
  uint8_t airHitDoneThisTick = 0;
  int32_t comboDamage = 0;  // at most 9999
  int32_t comboHits = 0;    // at most 99, as the next two
  int32_t specialHits = 0;
  int32_t normalHits = 0;
  int32_t maxComboDamage = 0, maxComboHits = 0, maxSpecialHits = 0, maxNormalHits = 0;
  // Set by the stun reaction: a further stun knocks down instead.
  uint8_t stunMark = 0;
  uint8_t latchHit = 0, latchAttack = 0, latchBlink = 0, latchSe = 0, latchVoice = 0, latchShake = 0;

 private:
  void CreateWeaponFrames(const std::string& name);
  // The factor of element 1-6.
  float ElementFactor(uint32_t element);
  // Appends the volume unless it is empty.
  void Keep(const TCountedPtr<THitObject>& volume);
};
