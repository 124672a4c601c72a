// The global time stop: its board, turning it on and off, the timer and the pinned position.
#include <gtest/gtest.h>

#include "common/my_error.h"
#include "game/effect/TimeStopState.h"
#include "tests/common/MathChecks.h"
#include "tests/common/MeshFixture.h"
#include "tools/datakit/SampleMeshes.h"

namespace {

using mathcheck::Near;
using mathcheck::Vec;

class TimeStopTest : public testkit::MeshFixture {
 protected:
  void SetUp() override {
    MeshFixture::SetUp();
    datakit::WriteSampleEffectMeshes(dir.path() + "/");
    view = CreateNamedFrame("Camera", mathcheck::Translation(5, 2, 0));
    player = CreateNamedFrame("Player", mathcheck::Translation(1, 0, 3));
  }
  void TearDown() override {
    State().ReleaseBoard();
    view.Reset();
    player.Reset();
    MeshFixture::TearDown();
  }
  static TimeStopState& State() { return TimeStopState::Get(); }

  TCountedPtr<TFrame8> view, player;
};

TEST_F(TimeStopTest, TheBoardIsBuiltOnceWithItsLook) {
  EXPECT_EQ(State().GetBoard(), nullptr);
  State().BuildBoard();
  TFrame8* board = State().GetBoard();
  ASSERT_NE(board, nullptr);
  State().BuildBoard();
  EXPECT_EQ(State().GetBoard(), board);
  EXPECT_EQ(board->GetName(), "TimeStop");
  ASSERT_EQ(board->GetMeshes().size(), 1u);
  const TMesh8& mesh = board->GetMeshes()[0];
  EXPECT_EQ(mesh.GetMaterial(0).GetRenderMode(), 5000);
  EXPECT_EQ(mesh.GetMaterial(0).PackedColor(), 0xFFFFFFFFu);
  // The sample board is a square of side 2, made 1.6 times larger.
  const auto* v = static_cast<const float*>(mesh.LockVerticesReadOnly(0));
  float widest = 0;
  for (int k = 0; k < mesh.GetVertexCount(); ++k) widest = std::max(widest, std::abs(v[6 * k]));
  EXPECT_FLOAT_EQ(widest, 1.6f);

  State().ReleaseBoard();
  EXPECT_EQ(State().GetBoard(), nullptr);
}

TEST_F(TimeStopTest, TurningOnHangsTheBoardBeforeTheViewAndStartsTheTimerOnce) {
  State().BuildBoard();
  TFrame8* board = State().GetBoard();
  SetTimeStop(true, view.Get(), player.Get());
  EXPECT_TRUE(GetTimeStop());
  EXPECT_EQ(board->GetParent(), view.Get());
  plat::D3DXVECTOR3 p, z;
  EXPECT_TRUE(Near(*board->GetPosition(&p), Vec(0, 0, 1)));
  // Facing the view: its z axis points back at the view's origin.
  EXPECT_TRUE(Near(*board->GetAxis(&z, 3), Vec(0, 0, -1)));
  EXPECT_EQ(State().GetTimer(), TimeStopState::kStopFrames);
  EXPECT_TRUE(Near(State().GetPosition(), Vec(1, 0, 3)));

  // A second turn-on changes nothing: the timer runs on, the position stays.
  EXPECT_FALSE(State().CountDown());
  player->SetPositionXYZ(9, 9, 9);
  SetTimeStop(true, view.Get(), player.Get());
  EXPECT_EQ(State().GetTimer(), 599);
  EXPECT_TRUE(Near(State().GetPosition(), Vec(1, 0, 3)));

  SetTimeStop(false, nullptr, nullptr);
  EXPECT_FALSE(GetTimeStop());
  EXPECT_EQ(board->GetParent(), nullptr);
  EXPECT_TRUE(view->GetChildren().empty());
  SetTimeStop(false, nullptr, nullptr);
  EXPECT_FALSE(GetTimeStop());
}

TEST_F(TimeStopTest, WithoutABoardTheTimerStillRunsOut) {
  SetTimeStop(true, view.Get(), player.Get());
  EXPECT_TRUE(GetTimeStop());
  EXPECT_TRUE(view->GetChildren().empty());
  int ticks = 0;
  while (!State().CountDown() && ticks < 1000) ++ticks;
  EXPECT_EQ(ticks + 1, TimeStopState::kStopFrames);
  SetTimeStop(false, nullptr, nullptr);
}

TEST_F(TimeStopTest, ApplyPinsAnObjectOnlyWhileStopped) {
  TCountedPtr<TFrame8> object = CreateNamedFrame("Enemy", mathcheck::Translation(4, 4, 4));
  ApplyTimeStop(*object);
  plat::D3DXVECTOR3 p;
  EXPECT_TRUE(Near(*object->GetPosition(&p), Vec(4, 4, 4)));
  SetTimeStop(true, view.Get(), player.Get());
  player->SetPositionXYZ(2, 0, 2);
  ApplyTimeStop(*player);
  ApplyTimeStop(*object);
  EXPECT_TRUE(Near(*player->GetPosition(&p), Vec(1, 0, 3)));
  EXPECT_TRUE(Near(*object->GetPosition(&p), Vec(1, 0, 3)));
  SetTimeStop(false, nullptr, nullptr);
  player->SetPositionXYZ(2, 0, 2);
  ApplyTimeStop(*player);
  EXPECT_TRUE(Near(*player->GetPosition(&p), Vec(2, 0, 2)));
}

TEST_F(TimeStopTest, AMissingBoardMeshThrowsAndLeavesNoBoard) {
  TMesh8::SetFolder(dir.path() + "/elsewhere/");
  EXPECT_THROW(State().BuildBoard(), my_error);
  EXPECT_EQ(State().GetBoard(), nullptr);
}

}  // namespace
