#include "game/ui/TGetRender.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <cstring>

#include "tests/game/ui/HudFixture.h"

namespace {

const std::string kVillage = "\x8e\x6e\x82\xdc\x82\xe8\x82\xcc\x91\xba";  // 始まりの村

class GetRender : public HudFixture {
 protected:
  void SetUp() override {
    HudFixture::SetUp();
    window = TGetRender::Create();
    ASSERT_TRUE(window);
  }
  // The state after each of n updates: I idle, S sliding in, H holding, O sliding out.
  std::string Run(int n) {
    std::string states;
    for (int k = 0; k < n; ++k) {
      window->Update();
      states += window->IsIdle() ? 'I' : window->IsSlidingIn() ? 'S' : window->IsHolding() ? 'H' : 'O';
    }
    return states;
  }
  static std::string Times(char c, int n) { return std::string(static_cast<size_t>(n), c); }
  // One message: 20 updates sliding in, 1 at rest and 99 more held, 21 sliding out.
  static std::string Message() { return Times('S', 20) + Times('H', 100) + Times('O', 21) + "I"; }

  TCountedPtr<TGetRender> window;
};

TEST_F(GetRender, MessagesShowOneAfterAnother) {
  window->PushItem(1);
  window->PushItem(2);
  EXPECT_EQ(Run(142), Message());
  EXPECT_EQ(window->GetX(), 640);
  EXPECT_EQ(window->GetQueueSize(), 1u);
  EXPECT_EQ(Run(142), Message()) << "the second starts only once the first has gone";
  EXPECT_EQ(Run(3), "III");
}

TEST_F(GetRender, TheWindowSlidesFromTheRightEdgeAndStopsAt376) {
  window->PushMoney(5);
  std::vector<int32_t> xs;
  for (int k = 0; k < 21; ++k) {
    window->Update();
    xs.push_back(window->GetX());
  }
  EXPECT_EQ(xs[0], 627) << "640 - 264 / 20, truncated";
  EXPECT_EQ(xs[1], 614);
  EXPECT_EQ(xs[19], 376);
  EXPECT_EQ(xs[20], 376);

  device.renderer->ClearLog();
  window->Draw();
  ASSERT_EQ(Draws().size(), 2u);
  EXPECT_EQ(Draws()[0].textures[0].name, "sprite.ptx/window22");
  EXPECT_FLOAT_EQ(QuadOf(Draws()[0]).left + 0.5f, 376);
  EXPECT_FLOAT_EQ(QuadOf(Draws()[0]).top + 0.5f, 8);
  EXPECT_EQ(Draws()[0].state.renderStates[plat::D3DRS_DESTBLEND], plat::D3DBLEND_INVSRCALPHA);
  EXPECT_EQ(Draws()[1].textures[0].name.rfind("TGetRender::tGet", 0), 0u);
  EXPECT_FLOAT_EQ(QuadOf(Draws()[1]).left + 0.5f, 388);
  EXPECT_FLOAT_EQ(QuadOf(Draws()[1]).top + 0.5f, 16);
  EXPECT_FLOAT_EQ(QuadOf(Draws()[1]).Width(), 256);
  EXPECT_EQ(Draws()[1].state.renderStates[plat::D3DRS_DESTBLEND], plat::D3DBLEND_ONE) << "text adds its light";

  window->Reset();
  EXPECT_TRUE(window->IsIdle());
  EXPECT_EQ(window->GetX(), 640);
  device.renderer->ClearLog();
  window->Draw();
  EXPECT_TRUE(Draws().empty()) << "nothing while idle";
}

TEST_F(GetRender, AWaitHoldsTheQueueOnlyWhileNothingShows) {
  // Entering a stage: 25 empty updates, then the stage's text.
  window->Reset();
  window->PushWait(25);
  window->PushText(kVillage);
  EXPECT_EQ(Run(26), Times('I', 25) + "S");
  EXPECT_EQ(window->GetShownText(), kVillage);

  // A wait behind a message does not count down while the message shows.
  window->Reset();
  window->PushItem(1);
  window->PushWait(5);
  window->PushItem(2);
  EXPECT_EQ(Run(142 + 5 + 1), Message() + Times('I', 5) + "S");

  // Counts of 0 or less hold the queue for one update and never block it.
  for (int32_t count : {0, -3, -2147483647 - 1}) {
    window->Reset();
    window->PushWait(count);
    window->PushItem(1);
    EXPECT_EQ(Run(2), "IS") << count;
  }
  window->Reset();
  EXPECT_EQ(window->GetQueueSize(), 0u);
}

TEST_F(GetRender, EachKindSaysWhatWasGainedOrLost) {
  struct Case {
    TGetRender::Message message;
    std::string text;
  } cases[] = {
      {{TGetRender::kItem, 1, ""}, "\x96\xf2\x91\x90\x82\xf0\x8e\xe8\x82\xc9\x93\xfc\x82\xea\x82\xbd\x81\x42"},
      {{TGetRender::kMoney, 1500, ""}, "1500\x83\x78\x83\x8b\x8e\xe8\x82\xc9\x93\xfc\x82\xea\x82\xbd\x81\x42"},
      {{TGetRender::kSkill, 143, ""}, "\x83\x81\x83\x65\x83\x49\x82\xf0\x8a\x6f\x82\xa6\x82\xbd\x81\x42"},
      {{TGetRender::kText, 0, kVillage}, kVillage},
      {{TGetRender::kStolenItem, 1, ""}, "\x96\xf2\x91\x90\x82\xf0\x93\x90\x82\xf1\x82\xbe\x81\x42"},
      {{TGetRender::kStolenMoney, 20, ""}, "20\x83\x78\x83\x8b\x93\x90\x82\xf1\x82\xbe\x81\x42"},
  };
  for (const Case& c : cases) EXPECT_EQ(TGetRender::Compose(c.message), c.text) << c.message.kind;

  window->PushMoney(1500);
  window->Update();
  EXPECT_EQ(window->GetShownText(), cases[1].text);
  EXPECT_EQ(window->GetShownTextX(), 124 - 8 * 10);
}

TEST_F(GetRender, TextsAreCentredByHalfTheirByteLength) {
  EXPECT_EQ(TGetRender::TextStart(std::string(20, 'a')), 44);
  EXPECT_EQ(TGetRender::TextStart(std::string(21, 'a')), 44);
  EXPECT_EQ(TGetRender::TextStart(""), 124);
  if (access("/usr/share/fonts/opentype/ipafont-gothic/ipag.ttf", R_OK) != 0) return;
  window->PushText(std::string(20, 'W'));
  window->Update();
  // The text starts at x 44 of its texture.
  const TText8& text = window->GetText();
  int first = -1;
  for (int x = 0; x < 256 && first < 0; ++x)
    for (int y = 0; y < 16; ++y) {
      uint16_t v;
      std::memcpy(&v, text.GetBits() + y * text.GetPitch() + x * 2, 2);
      if (v != 0) {
        first = x;
        break;
      }
    }
  EXPECT_GE(first, 44);
  EXPECT_LE(first, 46);
}

}  // namespace
