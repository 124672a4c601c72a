// A busy fight on the sample battle map, as the game runs it: the real player character with its
// HUD, thirty enemies of the sample kinds closing in and striking, the hero swinging its combos
// back, and two hundred live effects and shots about them. Between ticks the hero and the enemies
// are made whole again (so the fight never ends and every tick holds AI, collision, hits and
// effects) and the effects are topped up; that work is not timed. The clock is virtual and moves
// one 1/60 s tick a frame.
// - BM_FieldTick: the tick alone (the input's sample and the stage's update).
// - BM_FieldFrame: the tick and the draw submission, on the recording renderer (which logs each
//   draw but, as nothing here reads them, does not run its vertices).
// - BM_FieldFrameGl: the same frame on the OpenGL renderer in a 640x480 window, in wall time; it
//   needs a display (xvfb-run -a -s "-screen 0 1024x768x24" build/bench/bench_field_frame), and
//   without one it says so and measures nothing.
// x_real_time is how many times faster than the game's 60 frames a second each runs (by the CPU
// time of the headless runs, which a busy machine disturbs least; by the wall time of the OpenGL
// one, whose driver draws on threads of its own); the goals are 50 for the frame on the recording
// renderer and 4 for the OpenGL frame on Mesa's software renderer. The other counters show the
// fight: live enemies, effects and shots at the end, draws a frame, and the ticks in which the
// hero, and in which an enemy, took damage.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cmath>
#include <functional>
#include <memory>
#include <numbers>
#include <string>
#include <vector>

#include "bench/BenchPlatform.h"
#include "game/actor/TPlayerChar.h"
#include "game/app/GameServices.h"
#include "game/data/TGameData.h"
#include "game/effect/EffectRegistry.h"
#include "game/effect/TEffectManager.h"
#include "game/effect/TEffectMover.h"
#include "game/effect/TRayEffect.h"
#include "game/effect/TShotEffect.h"
#include "game/enemy/TEnemyManager.h"
#include "game/field/TFieldScene.h"
#include "game/field/TStage.h"
#include "game/shell/TGameWnd.h"
#include "game/shell/TInput.h"
#include "game/shell/WinMain.h"
#include "platform/core/Clock.h"
#include "platform/gfx/AdapterTable.h"
#include "platform/gfx/RecordingRenderer.h"
#include "platform/gfx/gl/SdlDisplay.h"
#include "platform/sound/SoundOutput.h"
#include "platform/window/InputState.h"
#include "platform/window/SdlBackend.h"
#include "platform/window/WindowBackend.h"
#include "platform/window/WindowManager.h"
#include "tools/datakit/MapDataWriter.h"
#include "tools/datakit/SampleEnemies.h"

using plat::D3DXVECTOR3;

namespace {

constexpr size_t kLiveEffects = 200;
// Of them, shots: the fight's own and, to make up the number, element auras (kinds 800 to 809, of
// 5 to 15 bullets each).
constexpr size_t kLiveShots = 100;
constexpr TEffectKind kFirstAura = 800;
constexpr size_t kAuras = 10;
constexpr int32_t kShotLifetime = 120;
constexpr int kEnemiesPerKind = 6;
// The time mage is left out: its time stop would hold the whole fight still for ten seconds.
constexpr uint32_t kKinds[] = {datakit::kSampleSlimeId, datakit::kSampleGolemId, datakit::kSampleFireballId,
                               datakit::kSamplePhoenixId, datakit::kSampleKnightId};
constexpr int kEnemies = kEnemiesPerKind * static_cast<int>(std::size(kKinds));
// Ticks of fighting before the measure, for the enemies to close in; a frame is drawn once a second.
constexpr int kWarmUpTicks = 600;
// Each measure is one run of this many ticks (one fight set up per run).
constexpr int kTicks = 1200;
constexpr const char* kMapName = "bench.pbms/fight";

// The sample battle map's ground, sky, fog, minimap and chase camera, the hero at its middle and
// the enemies in two rings about it, each facing the hero.
datakit::MapEntryWriter FightMap() {
  datakit::MapHeaderRow header;
  header.kind = 1;
  header.baseName = "field.msh";
  header.areaTitle = "\x96\x6b\x82\xcc\x91\x90\x8c\xb4";  // 北の草原
  header.musicName = "field.ogg";
  header.cellWidth = 20;
  header.cellDepth = 20;
  datakit::MapEntryWriter map;
  map.Header(header)
      .View(0.1f, 200, 45)
      .Fog(20, 80, 0xFF8098B0)
      .Sky("sky00", {0.01f, 0.0005f, 0, 0, 0, 0, 0.0002f})
      .PlayerStart({0, 0, 0}, {0, 0, 1}, {0, 3, -6})
      .MiniMap("field")
      .ChaseCamera(0, 6, 2.5f, "non")
      .EnemyLimits(kEnemies, 100.0f);
  for (int k = 0; k < kEnemies; ++k) {
    const float radius = k % 2 ? 9.0f : 5.0f;
    const float angle = 2 * std::numbers::pi_v<float> * static_cast<float>(k) / kEnemies;
    map.EnemyPlacement(kKinds[k % std::size(kKinds)], {radius * std::sin(angle), 0, radius * std::cos(angle)},
                       {-std::sin(angle), 0, -std::cos(angle)});
  }
  return map;
}

// The hero's keys for each tick of a two-second round: a four-stroke ground combo, a pause, the
// hold attack, a pause.
uint32_t HeroButtons(uint64_t tick) {
  const uint64_t t = tick % 120;
  if (t == 0 || t == 4 || t == 6 || t == 8) return kButtonA;
  if (t >= 60 && t < 81) return kButtonA;
  return 0;
}

void HoldButtons(uint32_t buttons) {
  for (int k = 0; k < TInput::kButtonCount; ++k)
    plat::SetKeyDown(static_cast<int>(TInput::kDefaultKeys[k]), (buttons >> k & 1) != 0);
}

// The game window with the sample game, on whatever window backend and renderer are installed, and
// the fight on its field scene.
class Fight {
 public:
  explicit Fight(plat::VirtualClock& clock)
      : clock_(clock), app_(GameWindowParams(nullptr), 101, 104, DefaultShellServices()) {
    datakit::MapDataWriter maps;
    maps.Entry("fight", FightMap());
    maps.Save("data/scr03/bench.pbms");
    app_.CreateWnd();
    app_.Initialize();
    if (!app_.IsRunning()) return;
    TGameData::Instance()->NewGame();
    field_ = TFieldScene::CreateForMap(app_, kMapName, nullptr, nullptr, nullptr);
    app_.SetScene(field_);
    for (int i = 0; i < 200 && field_->GetMode(); ++i) Frame();
    for (int i = 0; i < kWarmUpTicks; ++i) {
      Prepare();
      if (i % 60 == 0 ? !Frame() : !Tick()) return;
    }
    ready_ = field_->GetMode() == nullptr;
    heroHurtTicks = enemyHurtTicks = 0;
  }
  ~Fight() {
    plat::ReleaseAllKeys();
    app_.ClearScenes();
    app_.Finalize();
  }
  Fight(const Fight&) = delete;
  Fight& operator=(const Fight&) = delete;

  // Ticks since the warm-up whose end found the hero, and an enemy, hurt.
  int heroHurtTicks = 0, enemyHurtTicks = 0;

  bool Ready() const { return ready_; }

  // Between ticks: everyone whole, the effects back at 200, the hero's keys for the next tick.
  void Prepare() {
    TPlayerChar& hero = Hero();
    if (hero.GetHp() < hero.GetMaxHp()) ++heroHurtTicks;
    hero.RecoverHp(hero.GetMaxHp());
    bool enemyHurt = false;
    for (const auto& [handle, enemy] : Enemies().GetLive()) {
      enemyHurt = enemyHurt || enemy->GetHp() < enemy->GetMaxHp();
      if (enemy->GetHp() > 0) enemy->RecoverHp(enemy->GetMaxHp());
    }
    if (enemyHurt) ++enemyHurtTicks;
    TopUpEffects();
    HoldButtons(HeroButtons(tick_++));
  }
  // The tick as the field scene runs it: the input's sample, then the stage.
  bool Tick() {
    app_.GetInput()->Update();
    return field_->GetStage()->Update();
  }
  // One frame of the game window with exactly one tick in it, and its draw.
  bool Frame() {
    const TFrameTimer& timer = field_->GetTimer();
    // A whole millisecond past the tick's end, so that rounding never leaves it short.
    const auto due = static_cast<plat::DWORD>(std::floor(timer.baseTime + timer.tickLength)) + 1;
    clock_.Set(std::max(due, clock_.Milliseconds()));
    return app_.Frame();
  }
  bool HeroDown() { return Hero().GetHp() <= 0; }
  size_t LiveEnemies() { return Enemies().GetLiveCount(); }
  size_t LiveEffects() { return field_->GetEffectManager()->GetLiveCount(); }
  size_t LiveShots() {
    size_t n = 0;
    for (const auto& e : field_->GetEffectManager()->GetLive()) n += AsShot(e.Get()) != nullptr;
    return n;
  }

 private:
  TPlayerChar& Hero() { return dynamic_cast<TPlayerChar&>(*field_->GetPlayer()); }
  TEnemyManager& Enemies() { return dynamic_cast<TEnemyManager&>(*field_->GetStage()->GetEnemyManager()); }

  // The shots: the element auras the fireball wears and its kin, in turn, each shaking about a
  // point near the hero with its trail rising, for two seconds. The other effects: every kind of
  // the registry in turn, as its callers set it up. Both about the hero, in view and behind.
  void TopUpEffects() {
    for (size_t shots = LiveShots(); shots < kLiveShots; ++shots, ++spawnedShots_)
      SpawnNear(kFirstAura + static_cast<TEffectKind>(spawnedShots_ % kAuras), spawnedShots_);
    const std::vector<TEffectRow>& table = EffectRegistry();
    while (field_->GetEffectManager()->GetLiveCount() < kLiveEffects) {
      SpawnNear(table[spawnedOthers_ % table.size()].kind, spawnedOthers_);
      ++spawnedOthers_;
    }
  }
  void SpawnNear(TEffectKind kind, size_t serial) {
    TStage& stage = *field_->GetStage();
    const float angle = static_cast<float>(serial % 31) * 0.2f, radius = 2.0f + static_cast<float>(serial % 7);
    const D3DXVECTOR3 at(radius * std::sin(angle), 0.5f, radius * std::cos(angle));
    TCountedPtr<TEffect> effect = field_->GetEffectManager()->Spawn(kind, at, D3DXVECTOR3(at.x, at.y, at.z + 1),
                                                                    *stage.GetSceneFrame(), &stage, {1, 1, 1, 1},
                                                                    D3DXVECTOR3(1, 1, 1));
    if (TShotEffect* shot = AsShot(effect.Get())) {
      shot->SetMotion(TMoverHolder(new TShakeMover(stage.GetSceneFrame(), at, D3DXVECTOR3(0, 0.06f, 0),
                                                   D3DXVECTOR3(200, 300, 200))));
      shot->SetLifetime(kShotLifetime);
    }
    if (auto* ray = dynamic_cast<TRayEffect*>(effect.Get())) {
      TMoveValue tween;
      tween.Set(0, 1, 20, 0);
      ray->SetCurve(&stage, at, D3DXVECTOR3(at.x, at.y + 2, at.z), D3DXVECTOR3(at.x + 3, at.y + 2, at.z),
                    D3DXVECTOR3(at.x + 3, at.y, at.z), -2, tween);
    }
  }

  plat::VirtualClock& clock_;
  TGameWnd app_;
  TFieldScene* field_ = nullptr;  // owned by the scene stack
  uint64_t tick_ = 0;
  size_t spawnedShots_ = 0, spawnedOthers_ = 0;
  bool ready_ = false;
};

// Times `step` once per iteration after the untimed preparation, and reports.
void Measure(benchmark::State& state, Fight& fight, const std::function<bool()>& step,
             const std::function<void()>& betweenTicks) {
  for (auto _ : state) {
    state.PauseTiming();
    fight.Prepare();
    betweenTicks();
    state.ResumeTiming();
    if (!step()) {
      state.SkipWithError("the field ended");
      return;
    }
  }
  if (fight.HeroDown()) state.SkipWithError("the hero fell");
  state.counters["x_real_time"] =
      benchmark::Counter(static_cast<double>(state.iterations()) / 60.0, benchmark::Counter::kIsRate);
  state.counters["enemies"] = static_cast<double>(fight.LiveEnemies());
  state.counters["effects"] = static_cast<double>(fight.LiveEffects());
  state.counters["shots"] = static_cast<double>(fight.LiveShots());
  state.counters["hero_hurt_ticks"] = fight.heroHurtTicks;
  state.counters["enemy_hurt_ticks"] = fight.enemyHurtTicks;
}

// Runs the fight on the recording renderer and the headless sound output.
void RunHeadless(benchmark::State& state, bool draw) {
  bench::Platform platform;
  if (!platform.Ready()) {
    state.SkipWithError("no folder for the sample game");
    return;
  }
  auto renderer = platform.UseRecordingRenderer();
  renderer->SetResolveVertices(false);
  Fight fight(platform.Clock());
  if (!fight.Ready()) {
    state.SkipWithError("the fight did not start in the sample folder");
    return;
  }
  renderer->ClearLog();
  size_t draws = 0;
  Measure(
      state, fight, [&] { return draw ? fight.Frame() : fight.Tick(); },
      [&] {
        draws += renderer->Draws().size();
        renderer->ClearLog();
      });
  state.counters["draws"] = static_cast<double>(draws) / static_cast<double>(state.iterations());
}

void BM_FieldTick(benchmark::State& state) { RunHeadless(state, false); }
BENCHMARK(BM_FieldTick)->Iterations(kTicks)->Unit(benchmark::kMicrosecond);

void BM_FieldFrame(benchmark::State& state) { RunHeadless(state, true); }
BENCHMARK(BM_FieldFrame)->Iterations(kTicks)->Unit(benchmark::kMicrosecond);

// One SDL for the program: a virtual X server starts over when its last client leaves.
plat::SdlBackend& Sdl() {
  static plat::SdlBackend sdl;
  return sdl;
}

void BM_FieldFrameGl(benchmark::State& state) {
  plat::SdlBackend& sdl = Sdl();
  if (!sdl.Ready() || !plat::InstallSdlAdapterTable()) {
    state.SkipWithError(("no display: " + sdl.Failure()).c_str());
    return;
  }
  bench::Platform platform;
  if (!platform.Ready()) {
    state.SkipWithError("no folder for the sample game");
    return;
  }
  plat::SetWindowBackend(&sdl);
  plat::UseGlRenderer();
  Fight fight(platform.Clock());
  if (!fight.Ready())
    state.SkipWithError("the fight did not start in the sample folder");
  else
    Measure(state, fight, [&] { return fight.Frame(); }, [] {});
}
BENCHMARK(BM_FieldFrameGl)->Iterations(kTicks)->UseRealTime()->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
