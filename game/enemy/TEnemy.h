// The base of every enemy: an actor built from an enemy definition, with the level formula, the
// home point and its leash, the sound lists, the HP gauge over it, the steal roll on special hits,
// death with its drop, the group heal among its attacks, the two state machines (movement modes,
// and in mode 16 an attack state) with the five hit reactions that move it between them, the AI
// that chooses what it does next, and the endless auras some classes wear. A class (TEnemyClass)
// sets what differs between enemies; the concrete classes give the tick, the copy and the choice
// of attack. The player character reads an enemy through TPlayerFoe: what its defeat is worth, its
// panel and its combo records.
#pragma once
#include <array>
#include <cstdint>

#include "common/TCountedPtr.h"
#include "common/TSprite8.h"
#include "game/actor/PlayerFoe.h"
#include "game/actor/TActor.h"
#include "game/actor/TCharSoundLists.h"
#include "game/effect/TEffect.h"
#include "game/enemy/EnemyAi.h"
#include "game/enemy/TEnemyClass.h"
#include "game/enemy/TEnemyTable.h"
#include "platform/gfx/D3DXMath.h"

class TEnemyManager;
class TPlayerChar;
class TStage;
class TView8;

// The movement modes: the motion of the same number plays in each.
namespace enemy_mode {
constexpr int32_t kStand = 0;
constexpr int32_t kCloseIn = 1;
constexpr int32_t kBackOff = 2;
constexpr int32_t kReelFromFront = 5;  // slides backward
constexpr int32_t kReelFromBehind = 6;
constexpr int32_t kDownFromFront = 7;  // then 9
constexpr int32_t kDownFromBehind = 8;  // then 10
constexpr int32_t kLying = 9;
constexpr int32_t kLyingTurned = 10;
constexpr int32_t kRising = 11;  // launched
constexpr int32_t kFalling = 12;
constexpr int32_t kLanding = 13;  // then 9
constexpr int32_t kStunned = 14;
constexpr int32_t kEntrance = 15;  // then 0
constexpr int32_t kAction = 16;    // the attack state runs
constexpr int32_t kCount = 17;
}  // namespace enemy_mode

// The actor's main state as the enemy uses it: set by the hit reactions, back to normal by Reset.
namespace enemy_state {
constexpr int32_t kNormal = 1;
constexpr int32_t kReeling = 10;
constexpr int32_t kStunned = 100;
constexpr int32_t kDown = 1000;
constexpr int32_t kLaunched = 100000;
constexpr int32_t kBlownAway = 1000000;
}  // namespace enemy_state

class TEnemy : public TActor, public TPlayerFoe {
 public:
  static constexpr int32_t kGaugeFrames = 200;     // the gauge shows this long after a hit
  static constexpr int32_t kHitAiTimer = -1000;    // a hit makes the next decision one of row 20
  static constexpr int32_t kDeathHp = -15;         // dying, HP falls to this before the end
  static constexpr int32_t kMaxHp = 99999;
  static constexpr uint16_t kDeathAttack = 1001;
  static constexpr uint16_t kGroupHealAttack = 50021;
  static constexpr int32_t kStealValue = 100000;     // a hit of this value may steal
  static constexpr int32_t kBetterStealValue = 100001;

  // From the definition: the actor, its level values and drops, the gauge sprites and the sound
  // lists; not alive, no manager.
  TEnemy(const TEnemyRecord& record, uint8_t aiTableFlag, const TEnemyClass& enemyClass);
  // A copy whose bases are the source's current values (level, values, parameters, maxima), with
  // its timers and manager cleared: how the manager's prototypes become live enemies.
  TEnemy(const TEnemy& source);
  TEnemy& operator=(const TEnemy&) = delete;
  ~TEnemy() override;

  // --- the actor's slots ---------------------------------------------------------------------------
  bool IsAirborne() override { return mode == enemy_mode::kRising; }
  void PlaySe(int32_t id) override;
  // Nothing while a voice still sounds; else the voice plays and the voice timer takes its length.
  void PlayVoice(int32_t id) override;
  // As the class takes hits: the actor's resolution, the steal roll, the enemy panel, then the
  // gauge shows and the AI decides anew.
  void ReceiveHit(THitObject& hit) override;
  // Turned toward the hit, unless the class keeps its facing: then only the side is read.
  bool TurnToHit(THitObject& hit, bool noTurn) override;
  // In an attack state (mode 16).
  bool QueryStateA() const override { return mode == enemy_mode::kAction; }
  // Stunned (mode 14).
  bool QueryStateB() const override { return mode == enemy_mode::kStunned; }
  // The record's volume on the body or a weapon frame by its attach point, the power from the
  // first parameter (the third for kind bit 0x100), the record's element, no sound level.
  void GetHitParams(const THitRecord& def, THitParams& out) override;
  // The actor's attack, then the group heal when the kind is 50021.
  void Attack(const TAttackInfo& info) override;
  // The actor's damage, and the player keeps the best of this enemy's combo.
  void TakeDamage(int32_t damage) override;
  // The actor's normal state, standing, and a decision at once.
  void Reset() override;
  void OnHitKind1(uint32_t element, int32_t soundLevel, int32_t type, int32_t power, bool fromFront, float rate,
                  float slide, int32_t damage) override;
  void OnHitKind2(uint32_t element, int32_t soundLevel, int32_t type, int32_t power, bool fromFront, float rate,
                  float slide, int32_t damage) override;
  void OnHitKind4(uint32_t element, int32_t soundLevel, int32_t type, int32_t power, bool fromFront, float rate,
                  float slide, float launchSpeed, int32_t damage) override;
  void OnHitKind8(uint32_t element, int32_t soundLevel, int32_t type, int32_t power, bool freeze, bool fromFront,
                  float rate, float slide, int32_t damage) override;
  void OnHitKind16(uint32_t element, int32_t soundLevel, int32_t type, int32_t power, bool fromFront, float rate,
                   float slide, int32_t damage) override;
  // Stores the mode, takes its handler and plays its motion; a mode outside the table is refused.
  void SetMode(int32_t newMode) override;

  // --- what the player character reads ------------------------------------------------------------
  int32_t GetFoeLevel() const override { return level; }
  float GetExperienceFactor() const override { return rewardFactor; }
  uint32_t GetAbilityPoints() const override { return static_cast<uint32_t>(valueA); }
  // The two words after the ability points.
  std::array<uint32_t, 2> GetRewardValues() const override;
  std::array<int32_t, 4> GetComboRecords() const override;
  std::array<int32_t, 2> GetPanelValues() const override { return {comboHits, comboDamage}; }

  // --- the enemy's own slots ---------------------------------------------------------------------
  // A new live copy of the concrete class belonging to the manager.
  virtual TCountedPtr<TEnemy> Clone(TEnemyManager* owner) const = 0;
  // Attached to the stage at the position, facing along the direction (at the player when it is
  // zero), leashed to the position by the radius, alive, and in the entrance unless skipped.
  virtual void Appear(TStage& stage, const plat::D3DXVECTOR3& position, const plat::D3DXVECTOR3& direction,
                      float radius, bool skipEntrance);
  // The level is the base level + offset; values, HP and parameters follow it.
  virtual void SetLevel(int32_t offset);
  // The HP gauge over the enemy while its timer runs after a hit.
  virtual void DrawGauge();
  // Farther from the player than the manager's spawn range (never in the entrance, never for ids
  // from 10000).
  virtual bool IsOutOfRange();
  virtual bool IsAwayFromHome() const;
  // The AI's step of the tick: a decision when its timer runs out or a hit came, then the chosen
  // behaviour.
  virtual void Think();
  // Turns to the aim point and starts one of the class's attacks.
  virtual void PickAttack(float distance) = 0;
  // The current attack state's handler.
  virtual void RunActionHandler() = 0;

  // The handler of every attack state: the motion once through, then standing and deciding anew
  // after the class's wait.
  void RunAttack();

  void SetManager(TEnemyManager* owner) { manager = owner; }
  bool IsAlive() const { return alive != 0; }

  const TEnemyClass& GetEnemyClass() const { return *enemyClass; }
  TEnemyManager* GetManager() const { return manager; }
  uint8_t GetAiTableFlag() const { return aiTableFlag; }
  int32_t GetBaseLevel() const { return baseLevel; }
  int32_t GetLevel() const { return level; }
  float GetRewardFactor() const { return rewardFactor; }
  int32_t GetValueA() const { return valueA; }
  int32_t GetValueB() const { return valueB; }
  int32_t GetValueABase() const { return valueABase; }
  int32_t GetMaxHpBase() const { return maxHpBase; }
  const std::array<int32_t, 4>& GetParamBase() const { return paramBase; }
  const std::array<int32_t, 4>& GetParams() const { return params; }
  int32_t GetDropItem1() const { return dropItem1; }
  int32_t GetDropItem2() const { return dropItem2; }
  float GetHomeRadius() const { return homeRadius; }
  const plat::D3DXVECTOR3& GetHomePoint() const { return homePoint; }
  int32_t GetAiTimer() const { return aiTimer; }
  int32_t GetGaugeTimer() const { return gaugeTimer; }
  // 0 none; 2 to 7 the behaviour of that AI action.
  int32_t GetBehaviour() const { return behaviour; }
  bool IsStolen() const { return stolen != 0; }
  int32_t GetReactionCount() const { return reactionCount; }
  bool IsFrozen() const { return countFrames != 0; }
  // How the reel and knock-down modes slide: the farther, the smaller; 0 stands still.
  float GetSlideDivisor() const { return airHitScale; }
  const TSprite8& GetGaugeFrame() const { return gaugeFrame; }
  const TSprite8& GetGaugeBar() const { return gaugeBar; }
  const TCharSoundLists& GetSounds() const { return sounds; }

 protected:
  // An endless shot of the kind that shakes about a point in a frame's space, its trail offset.
  struct TAura {
    TEffectKind kind;
    plat::D3DXVECTOR3 point, offset, jitterScale;
  };

  // A copy of the concrete class belonging to the manager: every class's Clone.
  template <class T>
  static TCountedPtr<TEnemy> CloneAs(const T& source, TEnemyManager* owner) {
    auto* copy = new T(source);
    copy->SetManager(owner);
    return TCountedPtr<TEnemy>(copy);
  }

  // The aura spawned on the enemy's scene frame, its mover holding the frame it rides on; empty
  // without an effect manager or a prototype of the kind.
  TCountedPtr<TEffect> SpawnAura(const TAura& aura, const TCountedPtr<TFrame8>& on);
  // The player runs an action state (its mode 19).
  bool PlayerActs() const;

  // The player on the enemy's stage: its body, its actor values and the player character; null
  // for what it does not have.
  TFieldActor* PlayerBody() const;
  TActor* PlayerActor() const;
  TPlayerChar* PlayerChar() const;
  // Where the enemy aims: before the player while it runs or dashes, else the player itself.
  TFrame8* AimFrame() const;
  // At most 10 degrees toward the aim point.
  void TurnTowardAim();
  // Runs a mode's or an attack state's handler, when there is one.
  void RunHandler(TEnemyHandler handler);
  // What the enemy sees of the player at that distance from the aim point.
  TAiSituation Measure(const TFieldActor& player, float distance) const;
  // AI action 0-7: the behaviour that runs from now on (none for 0 and 1, and for any other).
  void DoAction(int32_t action);
  void RunBehaviour();

  const TEnemyClass* enemyClass;
  uint8_t aiTableFlag;
  int32_t baseLevel;
  int32_t level;
  float rewardFactor;  // the definition's spare level word read as a float
  int32_t valueA, valueB;
  int32_t valueABase, valueBBase;
  std::array<int32_t, 4> paramBase;
  int32_t maxHpBase;
  int32_t maxPointsBase;
  int32_t growthA, growthB;
  std::array<int32_t, 4> paramGrowth;
  int32_t hpGrowth;
  uint32_t extraValue;
  uint32_t dropMoney;
  int32_t dropItem2;  // also what a steal takes; 0 none, -1 a roll that yields nothing
  int32_t dropItem1;
  float dropChance2, dropChance1;
  float homeRadius;
  plat::D3DXVECTOR3 homePoint{0, 0, 0};
  int32_t aiTimer = 0;  // below -99: a hit came
  int32_t gaugeTimer = 0;
  TSprite8 gaugeFrame;
  TSprite8 gaugeBar;
  TView8* view = nullptr;
  uint8_t alive = 0;
  uint8_t stolen = 0;
  TCharSoundLists sounds;
  TEnemyManager* manager = nullptr;
  TEnemyHandler modeHandler = nullptr;
  int32_t behaviour = 0;
  TStage* fieldStage = nullptr;

 private:
  // --- modes (TEnemyModes.cpp) ---
  struct TModeRow {
    uint32_t motion;
    TEnemyHandler handler;
  };
  static const TModeRow kModes[enemy_mode::kCount];

  void LoopMotion();
  void Reel();
  void KnockDown();
  void LieDown();
  void Rise();
  void Fall();
  void Land();
  void Stun();
  void Enter();
  void Act();
  // Along the frame's own z while the motion runs: (last frame - time) / divisor x rate, backward
  // for a positive sign; nothing with a divisor of 0.
  void Slide(float sign);
  // Along the frame's own z by 0.8 / divisor, while launched.
  void Drift();

  // --- reactions (TEnemyModes.cpp) ---
  // What every reaction does first: the player learns which enemy it hit, the hit shows and the
  // damage is taken.
  void TakeHit(int32_t hitKind, int32_t type, uint32_t element, int32_t damage);
  // The same, and the reaction counts four.
  void BeginReaction(int32_t hitKind, int32_t type, uint32_t element, int32_t damage);
  // A felled enemy at 0 HP or below is dying: the hit shows and counts but moves it no more, so its
  // death runs out however often it is struck; false for any other enemy, and for a hit it juggles.
  bool TakeWhileDying(int32_t hitKind, int32_t type, uint32_t element, int32_t damage);
  // A launch or a heavy blow still throws a dying enemy of a class that every hit kind moves; it
  // goes on dying once it lies again.
  bool Juggles(int32_t hitKind) const;
  // For a class that only its killing blow moves: the hit taken and, when it killed, the fall;
  // false for the other classes, whose reaction is still to run.
  bool TakeUnmoved(int32_t hitKind, int32_t type, uint32_t element, int32_t damage, bool fromFront);
  // Whether the enemy keeps its motion against a hit of that power; the airborne step (or, for a
  // heavy blow, the scaled restart) runs for a launched enemy that does.
  bool Resists(int32_t power, float slide, bool heavyBlow);
  // Kinds 1 and 2 after the common part: a knock-down for reaction type 32 or 64, else a reel.
  void ReelOrKnockDown(int32_t lightType, float lightSlide, int32_t type, int32_t power, bool fromFront, float rate,
                       float slide);
  void KnockDownFacing(bool fromFront);

  // --- life (TEnemy.cpp) ---
  void RollSteal(int32_t value);
  void TakeStolen(int32_t item, int32_t money);
  void GroupHeal();
  // One tick of dying: HP falls by 1; at -15 once no voice sounds, the end.
  void CountDeath();
  void Die();
  void Drop();
  // An effect at the point, looking along the enemy's own z.
  void Spawn(TEffectKind kind, const plat::D3DXVECTOR3& at, const plat::D3DCOLORVALUE& colour,
             const plat::D3DXVECTOR3& scale);
  void Spawn(TEffectKind kind, const plat::D3DXVECTOR3& at);

};
