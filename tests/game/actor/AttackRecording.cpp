#include "tests/game/actor/AttackRecording.h"

#include <tuple>

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

int DrawsSince(uint32_t seed) {
  const uint32_t next = GenRand();
  SeedRand(seed);
  for (int n = 0; n < 100000; ++n)
    if (GenRand() == next) return n;
  return -1;
}

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
  // The player's: element and star trail shots of three sizes, the orb, the arrow and its sparkle,
  // the element shot and its glow, the drain motes, the seeking wind shots and the auras.
  const char* const kElementSheets[] = {"smoke", "fire", "ice", "wind", "soil", "shine", "dark"};
  for (int size = 0; size < 3; ++size) {
    const float scale = 0.9f - 0.1f * static_cast<float>(size);
    for (int e = 0; e < 7; ++e)
      Put<TShot<TAddCellBullet>>(m, log, 300 + 10 * size + e, std::string("effect.ptx/") + kElementSheets[e], life,
                                 7 - size, 1, s(scale));
    Put<TShot<TAlphaCellBullet>>(m, log, 328 + size, "effect.ptx/star2", life, 7 - size, 1, s(scale));
  }
  Put<TShot<TAlphaCellBullet>>(m, log, 56, "effect.ptx/star", life, 20, 1, s(0.4f));
  Put<THitShot<TAlphaCellBullet>>(m, log, 411, "effect.ptx/dark", life, 4, 1, s(0.4f));
  Put<THitShot<TAlphaCellBullet>>(m, log, 412, "effect.ptx/dark", life, 6, 1, s(0.5f));
  Put<THitShot<TAddCellBullet>>(m, log, 453, "effect.ptx/wind", life, 4, 1, s(0.4f));
  Put<THitShot<TAddCellBullet>>(m, log, 454, "effect.ptx/wind", life, 6, 1, s(0.6f));
  Put<THitShot<TAddBullet>>(m, log, 456, "effect.ptx/impact03", life, 30, 1, Vec(0.8f, 6.0f, 1.0f));
  Put<TRelayShot>(m, log, 512, "meteo.msh", 513, life, 1, 0, s(1));
  Put<TBurstShot<TAddBullet>>(m, log, 550, "effect.ptx/smoke", 109, -1, life, 1, 1, -1, 0, Vec(0, 0, 0), s(0));
  Put<TShot<TAddCellBullet>>(m, log, 801, "effect.ptx/fire", life, 8, 1, s(0.7f));
  Put<TShot<TAlphaCellBullet>>(m, log, 806, "effect.ptx/dark", life, 8, 1, s(0.7f));
  Put<TShot<TAlphaCellBullet>>(m, log, 809, "effect.ptx/star2", life, 5, 1, s(1));
  Put<TThunderEffect>(m, log, 121, "", 3u, 4.0f, 0.2f, 8.0f, 0.2f, -1, 12.0f, 0.2f);
}

}  // namespace attacktest
