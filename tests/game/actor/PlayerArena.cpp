#include "tests/game/actor/PlayerArena.h"

#include "game/data/TWeaponTable.h"
#include "game/effect/EffectFolder.h"
#include "tools/datakit/SampleShotAssets.h"

namespace playerarena {

std::vector<TEffectKind> Outcome::Kinds() const {
  std::vector<TEffectKind> kinds;
  for (const TSpawnRecord& r : spawns) kinds.push_back(r.kind);
  return kinds;
}

const TSpawnRecord& Outcome::Of(TEffectKind kind) const {
  for (const TSpawnRecord& r : spawns)
    if (r.kind == kind) return r;
  ADD_FAILURE() << "no effect " << kind;
  static const TSpawnRecord none;
  return spawns.empty() ? none : spawns.front();
}

void PlayerArena::SetUp() {
  PlayerFixture::SetUp();
  datakit::WriteSampleShotMeshes("data/msh03/");
  datakit::SampleEffectPack().Save("data/ptx03/effect.ptx");
  SetEffectFolder("effect/");
  services.withRoster = true;
  BeforeOpen();
  Open();
  FinishOpeningFade();
  Ticks(30);  // standing on the ground
  player->GetFrame()->SetMatrix(mathcheck::RotationY(0.7f));
  player->SetPosition(Vec(1, player->GetPosition().y, 2));
  player->UpdateWeaponFrames();
  attacktest::RegisterRecordingPrototypes(*field->GetEffectManager(), log);
}

void PlayerArena::TearDown() {
  if (field) field->GetEffectManager()->Clear();
  if (player) player->DropHits();
  PlayerFixture::TearDown();
  SetEffectFolder("");
  TWeaponTable::Clear();  // the tests change weapon records; the next test loads them afresh
}

void PlayerArena::Fresh() {
  field->GetEffectManager()->Clear();
  log->clear();
  player->DropHits();
  player->se.clear();
  SeedRand(kSeed);
}

Outcome PlayerArena::Collect() const {
  Outcome run;
  run.draws = attacktest::DrawsSince(kSeed);
  run.spawns = *log;
  for (const TCountedPtr<THitObject>& volume : player->GetHits()) run.hits.push_back(volume.Get());
  run.sounds = player->se;
  return run;
}

Outcome PlayerArena::Attack(uint16_t kind, bool actorsOnly) {
  Fresh();
  TAttackInfo info{};
  info.attackKind = kind;
  if (actorsOnly)
    player->TActor::Attack(info);
  else
    player->TPlayerChar::Attack(info);
  return Collect();
}

}  // namespace playerarena
