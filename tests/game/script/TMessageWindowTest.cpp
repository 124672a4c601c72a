#include "game/script/TMessageWindow.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <cstring>
#include <memory>

#include "game/data/GameGlobals.h"
#include "game/shell/TInput.h"
#include "platform/sound/SoundOutput.h"
#include "platform/window/InputState.h"
#include "sound/TDSound8.h"
#include "sound/TSound8.h"
#include "sound/TSoundSet8.h"
#include "tests/game/data/GameDataFixture.h"
#include "tests/game/script/ScriptFixture.h"
#include "tools/datakit/SampleSound.h"
#include "tools/datakit/SampleTextures.h"

namespace {

const std::string kSlash = "\x81\x5e";   // ／
const std::string kIndent = "\x81\x40";  // the full-width space

// The window of a scene: its sprites and sounds from the sample game folder, its own input, fed
// key by key, and the host's tick (input, Run, then the objects' updates while a script waits).
class MessageWindow : public ScriptFixture {
 protected:
  void SetUp() override {
    ScriptFixture::SetUp();
    const std::string game = dir.path() + "/";
    datakit::SampleSpritePack().Save(game + "data/ptx03/sprite.ptx");
    datakit::WriteSampleSound(game);
    SetDataFolder(game + "data/tbl03/");
    device.Start(dir.path());
    ASSERT_EQ(TD3D8::BeginScene(), plat::D3D_OK);
    plat::SetSoundOutput(&output);
    TDSound8::Get().SetSeFolder(game + "data/se03/");
    TDSound8::Get().Init(nullptr);
    TDSound8::Get().LoadSet(game + "data/tbl03/se.tbl", "se.pse/", 0, -10000, 0);
    input = std::make_unique<TInput>(game + "input.ini", 10, TInput::kDefaultKeys, TInput::kDefaultPad);
    for (int i = 0; i < 5; ++i) input->Update();  // past the warm-up
    window = new TMessageWindow(input.get());
    Engine().AddObject(window);
    fontInstalled = access("/usr/share/fonts/opentype/ipafont-gothic/ipag.ttf", R_OK) == 0;
  }
  void TearDown() override {
    TScriptEngine::Destroy();  // the window and its sound list go first
    TDSound8::Get().Uninit();
    plat::SetSoundOutput(nullptr);
    plat::ReleaseAllKeys();
    SetDataFolder("");
    ScriptFixture::TearDown();
  }

  uint32_t Tick(uint32_t buttons = 0) {
    const std::pair<uint32_t, int> keys[] = {
        {kButtonUp, plat::VK_UP}, {kButtonDown, plat::VK_DOWN}, {kButtonA, 'Z'}, {kButtonB, 'X'}};
    for (auto [bit, vk] : keys) plat::SetKeyDown(vk, (buttons & bit) != 0);
    input->Update();
    const uint32_t result = Engine().Run();
    if (result & 1) Engine().UpdateObjects();
    return result;
  }
  // Ticks until the script no longer waits (at most limit); the number of ticks taken.
  int TicksUntilReleased(int limit = 200) {
    for (int n = 1; n <= limit; ++n)
      if (Tick() != TScriptEngine::kWaiting) return n;
    return -1;
  }
  // Loads "main" and runs its first tick.
  uint32_t Start(const std::string& text) {
    Pack({{"main", text}});
    Engine().LoadScript("t.pbsc/main");
    return Tick();
  }
  static std::string Say(int op, const std::string& args) {
    return "CALL @@SendMsg \"Text\" " + std::to_string(op) + " " + args + "\n";
  }

  // Whether the effect played since the last look (it is stopped for the next one).
  bool Played(int32_t id) {
    TCountedPtr<TSoundSet8> set = TDSound8::Get().Find(0);
    TCountedPtr<TSound8> sound = set->GetSound(id);
    const bool playing = sound && sound->GetState() == TSound8::kPlaying;
    set->Stop(id);
    return playing;
  }

  // Inked pixels of a text texture in [x0, x1) × [y0, y1).
  static int Ink(const TText8& text, int x0, int y0, int x1, int y1) {
    int n = 0;
    for (int y = y0; y < y1; ++y)
      for (int x = std::max(x0, 0); x < x1; ++x) {
        uint16_t v;
        std::memcpy(&v, text.GetBits() + y * text.GetPitch() + x * 2, 2);
        n += v != 0;
      }
    return n;
  }
  int MessageInk(int row, int firstColumn, int lastColumn) {
    return Ink(window->MessageText(), firstColumn * 9, row * 20, (lastColumn + 1) * 9, row * 20 + 20);
  }

  GameDevice device;
  plat::HeadlessSoundOutput output;
  std::unique_ptr<TInput> input;
  TMessageWindow* window = nullptr;  // owned by the engine
  bool fontInstalled = false;
};

TEST_F(MessageWindow, TypesACharacterATickAndReleasesTheScriptAtTheLastOne) {
  struct Case {
    std::string text;
    int ticks;
  } cases[] = {
      {"ab", 2},
      {"\x82\xa0\x82\xa2", 2},  // あい: a two-byte character is one character
      {"x\x82", 2},             // a lead byte without its second byte is taken alone
      {"a\\n\\nb", 3},          // an empty line takes a tick of its own
      {"", 1},
      {kSlash, 1},              // "／" alone is typed: it ends a page only after a character
      {"a" + kSlash + "b", 3},  // ...and only at the end of a line
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    Engine().Globals().SetInt("$t", 0);
    ASSERT_EQ(Start(Say(0, "\"" + c.text + "\"") + T(1)), TScriptEngine::kWaiting);
    EXPECT_TRUE(window->IsShown());
    int typed = 1;
    while (window->IsTyping() && typed < 50) {
      EXPECT_EQ(Trace(), 0) << "the script waits while the window types";
      Tick();
      ++typed;
    }
    EXPECT_EQ(typed, c.ticks);
    EXPECT_TRUE(window->IsIdle());
    EXPECT_TRUE(window->Lines().empty());
    EXPECT_EQ(Tick(), TScriptEngine::kFinished) << "the script goes on at the next tick";
    EXPECT_EQ(Trace(), 1);
  }
}

TEST_F(MessageWindow, APageMarkWaitsForTheDecideButtonAndTheNextPageGoesOnBelow) {
  ASSERT_EQ(Start(Say(0, "\"ab" + kSlash + "\\ncd\"") + T(1)), TScriptEngine::kWaiting);
  Tick();
  ASSERT_TRUE(window->IsPageWaiting());
  EXPECT_EQ(window->Row(), 1);
  EXPECT_EQ(window->Lines(), (std::deque<std::string>{"cd"}));
  if (fontInstalled) {
    EXPECT_GT(MessageInk(0, 0, 1), 0);
    EXPECT_EQ(MessageInk(0, 2, 4), 0) << "the page mark is never drawn";
  }
  // The button icon blinks: 31 frames each, the one that ended the page among them.
  for (int n = 0; n < 30; ++n) {
    EXPECT_EQ(Tick(), TScriptEngine::kWaiting);
    EXPECT_FALSE(window->BlinkToggle()) << n;
  }
  Tick();
  EXPECT_TRUE(window->BlinkToggle());
  EXPECT_FALSE(Played(TMessageWindow::kSoundDecide));

  Tick(kButtonA);
  EXPECT_TRUE(window->IsTyping());
  EXPECT_TRUE(Played(TMessageWindow::kSoundDecide));
  Tick(kButtonA);  // held: no new press; typing goes on
  EXPECT_EQ(window->Lines(), (std::deque<std::string>{"d"}));
  EXPECT_EQ(Tick(), TScriptEngine::kWaiting);
  EXPECT_TRUE(window->IsIdle());
  EXPECT_EQ(Trace(), 0);
  if (fontInstalled) {
    EXPECT_GT(MessageInk(0, 0, 1), 0) << "row 1 is below the first page: nothing was cleared";
    EXPECT_GT(MessageInk(1, 0, 1), 0);
  }
  EXPECT_EQ(Tick(), TScriptEngine::kFinished);
  EXPECT_EQ(Trace(), 1);
}

TEST_F(MessageWindow, APageMarkOnTheLastLineHoldsTheScriptUntilDecided) {
  ASSERT_EQ(Start(Say(0, "\"ab" + kSlash + "\"") + T(1)), TScriptEngine::kWaiting);
  for (int n = 0; n < 100; ++n) ASSERT_EQ(Tick(), TScriptEngine::kWaiting);
  EXPECT_TRUE(window->IsPageWaiting());
  Tick(kButtonA);
  EXPECT_TRUE(window->IsIdle());
  EXPECT_TRUE(Played(TMessageWindow::kSoundDecide));
  EXPECT_EQ(Tick(), TScriptEngine::kFinished);
  EXPECT_EQ(Trace(), 1);
}

TEST_F(MessageWindow, AFourthLineClearsTheRowsAtOnceAndStartsAtTheTop) {
  Start(Say(0, "\"a\\nb\\nc\\nd\""));
  Tick();
  if (fontInstalled) {
    EXPECT_GT(MessageInk(1, 0, 0), 0);
  }
  Tick();  // "c": the third row is full, the text is cleared without waiting
  EXPECT_TRUE(window->IsTyping());
  EXPECT_EQ(window->Row(), 0);
  EXPECT_EQ(Ink(window->MessageText(), 0, 0, 512, 64), 0);
  Tick();
  EXPECT_TRUE(window->IsIdle());
  if (fontInstalled) {
    EXPECT_GT(MessageInk(0, 0, 0), 0);
    EXPECT_EQ(Ink(window->MessageText(), 0, 20, 512, 64), 0);
  }
}

TEST_F(MessageWindow, ChoicesAreUpToFourIndentedLines) {
  struct Case {
    std::string text;
    std::deque<std::string> lines;
  } cases[] = {
      {"yes\\nno", {"yes", "no"}},
      {"a", {"a"}},
      {"a\\nb\\nc", {"a", "b", "c"}},
      {"a\\nb\\nc\\n", {"a", "b", "c"}},  // nothing after the third line feed: no fourth line
      {"a\\nb\\nc\\nd", {"a", "b", "c", "d"}},
      {"a\\nb\\nc\\nd\\ne", {"a", "b", "c", "d\ne"}},  // the rest is one line, line feeds and all
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    Start(Say(1, "\"" + c.text + "\""));
    ASSERT_TRUE(window->IsChoosing());
    std::deque<std::string> indented;
    for (const std::string& line : c.lines) indented.push_back(kIndent + line);
    EXPECT_EQ(window->Lines(), indented);
    if (fontInstalled) {
      EXPECT_GT(MessageInk(static_cast<int>(std::min<size_t>(c.lines.size(), 3)) - 1, 2, 2), 0);
    }
    Tick(kButtonA);
    Tick();
  }
}

TEST_F(MessageWindow, TheCursorMovesWithinTheChoicesAndDecideGivesTheChoice) {
  ASSERT_EQ(Start(Say(1, "\"yes\\nno\"") + "$r = $_\n"), TScriptEngine::kWaiting);
  ASSERT_TRUE(window->IsChoosing());
  Tick(kButtonUp);
  EXPECT_EQ(window->Selection(), 0);
  EXPECT_FALSE(Played(TMessageWindow::kSoundCursor)) << "already at the top";
  Tick(kButtonDown);
  EXPECT_EQ(window->Selection(), 1);
  EXPECT_TRUE(Played(TMessageWindow::kSoundCursor));
  Tick();
  Tick(kButtonDown);
  EXPECT_EQ(window->Selection(), 1);
  EXPECT_FALSE(Played(TMessageWindow::kSoundCursor)) << "already at the bottom";
  const float bob = window->CursorBob().Value();
  Tick();
  EXPECT_NE(window->CursorBob().Value(), bob) << "the cursor bobs while choosing";
  EXPECT_EQ(Tick(kButtonA), TScriptEngine::kWaiting);
  EXPECT_TRUE(window->IsIdle());
  EXPECT_TRUE(Played(TMessageWindow::kSoundDecide));
  if (fontInstalled) {
    EXPECT_EQ(MessageInk(0, 0, 10), 0) << "cleared, to show at the next upload";
  }
  EXPECT_EQ(Tick(), TScriptEngine::kFinished);
  EXPECT_EQ(Global("$r"), 1);
}

TEST_F(MessageWindow, PartsSlideInTenTicksAndTheScriptGoesOnAtTheEleventh) {
  ASSERT_EQ(Start(Say(2, "0 2") + T(1)), TScriptEngine::kWaiting);
  EXPECT_EQ(window->WindowY().value, 485);
  EXPECT_EQ(window->NameX().value, -145);
  EXPECT_EQ(TicksUntilReleased(), 11) << "ten moving ticks; the eleventh ends the slide, the script goes on after it";
  EXPECT_EQ(window->WindowY().value, 344);
  EXPECT_EQ(window->NameX().value, 80);
  EXPECT_EQ(Trace(), 1);

  // Part 5 moves nothing; the slide ends at once.
  EXPECT_EQ(Start(Say(2, "1 5") + T(2)), TScriptEngine::kWaiting);
  EXPECT_TRUE(window->IsIdle());
  EXPECT_EQ(Tick(), TScriptEngine::kFinished);
  EXPECT_EQ(window->WindowY().value, 344);

  // The name plate alone goes out; the window stays where it is.
  Start(Say(2, "1 1"));
  EXPECT_EQ(TicksUntilReleased(), 11);
  EXPECT_EQ(window->NameX().value, -170);
  EXPECT_EQ(window->WindowY().value, 344);
}

TEST_F(MessageWindow, CancelSlidesOutAndStopsTheScriptUnlessScriptsForbidIt) {
  const std::string script = Say(2, "0 2") + Say(0, "\"ab" + kSlash + "\\ncd\"") + T(1);
  // Forbidden: B does nothing.
  Engine().Globals().SetInt("$_CancelScript", 1);
  Start(script);
  while (!window->IsPageWaiting() && Tick() == TScriptEngine::kWaiting) {
  }
  ASSERT_TRUE(window->IsPageWaiting());
  Tick(kButtonB);
  EXPECT_TRUE(window->IsPageWaiting());
  EXPECT_FALSE(window->IsCancelled());
  EXPECT_FALSE(Played(TMessageWindow::kSoundCancel));
  Tick(kButtonA);
  EXPECT_EQ(TicksUntilReleased(), 3);
  EXPECT_EQ(Trace(), 1);

  // Allowed (0, as when never set): the window slides out, then Run reports the stop.
  Engine().Globals().SetInt("$_CancelScript", 0);
  Start(script);
  while (!window->IsPageWaiting() && Tick() == TScriptEngine::kWaiting) {
  }
  Tick(kButtonB);
  EXPECT_TRUE(window->IsCancelled());
  EXPECT_TRUE(window->IsSliding());
  EXPECT_TRUE(Played(TMessageWindow::kSoundCancel));
  for (int n = 0; n < 10; ++n) ASSERT_EQ(Tick(), TScriptEngine::kWaiting) << n;
  EXPECT_EQ(window->WindowY().value, 500);
  EXPECT_EQ(window->NameX().value, -170);
  EXPECT_EQ(Tick(), TScriptEngine::kWaiting) << "the slide ends in this tick's update";
  EXPECT_EQ(Tick(), TScriptEngine::kStopped);
  EXPECT_EQ(Tick(), TScriptEngine::kStopped);
  EXPECT_EQ(Trace(), 1) << "the second script never reached its end";

  // The window stays cancelled: its next slide stops the engine again.
  TScriptEngine::SetStop(false);
  TScriptEngine::SetObjectWait(false);
  Engine().ClearQueue();
  Start(Say(2, "0 2") + T(2));
  EXPECT_EQ(TicksUntilReleased(), 11);
  EXPECT_TRUE(Engine().IsStopped());
}

TEST_F(MessageWindow, CancelWhileChoosingAlsoStops) {
  Start(Say(1, "\"yes\\nno\"") + T(1));
  Tick(kButtonB);
  EXPECT_TRUE(window->IsSliding());
  EXPECT_EQ(TicksUntilReleased(), 12);
  EXPECT_TRUE(Engine().IsStopped());
  EXPECT_EQ(Trace(), 0);
}

TEST_F(MessageWindow, NamesAreCentredAndClearsActAtOnce) {
  if (!fontInstalled) GTEST_SKIP() << "IPA Gothic is not installed";
  EXPECT_EQ(RunMain(Say(4, "\"AB\"") + T(1)), TScriptEngine::kFinished) << "ops 3 and 4 do not wait";
  const TText8& name = window->NameText();
  EXPECT_EQ(Ink(name, 0, 0, 56, 16), 0) << "two bytes start at (8 - 1) * 8";
  EXPECT_GT(Ink(name, 56, 0, 72, 16), 0);
  RunMain(Say(4, "\"ABCDEFGHIJKLMNOPQRST\""));  // 20 bytes start at -16: "C" is at the left edge
  EXPECT_GT(Ink(name, 0, 0, 4, 16), 0);

  RunMain(Say(0, "\"a\"") + Say(3, "7"));
  Tick();
  EXPECT_GT(MessageInk(0, 0, 0), 0);
  RunMain(Say(3, "7"));  // neither
  EXPECT_GT(MessageInk(0, 0, 0), 0);
  EXPECT_GT(Ink(name, 0, 0, 128, 16), 0);
  RunMain(Say(3, "1"));
  EXPECT_EQ(Ink(name, 0, 0, 128, 16), 0);
  EXPECT_GT(MessageInk(0, 0, 0), 0);
  RunMain(Say(3, "0"));
  EXPECT_EQ(MessageInk(0, 0, 0), 0);
}

TEST_F(MessageWindow, DrawsPanelPlateIconOrCursorThenTheTexts) {
  Start(Say(2, "0 2") + Say(0, "\"ab" + kSlash + "\"") + Say(1, "\"yes\\nno\""));
  while (!window->IsPageWaiting()) ASSERT_EQ(Tick(), TScriptEngine::kWaiting);
  struct Drawn {
    std::string texture;
    float x, y;
    plat::DWORD destBlend;
  };
  auto draws = [&] {
    device.renderer->ClearLog();
    Engine().DrawObjects();
    std::vector<Drawn> out;
    for (const plat::RecordedDraw& d : device.renderer->Draws()) {
      for (size_t i = 0; i < d.IndexCount(); ++i)
        if (d.vertexNumbers[i] == 0) {
          std::string name = d.textures[0].name;
          out.push_back({name.substr(0, name.find('#')), d.Vertex(i).position.x + 0.5f,
                         d.Vertex(i).position.y + 0.5f, d.state.renderStates[plat::D3DRS_DESTBLEND]});
          break;
        }
    }
    return out;
  };
  const plat::DWORD alpha = plat::D3DBLEND_INVSRCALPHA, add = plat::D3DBLEND_ONE;
  std::vector<Drawn> page = draws();
  std::vector<Drawn> expected = {{"sprite.ptx/window06", 64, 344, alpha}, {"sprite.ptx/window16", 80, 326, alpha},
                                 {"sprite.ptx/button00_b", 508, 422, alpha}, {"Message", 118, 378, add},
                                 {"Name", 96, 334, add}};
  ASSERT_EQ(page.size(), expected.size());
  for (size_t i = 0; i < page.size(); ++i) {
    EXPECT_EQ(page[i].texture, expected[i].texture) << i;
    EXPECT_FLOAT_EQ(page[i].x, expected[i].x) << i;
    EXPECT_FLOAT_EQ(page[i].y, expected[i].y) << i;
    EXPECT_EQ(page[i].destBlend, expected[i].destBlend) << i;
  }
  for (int n = 0; n < 31; ++n) Tick();
  EXPECT_EQ(draws()[2].texture, "sprite.ptx/button00_a");

  Tick(kButtonA);
  Tick();
  ASSERT_TRUE(window->IsChoosing());
  Tick(kButtonDown);
  std::vector<Drawn> choosing = draws();
  ASSERT_EQ(choosing.size(), 5u);
  EXPECT_EQ(choosing[2].texture, "sprite.ptx/cursor02");
  EXPECT_FLOAT_EQ(choosing[2].x, 104 + window->CursorBob().Value());
  EXPECT_FLOAT_EQ(choosing[2].y, 400);

  Tick(kButtonA);
  EXPECT_EQ(draws().size(), 4u) << "idle: no icon, no cursor";
}

}  // namespace
