// The sample game folder (tables, textures, meshes, sounds) in a temporary directory, its tables
// and a new game loaded, a device on the recording renderer inside a scene, the effects set on the
// headless sound output, the field's glyph table, and a stand-in player character whose readings
// the tests set directly.
#pragma once
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <memory>
#include <string>
#include <vector>

#include "common/TFrame8.h"
#include "game/data/TSkillTable.h"
#include "game/ui/HudSubjects.h"
#include "game/ui/TGlyphTable.h"
#include "platform/sound/SoundOutput.h"
#include "sound/TDSound8.h"
#include "sound/TSound8.h"
#include "sound/TSoundSet8.h"
#include "tests/game/data/GameDataFixture.h"
#include "tools/datakit/SampleGameTables.h"
#include "tools/datakit/SampleMeshes.h"
#include "tools/datakit/SampleSound.h"
#include "tools/datakit/SampleTextures.h"

// What the widgets read of the player character, as plain fields.
class StandInPlayer : public TGaugeSubject, public TRingSubject, public TStatusSubject, public TLevelUpSubject {
 public:
  int32_t GetHp() const override { return hp; }
  int32_t GetMaxHp() const override { return maxHp; }
  int32_t GetMp() const override { return mp; }
  int32_t GetMaxMp() const override { return maxMp; }
  int32_t GetRingPointsMax() const override { return ringMax; }
  int32_t GetRingPointsUsed() const override { return ringUsed; }
  uint32_t GetLevel() const override { return level; }
  uint32_t GetExperience() const override { return experience; }
  uint32_t GetPartyMember() const override { return member; }
  uint32_t GetWeaponId() const override { return weaponId; }
  uint16_t GetWeaponPoints() const override { return mastery[0]; }
  uint16_t GetEquipPoints(char slot) const override { return mastery[slot == 'A' ? 1 : slot == 'B' ? 2 : 0]; }

  uint32_t GetButtons(size_t age) const override { return age < buttons.size() ? buttons[age] : 0; }
  bool IsRingKeyHeld() const override { return ringKey; }
  void UseRingCommand(uint32_t itemId) override { used.push_back(itemId); }

  int32_t GetStatusCounter(int32_t status) const override { return counters[status]; }
  TFrame8* GetFrame() const override { return frame.Get(); }
  float GetBodyHeight() const override { return bodyHeight; }

  TLevelUpGains GetLastLevelUpGains() const override { return gains; }

  // A tick's pad word; the previous one becomes the word before.
  void Press(uint32_t word) { buttons = {word, buttons[0]}; }

  int32_t hp = 100, maxHp = 100, mp = 30, maxMp = 30, ringMax = 1000, ringUsed = 0;
  uint32_t level = 0, experience = 0, member = 0, weaponId = 1000;
  std::array<uint16_t, 3> mastery{};
  std::array<uint32_t, 2> buttons{};
  bool ringKey = false;
  std::vector<uint32_t> used;
  std::array<int32_t, 6> counters{};
  TCountedPtr<TFrame8> frame;
  float bodyHeight = 1.5f;
  TLevelUpGains gains;
};

// A recorded quad's corners: left, top, right, bottom.
struct Quad {
  float left, top, right, bottom;
  float Width() const { return right - left; }
  float Height() const { return bottom - top; }
};

class HudFixture : public GameDataFixture {
 protected:
  void SetUp() override {
    GameDataFixture::SetUp();
    datakit::WriteSampleGameTables(GetDataFolder());
    TWeaponTable::Clear();
    TAccessoryTable::Clear();
    TWeaponTable::Load(GetDataFolder() + "wepon.tbl");
    TAccessoryTable::Load(GetDataFolder() + "accessory.tbl");
    LoadGameTables();
    Data().NewGame();
    datakit::WriteSampleSound("");
    datakit::SampleSpritePack().Save("data/ptx03/sprite.ptx");
    datakit::SampleItemIconPack().Save("data/ptx03/itm_icon.ptx");
    datakit::WriteSampleHudPacks("data/ptx03/");
    datakit::WriteSampleMeshes("data/msh03/");
    ASSERT_NO_FATAL_FAILURE(StartDevice());
    ASSERT_EQ(TD3D8::BeginScene(), plat::D3D_OK);
    plat::SetSoundOutput(&output);
    TDSound8::Get().SetSeFolder("data/se03/");
    TDSound8::Get().Init(nullptr);
    TDSound8::Get().LoadSet(GetDataFolder() + "se.tbl", "se.pse/", 0, -10000, 0);
    glyphs = std::make_unique<TGlyphTable>("sprite.ptx/word");
  }
  void TearDown() override {
    glyphs.reset();
    TDSound8::Get().Uninit();
    plat::SetSoundOutput(nullptr);
    GameDataFixture::TearDown();
  }

  // The device on the recording renderer.
  virtual void StartDevice() { device.Start(dir / "Duskwheel03"); }

  // Whether the effect played since the last look (it is stopped for the next one).
  static bool Played(int32_t id) {
    TCountedPtr<TSoundSet8> set = TDSound8::Get().Find(0);
    TCountedPtr<TSound8> sound = set->GetSound(id);
    const bool playing = sound && sound->GetState() == TSound8::kPlaying;
    set->Stop(id);
    return playing;
  }

  const std::vector<plat::RecordedDraw>& Draws() { return device.renderer->Draws(); }
  // The draws of one texture, in order.
  std::vector<Quad> QuadsOf(const std::string& texture) {
    std::vector<Quad> quads;
    for (const plat::RecordedDraw& d : Draws())
      if (d.textures[0].name == texture) quads.push_back(QuadOf(d));
    return quads;
  }
  static Quad QuadOf(const plat::RecordedDraw& d) {
    Quad q{1e9f, 1e9f, -1e9f, -1e9f};
    for (const auto& v : d.vertices) {
      q.left = std::min(q.left, v.position.x);
      q.right = std::max(q.right, v.position.x);
      q.top = std::min(q.top, v.position.y);
      q.bottom = std::max(q.bottom, v.position.y);
    }
    return q;
  }
  // u and v of a sprite's four corners.
  static std::array<float, 8> Uv(const TSprite8& s) {
    std::array<float, 8> uv;
    for (int k = 0; k < 4; ++k) {
      uv[2 * k] = s.vertices[k].u;
      uv[2 * k + 1] = s.vertices[k].v;
    }
    return uv;
  }
  // Whether a sprite shows the glyph of c.
  ::testing::AssertionResult ShowsGlyph(const TSprite8& s, char c) {
    if (Uv(s) == Uv(glyphs->GetGlyph(c)) && s.texture.GetName() == "sprite.ptx/word")
      return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << "not the glyph '" << c << "'";
  }

  plat::HeadlessSoundOutput output;
  std::unique_ptr<TGlyphTable> glyphs;
  StandInPlayer player;
};
