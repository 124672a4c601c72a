// What the field menu and its screens ask of the field scene that opened the menu and of the
// player character in it. The field scene answers through this view, so the screens run on any
// field that does.
#pragma once
#include <cstdint>
#include <optional>

#include "common/TMesh8.h"
#include "game/data/TCharBlock.h"

class TGauge;
class TGlyphTable;
class TScene;
class TSkillRing;

// The player character's values that the status screen shows.
class TStatusSheetSubject {
 public:
  virtual uint32_t GetLevel() const = 0;  // stored from 0
  virtual uint32_t GetExperience() const = 0;
  virtual int32_t GetHp() const = 0;
  virtual int32_t GetMaxHp() const = 0;
  virtual int32_t GetMp() const = 0;
  virtual int32_t GetMaxMp() const = 0;
  virtual int32_t GetAttack() const = 0;  // without the weapon's
  virtual int32_t GetDefence() const = 0;
  // STR, VIT, INT, MEN (0-3) and the bonus part of each.
  virtual int32_t GetParam(int32_t n) const = 0;
  virtual int32_t GetParamBonus(int32_t n) const = 0;
  // Fire, water, wind, soil, light, dark (0-5): fractions, never below 0.
  virtual float GetElementRate(int32_t n) const = 0;
  virtual uint32_t GetWeaponId() const = 0;

 protected:
  ~TStatusSheetSubject() = default;
};

// The player character as the equipment, skill and save screens read and change it.
class TMenuPlayer {
 public:
  virtual uint32_t GetMember() const = 0;  // 0 the hero, 1 the heroine
  virtual uint32_t GetWeaponId() const = 0;
  // Equips the weapon in both hands by its type; the character keeps its style until rebuilt.
  virtual void SetWeapon(uint32_t id) = 0;
  // The accessory in slot 'A' or 'B'; 0 when the slot holds none.
  virtual uint32_t GetEquipSlot(char slot) const = 0;
  virtual void SetEquipSlot(uint32_t id, char slot) = 0;
  virtual bool IsAtSavePoint() const = 0;
  // The save point it stands at; -1 away from one.
  virtual int32_t GetSavePointId() const = 0;
  // The live values that its member's block of the game-progress record keeps.
  virtual TPlayerState GetState() const = 0;

 protected:
  ~TMenuPlayer() = default;
};

class TMenuField {
 public:
  virtual ~TMenuField() = default;

  // The field scene itself: the menu draws it again when it takes its background anew.
  virtual TScene& GetScene() = 0;
  // The stage music's sound id in set 2; -1 when the stage has none.
  virtual int32_t GetStageMusicId() const = 0;
  // Makes the member the current one and puts a player character built for it where the old one
  // stood.
  virtual void RebuildPlayer(uint32_t member) = 0;
  // The HUD's character panel, skill ring and item ring from the player, after the menu.
  virtual void RefreshHud() = 0;
  // The player character as the status screen reads it; null without one.
  virtual const TStatusSheetSubject* GetStatusSheet() = 0;
  // The current party member's model for the status screen; none when it has none.
  virtual std::optional<TMesh8> LoadPartyMemberModel() = 0;
  // The player character as it stands now (a rebuild replaces it).
  virtual TMenuPlayer& GetPlayer() = 0;
  // The HUD parts the field keeps, which the item, equipment and skill screens show and change.
  virtual TGlyphTable& GetGlyphTable() = 0;
  virtual TGauge& GetGauge() = 0;
  virtual TSkillRing& GetSkillRing() = 0;
  // The character panel's bars, level and marks from the player.
  virtual void UpdateGauge() = 0;
};
