#include "tests/game/actor/AttackFixture.h"

#include <algorithm>
#include <initializer_list>
#include <tuple>
#include <type_traits>

#include "common/TTexture8.h"
#include "game/field/THitObject.h"
#include "tools/datakit/HitTableWriter.h"
#include "tools/datakit/SampleCharData.h"
#include "tools/datakit/SampleMeshes.h"
#include "tools/datakit/SampleShotAssets.h"

namespace attacktest {

using mathcheck::Vec;

namespace {

std::string Colour(const D3DCOLORVALUE& c) {
  return "(" + Num(c.r) + ", " + Num(c.g) + ", " + Num(c.b) + ", " + Num(c.a) + ")";
}

bool IsWhite(const D3DCOLORVALUE& c) { return c.r == 1 && c.g == 1 && c.b == 1 && c.a == 1; }
bool IsOnes(const D3DXVECTOR3& v) { return v.x == 1 && v.y == 1 && v.z == 1; }

}  // namespace

void EnemiesDouble::FindInRadius(const D3DXVECTOR3& point, float radius, int32_t* handles, uint32_t capacity) const {
  std::fill(handles, handles + capacity, -1);
  uint32_t found = 0;
  for (const auto& [handle, body] : bodies) {
    if (found == capacity) break;
    const D3DXVECTOR3 d(body.x - point.x, body.y - point.y, body.z - point.z);
    if (plat::D3DXVec3Length(&d) < radius) handles[found++] = handle;
  }
}

ArenaStage::ArenaStage() : root(CreateNamedFrame("Stage", IdentityMatrix())) {
  effectStage = this;
  root->SetPositionXYZ(0, 3, -10);
}

TEffectActor* ArenaStage::FindActor(int32_t id) {
  return dynamic_cast<TEffectActor*>(TestStage::FindActor(static_cast<uint32_t>(id)));
}

void AttackFixture::SetUp() {
  ActorFixture::SetUp();
  const std::string folder = dir.path() + "/";
  SetEffectFolder("effect/");
  datakit::WriteSampleShotMeshes(folder);
  datakit::SampleEffectPack().Save(folder + "effect.ptx");
  TTexture8::SetFolder(folder);

  // Every sample record, its landed value its id, so that the volumes tell which record made them.
  std::vector<datakit::HitRecordRow> rows = datakit::SampleHitRecords();
  for (datakit::HitRecordRow& r : rows) r.landedValue = static_cast<int32_t>(r.id);
  WriteHitTable(rows);

  manager = std::make_unique<TEffectManager>([this](TEffectManager& m) { RegisterRecordingPrototypes(m, log); });
  arena.effects = manager.get();
  arena.enemies = &enemies;
  PlaceAttacker();
}

void AttackFixture::TearDown() {
  manager->Clear();
  if (attacker) attacker->DropHits();
  attacker.reset();
  foes.clear();
  arena.effects = nullptr;
  manager.reset();
  arena.scene->RemoveChildren();
  TTexture8::Purge(1);
  TTexture8::SetFolder("");
  SetEffectFolder("");
  ActorFixture::TearDown();
}

void AttackFixture::PlaceAttacker() {
  attacker = std::make_unique<Attacker>();
  attacker->GetFrame()->SetMatrix(mathcheck::RotationY(0.52359879f));
  attacker->SetPosition(Vec(1, 0, 2));
  attacker->Attach(&arena);
  // Two foes within five units of its body, a third far off.
  for (const D3DXVECTOR3& at : {Vec(1, 0, -1), Vec(3, 0, 0), Vec(20, 0, 20)}) {
    foes.push_back(std::make_unique<actortest::TestFighter>());
    foes.back()->SetPosition(at);
    foes.back()->Attach(&arena);
    enemies.bodies.emplace_back(static_cast<int32_t>(foes.back()->GetObjectId()), foes.back()->GetBodyCenter());
  }
}

int AttackFixture::DrawsSince(uint32_t seed) { return attacktest::DrawsSince(seed); }

TAttackRun AttackFixture::Run(uint16_t kind, uint32_t seed) {
  manager->Clear();
  log->clear();
  attacker->DropHits();
  attacker->se.clear();
  attacker->shakeInfos.clear();
  attacker->asked.clear();
  attacker->SetHp(100);

  SeedRand(seed);
  TAttackInfo info{};
  info.attackKind = kind;
  attacker->Attack(info);

  TAttackRun run;
  run.draws = DrawsSince(seed);
  run.spawns = *log;
  for (const TCountedPtr<THitObject>& volume : attacker->GetHits()) run.hits.push_back(volume.Get());
  run.sounds = attacker->se;
  run.shakes = attacker->shakeInfos;
  run.healed = attacker->GetHp() - 100;
  run.text = Describe(run);
  return run;
}

std::string AttackFixture::Describe(const TAttackRun& run) const {
  const auto frameName = [&](const TFrame8* f) -> std::string {
    if (f == arena.scene.Get()) return "scene";
    if (f == attacker->GetFrame()) return "actor";
    for (size_t i = 0; i < run.spawns.size(); ++i) {
      TEffect* e = run.spawns[i].effect;
      if (e->GetFrame() == f) return "#" + std::to_string(i);
      if (TShotEffect* shot = AsShot(e); shot && shot->GetHeadFrame() == f) return "head of #" + std::to_string(i);
    }
    return "?";
  };
  // A volume as a shot or a thunder holds it: the same object seen through one of its bases.
  const auto hitIndex = [&](const auto* volume) -> std::string {
    using Seen = std::remove_cv_t<std::remove_pointer_t<decltype(volume)>>;
    for (size_t i = 0; i < run.hits.size(); ++i)
      if (static_cast<const Seen*>(run.hits[i]) == volume) return "hit " + std::to_string(i);
    return "?";
  };
  const auto curve = [](const TBezierMover& b) {
    return " step " + Num(b.GetStep()) + " through " + Vec3(b.GetPoint(0)) + " " + Vec3(b.GetPoint(1)) + " " +
           Vec3(b.GetPoint(2)) + " " + Vec3(b.GetPoint(3));
  };
  const auto moverText = [&](TEffectMover* m) -> std::string {
    if (auto* l = dynamic_cast<TLineMover*>(m))
      return "line from " + Vec3(l->GetPosition()) + " along " + Vec3(l->GetDirection()) + " speed " +
             Num(l->GetSpeed()) + " accel " + Num(l->GetAcceleration());
    if (auto* f = dynamic_cast<TFallMover*>(m))
      return "fall from " + Vec3(f->GetPosition()) + " along " + Vec3(f->GetDirection()) + " speed " +
             Num(f->GetSpeed()) + " accel " + Num(f->GetAcceleration());
    if (auto* s = dynamic_cast<TShakeFollowMover*>(m))
      return "shake on " + frameName(s->GetReference()) + " at " + Vec3(s->GetPoint()) + " trail " +
             Vec3(s->GetOffset()) + " jitter " + Vec3(s->GetJitterScale());
    if (auto* s = dynamic_cast<TBezierSeekMover*>(m))
      return "seek " + std::to_string(s->GetTargetId()) + " until " + Num(s->GetHomingLimit()) + " raised " +
             Num(s->GetHeightOffset()) + curve(*s);
    if (auto* b = dynamic_cast<TBezierPlainMover*>(m)) return "plain curve" + curve(*b);
    if (auto* b = dynamic_cast<TBezierPathMover*>(m)) return "turning curve" + curve(*b);
    if (auto* o = dynamic_cast<TOrbitFollowMover*>(m))
      return "orbit on " + frameName(o->GetFollowed()) + " centre " + Vec3(o->GetCentre()) + " angle " +
             Num(o->GetAngle()) + " radius " + Num(o->GetRadius()) + " turn " + Num(o->GetAngularSpeed()) +
             " growth " + Num(o->GetGrowth()) + " limit " + Num(o->GetLimit()) + " trail " + Vec3(o->GetOffset());
    return "mover ?";
  };

  std::string out = "draws " + std::to_string(run.draws) + "\n";
  const auto line = [&out](const std::string& text) { out += "  " + text + "\n"; };
  for (size_t i = 0; i < run.spawns.size(); ++i) {
    const TSpawnRecord& r = run.spawns[i];
    std::string head = "#" + std::to_string(i) + " fx " + std::to_string(r.kind) + " at " + Vec3(r.position) +
                       " look " + Vec3(r.look);
    if (!IsWhite(r.colour)) head += " colour " + Colour(r.colour);
    if (!IsOnes(r.scale)) head += " scale " + Vec3(r.scale);
    if (r.parent != arena.scene.Get()) head += " under " + frameName(r.parent);
    line(head);
    if (r.casterId) line("  caster " + (*r.casterId == static_cast<int32_t>(attacker->GetObjectId())
                                            ? std::string("self")
                                            : std::to_string(*r.casterId)));
    if (r.ownerId) line("  owner " + std::to_string(*r.ownerId));
    for (const std::string& note : r.notes) line("  " + note);
    if (TShotEffect* shot = AsShot(r.effect)) {
      if (shot->GetLifetime() != kPrototypeLife) line("  life " + std::to_string(shot->GetLifetime()));
      if (shot->GetMotion()) line("  " + moverText(shot->GetMotion()));
      if (const TEffectHitVolume* carried = CarriedVolume(r.effect)) line("  carries " + hitIndex(carried));
    }
    if (auto* relay = dynamic_cast<TRelayShot*>(r.effect))
      for (size_t k = 0; k < relay->kinds.size(); ++k)
        line("  follow-up " + std::to_string(relay->kinds[k]) + " at " + Vec3(relay->positions[k]) + " scale " +
             Vec3(relay->scales[k]) + " colour " + Colour(relay->colours[k]));
    if (TBurstShotLook* burst = AsBurstShot(r.effect)) {
      const TBurstLook& look = burst->GetLook();
      line("  burst scale " + Vec3(look.firstScale) + " colours " + Colour(look.firstColour) + " " +
           Colour(look.secondColour));
    }
    if (auto* thunder = dynamic_cast<TThunderEffect*>(r.effect)) {
      line("  watches " + hitIndex(thunder->GetWatchedEffect()));
      std::string sparkles = "?";
      for (size_t k = 0; k < run.spawns.size(); ++k)
        if (run.spawns[k].effect == thunder->GetSparkles()) sparkles = "#" + std::to_string(k);
      line("  sparkles " + sparkles + " drift " + Vec3(thunder->GetVelocity()));
    }
    TShotEffect* shot = AsShot(r.effect);
    if (const TFrame8* shown = shot ? shot->GetHeadFrame() : r.effect->GetFrame()) {
      // A frame (a shot's parts) turned after the spawn: its world axes no longer those of its look.
      TCountedPtr<TFrame8> plain = CreateNamedFrame("Plain", IdentityMatrix());
      plain->LookAt(r.look, Vec(0, 1, 0));
      plat::D3DXMATRIX got;
      shown->GetWorldMatrix(&got);
      const plat::D3DXMATRIX& want = *plain->GetMatrix();
      bool turned = false;
      for (int row = 0; row < 3; ++row)
        for (int col = 0; col < 3; ++col) turned |= std::fabs(got.m[row][col] - want.m[row][col]) > 1e-4f;
      if (turned)
        line(std::string(shot ? "  parts turned y " : "  turned y ") + Vec3(mathcheck::Row(got, 1)) + " z " +
             Vec3(mathcheck::Row(got, 2)));
    }
  }
  for (size_t i = 0; i < run.hits.size(); ++i) {
    const THitObject& hit = *run.hits[i];
    const THitVolumeValues& v = hit.GetValues();
    D3DXVECTOR3 at;
    hit.GetFrame()->GetPosition(&at);
    std::string text = "hit " + std::to_string(i) + " ";
    text += v.landedValue == -1 ? std::string("made") : "id " + std::to_string(v.landedValue);
    text += " on " + frameName(hit.GetFrame()->GetParent()) + " at " + Vec3(at);
    line(text);
    if (v.landedValue == -1) {
      char values[200];
      std::snprintf(values, sizeof values, "kind %u frames %u hits %u rehit %d flags 0x%x element %u power %u",
                    v.volumeKind, v.framesLeft, v.hitsLeft, v.rehitInterval, static_cast<unsigned>(v.hitFlags),
                    v.paramB, v.attackValue);
      line("  " + std::string(values) + " x " + Num(v.paramD) + " radius " + Num(v.radius) + " p " + Num(v.paramE) +
           " " + Num(v.paramF) + " " + Num(v.paramG) + " sound " + std::to_string(v.paramH));
    }
  }
  for (const TAttackInfo& shake : run.shakes) line("shake " + std::to_string(shake.shakeLevel));
  if (run.healed) line("heal " + std::to_string(run.healed));
  for (int32_t se : run.sounds) line("se " + std::to_string(se));
  return out;
}

}  // namespace attacktest
