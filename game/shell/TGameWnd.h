// The application object: the game window, the checks and the start-up and shutdown orders, the
// message loop that runs one scene frame whenever the queue is empty, and the scene stack.
#pragma once
#include <cstddef>
#include <cstdint>
#include <string>

#include "common/TCountedPtr.h"
#include "common/TSingleInstance.h"
#include "common/TSprite8.h"
#include "game/shell/TAppMainWnd.h"
#include "game/shell/TInput.h"
#include "game/shell/TSceneStack.h"
#include "game/shell/TShellServices.h"
#include "platform/core/Clock.h"
#include "platform/gfx/D3D8Types.h"

class TGameWnd : public TAppMainWnd {
 public:
  static constexpr const char* kMutexName = "Harrowick_Duskwheel";
  // The exit code of a start that ends in an error box, so that whoever started the game sees a
  // failure; a quit by the player gives the quit message's 0.
  static constexpr int kFailedStart = 1;

  TGameWnd(const TWindowParams& params, uint16_t iconId, uint16_t cursorId, TShellServices& services);
  ~TGameWnd() override;

  bool CanRunFrame() override { return running && active; }
  plat::LRESULT WndProc(plat::HWND window, plat::UINT message, plat::WPARAM wParam, plat::LPARAM lParam) override;
  int Run(int mode) override;
  void CreateWnd() override;
  void Initialize() override;
  // Runs the shutdown order once, however often it is called.
  void Finalize() override;
  bool Frame() override;
  virtual void DrawCurrentScene();

  TD3D8* GetD3D() const { return d3d; }
  TDSound8* GetSound() const { return sound; }
  TInput* GetInput() const { return input.Get(); }
  // What the game's subsystems make through the shell's seam (the title, for one).
  TShellServices& GetServices() const { return services; }

  void SetScene(TScene* scene) { scenes.Set(scene); }
  void PushScene(TScene* scene) { scenes.Push(scene); }
  size_t TrimScenes(size_t n) { return scenes.Trim(n); }
  void PopScene() { scenes.Pop(); }
  void PopBackScene() { scenes.PopBack(); }
  void ClearScenes() { scenes.Clear(); }
  size_t GetSceneCount() const { return scenes.Count(); }
  TScene* GetCurrentScene() const { return scenes.Current(); }

  // Draws the scene (the current one when none is given) into the capture texture of the name and
  // gives a 640×480 sprite of that picture under the name, for an overlay to draw behind itself.
  TSprite8 CaptureScreen(const std::string& spriteName, TScene* scene = nullptr);
  // Draws the scene (the current one when none is given) off-screen and, unless mode is 1, copies
  // the picture into the newest capture's texture, so the sprites of that capture show it afresh.
  void CopyBackBuffer(int mode, TScene* scene = nullptr);

  // The format of the screen-capture texture: the first candidate for the display format that the
  // Direct3D object accepts as a render-target texture; D3DFMT_UNKNOWN when none is.
  static plat::D3DFORMAT ChooseCaptureFormat(plat::D3DFORMAT displayFormat);

  bool IsActive() const { return active; }
  bool IsRunning() const { return running; }

 protected:
  virtual void OnPaint();
  virtual void OnActivateApp(bool activate);
  virtual void OnKeyDown(plat::WPARAM key, plat::LPARAM flags);
  virtual void OnSize(plat::WPARAM kind, plat::LPARAM size);
  virtual void OnClose();
  virtual plat::LRESULT OnSetCursor(plat::HWND window, plat::WPARAM wParam, plat::LPARAM lParam);
  virtual plat::LRESULT OnPowerBroadcast(plat::HWND window, plat::WPARAM event, plat::LPARAM lParam);
  virtual plat::LRESULT OnSysCommand(plat::HWND window, plat::WPARAM command, plat::LPARAM lParam);
  virtual plat::LRESULT OnNcHitTest(plat::HWND window, plat::WPARAM wParam, plat::LPARAM lParam);

 private:
  bool ChecksPass();
  bool SettingsFileExists();
  void SetDataFolders();
  void LoadTables();
  void StartSound();
  void StartDevice();
  void BeginTimerPeriod();
  void Activate();
  void Deactivate();

  TShellServices& services;
  uint16_t iconId, cursorId;
  plat::TIMECAPS timeCaps;
  TD3D8* d3d;
  TDSound8* sound;
  TCountedPtr<TInput> input;
  TSceneStack scenes;  // destroyed before the input its scenes point at
  bool timerPeriodFromCaps = false;
  bool active = false;
  bool running = false;
  bool shutdownPending = false;
  bool timerPeriodBegun = false;
  bool startRefused = false;  // the window closes as a quit does, but the start failed
  TSingleInstance instanceGuard;
};

bool IsDirectory(const std::string& path);
