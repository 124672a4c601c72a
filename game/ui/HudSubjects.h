// What the HUD widgets ask of the player character, one small view per widget family. The widgets
// read the player only through these, so they run on any character that answers them.
#pragma once
#include <cstddef>
#include <cstdint>

class TFrame8;

// The character panel's readings, taken every frame.
class TGaugeSubject {
 public:
  virtual int32_t GetHp() const = 0;
  virtual int32_t GetMaxHp() const = 0;
  virtual int32_t GetMp() const = 0;
  virtual int32_t GetMaxMp() const = 0;
  virtual int32_t GetRingPointsMax() const = 0;
  virtual int32_t GetRingPointsUsed() const = 0;
  virtual uint32_t GetLevel() const = 0;  // stored from 0
  virtual uint32_t GetExperience() const = 0;
  virtual uint32_t GetPartyMember() const = 0;  // 0 the hero, 1 the heroine
  // The weapon in hand: the temporary second weapon's when one is set.
  virtual uint32_t GetWeaponId() const = 0;
  // Mastery 0-1000 of the weapon in hand and of the accessory in slot 'A' or 'B'.
  virtual uint16_t GetWeaponPoints() const = 0;
  virtual uint16_t GetEquipPoints(char slot) const = 0;

 protected:
  ~TGaugeSubject() = default;
};

// The item ring and the skill ring: the pad words and the ring's command.
class TRingSubject {
 public:
  // The button word of `age` ticks ago (0 this tick, 1 the tick before).
  virtual uint32_t GetButtons(size_t age) const = 0;
  // True while the character is free and the ring button is held.
  virtual bool IsRingKeyHeld() const = 0;
  // Uses the item when the character is free and has the ring points it costs.
  virtual void UseRingCommand(uint32_t itemId) = 0;
  virtual uint32_t GetPartyMember() const = 0;

 protected:
  ~TRingSubject() = default;
};

// The status icons: the character's status counters and where it stands.
class TStatusSubject {
 public:
  // Counter of status 0-5 (poison, sickness, confusion, fear, slow, silence); active above 0.
  virtual int32_t GetStatusCounter(int32_t status) const = 0;
  virtual uint32_t GetPartyMember() const = 0;
  virtual TFrame8* GetFrame() const = 0;
  virtual float GetBodyHeight() const = 0;

 protected:
  ~TStatusSubject() = default;
};

// What the character gained at its last level-up.
struct TLevelUpGains {
  int32_t hp = 0, mp = 0, str = 0, vit = 0, intelligence = 0, men = 0;
};

class TLevelUpSubject {
 public:
  virtual TLevelUpGains GetLastLevelUpGains() const = 0;

 protected:
  ~TLevelUpSubject() = default;
};
