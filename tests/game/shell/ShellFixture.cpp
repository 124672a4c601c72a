#include "tests/game/shell/ShellFixture.h"

#include <unistd.h>

#include <algorithm>
#include <cstdlib>

#include "platform/core/Clock.h"
#include "platform/core/Com.h"
#include "platform/core/DxComponents.h"
#include "platform/window/InputState.h"
#include "tools/datakit/SampleSettings.h"

namespace shelltest {

TestScene::TestScene(TGameWnd& app, std::string n, Log& l) : TStateScene(app), name(std::move(n)), log(l) {
  SetUpdate(&TestScene::Update);
  SetDraw(&TestScene::Paint);
}

TestScene::~TestScene() { log.push_back("destroy " + name); }

SceneResult TestScene::Run() {
  if (beforeRun) beforeRun(*this);
  return TStateScene::Run();
}

void TestScene::Suspend() {
  log.push_back("suspend " + name);
  TStateScene::Suspend();
}

void TestScene::Resume() {
  log.push_back("resume " + name);
  TStateScene::Resume();
}

SceneResult TestScene::Update() {
  ++updates;
  return onUpdate ? onUpdate(*this) : kSceneRunning;
}

void TestScene::Paint() { ++draws; }

void LoggingServices::Call(const std::string& line) {
  log.push_back(line);
  if (throwAt.empty() || line.substr(0, line.find(' ')) != throwAt) return;
  switch (throwKind) {
    case Throw::MyError: throw my_error("injected failure", "game/shell/Injected.cpp", 7);
    case Throw::CString: throw "injected text";
    case Throw::Other: throw 42;
    case Throw::Nothing: break;
  }
}

void LoggingServices::SetFolder(DataFolder which, const std::string& folder) {
  Call("SetFolder " + std::to_string(static_cast<int>(which)) + " " + folder);
}

void LoggingServices::SeedRandom(uint32_t seed) {
  bool input = app && app->GetInput();
  Call("SeedRandom " + std::to_string(seed) + " com=" + std::to_string(plat::ComInitCount()) +
       " save=" + std::to_string(IsDirectory("save")) + " input=" + std::to_string(input));
}

void LoggingServices::FreeGameTables() {
  size_t scenes = app ? app->GetSceneCount() : 0;
  Call("FreeGameTables periods=" + std::to_string(plat::TimerPeriodsInForce()) + " scenes=" + std::to_string(scenes));
}

void LoggingServices::InitSound(plat::HWND window) {
  Call(std::string("InitSound ") + (app && window == app->GetHandle() ? "game-window" : "other"));
}

void LoggingServices::LoadSoundSet(const std::string& listPath, const std::string& packPrefix, int32_t setId,
                                   int32_t minVolume, int32_t maxVolume) {
  Call("LoadSoundSet " + listPath + " '" + packPrefix + "' " + std::to_string(setId) + " " +
       std::to_string(minVolume) + " " + std::to_string(maxVolume));
}

void LoggingServices::UninitSound() { Call("UninitSound com=" + std::to_string(plat::ComInitCount())); }

TShellServices::DeviceStart LoggingServices::InitDevice(plat::HWND window, const std::string& settingsPath) {
  Call("InitDevice " + settingsPath + (app && window == app->GetHandle() ? " game-window" : " other"));
  ready = deviceStart.built;
  return deviceStart;
}

void LoggingServices::CleanupDevice() {
  Call("CleanupDevice");
  ready = false;
}

void LoggingServices::SetSpriteScreen(uint32_t vw, uint32_t vh, uint32_t rw, uint32_t rh) {
  Call("SetSpriteScreen " + std::to_string(vw) + "x" + std::to_string(vh) + " " + std::to_string(rw) + "x" +
       std::to_string(rh));
}

TScene* LoggingServices::CreateTitle(TGameWnd& a) {
  app = &a;
  Call("CreateTitle periods=" + std::to_string(plat::TimerPeriodsInForce()) +
       " visible=" + std::to_string(a.GetHandle()->visible));
  auto* title = new TestScene(a, "title", log);
  if (onTitle) onTitle(*title);
  return title;
}

TScene* LoggingServices::CreateYesNo(TGameWnd& a, int mode) {
  Call("CreateYesNo " + std::to_string(mode));
  auto* dialog = new TestScene(a, "yesno" + std::to_string(mode), log);
  dialog->allowsDialog = false;
  return dialog;
}

void LoggingServices::DestroyScriptEngine() {
  Call(std::string("DestroyScriptEngine running=") + (app && app->IsRunning() ? "1" : "0"));
}

void WriteSettings(const std::string& folder) {
  datakit::SampleSettingIni().Save(folder + "/setting.ini");
  datakit::SampleInputIni().Save(folder + "/input.ini");
}

void ShellFixture::SetUp() {
  CommonFixture::SetUp();
  plat::ResetWindowManager();
  plat::SetWindowBackend(&headless);
  plat::ReleaseAllKeys();
  plat::SetJoysticks({});
  char cwd[4096];
  savedFolder = getcwd(cwd, sizeof cwd) ? cwd : "/";
  ASSERT_EQ(chdir(dir.path().c_str()), 0);
  // The game's mutex lives in the runtime folder: each test gets its own.
  const char* runtime = std::getenv("XDG_RUNTIME_DIR");
  savedRuntime = runtime ? runtime : "";
  setenv("XDG_RUNTIME_DIR", dir.path().c_str(), 1);
  WriteSettings(dir.path());
}

void ShellFixture::TearDown() {
  app.reset();
  plat::ResetWindowManager();
  plat::SetWindowBackend(nullptr);
  plat::ForceComInitResult(false);
  plat::ForceTimeDevCapsFailure(false);
  plat::SetDxComponents(plat::DxComponents{});
  plat::ReleaseAllKeys();
  plat::SetJoysticks({});
  // A start-up that a test broke off leaves COM and the timer period behind.
  while (plat::ComInitCount() > 0) plat::CoUninitialize();
  while (plat::TimerPeriodsInForce() > 0) plat::timeEndPeriod(1);
  if (savedRuntime.empty())
    unsetenv("XDG_RUNTIME_DIR");
  else
    setenv("XDG_RUNTIME_DIR", savedRuntime.c_str(), 1);
  EXPECT_EQ(chdir(savedFolder.c_str()), 0);
  CommonFixture::TearDown();
}

TGameWnd& ShellFixture::MakeApp() {
  app = std::make_unique<TGameWnd>(GameWindowParams(nullptr), 101, 104, services);
  services.app = app.get();
  return *app;
}

TGameWnd& ShellFixture::StartApp() {
  MakeApp();
  app->CreateWnd();
  app->Initialize();
  return *app;
}

size_t ShellFixture::Count(const std::string& line) const { return std::count(log.begin(), log.end(), line); }

}  // namespace shelltest
