#include "game/actor/TWeponState.h"

#include <gtest/gtest.h>

#include <cmath>
#include <optional>

#include "tests/game/actor/CharFileFixture.h"
#include "tools/datakit/WeaponStateWriter.h"

using namespace plat;

namespace {

constexpr float kQuarterTurn = 1.5707963f;

class WeponStateTest : public CharFileFixture {
 protected:
  void SetUp() override { TWeponState::SetFolder(Folder()); }
  void TearDown() override { TWeponState::SetFolder(""); }
};

std::array<float, 4> TurnY(float angle) { return {0, std::sin(angle / 2), 0, std::cos(angle / 2)}; }

// Key k: left at (k, 2k, 3k) turned k quarter turns about y, right at minus that, unturned.
datakit::HandKey Key(int k) {
  const float f = static_cast<float>(k);
  datakit::HandKey key;
  key.leftPosition = {f, 2 * f, 3 * f};
  key.leftRotation = TurnY(f * kQuarterTurn);
  key.rightPosition = {-f, -2 * f, -3 * f};
  return key;
}

// The hand matrix built independently: turn about y, then move.
D3DXMATRIX Expected(float angle, float x, float y, float z) {
  D3DXMATRIX turn, move, out;
  D3DXMatrixRotationY(&turn, angle);
  D3DXMatrixTranslation(&move, x, y, z);
  return *D3DXMatrixMultiply(&out, &turn, &move);
}

void ExpectNear(const D3DXMATRIX& a, const D3DXMATRIX& b) {
  for (int i = 0; i < 16; ++i) EXPECT_NEAR(a.m[i / 4][i % 4], b.m[i / 4][i % 4], 1e-5f) << i;
}

void ExpectExactly(const D3DXMATRIX& a, const D3DXMATRIX& b) {
  for (int i = 0; i < 16; ++i) EXPECT_EQ(a.m[i / 4][i % 4], b.m[i / 4][i % 4]) << i;
}

// Motion 0: frames 0-3 use keys 2, 1, 0, 1 (frame 0 is not key 0); motion 1: frames 2 and 3
// use keys 0 and 3 (the blend of 2.5); motion 2 has no frames.
class WeponStateFile : public WeponStateTest {
 protected:
  void SetUp() override {
    WeponStateTest::SetUp();
    datakit::WeaponStateFile file;
    file.header = 7;
    for (int k = 0; k < 4; ++k) file.keys.push_back(Key(k));
    file.motions = {{2, 1, 0, 1}, {1, 1, 0, 3}, {}};
    file.Save(Folder() + "hero.wpm");
    state.emplace("hero.wpm");
  }
  D3DXMATRIX Left(uint32_t motion, float time) {
    D3DXMATRIX m;
    return *state->GetLeftMatrix(&m, motion, time);
  }
  D3DXMATRIX Right(uint32_t motion, float time) {
    D3DXMATRIX m;
    return *state->GetRightMatrix(&m, motion, time);
  }
  D3DXMATRIX KeyMatrix(int k, bool left) {
    const datakit::HandKey key = Key(k);
    const auto& p = left ? key.leftPosition : key.rightPosition;
    const auto& q = left ? key.leftRotation : key.rightRotation;
    D3DXQUATERNION rotation{q[0], q[1], q[2], q[3]};
    D3DXMATRIX turn, move, out;
    D3DXMatrixRotationQuaternion(&turn, &rotation);
    D3DXMatrixTranslation(&move, p[0], p[1], p[2]);
    return *D3DXMatrixMultiply(&out, &turn, &move);
  }

  std::optional<TWeponState> state;
};

TEST_F(WeponStateFile, TimeZeroGivesTheKeyOfFrameZeroExactly) {
  ASSERT_EQ(state->GetKeyCount(), 4u);
  ASSERT_EQ(state->GetMotionCount(), 3u);
  ExpectExactly(Left(0, 0.0f), KeyMatrix(2, true));
  ExpectExactly(Right(0, 0.0f), KeyMatrix(2, false));
  ExpectNear(Left(0, 0.0f), Expected(2 * kQuarterTurn, 2, 4, 6));
  ExpectNear(Right(0, 0.0f), Expected(0, -2, -4, -6));
}

TEST_F(WeponStateFile, BetweenFramesPositionsLerpAndRotationsSlerp) {
  // Keys 0 and 3 half way: position (1.5, 3, 4.5); turned by 0 and by three quarters, the slerp
  // takes the shorter arc and lands on minus three eighths of a turn.
  ExpectNear(Left(1, 2.5f), Expected(-0.5f * kQuarterTurn, 1.5f, 3.0f, 4.5f));
  ExpectNear(Right(1, 2.5f), Expected(0, -1.5f, -3.0f, -4.5f));
  // Keys 2 and 1 a quarter of the way.
  ExpectNear(Left(0, 0.25f), Expected(1.75f * kQuarterTurn, 1.75f, 3.5f, 5.25f));
}

TEST_F(WeponStateFile, TheLastFrameAndLaterHoldItsKey) {
  ExpectExactly(Left(1, 3.5f), KeyMatrix(3, true));
  ExpectExactly(Left(1, 3.0f), KeyMatrix(3, true));
  ExpectExactly(Left(1, 250.0f), KeyMatrix(3, true));
  ExpectExactly(Right(0, 3.9f), KeyMatrix(1, false));
}

TEST_F(WeponStateFile, FramesSharingAKeyGiveItAtEveryFraction) {
  for (float t : {0.1f, 0.5f, 0.99f}) ExpectExactly(Left(1, t), KeyMatrix(1, true));
}

TEST_F(WeponStateFile, MotionsOutsideTheTableOrWithoutFramesGiveTheIdentity) {
  D3DXMATRIX identity;
  D3DXMatrixIdentity(&identity);
  ExpectExactly(Left(2, 0.5f), identity);
  ExpectExactly(Left(3, 0.0f), identity);
  ExpectExactly(Right(0xFFFFFFFF, 1.0f), identity);
}

TEST_F(WeponStateTest, AMissingFileThrowsWithItsBareNameAtLine25) {
  ExpectMyError([] { TWeponState("none.wpm"); },
                {"file : TWeponState\r\nline : 25\r\n", "error : none.wpm\r\n"});
}

TEST_F(WeponStateTest, DamagedFilesThrowNamingTheFile) {
  datakit::WeaponStateFile good;
  good.keys = {Key(0), Key(1)};
  good.motions = {{0, 1}, {1}};
  const std::vector<uint8_t> whole = good.Build().data();
  auto cut = [&](size_t size) { return std::vector<uint8_t>(whole.begin(), whole.begin() + size); };
  datakit::WeaponStateFile pastKeys = good;
  pastKeys.motions[1] = {2};
  struct Case {
    const char* what;
    std::vector<uint8_t> bytes;
  };
  const Case cases[] = {
      {"empty", {}},
      {"key count cut", cut(6)},
      {"second key cut", cut(8 + 56 + 20)},
      {"motion count missing", cut(8 + 112)},
      {"last index cut by a byte", cut(whole.size() - 1)},
      {"second motion block missing", cut(whole.size() - 8)},
      {"key index past the keys", pastKeys.Build().data()},
      {"huge key count", datakit::ByteWriter().U32(0).U32(0xFFFFFFFF).U32(0).data()},
      {"huge motion count", datakit::ByteWriter().U32(0).U32(0).U32(0xFFFFFFFF).data()},
      {"huge frame count", datakit::ByteWriter().U32(0).U32(0).U32(1).U32(0x40000000).data()},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    datakit::SaveFile(Folder() + "bad.wpm", c.bytes);
    ExpectMyError([] { TWeponState("bad.wpm"); }, {Folder() + "bad.wpm"});
  }
}

}  // namespace
