// The effect manager: ids, scaling, the update walk with spawns inside it, removal, Clear and the
// handles that callers keep.
#include <gtest/gtest.h>

#include <algorithm>
#include <utility>

#include "game/effect/TEffectManager.h"
#include "tests/common/MathChecks.h"
#include "tests/game/effect/EffectFixture.h"

namespace {

using effecttest::Journal;
using effecttest::ProbeEffect;
using mathcheck::Vec;

constexpr plat::D3DCOLORVALUE kWhite{1, 1, 1, 1};

class EffectManagerTest : public effecttest::EffectFixture {
 protected:
  void SetUp() override {
    EffectFixture::SetUp();
    scene = CreateNamedFrame("Scene", IdentityMatrix());
  }
  void TearDown() override {
    manager.reset();
    scene.Reset();
    EffectFixture::TearDown();
  }
  // Registers a probe of that name; with a model it has a frame to hang.
  ProbeEffect& Register(TEffectKind kind, const std::string& name, int lifetime = -1, const char* model = "") {
    auto prototype = std::make_unique<ProbeEffect>(journal, name, lifetime);
    prototype->LoadModel(model);
    ProbeEffect& kept = *prototype;
    manager->Register(kind, std::move(prototype));
    return kept;
  }
  TCountedPtr<TEffect> Spawn(TEffectKind kind, const plat::D3DXVECTOR3& scale = Vec(1, 1, 1)) {
    return manager->Spawn(kind, Vec(0, 0, 0), Vec(0, 0, 1), *scene, nullptr, kWhite, scale);
  }
  Journal Take() {
    Journal out;
    out.swap(*journal);
    return out;
  }

  std::shared_ptr<Journal> journal = std::make_shared<Journal>();
  std::unique_ptr<TEffectManager> manager = std::make_unique<TEffectManager>();
  TCountedPtr<TFrame8> scene;
};

TEST_F(EffectManagerTest, EverySpawnTakesTheNextIdEvenWithoutAPrototype) {
  Register(1, "a");
  manager->Register(5, nullptr);
  testing::internal::CaptureStderr();
  TCountedPtr<TEffect> first = Spawn(1), unknown = Spawn(99), empty = Spawn(5), third = Spawn(1);
  const std::string errors = testing::internal::GetCapturedStderr();
  EXPECT_EQ(first->GetId(), 0);
  EXPECT_FALSE(unknown);
  EXPECT_FALSE(empty);
  EXPECT_EQ(third->GetId(), 3);
  EXPECT_EQ(std::count(errors.begin(), errors.end(), '\n'), 2);
  EXPECT_NE(errors.find("99"), std::string::npos);
  EXPECT_EQ(manager->GetLiveCount(), 2u);

  // Clear lets the effects go but not the counter, nor the prototypes.
  manager->Clear();
  EXPECT_EQ(manager->GetLiveCount(), 0u);
  EXPECT_EQ(Spawn(1)->GetId(), 4);
  manager->Clear();
  manager->Clear();
  EXPECT_EQ(manager->GetNextId(), 5);
}

TEST_F(EffectManagerTest, OnlyAScaleOtherThanExactlyOneScalesAndBeforeInit) {
  Register(1, "a");
  const struct {
    plat::D3DXVECTOR3 scale;
    bool scaled;
  } cases[] = {
      {Vec(1, 1, 1), false}, {Vec(1, 1, 1.0001f), true}, {Vec(0.5f, 1, 1), true},
      {Vec(1, -1, 1), true}, {Vec(0, 0, 0), true},
  };
  int32_t id = 0;
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << c.scale.x << " " << c.scale.y << " " << c.scale.z);
    Take();
    Spawn(1, c.scale);
    const std::string tag = "a#" + std::to_string(id++);
    // Scaling comes before Init, while the clone has no id yet.
    EXPECT_EQ(Take(), c.scaled ? Journal({"a scale", tag + " init"}) : Journal({tag + " init"}));
  }
}

TEST_F(EffectManagerTest, TheWalkUpdatesInSpawnOrderAndReachesEffectsSpawnedDuringIt) {
  ProbeEffect& spawner = Register(1, "a");
  Register(2, "b");
  Register(3, "c", 1);  // finishes on its first update
  bool spawned = false;
  spawner.onUpdate = [&](ProbeEffect&) {
    if (!std::exchange(spawned, true)) {
      Spawn(2);
      Spawn(3);
    }
  };
  Spawn(1);
  Spawn(2);
  Take();
  manager->Update();
  EXPECT_EQ(Take(), Journal({"a#0 update", "b#2 init", "c#3 init", "b#1 update", "b#2 update", "c#3 update",
                             "c#3 detach", "c#3 destroyed"}));
  EXPECT_EQ(manager->GetLiveCount(), 3u);
  manager->Update();
  EXPECT_EQ(Take(), Journal({"a#0 update", "b#1 update", "b#2 update"}));
}

TEST_F(EffectManagerTest, AFinishedEffectLeavesTheSceneInTheSameWalkAndLivesOnlyWhileHeld) {
  Register(1, "a", 2, "flash01.frm");
  TCountedPtr<TEffect> held = Spawn(1);
  Spawn(1);
  ASSERT_EQ(scene->GetChildren().size(), 2u);
  EXPECT_EQ(held.GetCount(), 2);  // the caller's and the live list's

  manager->Update();
  EXPECT_EQ(scene->GetChildren().size(), 2u);
  Take();
  manager->Update();
  EXPECT_EQ(Take(), Journal({"a#0 update", "a#0 detach", "a#1 update", "a#1 detach", "a#1 destroyed"}));
  EXPECT_TRUE(scene->GetChildren().empty());
  EXPECT_EQ(manager->GetLiveCount(), 0u);

  // The caller's handle still holds the finished effect, out of the scene.
  EXPECT_EQ(held.GetCount(), 1);
  EXPECT_EQ(held->GetId(), 0);
  EXPECT_EQ(held->GetFrame()->GetParent(), nullptr);
  held.Reset();
  EXPECT_EQ(Take(), Journal({"a#0 destroyed"}));
}

TEST_F(EffectManagerTest, KillEndsAnEffectAtTheNextUpdate) {
  Register(1, "a", -1, "flash01.frm");
  TCountedPtr<TEffect> aura = Spawn(1);
  manager->Update();
  aura->Kill();
  EXPECT_EQ(manager->GetLiveCount(), 1u);
  manager->Update();
  EXPECT_EQ(manager->GetLiveCount(), 0u);
  EXPECT_TRUE(scene->GetChildren().empty());
}

TEST_F(EffectManagerTest, ClearAndTheDestructorTakeLiveEffectsOutOfTheScene) {
  Register(1, "a", -1, "flash01.frm");
  Spawn(1);
  Spawn(1);
  Take();
  manager->Clear();
  EXPECT_EQ(Take(), Journal({"a#0 detach", "a#1 detach", "a#0 destroyed", "a#1 destroyed"}));
  EXPECT_TRUE(scene->GetChildren().empty());

  TCountedPtr<TEffect> held = Spawn(1);
  manager.reset();
  EXPECT_EQ(Take(), Journal({"a#2 init", "a destroyed", "a#2 detach"}));
  EXPECT_TRUE(scene->GetChildren().empty());
  EXPECT_EQ(held.GetCount(), 1);
}

TEST_F(EffectManagerTest, PrototypesCloneFreshAndARegistrationReplacesTheOldOne) {
  Register(1, "old");
  EXPECT_FALSE(manager->PrototypeFor(2));
  TCountedPtr<TEffect> a = manager->PrototypeFor(1), b = manager->PrototypeFor(1);
  ASSERT_TRUE(a && b);
  EXPECT_NE(a.Get(), b.Get());
  EXPECT_EQ(a->GetId(), -1);
  a.Reset();
  b.Reset();
  Take();
  Register(1, "new");
  EXPECT_EQ(Take(), Journal({"old destroyed"}));
  Spawn(1);
  EXPECT_EQ(Take(), Journal({"new#0 init"}));

  // The builder runs inside the constructor.
  TEffectManager built([this](TEffectManager& m) { m.Register(7, std::make_unique<ProbeEffect>(journal, "built")); });
  EXPECT_TRUE(built.PrototypeFor(7));
}

}  // namespace
