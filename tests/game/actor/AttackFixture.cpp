#include "tests/game/actor/AttackFixture.h"

#include <algorithm>
#include <initializer_list>
#include <tuple>
#include <type_traits>

#include "game/field/THitObject.h"
#include "tools/datakit/HitTableWriter.h"
#include "tools/datakit/SampleMeshes.h"

namespace attacktest {

using mathcheck::Vec;

std::string Num(float v) {
  if (std::fabs(v) < 5e-5f) return "0";
  char text[48];
  std::snprintf(text, sizeof text, "%.4f", static_cast<double>(v));
  std::string s = text;
  while (s.back() == '0') s.pop_back();
  if (s.back() == '.') s.pop_back();
  return s;
}

std::string Vec3(const D3DXVECTOR3& v) { return "(" + Num(v.x) + ", " + Num(v.y) + ", " + Num(v.z) + ")"; }

namespace {

std::string Colour(const D3DCOLORVALUE& c) {
  return "(" + Num(c.r) + ", " + Num(c.g) + ", " + Num(c.b) + ", " + Num(c.a) + ")";
}

bool IsWhite(const D3DCOLORVALUE& c) { return c.r == 1 && c.g == 1 && c.b == 1 && c.a == 1; }
bool IsOnes(const D3DXVECTOR3& v) { return v.x == 1 && v.y == 1 && v.z == 1; }

// The registry's kinds: runs of (first, last).
constexpr std::pair<int, int> kRegistered[] = {
    {0, 6},     {10, 16},   {20, 26},   {30, 35},   {50, 56},   {100, 123}, {200, 225}, {300, 306},
    {310, 316}, {320, 330}, {400, 414}, {450, 456}, {500, 513}, {550, 552}, {600, 603}, {700, 708},
    {800, 809}, {900, 915}, {1000, 1001}, {1100, 1100}, {2000, 2001}, {10000, 10000}};

template <class Base, class... Args>
void Put(TEffectManager& manager, const std::shared_ptr<SpawnLog>& log, TEffectKind kind, Args&&... args) {
  manager.Register(kind, std::make_unique<Recorded<Base>>(kind, log, std::forward<Args>(args)...));
}

}  // namespace

const TEffectHitVolume* CarriedVolume(TEffect* effect) {
  if (auto* s = dynamic_cast<THitShot<TAddCellBullet>*>(effect)) return s->GetHit();
  if (auto* s = dynamic_cast<THitShot<TAddMeshBullet>*>(effect)) return s->GetHit();
  if (auto* s = dynamic_cast<THitShot<TAlphaCellBullet>*>(effect)) return s->GetHit();
  if (auto* s = dynamic_cast<THitShot<TAddBullet>*>(effect)) return s->GetHit();
  if (auto* s = dynamic_cast<THitShot<TMeshBullet>*>(effect)) return s->GetHit();
  return nullptr;
}

void RegisterRecordingPrototypes(TEffectManager& m, const std::shared_ptr<SpawnLog>& log) {
  for (const auto& [first, last] : kRegistered)
    for (int kind = first; kind <= last; ++kind) Put<FramedEffect>(m, log, kind);
  const auto s = [](float k) { return Vec(k, k, k); };
  const int32_t life = kPrototypeLife;
  Put<TShot<TAddBullet>>(m, log, 52, "effect.ptx/smoke", life, 15, 1, Vec(0.5f, 0.5f, 1.0f));
  Put<TShot<TAddCellBullet>>(m, log, 327, "effect.ptx/smoke", life, 10, 1, s(1));
  Put<TShot<TAddCellBullet>>(m, log, 800, "effect.ptx/fire", life, 5, 1, s(0.7f));
  for (auto [kind, count, scale] : {std::tuple{400, 10, 0.7f}, {401, 15, 1.0f}, {404, 30, 2.0f}, {407, 5, 0.7f},
                                    {408, 10, 1.0f}})
    Put<THitShot<TAddCellBullet>>(m, log, kind, "effect.ptx/fire", life, count, 1, s(scale));
  Put<THitShot<TAddMeshBullet>>(m, log, 402, "wind01.msh", life, 5, 1, s(0.8f));
  Put<THitShot<TAddMeshBullet>>(m, log, 403, "wind01.msh", life, 10, 1, s(1));
  Put<THitShot<TAddMeshBullet>>(m, log, 405, "wind01.msh", life, 1, 1, Vec(1.5f, 1.0f, 1.2f));
  Put<THitShot<TAddMeshBullet>>(m, log, 406, "wind01.msh", life, 1, 1, Vec(2.0f, 1.0f, 1.4f));
  Put<THitShot<TAlphaCellBullet>>(m, log, 409, "effect.ptx/dark", life, 5, 1, s(0.7f));
  Put<THitShot<TAlphaCellBullet>>(m, log, 410, "effect.ptx/dark", life, 10, 1, s(1));
  for (auto [kind, count, width] : {std::tuple{450, 20, 0.5f}, {451, 4, 1.0f}, {452, 6, 1.2f}, {455, 20, 0.8f}})
    Put<THitShot<TAddBullet>>(m, log, kind, "effect.ptx/impact03", life, count, 1, Vec(width, 4, 1));
  for (int kind : {500, 506}) Put<TRelayShot>(m, log, kind, "rock01_mesh.msh", kind + 1, life, 1, 1, s(0.3f));
  for (int kind : {502, 508}) Put<TRelayShot>(m, log, kind, "rock01_mesh.msh", kind + 1, life, 1, 1, s(0.5f));
  Put<TRelayShot>(m, log, 504, "gareki00.msh", 505, life, 1, 1, s(1));
  Put<TRelayShot>(m, log, 510, "meteo.msh", 511, life, 1, 0, s(1));
  Put<TBurstShot<TAlphaCellBullet>>(m, log, 551, "effect.ptx/dark", 114, -1, life, 10, 1, 500, 2504, Vec(0, 0, 0),
                                    s(1));
  Put<TBurstShot<TAlphaCellBullet>>(m, log, 552, "effect.ptx/dark", 114, -1, life, 10, 1, 500, 3504, Vec(0, 0, 0),
                                    s(1));
  Put<TThunderEffect>(m, log, 121, "", 3u, 4.0f, 0.2f, 8.0f, 0.2f, -1, 12.0f, 0.2f);
}

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

int AttackFixture::DrawsSince(uint32_t seed) {
  const uint32_t next = GenRand();
  SeedRand(seed);
  for (int n = 0; n < 100000; ++n)
    if (GenRand() == next) return n;
  return -1;
}

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
