// Field-menu tests: the sample game folder as the working folder, a started game window on the
// headless backends with the real device object over a recording renderer and the real sound
// object over the headless output, the game tables and a new game, and a field scene double
// that paints one colour, answers the menu's questions from plain fields and logs what the menu
// asks of it. Keys are held through whole ticks as a player would hold them.
#pragma once
#include <gtest/gtest.h>

#include <array>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "game/shell/TInput.h"
#include "game/ui/HudSubjects.h"
#include "game/ui/MenuSubjects.h"
#include "game/ui/TGauge.h"
#include "game/ui/TGlyphTable.h"
#include "game/ui/TSkillRing.h"
#include "game/ui/TMenuTop.h"
#include "game/ui/UiServices.h"
#include "platform/gfx/RecordingRenderer.h"
#include "platform/sound/SoundOutput.h"
#include "tests/game/shell/ShellFixture.h"

namespace menutest {

using Log = std::vector<std::string>;

// The field scene under the menu: it clears the picture to its colour.
class PaintedField : public TStateScene {
 public:
  PaintedField(TGameWnd& app, uint32_t colour);
  uint32_t colour;
  int draws = 0;

 private:
  void Paint();
};

// The player in the field: its equipment and where it stands as plain fields; equipping logs.
class MenuPlayer : public TMenuPlayer, public TGaugeSubject {
 public:
  explicit MenuPlayer(Log& log) : log(log) {}

  uint32_t GetMember() const override { return member; }
  uint32_t GetWeaponId() const override { return weaponId; }
  void SetWeapon(uint32_t id) override;
  uint32_t GetEquipSlot(char slot) const override { return slot == 'A' ? accessoryA : accessoryB; }
  void SetEquipSlot(uint32_t id, char slot) override;
  bool IsAtSavePoint() const override { return atSavePoint; }
  int32_t GetSavePointId() const override { return atSavePoint ? savePointId : -1; }
  TPlayerState GetState() const override;

  int32_t GetHp() const override { return 90; }
  int32_t GetMaxHp() const override { return 120; }
  int32_t GetMp() const override { return 20; }
  int32_t GetMaxMp() const override { return 30; }
  int32_t GetRingPointsMax() const override { return 1000; }
  int32_t GetRingPointsUsed() const override { return 250; }
  uint32_t GetLevel() const override { return 4; }
  uint32_t GetExperience() const override { return 4500; }
  uint32_t GetPartyMember() const override { return member; }
  uint16_t GetWeaponPoints() const override;
  uint16_t GetEquipPoints(char slot) const override;

  Log& log;
  uint32_t member = 0, weaponId = 1000, accessoryA = 2000, accessoryB = 2000;
  bool atSavePoint = false;
  int32_t savePointId = 7;
  int32_t hp = 77;  // what a save keeps of it
};

class TestField : public TMenuField, public TStatusSheetSubject {
 public:
  explicit TestField(Log& log) : log(log), player(log) {}

  TScene& GetScene() override { return *scene; }
  int32_t GetStageMusicId() const override { return musicId; }
  void RebuildPlayer(uint32_t member) override;
  void RefreshHud() override { log.push_back("refresh hud"); }
  const TStatusSheetSubject* GetStatusSheet() override { return this; }
  std::optional<TMesh8> LoadPartyMemberModel() override;
  TMenuPlayer& GetPlayer() override { return player; }
  // Made on first use, from the sprite pack (the gauge's icons and face once refreshed).
  TGlyphTable& GetGlyphTable() override;
  TGauge& GetGauge() override;
  TSkillRing& GetSkillRing() override;
  void UpdateGauge() override;

  uint32_t GetLevel() const override { return level; }
  uint32_t GetExperience() const override { return experience; }
  int32_t GetHp() const override { return hp; }
  int32_t GetMaxHp() const override { return maxHp; }
  int32_t GetMp() const override { return mp; }
  int32_t GetMaxMp() const override { return maxMp; }
  int32_t GetAttack() const override { return attack; }
  int32_t GetDefence() const override { return defence; }
  int32_t GetParam(int32_t n) const override { return params[n]; }
  int32_t GetParamBonus(int32_t n) const override { return bonuses[n]; }
  float GetElementRate(int32_t n) const override { return rates[n]; }
  uint32_t GetWeaponId() const override { return weaponId; }

  Log& log;
  PaintedField* scene = nullptr;  // owned by the scene stack
  int32_t musicId = -1;
  // The colour the field shows once the player has been rebuilt as the member.
  std::array<uint32_t, 2> memberColours{0xFFC03020, 0xFF2040C0};
  std::string model;  // a mesh of the mesh folder; empty: none
  MenuPlayer player;
  std::unique_ptr<TGlyphTable> glyphs;
  std::unique_ptr<TGauge> gauge;
  std::unique_ptr<TSkillRing> skillRing;

  uint32_t level = 0, experience = 0, weaponId = 1000;
  int32_t hp = 120, maxHp = 150, mp = 20, maxMp = 30, attack = 12, defence = 9;
  std::array<int32_t, 4> params{10, 11, 12, 13};
  std::array<int32_t, 4> bonuses{};
  std::array<float, 6> rates{1, 1, 1, 1, 1, 1};
};

// Each change logs how it was asked for and is a scene that keeps running.
class TestUiServices : public TUiServices {
 public:
  explicit TestUiServices(Log& log) : log(log) {}
  TScene* CreateTitleChange(TGameWnd& app, int32_t musicId) override;
  TScene* CreateLoadChange(TGameWnd& app, int32_t slot, int32_t musicId) override;
  TScene* CreateEventChange(TGameWnd& app, int32_t fadeKind, int32_t direction, int32_t eventId,
                            int32_t musicId) override;
  Log& log;
};

// The shell's services with the real device and sound objects behind the game window.
class MenuShellServices : public shelltest::LoggingServices {
 public:
  using LoggingServices::LoggingServices;
  TDSound8* Sound() override;
  TD3D8* Device() override;
};

class MenuFixture : public shelltest::ShellFixture {
 protected:
  static constexpr uint32_t kFieldColour = 0xFFC03020;
  static constexpr int32_t kFieldMusic = 0;  // "field.ogg" of the sample's music list

  void SetUp() override;
  void TearDown() override;
  // The device on the recording renderer.
  virtual void StartDevice();

  // One frame of the current scene with exactly one update tick, the buttons held through it;
  // false when the game would end.
  bool Tick(uint32_t buttons = 0);
  void Ticks(int n, uint32_t buttons = 0) {
    for (int i = 0; i < n; ++i) Tick(buttons);
  }
  // Ticks with the buttons held until the condition holds; false when it never did.
  bool TickUntil(const std::function<bool()>& done, uint32_t buttons = 0, int limit = 300);
  // A press of one tick, then one tick with nothing held.
  void Press(uint32_t buttons) {
    Tick(buttons);
    Tick();
  }

  // The sample's item icons ("itm_icon.ptx"), item and skill pictures, skill icons and faces.
  void WriteHudPacks();
  // The field's music playing in set 2, as a stage keeps it.
  void PlayFieldMusic();
  // The menu over the field, run until it waits in its select phase.
  TMenuTop& OpenMenu();
  // The screen in front, as the type asked for; null when another runs.
  template <class S>
  S* Current() {
    return dynamic_cast<S*>(app->GetCurrentScene());
  }

  // The menu and shop sounds started since the last look, in id order (they are stopped for the
  // next).
  std::vector<int32_t> Sounds();
  // The draws of a texture name since the log was cleared; a text texture's name stands for all
  // the textures made under it.
  std::vector<const plat::RecordedDraw*> DrawsOf(const std::string& texture) const;
  // The colour (without alpha) at a pixel of a capture name's texture.
  static uint32_t CapturedAt(const std::string& captureName, uint32_t x, uint32_t y);

  Log fieldLog;
  TestField field{fieldLog};
  TestUiServices uiServices{fieldLog};
  MenuShellServices shell{log};
  plat::HeadlessSoundOutput soundOutput;
  std::shared_ptr<plat::RecordingRenderer> renderer = std::make_shared<plat::RecordingRenderer>();
  TMenuTop* menu = nullptr;  // owned by the scene stack
};

}  // namespace menutest
