// The HUD double of the player-character and enemy tests: the scene's HUD makes a player HUD that
// notes in the log what the character does with it, and keeps the enemy panels and gain notices
// shown. A notice and the level-up panel last as many updates as the test sets (none by default:
// they are over as soon as they are shown).
#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "common/TCountedPtr.h"
#include "game/actor/PlayerHud.h"
#include "tests/game/field/FieldSceneFixture.h"

namespace hudtest {

using fieldscenetest::Log;

// A HUD panel that finishes after a number of updates.
class TestHudItem : public TPlayerHudItem {
 public:
  explicit TestHudItem(int32_t life) : life(life) {}
  void Update() override { --life; }
  bool IsFinished() const override { return life <= 0; }
  void Draw() override { ++draws; }

  int32_t life;
  int32_t draws = 0;
};

class TestPlayerHud : public TPlayerHud {
 public:
  struct TPanel {
    int32_t hits, damage;
    bool operator==(const TPanel&) const = default;
  };

  explicit TestPlayerHud(Log& log) : log(log), levelUp(new TestHudItem(0)) {}

  void RefreshGauge() override { log.push_back("gauge refresh"); }
  void UpdateGauge() override { log.push_back("gauge update"); }
  void ResetItemRing() override { log.push_back("ring reset"); }
  void RefreshItemRing() override { log.push_back("ring refresh"); }
  bool StepItemRing() override { return ringHasPad; }
  void RefreshSkillRing() override { log.push_back("skill ring refresh"); }
  void HandleSkillRingInput() override {}
  uint32_t GetSkillRingCursor() const override { return cursor; }
  void SetSkillRingCursor(uint32_t entry) override { cursor = entry; }
  void PushSkill(uint32_t skillId) override { log.push_back("skill " + std::to_string(skillId)); }
  void UpdateMessages() override {}
  void AttachStatusIcons() override { log.push_back("icons attach"); }
  void DetachStatusIcons() override { log.push_back("icons detach"); }
  void UpdateStatusIcons() override {}
  void ShowEnemyPanel(float x, float y, int32_t hits, int32_t damage) override {
    log.push_back("enemy panel " + std::to_string(static_cast<int>(x)) + "," + std::to_string(static_cast<int>(y)) +
                  " " + std::to_string(hits) + " " + std::to_string(damage));
    panels.push_back({hits, damage});
  }
  void UpdateEnemyPanel() override {}
  TCountedPtr<TPlayerHudItem> ShowLevelUp(float x, float y) override {
    log.push_back("level up " + std::to_string(static_cast<int>(x)) + "," + std::to_string(static_cast<int>(y)));
    levelUp->life = levelUpLife;
    return levelUp;
  }
  bool IsLevelUpShowing() const override { return !levelUp->IsFinished(); }
  TCountedPtr<TPlayerHudItem> ShowNotice(const TGainNotice& notice, float x, float y) override {
    log.push_back("notice " + std::to_string(notice.sequence) + " at " + std::to_string(static_cast<int>(x)) + "," +
                  std::to_string(static_cast<int>(y)));
    notices.push_back(notice);
    return TCountedPtr<TPlayerHudItem>(new TestHudItem(noticeLife));
  }
  void DrawParts() override { log.push_back("draw parts"); }
  void DrawMessages() override { log.push_back("draw messages"); }

  Log& log;
  bool ringHasPad = false;
  uint32_t cursor = 0;
  int32_t noticeLife = 0;
  int32_t levelUpLife = 0;
  TCountedPtr<TestHudItem> levelUp;
  std::vector<TPanel> panels;
  std::vector<TGainNotice> notices;
};

// The scene's HUD, which makes the player's.
class TestHudMaker : public fieldscenetest::TestHud, public TPlayerHudMaker {
 public:
  using TestHud::TestHud;
  TCountedPtr<TPlayerHud> MakePlayerHud(TPlayerChar&) override {
    last = new TestPlayerHud(playerHudLog ? *playerHudLog : log);
    last->noticeLife = noticeLife;
    last->levelUpLife = levelUpLife;
    return TCountedPtr<TPlayerHud>(last);
  }

  TestPlayerHud* last = nullptr;
  // What the next player HUD starts with: where it logs (the scene HUD's log when null) and how
  // long its notices and level-up panel last.
  Log* playerHudLog = nullptr;
  int32_t noticeLife = 0;
  int32_t levelUpLife = 0;
};

}  // namespace hudtest
