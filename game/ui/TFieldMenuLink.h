// The field menu and the inn over the field scene: what the menu, its screens and the inn ask of
// the field, answered by the field scene and the player standing in it.
#pragma once
#include <cstdint>
#include <optional>

#include "common/TCountedPtr.h"
#include "game/data/TCharBlock.h"
#include "game/ui/MenuSubjects.h"
#include "game/ui/TInn.h"
#include "game/ui/TPlayerSubjects.h"

class TFieldHudParts;
class TFieldScene;
class TGameWnd;
class TPlayerChar;
class TScene;

class TFieldMenuLink : public TMenuField, public TInnField {
 public:
  explicit TFieldMenuLink(TFieldScene& scene) : scene(scene), player(scene) {}
  ~TFieldMenuLink() override;

  TScene& GetScene() override;
  int32_t GetStageMusicId() const override;
  void RebuildPlayer(uint32_t member) override;
  void RefreshHud() override;
  // The player character's own values; a stage player that is no character (a test's) shows what
  // its state holds, without attack, defence or bonuses.
  const TStatusSheetSubject* GetStatusSheet() override;
  // The current member's own model as the player characters show it; none when the member's hero
  // definition names none.
  std::optional<TMesh8> LoadPartyMemberModel() override;
  TMenuPlayer& GetPlayer() override { return player; }
  // The field's own HUD parts; a field without them gets a set of its own for the menu.
  TGlyphTable& GetGlyphTable() override;
  TGauge& GetGauge() override;
  TSkillRing& GetSkillRing() override;
  void UpdateGauge() override;
  void RestorePlayer() override;

 private:
  // The field's current player character; without one, what its member's block says, and
  // changes go nowhere.
  class TLivePlayer : public TMenuPlayer {
   public:
    explicit TLivePlayer(TFieldScene& scene) : scene(scene) {}
    uint32_t GetMember() const override;
    uint32_t GetWeaponId() const override;
    void SetWeapon(uint32_t id) override;
    uint32_t GetEquipSlot(char slot) const override;
    void SetEquipSlot(uint32_t id, char slot) override;
    bool IsAtSavePoint() const override;
    int32_t GetSavePointId() const override;
    TPlayerState GetState() const override;

   private:
    TPlayerChar* Character() const;
    TPlayerState BlockState() const;

    TFieldScene& scene;
  };

  TFieldHudParts& Hud();

  // The values of a stage player that is no character.
  class TStateSheet : public TStatusSheetSubject {
   public:
    uint32_t GetLevel() const override { return state.level; }
    uint32_t GetExperience() const override { return state.experience; }
    int32_t GetHp() const override { return state.hp; }
    int32_t GetMaxHp() const override { return state.maxHp; }
    int32_t GetMp() const override { return state.mp; }
    int32_t GetMaxMp() const override { return state.maxMp; }
    int32_t GetAttack() const override { return 0; }
    int32_t GetDefence() const override { return 0; }
    int32_t GetParam(int32_t n) const override { return n >= 0 && n < 4 ? state.params[n] : 0; }
    int32_t GetParamBonus(int32_t) const override { return 0; }
    float GetElementRate(int32_t n) const override { return n >= 0 && n < 6 ? state.elements[n] : 0.0f; }
    uint32_t GetWeaponId() const override { return state.weaponId; }

    TPlayerState state;
  };

  TFieldScene& scene;
  TStateSheet sheet;
  std::optional<TPlayerSubjects> characterSheet;
  TLivePlayer player;
  TCountedPtr<TFieldHudParts> spareHud;
};

// The field menu for the field scene, pushed by the stage when the player asks for it.
TScene* CreateFieldMenu(TGameWnd& app, TFieldScene& scene);
