#include "game/effect/EffectRegistry.h"

#include <algorithm>
#include <new>
#include <type_traits>
#include <utility>

#include "game/effect/TArrowEffect.h"
#include "game/effect/TBurstShot.h"
#include "game/effect/TChainModelEffect.h"
#include "game/effect/TEffectManager.h"
#include "game/effect/THitShot.h"
#include "game/effect/TModelEffect.h"
#include "game/effect/FragmentEffect.h"
#include "game/effect/TRayEffect.h"
#include "game/effect/TRelayShot.h"
#include "game/effect/TShot.h"
#include "game/effect/TSmashEffect.h"
#include "game/effect/TThunderEffect.h"

using plat::D3DXVECTOR3;

namespace {

using M = TEffectMaker;
constexpr TModelLookKind kAddLook = TModelLookKind::kAdd;
constexpr TModelLookKind kAlphaLook = TModelLookKind::kAlpha;
constexpr TBulletKind kAddBullet = TBulletKind::kAdd;
constexpr TBulletKind kAlphaCellBullet = TBulletKind::kAlphaCell;
constexpr TBulletKind kAddCellBullet = TBulletKind::kAddCell;
constexpr TBulletKind kAlphaBullet = TBulletKind::kAlpha;
constexpr TBulletKind kAddMeshBullet = TBulletKind::kAddMesh;

D3DXVECTOR3 V(float x, float y, float z) { return D3DXVECTOR3(x, y, z); }
// The same value on all three axes.
D3DXVECTOR3 S(float v) { return D3DXVECTOR3(v, v, v); }
TEffectBox Box(float minX, float minY, float minZ, float maxX, float maxY, float maxZ) {
  return TEffectBox(minX, minY, minZ, maxX, maxY, maxZ);
}
// A box whose corners are the same on all three axes.
TEffectBox Box3(float minimum, float maximum) {
  return TEffectBox(minimum, minimum, minimum, maximum, maximum, maximum);
}

TEffectRow Row(TEffectKind kind, TEffectMaker maker, TEffectArgs args, TModelLookKind look = kAddLook,
               TBulletKind bullet = kAddBullet) {
  return TEffectRow{kind, maker, look, bullet, std::move(args)};
}

// --- one packer per constructor signature, its parameters in the constructor's order ---------------

TEffectRow MeshParticles(TEffectKind kind, const std::string& mesh, uint32_t count, const TEffectBox& start,
                         const TEffectBox& end, float rate, const D3DXVECTOR3& meshScale) {
  return Row(kind, M::kParticleMesh, TParticleArgs{mesh, 1, 1, count, start, end, rate, S(0), 0, meshScale});
}

// maker: kParticleSheet or kAlphaSheet.
TEffectRow SheetParticles(TEffectKind kind, TEffectMaker maker, const std::string& texture, uint32_t divisions1,
                          uint32_t divisions2, uint32_t count, const TEffectBox& start, const TEffectBox& end,
                          float rate, const D3DXVECTOR3& meshScale) {
  return Row(kind, maker,
             TParticleArgs{texture, divisions1, divisions2, count, start, end, rate, S(0), 0, meshScale});
}

TEffectRow JitterParticles(TEffectKind kind, const std::string& texture, uint32_t divisions1, uint32_t divisions2,
                           uint32_t count, const TEffectBox& start, const TEffectBox& end, float rate,
                           const D3DXVECTOR3& jitterDivisors, uint8_t finite, const D3DXVECTOR3& meshScale) {
  return Row(kind, M::kJitter,
             TParticleArgs{texture, divisions1, divisions2, count, start, end, rate, jitterDivisors, finite,
                           meshScale});
}

TEffectRow ModelA(TEffectKind kind, TModelLookKind look, const std::string& asset, float end, float step,
                  bool fadeIn) {
  return Row(kind, M::kModelA, TModelArgs{asset, end, step, 0, 0, 0, 0, 0, fadeIn}, look);
}

TEffectRow ModelB(TEffectKind kind, TModelLookKind look, const std::string& asset, float end1, float step1,
                  float end2, float step2, float end3, float step3) {
  return Row(kind, M::kModelB, TModelArgs{asset, end1, step1, end2, step2, 0, end3, step3, false}, look);
}

TEffectRow ModelC(TEffectKind kind, TModelLookKind look, const std::string& asset, float end1, float step1,
                  float end2, float step2, int32_t loops, float end3, float step3) {
  return Row(kind, M::kModelC, TModelArgs{asset, end1, step1, end2, step2, loops, end3, step3, false}, look);
}

// maker: kEdge, kIce or kFang.
TEffectRow Chain(TEffectKind kind, TEffectMaker maker, const std::string& asset, TEffectKind followUp) {
  return Row(kind, maker, TChainArgs{asset, followUp, 0});
}

TEffectRow IceFieldChain(TEffectKind kind, const std::string& asset, TEffectKind followUp, int32_t extra) {
  return Row(kind, M::kIceField, TChainArgs{asset, followUp, extra});
}

TEffectRow Piece(TEffectKind kind, const std::string& mesh, int32_t soundId, int32_t waitLimit, uint32_t timeStep,
                 float pieceSpeed, float gravity, float fade, uint32_t pieceMode, uint8_t alpha, uint16_t attackKind,
                 const D3DXVECTOR3& attackOffset, const D3DXVECTOR3& scale) {
  return Row(kind, M::kPiece,
             TDebrisArgs{mesh, soundId, waitLimit, timeStep, pieceSpeed, gravity, fade, pieceMode, alpha, attackKind,
                         attackOffset, scale});
}

TEffectRow Smash(TEffectKind kind, const std::string& mesh, int32_t waitLimit, uint32_t timeStep, float pieceSpeed,
                 float gravity, float fade, uint32_t pieceMode, uint8_t alpha, const D3DXVECTOR3& scale) {
  return Row(kind, M::kSmash,
             TDebrisArgs{mesh, -1, waitLimit, timeStep, pieceSpeed, gravity, fade, pieceMode, alpha, 0, S(0), scale});
}

// maker: kShot or kHitShot.
TEffectRow Shot(TEffectKind kind, TEffectMaker maker, TBulletKind bullet, const std::string& asset,
                int32_t lifetime, int32_t count, uint8_t hidden, const D3DXVECTOR3& scale) {
  return Row(kind, maker, TShotArgs{asset, -1, -1, lifetime, count, hidden, -1, 0, S(0), scale}, kAddLook, bullet);
}

TEffectRow RelayShot(TEffectKind kind, const std::string& asset, TEffectKind followUp, int32_t lifetime,
                     int32_t count, uint8_t hidden, const D3DXVECTOR3& scale) {
  return Row(kind, M::kRelayShot, TShotArgs{asset, followUp, -1, lifetime, count, hidden, -1, 0, S(0), scale});
}

TEffectRow BurstShot(TEffectKind kind, TBulletKind bullet, const std::string& asset, TEffectKind first,
                     TEffectKind second, int32_t lifetime, int32_t count, uint8_t hidden, int32_t soundId,
                     uint16_t attackId, const D3DXVECTOR3& hitOffset, const D3DXVECTOR3& scale) {
  return Row(kind, M::kBurstShot,
             TShotArgs{asset, first, second, lifetime, count, hidden, soundId, attackId, hitOffset, scale}, kAddLook,
             bullet);
}

TEffectRow Thunder(TEffectKind kind, const std::string& name, uint32_t boltCount, float end1, float step1,
                   float end2, float step2, int32_t loops, float end3, float step3) {
  return Row(kind, M::kThunder, TThunderArgs{name, boltCount, end1, step1, end2, step2, loops, end3, step3});
}

TEffectRow Arrow(TEffectKind kind, int32_t ticks) { return Row(kind, M::kArrow, TArrowArgs{ticks}); }

TEffectRow Ray(TEffectKind kind, const std::string& mesh) { return Row(kind, M::kRay, TRayArgs{mesh}); }

// --- the kinds listed one by one ---------------------------------------------------------------------

std::vector<TEffectRow> ListedRows() {
  const M add = M::kParticleSheet, alpha = M::kAlphaSheet;
  return {
      // Smoke and dust puffs; clouds, columns and sprays.
      SheetParticles(30, add, "effect.ptx/smoke", 1, 1, 5, Box3(0.1f, 0.2f), Box(-1.0f, 0.1f, -1.0f, 1.0f, 0.4f, 1.0f),
                     0.03f, S(0.7f)),
      SheetParticles(31, add, "effect.ptx/smoke", 1, 1, 5, Box3(0.1f, 0.12f),
                     Box(-0.8f, 0.05f, -0.8f, 0.8f, 0.1f, 0.8f), 0.02f, S(0.5f)),
      SheetParticles(32, alpha, "effect.ptx/darksmoke", 1, 1, 5, Box3(-0.1f, 0.1f),
                     Box(-1.2f, -0.3f, -1.2f, 1.2f, 0.4f, 1.2f), 0.04f, S(0.5f)),
      SheetParticles(33, alpha, "effect.ptx/darksmoke", 1, 1, 5, Box3(-0.1f, 0.1f), Box3(-1.0f, 1.0f), 0.02f,
                     S(0.5f)),
      SheetParticles(34, add, "effect.ptx/smoke", 1, 1, 5, Box3(-0.1f, 0.1f), Box3(-1.0f, 1.0f), 0.02f, S(1.0f)),
      SheetParticles(35, add, "effect.ptx/smoke", 1, 1, 4, Box3(-0.1f, 0.1f),
                     Box(-0.5f, -0.3f, -0.5f, 0.5f, 0.3f, 0.5f), 0.03f, S(0.4f)),
      SheetParticles(50, add, "effect.ptx/ice", 2, 2, 10, Box3(-0.1f, 0.1f),
                     Box(-2.5f, -0.8f, -2.5f, 2.5f, 0.1f, 2.5f), 0.015f, S(0.8f)),
      SheetParticles(51, alpha, "effect.ptx/darksmoke", 1, 1, 10, Box3(-0.1f, 0.1f),
                     Box(-2.5f, -0.8f, -2.5f, 2.5f, 0.1f, 2.5f), 0.015f, S(0.8f)),
      Shot(52, M::kShot, kAddBullet, "effect.ptx/smoke", 60, 15, 1, V(0.5f, 0.5f, 1.0f)),
      SheetParticles(53, add, "effect.ptx/smoke", 2, 2, 10, Box3(-0.1f, 0.1f),
                     Box(-1.5f, -0.1f, -1.5f, 1.5f, 2.5f, 1.5f), 0.015f, S(0.8f)),
      SheetParticles(54, alpha, "effect.ptx/smoke2", 2, 2, 5, Box3(-0.1f, 0.1f),
                     Box(-1.8f, -0.3f, -1.8f, 1.8f, -0.2f, 1.8f), 0.015f, S(1.5f)),
      SheetParticles(55, add, "effect.ptx/ice", 2, 2, 3, Box3(-0.1f, 0.1f), Box(-1.5f, -0.8f, -1.5f, 1.5f, 0.1f, 1.5f),
                     0.01f, S(0.8f)),
      Shot(56, M::kShot, kAlphaCellBullet, "effect.ptx/star", 60, 20, 1, S(0.4f)),

      // Flashes, impacts, slash arcs, bombs, rings and the tornado.
      ModelB(100, kAddLook, "attack01_anim.frm", 5.0f, 2.0f, 10.0f, 1.0f, 20.0f, 1.0f),
      ModelB(101, kAddLook, "impact01_anim.frm", 5.0f, 1.0f, 10.0f, 1.0f, 20.0f, 1.0f),
      ModelB(102, kAddLook, "impact02_anim.frm", 5.0f, 0.5f, 10.0f, 0.7f, 20.0f, 0.5f),
      ModelB(103, kAddLook, "ring01_anim.frm", 5.0f, 0.5f, 10.0f, 0.5f, 20.0f, 0.5f),
      ModelB(104, kAddLook, "flash01.frm", 5.0f, 1.0f, 10.0f, 1.0f, 20.0f, 1.0f),
      ModelB(105, kAddLook, "flash01_2.frm", 5.0f, 1.0f, 10.0f, 1.0f, 20.0f, 1.0f),
      ModelB(106, kAddLook, "flash00.frm", 2.0f, 0.3f, 6.0f, 0.3f, 8.0f, 0.3f),
      ModelB(107, kAddLook, "impact02_anim.frm", 5.0f, 0.4f, 10.0f, 0.4f, 20.0f, 0.4f),
      ModelB(108, kAddLook, "bomb00.frm", 4.0f, 0.06f, 8.0f, 0.06f, 12.0f, 0.06f),
      ModelA(109, kAddLook, "bomb01.frm", 5.0f, 0.2f, false),
      ModelB(110, kAddLook, "bomb00.frm", 4.0f, 0.12f, 8.0f, 0.12f, 12.0f, 0.12f),
      ModelB(111, kAddLook, "bomb00.frm", 4.0f, 0.6f, 8.0f, 0.6f, 12.0f, 0.6f),
      ModelB(112, kAddLook, "impact01_anim.frm", 5.0f, 0.5f, 10.0f, 0.5f, 20.0f, 0.5f),
      ModelB(113, kAddLook, "bomb00.frm", 4.0f, 0.2f, 8.0f, 0.2f, 12.0f, 0.3f),
      ModelA(114, kAddLook, "bomb01.frm", 5.0f, 0.1f, false),
      ModelB(115, kAddLook, "bomb00.frm", 4.0f, 0.3f, 8.0f, 0.3f, 12.0f, 0.1f),
      ModelC(116, kAddLook, "shiningring.frm", 0.0f, 0.1f, 4.0f, 0.1f, 2, 4.0f, 0.1f),
      ModelC(117, kAddLook, "shiningring.frm", 0.0f, 0.1f, 4.0f, 0.1f, 8, 4.0f, 0.1f),
      ModelC(118, kAddLook, "shiningring.frm", 0.0f, 0.1f, 4.0f, 0.1f, 12, 4.0f, 0.1f),
      ModelB(119, kAddLook, "shiningring.frm", 0.0f, 0.1f, 2.0f, 0.1f, 4.0f, 0.1f),
      ModelB(120, kAlphaLook, "tornado00.frm", 0.0f, 0.1f, 2.0f, 0.1f, 4.0f, 0.1f),
      // Thunder and its sparks.
      Thunder(121, "", 3, 4.0f, 0.2f, 8.0f, 0.2f, -1, 12.0f, 0.2f),
      JitterParticles(122, "effect.ptx/thunder00", 1, 1, 4, Box3(-2.5f, 2.5f), Box3(-0.01f, 0.01f), 0.02f,
                      S(10000.0f), 0, S(1.0f)),
      ModelC(123, kAlphaLook, "tornado00.frm", 0.0f, 0.1f, 4.0f, 0.1f, 4, 4.0f, 0.1f),

      // Ice, edge, earth-fang and ice-field chains, each followed by the piece registered after it.
      Chain(200, M::kIce, "ice01_anim.frm", 201),
      Piece(201, "ice01_mesh.msh", 505, 1, 1, 0.05f, 0.005f, 0.02f, 1, 0, 2101, V(0.0f, 0.5f, 0.0f), S(0.7f)),
      Chain(202, M::kIce, "ice01_anim.frm", 203),
      Piece(203, "ice01_mesh.msh", 505, 1, 1, 0.05f, 0.005f, 0.02f, 1, 0, 3101, V(0.0f, 0.5f, 0.0f), S(1.0f)),
      Chain(204, M::kEdge, "edge01_anim.frm", 205),
      Piece(205, "edge01_mesh.msh", 505, 1, 1, 0.05f, 0.005f, 0.02f, 0, 1, 0, V(0.0f, 0.5f, 0.0f), S(1.0f)),
      Chain(206, M::kIce, "ice01_anim.frm", 207),
      Piece(207, "ice01_mesh.msh", 505, 1, 1, 0.05f, 0.005f, 0.02f, 1, 0, 2103, V(0.0f, 0.5f, 0.0f), S(0.5f)),
      Chain(208, M::kIce, "ice01_anim.frm", 209),
      Piece(209, "ice01_mesh.msh", 505, 1, 1, 0.05f, 0.005f, 0.02f, 1, 0, 3103, V(0.0f, 0.5f, 0.0f), S(0.8f)),
      Chain(210, M::kFang, "earthfang.frm", 211),
      Piece(211, "earthfang.msh", 506, 40, 1, 0.02f, 0.001f, 0.01f, 2, 1, 2305, V(0.0f, 0.5f, 0.0f), S(2.0f)),
      Chain(212, M::kEdge, "edge02_anim.frm", 213),
      Piece(213, "edge02_mesh.msh", 505, 1, 1, 0.05f, 0.005f, 0.02f, 0, 1, 0, V(0.0f, 0.5f, 0.0f), S(1.0f)),
      Chain(214, M::kFang, "earthfang.frm", 215),
      Piece(215, "earthfang.msh", 506, 40, 1, 0.02f, 0.001f, 0.01f, 2, 1, 3305, V(0.0f, 0.5f, 0.0f), S(2.0f)),
      IceFieldChain(216, "icefield00_f.frm", 217, 0),
      Piece(217, "icefield00_m.msh", 505, 80, 1, 0.05f, -0.002f, 0.04f, 2, 0, 2109, V(0.0f, 0.5f, 0.0f), S(0.7f)),
      IceFieldChain(218, "icefield00_f.frm", 219, 0),
      Piece(219, "icefield00_m.msh", 505, 80, 1, 0.05f, -0.002f, 0.04f, 2, 0, 3109, V(0.0f, 0.5f, 0.0f), S(1.0f)),
      IceFieldChain(220, "icefield01_f.frm", 221, 0),
      Piece(221, "icefield01_m.msh", 505, 50, 1, 0.05f, -0.005f, 0.04f, 2, 0, 2111, V(0.0f, 0.5f, 0.0f), S(0.7f)),
      IceFieldChain(222, "icefield01_f.frm", 223, 0),
      Piece(223, "icefield01_m.msh", 505, 50, 1, 0.05f, -0.005f, 0.04f, 2, 0, 3111, V(0.0f, 0.5f, 0.0f), S(1.0f)),
      Chain(224, M::kEdge, "edge01_anim.frm", 225),
      Piece(225, "edge01_mesh.msh", 505, 1, 1, 0.05f, 0.005f, 0.02f, 0, 1, 0, V(0.0f, 0.5f, 0.0f), S(1.5f)),

      // Smoke and star shots.
      Shot(327, M::kShot, kAddCellBullet, "effect.ptx/smoke", 60, 10, 1, S(1.0f)),
      Shot(328, M::kShot, kAlphaCellBullet, "effect.ptx/star2", 60, 7, 1, S(0.9f)),
      Shot(329, M::kShot, kAlphaCellBullet, "effect.ptx/star2", 60, 6, 1, S(0.8f)),
      Shot(330, M::kShot, kAlphaCellBullet, "effect.ptx/star2", 60, 5, 1, S(0.7f)),

      // Fire, wind and dark hit shots; impact and wind hit shots.
      Shot(400, M::kHitShot, kAddCellBullet, "effect.ptx/fire", 40, 10, 1, S(0.7f)),
      Shot(401, M::kHitShot, kAddCellBullet, "effect.ptx/fire", 40, 15, 1, S(1.0f)),
      Shot(402, M::kHitShot, kAddMeshBullet, "wind01.msh", 40, 5, 1, S(0.8f)),
      Shot(403, M::kHitShot, kAddMeshBullet, "wind01.msh", 40, 10, 1, S(1.0f)),
      Shot(404, M::kHitShot, kAddCellBullet, "effect.ptx/fire", 40, 30, 1, S(2.0f)),
      Shot(405, M::kHitShot, kAddMeshBullet, "wind01.msh", 20, 1, 1, V(1.5f, 1.0f, 1.2f)),
      Shot(406, M::kHitShot, kAddMeshBullet, "wind01.msh", 20, 1, 1, V(2.0f, 1.0f, 1.4f)),
      Shot(407, M::kHitShot, kAddCellBullet, "effect.ptx/fire", 20, 5, 1, S(0.7f)),
      Shot(408, M::kHitShot, kAddCellBullet, "effect.ptx/fire", 20, 10, 1, S(1.0f)),
      Shot(409, M::kHitShot, kAlphaCellBullet, "effect.ptx/dark", 30, 5, 1, S(0.7f)),
      Shot(410, M::kHitShot, kAlphaCellBullet, "effect.ptx/dark", 40, 10, 1, S(1.0f)),
      Shot(411, M::kHitShot, kAlphaCellBullet, "effect.ptx/dark", 10, 4, 1, S(0.4f)),
      Shot(412, M::kHitShot, kAlphaCellBullet, "effect.ptx/dark", 10, 6, 1, S(0.5f)),
      Shot(413, M::kHitShot, kAlphaBullet, "effect.ptx/darksmoke", 10, 4, 1, S(1.0f)),
      Shot(414, M::kHitShot, kAlphaBullet, "effect.ptx/darksmoke", 10, 6, 1, S(1.0f)),
      Shot(450, M::kHitShot, kAddBullet, "effect.ptx/impact03", 60, 20, 1, V(0.5f, 6.0f, 1.0f)),
      Shot(451, M::kHitShot, kAddBullet, "effect.ptx/impact03", 60, 4, 1, V(1.0f, 3.0f, 1.0f)),
      Shot(452, M::kHitShot, kAddBullet, "effect.ptx/impact03", 60, 6, 1, V(1.2f, 4.0f, 1.0f)),
      Shot(453, M::kHitShot, kAddCellBullet, "effect.ptx/wind", 60, 4, 1, S(0.4f)),
      Shot(454, M::kHitShot, kAddCellBullet, "effect.ptx/wind", 60, 6, 1, S(0.6f)),
      Shot(455, M::kHitShot, kAddBullet, "effect.ptx/impact03", 60, 20, 1, V(0.8f, 6.0f, 1.0f)),
      Shot(456, M::kHitShot, kAddBullet, "effect.ptx/impact03", 120, 30, 1, V(0.8f, 6.0f, 1.0f)),

      // Rock, rubble and meteor shots, each followed by the piece registered after it.
      RelayShot(500, "rock01_mesh.msh", 501, 60, 1, 1, S(0.3f)),
      Piece(501, "rock01_mesh.msh", 506, 1, 1, 0.05f, 0.005f, 0.02f, 1, 1, 2301, V(0.0f, 0.5f, 0.0f), S(0.3f)),
      RelayShot(502, "rock01_mesh.msh", 503, 60, 1, 1, S(0.5f)),
      Piece(503, "rock01_mesh.msh", 506, 1, 1, 0.05f, 0.005f, 0.02f, 1, 1, 3301, V(0.0f, 0.5f, 0.0f), S(0.5f)),
      RelayShot(504, "gareki00.msh", 505, 60, 1, 1, S(1.0f)),
      Piece(505, "gareki00.msh", 506, 1, 1, 0.05f, 0.005f, 0.02f, 1, 1, 50002, V(0.0f, 0.5f, 0.0f), S(1.0f)),
      RelayShot(506, "rock01_mesh.msh", 507, 60, 1, 1, S(0.3f)),
      Piece(507, "rock01_mesh.msh", 506, 1, 1, 0.05f, 0.005f, 0.02f, 1, 1, 2303, V(0.0f, 0.5f, 0.0f), S(0.3f)),
      RelayShot(508, "rock01_mesh.msh", 509, 60, 1, 1, S(0.5f)),
      Piece(509, "rock01_mesh.msh", 506, 1, 1, 0.05f, 0.005f, 0.02f, 1, 1, 3303, V(0.0f, 0.5f, 0.0f), S(0.5f)),
      RelayShot(510, "meteo.msh", 511, 60, 1, 0, S(1.0f)),
      Piece(511, "rock01_mesh.msh", 506, 1, 1, 0.05f, 0.005f, 0.01f, 1, 1, 5003, V(0.0f, 0.0f, 0.0f), S(1.0f)),
      RelayShot(512, "meteo.msh", 513, 60, 1, 0, S(1.0f)),
      Piece(513, "rock01_mesh.msh", 506, 1, 1, 0.05f, 0.005f, 0.01f, 1, 1, 5006, V(0.0f, 0.0f, 0.0f), S(1.0f)),

      // Burst shots.
      BurstShot(550, kAddBullet, "effect.ptx/smoke", 109, -1, 60, 1, 1, -1, 0, V(0.0f, 0.0f, 0.0f), S(0.0f)),
      BurstShot(551, kAlphaCellBullet, "effect.ptx/dark", 114, -1, 60, 10, 1, 500, 2504, V(0.0f, 0.0f, 0.0f),
                S(1.0f)),
      BurstShot(552, kAlphaCellBullet, "effect.ptx/dark", 114, -1, 60, 10, 1, 500, 3504, V(0.0f, 0.0f, 0.0f),
                S(1.0f)),

      // Large impacts and a slash.
      ModelB(600, kAddLook, "impact03_anim.frm", 10.0f, 1.0f, 20.0f, 1.0f, 30.0f, 1.0f),
      ModelB(601, kAddLook, "impact04_anim.frm", 10.0f, 1.0f, 15.0f, 1.0f, 30.0f, 1.0f),
      ModelB(602, kAddLook, "edge01_anim.frm", 5.0f, 1.0f, 15.0f, 1.0f, 20.0f, 1.0f),
      ModelB(603, kAddLook, "impact03_anim.frm", 10.0f, 2.0f, 20.0f, 1.0f, 30.0f, 0.7f),

      // Rings and ice pieces.
      Piece(700, "ring02_mesh.msh", 504, 200, 1, 0.01f, 0.001f, 0.02f, 0, 0, 0, V(0.0f, 0.5f, 0.0f), S(1.0f)),
      Piece(701, "ring02_mesh.msh", 504, 300, 1, 0.05f, 0.005f, 0.02f, 0, 0, 0, V(0.0f, 0.5f, 0.0f), S(2.0f)),
      Piece(702, "ice01_mesh.msh", 505, 200, 1, 0.04f, 0.002f, 0.02f, 2, 0, 2103, V(0.0f, 0.5f, 0.0f), S(0.5f)),
      Piece(703, "ice01_mesh.msh", 505, 300, 1, 0.04f, 0.002f, 0.02f, 2, 0, 3103, V(0.0f, 0.5f, 0.0f), S(0.7f)),
      Piece(704, "ice01_mesh.msh", 505, 200, 1, 0.04f, 0.002f, 0.02f, 2, 0, 2106, V(0.0f, 0.5f, 0.0f), S(0.5f)),
      Piece(705, "ice01_mesh.msh", 505, 300, 1, 0.04f, 0.002f, 0.02f, 2, 0, 3106, V(0.0f, 0.5f, 0.0f), S(0.7f)),
      Piece(706, "icefield02_m.msh", 505, 500, 1, 0.04f, 0.002f, 0.02f, 2, 0, 2107, V(0.0f, 0.5f, 0.0f), S(0.5f)),
      Piece(707, "icefield02_m.msh", 505, 700, 1, 0.04f, 0.002f, 0.02f, 2, 0, 3107, V(0.0f, 0.5f, 0.0f), S(0.7f)),
      Piece(708, "icefield02_m.msh", 505, 700, 1, 0.04f, 0.002f, 0.02f, 2, 0, 50007, V(0.0f, 0.5f, 0.0f), S(0.0f)),

      // Element aura shots.
      Shot(800, M::kShot, kAddCellBullet, "effect.ptx/fire", 60, 5, 1, S(0.7f)),
      Shot(801, M::kShot, kAddCellBullet, "effect.ptx/fire", 60, 8, 1, S(0.7f)),
      Shot(802, M::kShot, kAddCellBullet, "effect.ptx/ice", 60, 10, 1, S(0.5f)),
      Shot(803, M::kShot, kAddCellBullet, "effect.ptx/wind", 60, 10, 1, S(0.5f)),
      Shot(804, M::kShot, kAlphaBullet, "effect.ptx/darksmoke", 60, 15, 1, S(0.7f)),
      Shot(805, M::kShot, kAlphaCellBullet, "effect.ptx/dark", 60, 5, 1, S(0.7f)),
      Shot(806, M::kShot, kAlphaCellBullet, "effect.ptx/dark", 60, 8, 1, S(0.7f)),
      Shot(807, M::kShot, kAlphaCellBullet, "effect.ptx/soil", 60, 5, 1, S(0.5f)),
      Shot(808, M::kShot, kAddCellBullet, "effect.ptx/shine", 60, 5, 1, S(0.5f)),
      Shot(809, M::kShot, kAlphaCellBullet, "effect.ptx/star2", 60, 5, 1, S(1.0f)),

      // Rising motes and stars.
      SheetParticles(900, add, "effect.ptx/ain", 2, 2, 10, Box(-0.6f, 0.0f, -0.6f, 0.6f, 1.0f, 0.6f),
                     Box(-0.8f, 1.0f, -0.8f, 0.8f, 3.0f, 0.8f), 0.01f, S(1.0f)),
      SheetParticles(901, add, "effect.ptx/ain", 2, 2, 15, Box(-0.6f, 0.0f, -0.6f, 0.6f, 1.0f, 0.6f),
                     Box(-0.8f, 1.0f, -0.8f, 0.8f, 3.0f, 0.8f), 0.01f, S(1.0f)),
      SheetParticles(902, add, "effect.ptx/ain", 2, 2, 20, Box(-0.6f, 0.0f, -0.6f, 0.6f, 0.5f, 0.6f),
                     Box(-0.8f, 1.0f, -0.8f, 0.8f, 3.0f, 0.8f), 0.01f, S(0.3f)),
      SheetParticles(903, add, "effect.ptx/ain", 2, 2, 20, Box(-0.6f, 0.0f, -0.6f, 0.6f, 0.5f, 0.6f),
                     Box(-0.8f, 1.0f, -0.8f, 0.8f, 3.0f, 0.8f), 0.01f, S(0.5f)),
      SheetParticles(904, add, "effect.ptx/ain", 2, 2, 20, Box(-0.3f, 0.0f, -0.3f, 0.3f, 0.5f, 0.3f),
                     Box(-0.5f, 1.0f, -0.5f, 0.5f, 3.0f, 0.5f), 0.05f, S(0.3f)),
      SheetParticles(905, add, "effect.ptx/ain", 2, 2, 15, Box(-0.6f, 0.0f, -0.6f, 0.6f, 0.5f, 0.6f),
                     Box(-0.8f, 1.0f, -0.8f, 0.8f, 3.0f, 0.8f), 0.01f, S(0.3f)),
      SheetParticles(906, add, "effect.ptx/ain", 2, 2, 25, Box(-0.6f, 0.0f, -0.6f, 0.6f, 0.5f, 0.6f),
                     Box(-0.8f, 1.0f, -0.8f, 0.8f, 3.0f, 0.8f), 0.01f, S(0.3f)),
      SheetParticles(907, add, "effect.ptx/ain", 2, 2, 20, Box3(-0.1f, 0.1f), Box3(-1.0f, 1.0f), 0.015f, S(0.3f)),
      SheetParticles(908, add, "effect.ptx/ain", 2, 2, 15, Box3(-2.0f, 2.0f), Box3(-0.1f, 0.1f), 0.03f, S(0.4f)),
      SheetParticles(909, add, "effect.ptx/ain", 2, 2, 15, Box3(-0.1f, 0.1f), Box3(-2.0f, 2.0f), 0.01f, S(0.4f)),
      SheetParticles(910, add, "effect.ptx/ain", 2, 2, 15, Box(-1.6f, 0.0f, -1.6f, 1.6f, 0.5f, 1.6f),
                     Box(-1.8f, 1.5f, -1.8f, 1.8f, 1.8f, 1.8f), 0.006f, S(0.4f)),
      SheetParticles(911, alpha, "effect.ptx/star", 2, 2, 20, Box3(-0.1f, 0.1f), Box3(-1.0f, 1.0f), 0.05f, S(0.4f)),
      SheetParticles(912, alpha, "effect.ptx/star", 2, 2, 15, Box3(-0.1f, 0.1f), Box3(-1.5f, 1.5f), 0.05f, S(0.8f)),
      SheetParticles(913, alpha, "effect.ptx/star", 2, 2, 15, Box3(-1.5f, 1.5f), Box3(-0.1f, 0.1f), 0.05f, S(0.8f)),
      SheetParticles(914, alpha, "effect.ptx/star", 2, 2, 20, Box(-0.3f, 0.0f, -0.3f, 0.3f, 0.5f, 0.3f),
                     Box(-1.0f, 1.0f, -1.1f, 1.0f, 4.0f, 1.0f), 0.03f, S(0.6f)),
      SheetParticles(915, alpha, "effect.ptx/star", 2, 2, 10, Box(-0.3f, 0.0f, -0.3f, 0.3f, 0.5f, 0.3f),
                     Box(-0.5f, 1.0f, -0.5f, 0.5f, 4.0f, 0.5f), 0.04f, S(0.3f)),

      // Arrows, the hit shot with no visible bullet, debris, the board piece and the ray.
      Arrow(1000, 10),
      Arrow(1001, 27),
      Shot(1100, M::kHitShot, kAddBullet, "effect.ptx/smoke", 60, 1, 1, S(0.0f)),
      Smash(2000, "ring02_mesh.msh", 1, 1, 0.05f, 0.001f, 0.02f, 0, 0, S(2.0f)),
      Piece(2001, "board01.msh", 505, -1, 1, 0.1f, 0.0f, 0.005f, 2, 0, 0, V(0.0f, 0.0f, 0.0f), S(1.6f)),
      Ray(10000, "sword01.msh"),
  };
}

// --- the element families, generated from their rules ------------------------------------------------

// The element's entry in "effect.ptx": neutral, fire, ice, wind, soil, shine, dark.
constexpr const char* kElementEntries[] = {"ain", "fire", "ice", "wind", "soil", "shine", "dark"};
constexpr int kElements = 7;
constexpr int kSizes = 3;

// Soil and dark are drawn with alpha, the others added.
bool IsAlphaElement(int element) { return element == 4 || element == 6; }

std::string ElementTexture(int element) { return std::string("effect.ptx/") + kElementEntries[element]; }

// Kinds 10 x s + e: 3, 6 and 12 particles; the neutral one of mesh particles.
void AddElementBursts(std::vector<TEffectRow>& rows) {
  constexpr uint32_t kCounts[kSizes] = {3, 6, 12};
  for (int s = 0; s < kSizes; ++s)
    for (int e = 0; e < kElements; ++e) {
      const TEffectKind kind = 10 * s + e;
      const TEffectBox start = Box3(-0.1f, 0.1f), end = Box3(-1.0f, 1.0f);
      if (e == 0)
        rows.push_back(MeshParticles(kind, "particle_mesh.msh", kCounts[s], start, end, 0.04f, S(0.1f)));
      else
        rows.push_back(SheetParticles(kind, IsAlphaElement(e) ? M::kAlphaSheet : M::kParticleSheet,
                                      ElementTexture(e), 2, 2, kCounts[s], start, end, 0.04f, S(1.0f)));
    }
}

// Kinds 300 + 10 x s + e: 7, 6 and 5 bullets scaled 0.9, 0.8 and 0.7.
void AddElementShots(std::vector<TEffectRow>& rows) {
  constexpr int32_t kCounts[kSizes] = {7, 6, 5};
  constexpr float kScales[kSizes] = {0.9f, 0.8f, 0.7f};
  for (int s = 0; s < kSizes; ++s)
    for (int e = 0; e < kElements; ++e)
      rows.push_back(Shot(300 + 10 * s + e, M::kShot, IsAlphaElement(e) ? kAlphaCellBullet : kAddCellBullet,
                          ElementTexture(e), 60, kCounts[s], 1, S(kScales[s])));
}

std::vector<TEffectRow> BuildTable() {
  std::vector<TEffectRow> rows = ListedRows();
  AddElementBursts(rows);
  AddElementShots(rows);
  std::stable_sort(rows.begin(), rows.end(),
                   [](const TEffectRow& a, const TEffectRow& b) { return a.kind < b.kind; });
  return rows;
}

// --- building ---------------------------------------------------------------------------------------

template <template <class> class ShotOf, class... Args>
std::unique_ptr<TEffect> WithBullet(TBulletKind bullet, const Args&... args) {
  switch (bullet) {
    case TBulletKind::kAdd: return std::make_unique<ShotOf<TAddBullet>>(args...);
    case TBulletKind::kAlphaCell: return std::make_unique<ShotOf<TAlphaCellBullet>>(args...);
    case TBulletKind::kAddCell: return std::make_unique<ShotOf<TAddCellBullet>>(args...);
    case TBulletKind::kAlpha: return std::make_unique<ShotOf<TAlphaBullet>>(args...);
    case TBulletKind::kAddMesh: return std::make_unique<ShotOf<TAddMeshBullet>>(args...);
  }
  return nullptr;
}

std::unique_ptr<TEffect> MakeParticles(TEffectMaker maker, const TParticleArgs& a) {
  switch (maker) {
    case M::kParticleMesh:
      return std::make_unique<TParticleEffect>(a.asset, a.count, a.startBox, a.endBox, a.rate, a.meshScale);
    case M::kParticleSheet:
      return std::make_unique<TParticleEffect>(a.asset, a.divisions1, a.divisions2, a.count, a.startBox, a.endBox,
                                               a.rate, a.meshScale);
    case M::kAlphaSheet:
      return std::make_unique<TAlphaParticleEffect>(a.asset, a.divisions1, a.divisions2, a.count, a.startBox,
                                                    a.endBox, a.rate, a.meshScale);
    default:
      return std::make_unique<TJitterParticleEffect>(a.asset, a.divisions1, a.divisions2, a.count, a.startBox,
                                                     a.endBox, a.rate, a.jitterDivisors, a.finite, a.meshScale);
  }
}

std::unique_ptr<TEffect> MakeModel(TEffectMaker maker, TModelLookKind look, const TModelArgs& a) {
  TModelTimes times;
  if (maker == M::kModelA)
    times = TModelTimes::FadeOnly(a.end1, a.step1, a.fadeIn);
  else if (maker == M::kModelB)
    times = TModelTimes::InHoldOut(a.end1, a.step1, a.end2, a.step2, a.end3, a.step3);
  else
    times = TModelTimes::InLoopOut(a.end1, a.step1, a.end2, a.step2, a.loops, a.end3, a.step3);
  if (look == kAlphaLook) return std::make_unique<TAlphaModelEffect>(a.asset, times);
  return std::make_unique<TAddModelEffect>(a.asset, times);
}

std::unique_ptr<TEffect> MakeChain(TEffectMaker maker, const TChainArgs& a) {
  switch (maker) {
    case M::kEdge: return std::make_unique<TEdgeChainEffect>(a.asset, a.followUp);
    case M::kIce: return std::make_unique<TIceChainEffect>(a.asset, a.followUp);
    case M::kIceField: return std::make_unique<TIceChainEffect>(a.asset, a.followUp, a.extra);
    default: return std::make_unique<TFangChainEffect>(a.asset, a.followUp);
  }
}

std::unique_ptr<TEffect> MakeDebris(TEffectMaker maker, const TDebrisArgs& a) {
  const auto wait = static_cast<uint32_t>(a.waitLimit);  // -1 is the persistent limit
  if (maker == M::kSmash)
    return std::make_unique<TSmashEffect>(a.mesh, wait, a.timeStep, a.pieceSpeed, a.gravity, a.fade, a.pieceMode,
                                          a.alpha, a.scale);
  return std::make_unique<TPieceEffect>(a.mesh, a.soundId, wait, a.timeStep, a.pieceSpeed, a.gravity, a.fade,
                                        a.pieceMode, a.alpha, a.attackKind, a.attackOffset, a.scale);
}

std::unique_ptr<TEffect> MakeShot(TEffectMaker maker, TBulletKind bullet, const TShotArgs& a) {
  switch (maker) {
    case M::kShot: return WithBullet<TShot>(bullet, a.asset, a.lifetime, a.count, a.hidden, a.scale);
    case M::kHitShot: return WithBullet<THitShot>(bullet, a.asset, a.lifetime, a.count, a.hidden, a.scale);
    case M::kBurstShot:
      return WithBullet<TBurstShot>(bullet, a.asset, a.first, a.second, a.lifetime, a.count, a.hidden, a.soundId,
                                    a.attackId, a.hitOffset, a.scale);
    default: return std::make_unique<TRelayShot>(a.asset, a.first, a.lifetime, a.count, a.hidden, a.scale);
  }
}

}  // namespace

const std::vector<TEffectRow>& EffectRegistry() {
  static const std::vector<TEffectRow> table = BuildTable();
  return table;
}

const TEffectRow* FindEffectRow(TEffectKind kind) {
  const std::vector<TEffectRow>& table = EffectRegistry();
  const auto found = std::lower_bound(table.begin(), table.end(), kind,
                                      [](const TEffectRow& row, TEffectKind k) { return row.kind < k; });
  return found != table.end() && found->kind == kind ? &*found : nullptr;
}

std::unique_ptr<TEffect> MakePrototype(const TEffectRow& row) {
  const TEffectArgs& args = row.args;
  switch (row.maker) {
    case M::kParticleMesh:
    case M::kParticleSheet:
    case M::kAlphaSheet:
    case M::kJitter: return MakeParticles(row.maker, std::get<TParticleArgs>(args));
    case M::kModelA:
    case M::kModelB:
    case M::kModelC: return MakeModel(row.maker, row.look, std::get<TModelArgs>(args));
    case M::kEdge:
    case M::kIce:
    case M::kIceField:
    case M::kFang: return MakeChain(row.maker, std::get<TChainArgs>(args));
    case M::kPiece:
    case M::kSmash: return MakeDebris(row.maker, std::get<TDebrisArgs>(args));
    case M::kThunder: {
      const TThunderArgs& a = std::get<TThunderArgs>(args);
      return std::make_unique<TThunderEffect>(a.name, a.boltCount, a.end1, a.step1, a.end2, a.step2, a.loops, a.end3,
                                              a.step3);
    }
    case M::kArrow: return std::make_unique<TArrowEffect>(std::get<TArrowArgs>(args).ticks);
    case M::kRay: return std::make_unique<TRayEffect>(std::get<TRayArgs>(args).mesh);
    case M::kShot:
    case M::kHitShot:
    case M::kBurstShot:
    case M::kRelayShot: return MakeShot(row.maker, row.bullet, std::get<TShotArgs>(args));
  }
  return nullptr;
}

const std::string& AssetOf(const TEffectRow& row) {
  static const std::string kNone;
  return std::visit(
      [](const auto& a) -> const std::string& {
        using A = std::decay_t<decltype(a)>;
        if constexpr (std::is_same_v<A, TDebrisArgs> || std::is_same_v<A, TRayArgs>)
          return a.mesh;
        else if constexpr (std::is_same_v<A, TThunderArgs>)
          return a.name;
        else if constexpr (std::is_same_v<A, TArrowArgs>)
          return kNone;
        else
          return a.asset;
      },
      row.args);
}

void BuildPrototypes(TEffectManager& manager) {
  for (const TEffectRow& row : EffectRegistry()) {
    std::unique_ptr<TEffect> prototype;
    try {
      prototype = MakePrototype(row);
    } catch (const std::bad_alloc&) {
      // The kind stays without a prototype; the rest of the game's effects still build.
    }
    manager.Register(row.kind, std::move(prototype));
  }
}
