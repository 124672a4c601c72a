#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "common/TSingleInstance.h"
#include "platform/core/Com.h"
#include "platform/core/DxComponents.h"
#include "platform/core/FileSystem.h"
#include "tests/game/shell/ShellFixture.h"

using namespace plat;
using namespace shelltest;

namespace {

// "多重起動禁止", "警告"
const std::string kSecondInstance = "\x91\xbd\x8f\x64\x8b\x4e\x93\xae\x8b\xd6\x8e\x7e";
const std::string kWarning = "\x8c\x78\x8d\x90";
// "起動設定ファイル setting.ini が見つかりませんでした。" (the first line)
const std::string kNoSettingsFirstLine =
    "\x8b\x4e\x93\xae\x90\xdd\x92\xe8\x83\x74\x83\x40\x83\x43\x83\x8b\x20\x73\x65\x74\x74\x69\x6e\x67\x2e\x69"
    "\x6e\x69\x20\x82\xaa\x8c\xa9\x82\xc2\x82\xa9\x82\xe8\x82\xdc\x82\xb9\x82\xf1\x82\xc5\x82\xb5\x82\xbd\x81"
    "\x42\n";
// "OKを押すと終了します。" (the last line)
const std::string kNoSettingsLastLine = "\n\nOK\x82\xf0\x89\x9f\x82\xb7\x82\xc6\x8f\x49\x97\xb9\x82\xb5\x82\xdc\x82\xb7\x81\x42";
// "Duskwheel起動エラー"
const std::string kNoSettingsCaption = "Duskwheel\x8b\x4e\x93\xae\x83\x47\x83\x89\x81\x5b";

bool EndsWith(const std::string& text, const std::string& tail) {
  return text.size() >= tail.size() && text.compare(text.size() - tail.size(), tail.size(), tail) == 0;
}

class GameWnd : public ShellFixture {};

TEST_F(GameWnd, StartUpAndShutdownRunInOrder) {
  enum class End { SceneQuits, WindowCloses };
  for (End end : {End::SceneQuits, End::WindowCloses}) {
    log.clear();
    plat::ResetWindowManager();
    clock.Set(123456);
    services.onTitle = [&](TestScene& title) {
      title.beforeRun = [&](TestScene&) { clock.Advance(17); };
      title.onUpdate = [](TestScene& s) { return s.updates == 3 ? kSceneQuit : kSceneRunning; };
    };
    int waits = 0;
    DWORD shownAt = 0;
    headless.onWait = [&] {
      if (++waits > 1) return;  // the quit message is posted by then
      shownAt = clock.Milliseconds();
      HWND w = services.app->GetHandle();
      EXPECT_TRUE(w->visible);
      EXPECT_EQ(w->style, WS_CAPTION) << "windowed: a caption, sized to the back buffer";
      EXPECT_EQ(w->width, 800);
      EXPECT_EQ(w->height, 600);
      PostMessage(w, end == End::SceneQuits ? WM_ACTIVATEAPP : WM_CLOSE, 1, 0);
    };
    MakeApp();
    EXPECT_EQ(app->Run(1), 0);

    Log expected = {"SeedRandom 123456 com=1 save=1 input=1",
                    "SetFolder 0 data/ptx03/",
                    "SetFolder 1 data/msh03/",
                    "SetFolder 2 data/frm03/",
                    "SetFolder 3 data/se03/",
                    "SetFolder 4 data/bgm03/",
                    "SetFolder 5 save/",
                    "SetFolder 6 data/tbl03/",
                    "SetFolder 7 char03/",
                    "SetFolder 8 data/chrdata03/",
                    "SetFolder 9 data/chrdata03/",
                    "SetFolder 10 data/chrdata03/",
                    "SetFolder 11 map03/",
                    "SetFolder 12 data/scr03/",
                    "SetFolder 13 visual03/",
                    "SetFolder 14 data/scr03/",
                    "SetFolder 15 effect/",
                    "LoadEnemyDatabase data/tbl03/enemy.tbl",
                    "LoadWeaponTable data/tbl03/wepon.tbl",
                    "LoadItemMeanTable data/tbl03/itemmean.tbl",
                    "LoadAccessoryTable data/tbl03/accessory.tbl",
                    "LoadGameTables",
                    "SetChapterNo 3",
                    "SetLevelCap 44",
                    "SetGoldCap 800000",
                    "InitSound game-window",
                    "LoadSoundSet data/tbl03/se.tbl 'se.pse/' 0 -10000 0",
                    "LoadSoundSet data/tbl03/voice.tbl 'voice.pse/' 1 -10000 0",
                    "LoadSoundSet data/tbl03/bgm.tbl '' 2 -10000 0",
                    "InitDevice ./setting.ini game-window",
                    "CreateSky",
                    "SetSpriteScreen 640x480 800x600",
                    "CreateTitle periods=1 visible=0",
                    "resume title"};
    if (end == End::SceneQuits) expected.push_back("resume title");  // activated
    for (const char* line : {"DestroyScriptEngine running=0", "destroy title", "PurgeTextures 2",
                             "PurgeUnusedSounds", "FreeGameTables periods=0 scenes=0", "CleanupDevice",
                             "UninitSound com=1"})
      expected.push_back(line);
    EXPECT_EQ(log, expected);
    EXPECT_EQ(shownAt, 123456u + 500) << "shown after a pause of 500 ms";
    EXPECT_EQ(ComInitCount(), 0);
    EXPECT_EQ(TimerPeriodsInForce(), 0);
    EXPECT_EQ(app->GetHandle(), nullptr) << "the window was destroyed";
    EXPECT_TRUE(boxes.calls.empty());
    headless.onWait = nullptr;
  }
}

TEST_F(GameWnd, WithoutSettingIniTheGameSaysSoAndClosesUntouched) {
  std::remove("setting.ini");
  MakeApp();
  EXPECT_EQ(app->Run(1), 1) << "a failed start, though the window closed as a normal quit closes it";
  ASSERT_EQ(boxes.calls.size(), 1u);
  const MessageBoxCall& box = boxes.calls[0];
  EXPECT_EQ(box.text.substr(0, kNoSettingsFirstLine.size()), kNoSettingsFirstLine);
  EXPECT_TRUE(EndsWith(box.text, kNoSettingsLastLine));
  EXPECT_EQ(box.caption, kNoSettingsCaption);
  EXPECT_EQ(box.style, MB_ICONEXCLAMATION | MB_TOPMOST);
  EXPECT_NE(box.owner, nullptr);
  EXPECT_NE(box.owner, GetDesktopWindow()) << "the game window owns it";
  EXPECT_TRUE(log.empty()) << "no table, sound, device or scene was touched";
  EXPECT_EQ(ComInitCount(), 0);
  EXPECT_FALSE(IsDirectory("save"));
  EXPECT_EQ(app->GetHandle(), nullptr);
  EXPECT_EQ(headless.waits, 0) << "the quit message was already waiting";
}

TEST_F(GameWnd, ASecondInstanceIsRefusedByItsWindowOrByTheMutex) {
  enum class By { Window, Mutex };
  for (By by : {By::Window, By::Mutex}) {
    plat::ResetWindowManager();
    boxes.calls.clear();
    TSingleInstance first(TGameWnd::kMutexName, kGameWindowTitle, kGameWindowClass);
    if (by == By::Window) {
      WNDCLASSEX wc;
      wc.lpfnWndProc = &DefWindowProc;
      wc.lpszClassName = kGameWindowClass;
      RegisterClassEx(&wc);
      ASSERT_NE(CreateWindowEx(0, kGameWindowClass, kGameWindowTitle, WS_POPUP, 0, 0, 640, 480, nullptr, nullptr,
                               nullptr, nullptr),
                nullptr);
    } else {
      ASSERT_TRUE(first.Check());
    }
    MakeApp();
    EXPECT_EQ(app->Run(1), 1) << "a failed start";
    ASSERT_EQ(boxes.calls.size(), 1u);
    EXPECT_EQ(boxes.calls[0].text, kSecondInstance);
    EXPECT_EQ(boxes.calls[0].caption, kWarning);
    EXPECT_EQ(boxes.calls[0].owner, GetDesktopWindow());
    EXPECT_EQ(boxes.calls[0].style, MB_ICONEXCLAMATION);
    EXPECT_EQ(app->GetHandle(), nullptr) << "nothing was created";
    EXPECT_TRUE(log.empty());
    app.reset();
  }
}

TEST_F(GameWnd, DirectXOlderThanEightIsRefusedWithItsVersionText) {
  DxComponents dx;
  dx.d3d8Library = false;  // 7.0
  SetDxComponents(dx);
  MakeApp();
  EXPECT_EQ(app->Run(1), 1) << "a failed start";
  ASSERT_EQ(boxes.calls.size(), 1u);
  EXPECT_EQ(boxes.calls[0].caption, kWarning);
  EXPECT_NE(boxes.calls[0].text.find("\r\nDirectX 8.0 "), std::string::npos);
  EXPECT_TRUE(EndsWith(boxes.calls[0].text, "\r\n\r\n\x8c\xbb\x8d\xdd\x82\xcc\x83\x6f\x81\x5b\x83\x57\x83\x87\x83\x93 : DirectX 7"))
      << "現在のバージョン : DirectX 7";
  EXPECT_TRUE(log.empty());

  // 8.0 itself passes.
  dx.d3d8Library = true;
  dx.dpnhpastLibrary = false;
  SetDxComponents(dx);
  boxes.calls.clear();
  headless.onWait = [&] { PostMessage(services.app->GetHandle(), WM_CLOSE, 0, 0); };
  MakeApp();
  EXPECT_EQ(app->Run(1), 0);
  EXPECT_TRUE(boxes.calls.empty());
  EXPECT_EQ(Count("CleanupDevice"), 1u);
}

TEST_F(GameWnd, FullScreenHidesTheCursorAndKeepsThePopupWindow) {
  services.windowed = false;
  StartApp();
  EXPECT_FALSE(headless.cursorVisible);
  EXPECT_EQ(app->GetHandle()->style, WS_POPUP);
  EXPECT_TRUE(app->GetHandle()->visible);
  EXPECT_TRUE(app->IsRunning());
  EXPECT_FALSE(app->IsActive()) << "active only once the shown window is activated";
}

TEST_F(GameWnd, StartUpFailuresThrowWithTheirTexts) {
  struct Case {
    const char* what;
    std::function<void()> arrange;
    std::string text;
    int line;
  };
  const Case cases[] = {
      {"class", [] {
         WNDCLASSEX wc;
         wc.lpfnWndProc = &DefWindowProc;
         wc.lpszClassName = kGameWindowClass;
         RegisterClassEx(&wc);
       },
       // "ウィンドウの初期化に失敗しました。"
       "\x83\x45\x83\x42\x83\x93\x83\x68\x83\x45\x82\xcc\x8f\x89\x8a\xfa\x89\xbb\x82\xc9\x8e\xb8\x94\x73\x82\xb5"
       "\x82\xdc\x82\xb5\x82\xbd\x81\x42",
       660},
      {"window", [&] { headless.failCreate = true; },
       // "ウィンドウの作成に失敗しました。"
       "\x83\x45\x83\x42\x83\x93\x83\x68\x83\x45\x82\xcc\x8d\xec\x90\xac\x82\xc9\x8e\xb8\x94\x73\x82\xb5\x82\xdc"
       "\x82\xb5\x82\xbd\x81\x42",
       665},
      {"COM", [] { ForceComInitResult(true, E_FAIL); },
       // "COMの初期化に失敗しました。"
       "COM\x82\xcc\x8f\x89\x8a\xfa\x89\xbb\x82\xc9\x8e\xb8\x94\x73\x82\xb5\x82\xdc\x82\xb5\x82\xbd\x81\x42", 691},
      {"no Direct3D", [&] { services.deviceStart = {false, false, 0}; },
       // "Direct3D 8 の初期化に失敗しました。"
       "Direct3D 8 \x82\xcc\x8f\x89\x8a\xfa\x89\xbb\x82\xc9\x8e\xb8\x94\x73\x82\xb5\x82\xdc\x82\xb5\x82\xbd\x81\x42",
       0},
      {"no device", [&] { services.deviceStart = {false, true, 0x11}; },
       // "Direct3Dデバイスの作成に失敗しました。" with the builder's code
       "Direct3D\x83\x66\x83\x6f\x83\x43\x83\x58\x82\xcc\x8d\xec\x90\xac\x82\xc9\x8e\xb8\x94\x73\x82\xb5\x82\xdc"
       "\x82\xb5\x82\xbd\x81\x42(0x00000011)",
       0},
  };
  for (const Case& c : cases) {
    plat::ResetWindowManager();
    services.deviceStart = {true, true, 0};
    headless.failCreate = false;
    ForceComInitResult(false);
    c.arrange();
    MakeApp();
    try {
      app->CreateWnd();
      app->Initialize();
      ADD_FAILURE() << c.what << " did not throw";
    } catch (const my_error& e) {
      std::string record = e.what();
      EXPECT_NE(record.find("file : TGameWnd\r\n"), std::string::npos) << c.what;
      if (c.line) {
        EXPECT_NE(record.find("line : " + std::to_string(c.line) + "\r\n"), std::string::npos) << c.what;
      }
      EXPECT_TRUE(EndsWith(record, "error : " + c.text + "\r\n")) << c.what;
    }
    app.reset();
  }
  plat::ResetWindowManager();
  services.deviceStart = {true, true, 0};
  ForceComInitResult(true, S_FALSE);  // already initialised on this thread: still a success
  StartApp();
  EXPECT_TRUE(app->IsRunning());
}

TEST_F(GameWnd, TheTimerPeriodEndsAsItBeganEvenWithoutCapabilities) {
  ForceTimeDevCapsFailure(true);
  StartApp();
  EXPECT_EQ(TimerPeriodsInForce(), 1);
  app->Finalize();
  EXPECT_EQ(TimerPeriodsInForce(), 0);
}

TEST_F(GameWnd, FinalizeRunsTheShutdownOnce) {
  StartApp();
  ClearLog();
  app->Finalize();
  app->Finalize();
  SendMessage(app->GetHandle(), WM_CLOSE, 0, 0);  // the close path finalizes once more
  EXPECT_EQ(Count("CleanupDevice"), 1u);
  EXPECT_EQ(Count("UninitSound com=1"), 1u);
  EXPECT_EQ(ComInitCount(), 0);
}

TEST_F(GameWnd, SystemCommandsAreSwallowedOnlyInFullScreen) {
  StartApp();
  HWND w = app->GetHandle();
  struct Case {
    WPARAM command;
    bool fixed;
  };
  const Case cases[] = {{SC_SIZE, true},     {SC_MOVE, true},      {SC_MAXIMIZE, true},
                        {SC_KEYMENU, true},  {SC_MONITORPOWER, true}, {SC_MOVE | 2, false},
                        {SC_MINIMIZE, false}, {SC_RESTORE, false}};
  for (bool windowed : {true, false}) {
    services.windowed = windowed;
    for (const Case& c : cases)
      EXPECT_EQ(SendMessage(w, WM_SYSCOMMAND, c.command, 0), c.fixed && !windowed ? 1 : 0)
          << std::hex << c.command << (windowed ? " windowed" : " full screen");
  }
}

TEST_F(GameWnd, TheWindowIsDraggedByAnyPointOnlyWhenWindowedAndRunning) {
  MakeApp();
  app->CreateWnd();
  HWND w = app->GetHandle();
  EXPECT_EQ(SendMessage(w, WM_NCHITTEST, 0, 0), HTCLIENT) << "not running yet";
  app->Initialize();
  EXPECT_EQ(SendMessage(w, WM_NCHITTEST, 0, 0), HTCAPTION);
  services.windowed = false;
  EXPECT_EQ(SendMessage(w, WM_NCHITTEST, 0, 0), HTCLIENT);
}

TEST_F(GameWnd, PowerAndImeMessages) {
  StartApp();
  HWND w = app->GetHandle();
  EXPECT_EQ(SendMessage(w, WM_POWERBROADCAST, PBT_APMQUERYSUSPEND, 0), 1);
  EXPECT_EQ(SendMessage(w, WM_POWERBROADCAST, PBT_APMRESUMESUSPEND, 0), 1);
  EXPECT_EQ(SendMessage(w, WM_POWERBROADCAST, 4, 0), 0);
  EXPECT_EQ(SendMessage(w, WM_IME_SETCONTEXT, 1, 0), 0);
}

TEST_F(GameWnd, MinimisingSuspendsAndRestoringResumesWithAFreshTimer) {
  TestScene* title = nullptr;
  services.onTitle = [&](TestScene& t) { title = &t; };
  StartApp();
  HWND w = app->GetHandle();
  SendMessage(w, WM_ACTIVATEAPP, 1, 0);
  EXPECT_TRUE(app->CanRunFrame());
  ClearLog();

  SendMessage(w, WM_SIZE, SIZE_MINIMIZED, 0);
  EXPECT_FALSE(app->CanRunFrame());
  EXPECT_EQ(log, (Log{"suspend title"}));
  clock.Advance(10000);
  SendMessage(w, WM_SIZE, SIZE_RESTORED, 0);
  EXPECT_TRUE(app->CanRunFrame());
  EXPECT_EQ(log, (Log{"suspend title", "resume title"}));
  clock.Advance(17);
  app->Frame();
  EXPECT_EQ(title->updates, 1) << "the minimised ten seconds are not caught up";

  struct Case {
    UINT message;
    WPARAM wParam;
    bool active;
  };
  const Case cases[] = {{WM_SIZE, SIZE_MAXHIDE, false}, {WM_SIZE, SIZE_MAXIMIZED, true},
                        {WM_ACTIVATEAPP, 0, false},      {WM_ACTIVATEAPP, 1, true}};
  for (const Case& c : cases) {
    SendMessage(w, c.message, c.wParam, 0);
    EXPECT_EQ(app->IsActive(), c.active) << c.message << " " << c.wParam;
  }

  // While the device is not ready the flag follows, but the scene is left alone.
  services.ready = false;
  ClearLog();
  SendMessage(w, WM_ACTIVATEAPP, 0, 0);
  SendMessage(w, WM_ACTIVATEAPP, 1, 0);
  EXPECT_TRUE(log.empty());
  EXPECT_TRUE(app->IsActive());
}

TEST_F(GameWnd, EscapeAndF4OpenTheYesNoDialogWhereTheSceneAllowsIt) {
  TestScene* title = nullptr;
  services.onTitle = [&](TestScene& t) { title = &t; };
  StartApp();
  HWND w = app->GetHandle();
  ClearLog();

  SendMessage(w, WM_KEYDOWN, VK_ESCAPE, 0);
  EXPECT_EQ(log, (Log{"CreateYesNo 1", "suspend title", "resume yesno1"}));
  SendMessage(w, WM_KEYDOWN, VK_F4, 0);
  SendMessage(w, WM_KEYDOWN, VK_ESCAPE, 0);
  EXPECT_EQ(app->GetSceneCount(), 2u) << "the dialog allows no second one";

  app->PopScene();
  ClearLog();
  SendMessage(w, WM_KEYDOWN, VK_F4, 0);
  EXPECT_EQ(log.front(), "CreateYesNo 0");
  app->PopScene();

  ClearLog();
  SendMessage(w, WM_KEYDOWN, 'A', 0);
  title->allowsDialog = false;
  SendMessage(w, WM_KEYDOWN, VK_ESCAPE, 0);
  EXPECT_TRUE(log.empty());
  EXPECT_EQ(app->GetSceneCount(), 1u);
}

TEST_F(GameWnd, PaintDrawsTheSceneOnlyForAnInactiveWindowedGame) {
  TestScene* title = nullptr;
  services.onTitle = [&](TestScene& t) { title = &t; };
  StartApp();
  HWND w = app->GetHandle();
  int before = title->draws;
  SendMessage(w, WM_PAINT, 0, 0);
  EXPECT_EQ(title->draws, before + 1);
  SendMessage(w, WM_ACTIVATEAPP, 1, 0);
  SendMessage(w, WM_PAINT, 0, 0);
  EXPECT_EQ(title->draws, before + 1) << "an active game draws in its frames";
  SendMessage(w, WM_ACTIVATEAPP, 0, 0);
  services.windowed = false;
  SendMessage(w, WM_PAINT, 0, 0);
  EXPECT_EQ(title->draws, before + 1);
}

TEST_F(GameWnd, AnExistingSaveFolderIsKeptAndAFileNamedSaveIsNoFolder) {
  ASSERT_TRUE(CreateDirectory("save"));
  ASSERT_TRUE(WriteWholeFile("save/sav_00.dat", "x", 1));
  StartApp();
  std::vector<unsigned char> bytes;
  EXPECT_TRUE(ReadWholeFile("save/sav_00.dat", bytes));
  EXPECT_TRUE(IsDirectory("save"));
  EXPECT_FALSE(IsDirectory("setting.ini"));
  EXPECT_FALSE(IsDirectory("missing"));
}

}  // namespace
