// The game played from its title on the game's own services and the sample game, with scripted
// input: a new game through the opening events into the town, the tower into the ending and its
// save screen, the title again, the save loaded, the well's game over, the title once more, Exit.
#include <gtest/gtest.h>

#include <cmath>

#include "game/data/SaveFiles.h"
#include "game/script/TChange.h"
#include "game/script/TEnding.h"
#include "game/script/TEventScene.h"
#include "game/shell/TInput.h"
#include "game/ui/TDie.h"
#include "game/ui/TSaveLoad.h"
#include "game/ui/TSelectContinueData.h"
#include "game/ui/TTitle.h"
#include "sound/TDSound8.h"
#include "sound/TSoundSet8.h"
#include "tests/game/app/GameFieldFixture.h"
#include "tools/datakit/SampleMaps.h"

namespace {

using L = datakit::SampleMapLayout;

class TitleScenario : public GameFieldFixture {
 protected:
  void SetUp() override {
    GameFieldFixture::SetUp();
    LinkGame();
    shell.makeTitle = [](TGameWnd& app) { return new TTitle(app); };
    TTitle::SetLogoShown(false);
    for (int i = 0; i < 5; ++i) app->GetInput()->Update();  // past the input's warm-up
    app->ClearScenes();
  }
  void TearDown() override {
    field = nullptr;
    app->ClearScenes();
    UnlinkGame();
    shell.makeTitle = nullptr;
    TTitle::SetLogoShown(false);
    GameFieldFixture::TearDown();
  }

  // One frame with one update; false when the game ends.
  bool Step() {
    auto* scene = dynamic_cast<TStateScene*>(app->GetCurrentScene());
    if (!scene) return false;
    const TFrameTimer& timer = scene->GetTimer();
    clock.Set(std::max(static_cast<plat::DWORD>(std::floor(timer.baseTime + timer.tickLength)) + 1,
                       plat::timeGetTime()));
    return app->Frame();
  }
  // Steps while the condition does not hold; false when it never did.
  bool StepUntil(const std::function<bool()>& done, int limit = 5000) {
    for (int i = 0; i < limit && !done(); ++i)
      if (!Step()) return false;
    return done();
  }
  template <class T>
  T* StepTo(int limit = 5000) {
    StepUntil([this] { return Current<T>() != nullptr; }, limit);
    return Current<T>();
  }
  void Key(int key) {
    plat::SetKeyDown(key, true);
    Step();
    plat::SetKeyDown(key, false);
    Step();
  }
  // The title in its menu; whether it showed the logo on the way.
  TTitle* TitleMenu(bool& logo) {
    auto* title = StepTo<TTitle>();
    if (!title) return nullptr;
    logo = false;
    StepUntil([&] {
      logo = logo || title->InPhase(&TTitle::LogoHold);
      return title->InPhase(&TTitle::Menu);
    });
    return title;
  }
  int32_t MusicCount(int32_t id) { return static_cast<int32_t>(TDSound8::Get().Find(2)->GetCount(id)); }
};

TEST_F(TitleScenario, FromTheTitleToTheEndingAndBackThroughALoadAndAGameOverToExit) {
  app->SetScene(shell.CreateTitle(*app));
  bool logo = false;
  TTitle* title = TitleMenu(logo);
  ASSERT_NE(title, nullptr);
  EXPECT_TRUE(logo) << "the run's first title";

  // Start, then the chapter afresh: the opening events, skipped, lead into the town.
  Key('Z');
  auto* continueScreen = Current<TSelectContinueData>();
  ASSERT_NE(continueScreen, nullptr);
  ASSERT_TRUE(StepUntil([&] { return continueScreen->InPhase(&TSelectContinueData::Input); }));
  Key('Z');
  auto* change = Current<TChange>();
  ASSERT_NE(change, nullptr);
  EXPECT_EQ(change->GetEventId(), 200);
  EXPECT_EQ(change->GetKeptMusic(), TTitle::kMusic);
  plat::SetKeyDown('X', true);
  ASSERT_NE(StepTo<TEventScene>(), nullptr);
  ASSERT_TRUE(StepUntil([&] { return Current<TEventScene>() && Current<TEventScene>()->GetRow().id == 201; }));
  ASSERT_NE(StepTo<TFieldScene>(), nullptr);
  plat::SetKeyDown('X', false);
  ASSERT_NE(Arrive("03.pbms/r01_07_b"), nullptr);
  EXPECT_EQ(MusicCount(TTitle::kMusic), 0) << "the title's music let go";

  // The tower's door: the ending, then the save screen.
  const D3DXVECTOR3 towerAt(L::kTowerAt.x, 0, L::kTowerAt.z);
  ASSERT_TRUE(WalkTo(D3DXVECTOR3(towerAt.x + 3, 0, towerAt.z + 3)));
  ASSERT_TRUE(WalkToward(towerAt, [&] { return Distance(towerAt) < 0.8f; }));
  Release();
  Tick();
  Press();
  field = nullptr;
  ASSERT_NE(StepTo<TEnding>(), nullptr);
  auto* save = StepTo<TSaveLoad>(6000);
  ASSERT_NE(save, nullptr);
  EXPECT_EQ(save->GetMode(), TSaveLoad::kSave);
  ASSERT_TRUE(StepUntil([&] { return save->GetList().InPhase(&TSlotList::SaveInput); }));
  Key('Z');
  ASSERT_TRUE(StepUntil([&] { return save->GetList().InPhase(&TSlotList::SaveInput); }));
  EXPECT_EQ(save->GetList().GetLastSaveResult(), save_code::kDone);
  EXPECT_EQ(GetSaveSlotChapter(0), 3);

  // B: the title again, without the logo; Load and slot 0: the field at the tower's save point.
  Key('X');
  title = TitleMenu(logo);
  ASSERT_NE(title, nullptr);
  EXPECT_FALSE(logo);
  Data().NewGame();
  Key(plat::VK_DOWN);
  Key('Z');
  auto* load = Current<TSaveLoad>();
  ASSERT_NE(load, nullptr);
  EXPECT_EQ(load->GetMode(), TSaveLoad::kLoad);
  ASSERT_TRUE(StepUntil([&] { return load->GetList().InPhase(&TSlotList::LoadInput); }));
  Key('Z');
  ASSERT_NE(StepTo<TFieldScene>(), nullptr);
  ASSERT_NE(Arrive("03.pbms/town"), nullptr);
  EXPECT_EQ(Data().GetSavePointId(), 10u);
  EXPECT_LT(Distance(D3DXVECTOR3(0, 0, 0)), 0.5f) << "at the save point";

  // The well: the game over, A, and the title alone.
  const D3DXVECTOR3 wellWest(L::kWellMin.x - 2, 0, (L::kWellMin.z + L::kWellMax.z) / 2);
  ASSERT_TRUE(WalkTo(wellWest));
  for (int i = 0; i < 300 && !Current<TDie>(); ++i) {
    HoldToward(D3DXVECTOR3(L::kWellWay.x, 0, L::kWellWay.z));
    Tick();
  }
  Release();
  field = nullptr;
  auto* die = Current<TDie>();
  ASSERT_NE(die, nullptr);
  ASSERT_TRUE(StepUntil([&] { return die->InPhase(&TDie::Wait); }));
  Key('Z');
  title = TitleMenu(logo);
  ASSERT_NE(title, nullptr);
  EXPECT_EQ(app->GetSceneCount(), 1u);

  // Exit.
  Key(plat::VK_UP);
  plat::SetKeyDown('Z', true);
  int steps = 0;
  while (Step() && steps < 500) ++steps;
  plat::SetKeyDown('Z', false);
  EXPECT_TRUE(title->InPhase(&TTitle::Quit) || title->IsFinished());
  EXPECT_GE(steps, TTitle::kFadeFrames) << "picture and music faded first";
  EXPECT_LT(steps, 500) << "the game ended";
}

}  // namespace
