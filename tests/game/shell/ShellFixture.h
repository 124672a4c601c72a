// Test set-up for the game window: a headless window system, a virtual clock, recorded message
// boxes, a game folder of its own as the current folder, and services that log every call.
#pragma once
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "game/shell/TGameWnd.h"
#include "game/shell/TStateScene.h"
#include "game/shell/WinMain.h"
#include "platform/window/WindowBackend.h"
#include "tests/common/Fixtures.h"

namespace shelltest {

using Log = std::vector<std::string>;

// A state scene whose ticks a test scripts; it logs what happens to it.
class TestScene : public TStateScene {
 public:
  TestScene(TGameWnd& app, std::string name, Log& log);
  ~TestScene() override;

  SceneResult Run() override;
  void Suspend() override;
  void Resume() override;
  bool AllowsSystemDialog() override { return allowsDialog; }

  std::string name;
  Log& log;
  // Runs on every update tick (default: keep running).
  std::function<SceneResult(TestScene&)> onUpdate;
  // Runs before every Run (a test moves its clock here).
  std::function<void(TestScene&)> beforeRun;
  int updates = 0;
  int draws = 0;
  bool allowsDialog = true;

 private:
  SceneResult Update();
  void Paint();
};

// What a service call should throw, when the test asks for one.
enum class Throw { Nothing, MyError, CString, Other };

class LoggingServices : public TShellServices {
 public:
  explicit LoggingServices(Log& log) : log(log) {}

  void SetFolder(DataFolder which, const std::string& folder) override;
  void SeedRandom(uint32_t seed) override;
  void LoadEnemyDatabase(const std::string& path) override { Call("LoadEnemyDatabase " + path); }
  void LoadWeaponTable(const std::string& path) override { Call("LoadWeaponTable " + path); }
  void LoadItemMeanTable(const std::string& path) override { Call("LoadItemMeanTable " + path); }
  void LoadAccessoryTable(const std::string& path) override { Call("LoadAccessoryTable " + path); }
  void LoadGameTables() override { Call("LoadGameTables"); }
  void SetChapterNo(int32_t v) override { Call("SetChapterNo " + std::to_string(v)); }
  void SetLevelCap(uint32_t v) override { Call("SetLevelCap " + std::to_string(v)); }
  void SetGoldCap(int32_t v) override { Call("SetGoldCap " + std::to_string(v)); }
  void FreeGameTables() override;
  TDSound8* Sound() override { return nullptr; }
  void InitSound(plat::HWND window) override;
  void LoadSoundSet(const std::string& listPath, const std::string& packPrefix, int32_t setId, int32_t minVolume,
                    int32_t maxVolume) override;
  void PurgeUnusedSounds() override { Call("PurgeUnusedSounds"); }
  void UninitSound() override;
  TD3D8* Device() override { return nullptr; }
  DeviceStart InitDevice(plat::HWND window, const std::string& settingsPath) override;
  bool DeviceReady() override { return ready; }
  bool DeviceWindowed() override { return windowed; }
  uint32_t BackBufferWidth() override { return width; }
  uint32_t BackBufferHeight() override { return height; }
  void CleanupDevice() override;
  void CreateSky() override { Call("CreateSky"); }
  void SetSpriteScreen(uint32_t vw, uint32_t vh, uint32_t rw, uint32_t rh) override;
  void PurgeTextures(int mode) override { Call("PurgeTextures " + std::to_string(mode)); }
  TScene* CreateTitle(TGameWnd& app) override;
  TScene* CreateYesNo(TGameWnd& app, int mode) override;
  void DestroyScriptEngine() override;

  Log& log;
  bool windowed = true;
  bool ready = false;
  DeviceStart deviceStart{true, true, 0};
  uint32_t width = 800, height = 600;
  // The call (the first word of its log line) that throws, and what it throws.
  std::string throwAt;
  Throw throwKind = Throw::MyError;
  // Called when the title is created, to script it.
  std::function<void(TestScene&)> onTitle;
  TGameWnd* app = nullptr;

 private:
  void Call(const std::string& line);
};

class ShellFixture : public CommonFixture {
 protected:
  void SetUp() override;
  void TearDown() override;

  // A game window of the game's class and title, not yet run.
  TGameWnd& MakeApp();
  // Creates the window and runs the start-up, as Run does after its checks.
  TGameWnd& StartApp();
  // The start-up's share of the log is dropped, so tests see only what follows.
  void ClearLog() { log.clear(); }
  size_t Count(const std::string& line) const;

  Log log;
  LoggingServices services{log};
  plat::HeadlessBackend headless;
  std::unique_ptr<TGameWnd> app;
  std::string savedFolder;
  std::string savedRuntime;
};

// Writes the two settings files of a game folder.
void WriteSettings(const std::string& folder);

}  // namespace shelltest
