// Actor tests: the field's stage double with a fighter model "char03/fighter.tob" of one 12-frame
// motion, its pattern and weapon-state files in the character folder, a hit table, and a fighter
// double that notes what the actor base does to it.
#pragma once
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "game/actor/TActor.h"
#include "game/actor/TCharSoundLists.h"
#include "game/actor/TPatternInfo.h"
#include "game/actor/TWeponState.h"
#include "game/field/THitTable.h"
#include "tests/game/field/FieldFixture.h"
#include "tools/datakit/HitTableWriter.h"
#include "tools/datakit/PatternWriter.h"
#include "tools/datakit/WeaponStateWriter.h"

namespace actortest {

using plat::D3DXVECTOR3;

constexpr uint32_t kMotionFrames = 12;

inline TActorStats Stats(int32_t attack = 100, int32_t defence = 30) {
  TActorStats s;
  s.maxHp = s.hp = 500;
  s.maxSp = s.sp = 50;
  s.params = {attack, defence, attack * 2, defence * 2};
  return s;
}

// One reaction the fighter was asked for.
struct TReaction {
  int kind;
  uint32_t element;
  int32_t soundLevel, status, scale;
  bool facing, longStun;
  float p1, p2, p3;
  int32_t damage;
};

struct TLanded {
  uint32_t victim;
  int32_t value, damage;
  uint8_t hasHit;
};

class TestFighter : public TActor {
 public:
  explicit TestFighter(const TActorStats& stats = Stats(), const std::string& name = "fighter")
      : TActor(5, 0.5f, 1.0f, 1, 1, -0.01f, stats, name) {}
  // A clone notes nothing of the source's notes.
  TestFighter(const TestFighter& source) : TActor(source) {}

  void Update() override {}
  bool IsAirborne() override { return false; }
  bool QueryStateA() const override { return acting; }
  bool QueryStateB() const override { return stunned; }
  // As the enemies give it: the frame of the record's attach point, power from the first
  // parameter (the third for magic), the element and sound level the test sets.
  void GetHitParams(const THitRecord& def, THitParams& out) override {
    out.parent = def.attachPoint == 1 ? GetLeftWeaponFrame() : def.attachPoint == 2 ? GetRightWeaponFrame() : GetFrame();
    out.position = D3DXVECTOR3(def.position[0], def.position[1], def.position[2]);
    out.radius = radius < 0 ? def.radius : radius;
    out.attackValue = static_cast<uint32_t>((def.hitFlags & 0x100) ? GetParam2() : GetParam0());
    out.element = element;
    out.soundLevel = soundLevel;
  }
  void OnHitLanded(TFieldActor& victim, int32_t value, int32_t damage, uint8_t hasHit) override {
    landed.push_back({victim.GetObjectId(), value, damage, hasHit});
  }
  void OnHitKind1(uint32_t e, int32_t l, int32_t st, int32_t sc, bool f, float p1, float p2, int32_t d) override {
    reactions.push_back({1, e, l, st, sc, f, false, p1, p2, 0, d});
  }
  void OnHitKind2(uint32_t e, int32_t l, int32_t st, int32_t sc, bool f, float p1, float p2, int32_t d) override {
    reactions.push_back({2, e, l, st, sc, f, false, p1, p2, 0, d});
  }
  void OnHitKind4(uint32_t e, int32_t l, int32_t st, int32_t sc, bool f, float p1, float p2, float p3,
                  int32_t d) override {
    reactions.push_back({4, e, l, st, sc, f, false, p1, p2, p3, d});
  }
  void OnHitKind8(uint32_t e, int32_t l, int32_t st, int32_t sc, bool longStun, bool f, float p1, float p2,
                  int32_t d) override {
    reactions.push_back({8, e, l, st, sc, f, longStun, p1, p2, 0, d});
  }
  void OnHitKind16(uint32_t e, int32_t l, int32_t st, int32_t sc, bool f, float p1, float p2, int32_t d) override {
    reactions.push_back({16, e, l, st, sc, f, false, p1, p2, 0, d});
  }
  void PlaySe(int32_t id) override {
    se.push_back(id);
    if (sounds) sounds->PlaySe(id);
  }
  void PlayVoice(int32_t id) override { voices.push_back(id); }
  void Attack(const TAttackInfo& info) override { attacks.push_back(info.attackKind); }
  void ShakeCamera(const TAttackInfo& info) override {
    shakes.push_back(info.shakeLevel);
    TActor::ShakeCamera(info);
  }
  void StartPatternHit(const TAttackInfo& info) override {
    patternHits.push_back(info.hitId);
    TActor::StartPatternHit(info);
  }

  // The model at a frame of its one motion.
  void At(float time) { GetModel()->SetMotionTime(time); }

  using TActor::blinkFalling;
  using TActor::elements;
  using TActor::mainState;
  using TActor::specialHits;
  using TActor::stunMark;
  using TActor::velocity;
  using TActor::voiceTimer;

  bool acting = false;
  bool stunned = false;
  float radius = -1;  // < 0: the record's
  uint32_t element = 0;
  int32_t soundLevel = -1;
  std::unique_ptr<TCharSoundLists> sounds;
  std::vector<TReaction> reactions;
  std::vector<TLanded> landed;
  std::vector<int32_t> se, voices;
  std::vector<uint16_t> attacks, patternHits;
  std::vector<uint8_t> shakes;
};

class ActorFixture : public fieldtest::FieldFixture {
 protected:
  void SetUp() override {
    FieldFixture::SetUp();
    const std::string chr = dir.path() + "/chr/";
    TPatternInfo::SetFolder(chr);
    TWeponState::SetFolder(chr);
    SetHitFolder(chr);
    datakit::MeshFile model = datakit::MeshFile::FromShape(
        "fighter", datakit::BoxShape(0.5f, 1.0f, 0.5f).Move(0, 0.5f, 0),
        {datakit::MeshMaterial::Colored("skin", 0.8f, 0.6f, 0.5f), datakit::MeshMaterial::Colored("cloth", 0, 0, 1)});
    model.parts.assign(model.parts.size(), 0);
    for (size_t t = model.parts.size() / 2; t < model.parts.size(); ++t) model.parts[t] = 1;
    model.frames.push_back(model.frames[0]);
    datakit::MeshClip clip{"stand", {}, {}};
    for (uint32_t f = 0; f < kMotionFrames; ++f) {
      clip.frameMap.push_back(f % 2);
      clip.speeds.push_back(1.0f);
    }
    model.clips = {clip};
    model.Tob().Save(dir / "char03/fighter.tob");
    WritePattern({});
    WriteWeaponStates();
    WriteHitTable({});
  }
  void TearDown() override {
    WriteHitTable({});  // the table is program-wide: leave it empty
    SetHitFolder("");
    TWeponState::SetFolder("");
    TPatternInfo::SetFolder("");
    FieldFixture::TearDown();
  }

  // Motion 0 of "fighter.pat": the frames given, then empty ones up to the motion's length.
  void WritePattern(std::vector<datakit::PatternFrame> frames) {
    frames.resize(kMotionFrames);
    datakit::PatternFile file;
    file.motions = {frames};
    file.Save(dir.path() + "/chr/fighter.pat");
  }
  // Key k holds the left hand at (k, 0, 0) and the right at (0, k, 0); frame f uses key f.
  void WriteWeaponStates() {
    datakit::WeaponStateFile file;
    file.motions.emplace_back();
    for (uint32_t k = 0; k < kMotionFrames; ++k) {
      datakit::HandKey key;
      key.leftPosition = {static_cast<float>(k), 0, 0};
      key.rightPosition = {0, static_cast<float>(k), 0};
      file.keys.push_back(key);
      file.motions[0].push_back(k);
    }
    file.Save(dir.path() + "/chr/fighter.wpm");
  }
  void WriteHitTable(const std::vector<datakit::HitRecordRow>& rows) {
    datakit::HitTableFile file;
    file.records = rows;
    file.Save(dir.path() + "/chr/basic.bht");
    THitTable::Load("basic.bht");
  }
  // Two fighters on the stage, the attacker at the origin facing -z (its front), the victim one
  // unit before it.
  void Stage(TestFighter& attacker, TestFighter& victim) {
    attacker.Attach(&stage);
    victim.Attach(&stage);
    victim.SetPosition(D3DXVECTOR3(0, 0, -1));
  }
  // A volume of the attacker around the victim's body with the values given.
  TCountedPtr<THitObject> VolumeOn(TestFighter& attacker, TestFighter& victim, const THitVolumeValues& values) {
    D3DXVECTOR3 at = victim.GetBodyCenter();
    return THitObject::Create(attacker.GetObjectId(), *stage.scene, at, values);
  }
};

}  // namespace actortest
