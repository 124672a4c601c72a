#include "game/shell/TGameWnd.h"

#include <cstdio>

#include "common/TD3D8.h"
#include "common/TDxVersion.h"
#include "common/TFile.h"
#include "common/my_error.h"
#include "game/shell/TScene.h"
#include "game/shell/TScreenCapture.h"
#include "platform/core/Com.h"
#include "platform/core/FileSystem.h"
#include "platform/core/MessageBox.h"

using namespace plat;

namespace {

// "多重起動禁止"
constexpr const char* kSecondInstanceText = "\x91\xbd\x8f\x64\x8b\x4e\x93\xae\x8b\xd6\x8e\x7e";
// "警告"
constexpr const char* kWarningCaption = "\x8c\x78\x8d\x90";
// "このゲームををプレイするには\r\nDirectX 8.0 以降のバージョンのインストールが必要です。\r\n
//  DirectX 8.0 をインストールして再起動してください。\r\n\r\n現在のバージョン : %s"
constexpr const char* kDirectXFormat =
    "\x82\xb1\x82\xcc\x83\x51\x81\x5b\x83\x80\x82\xf0\x82\xf0\x83\x76\x83\x8c\x83\x43\x82\xb7\x82\xe9\x82\xc9"
    "\x82\xcd\r\n"
    "\x44\x69\x72\x65\x63\x74\x58\x20\x38\x2e\x30\x20\x88\xc8\x8d\x7e\x82\xcc\x83\x6f\x81\x5b\x83\x57\x83\x87"
    "\x83\x93\x82\xcc\x83\x43\x83\x93\x83\x58\x83\x67\x81\x5b\x83\x8b\x82\xaa\x95\x4b\x97\x76\x82\xc5\x82\xb7"
    "\x81\x42\r\n"
    "\x44\x69\x72\x65\x63\x74\x58\x20\x38\x2e\x30\x20\x82\xf0\x83\x43\x83\x93\x83\x58\x83\x67\x81\x5b\x83\x8b"
    "\x82\xb5\x82\xc4\x8d\xc4\x8b\x4e\x93\xae\x82\xb5\x82\xc4\x82\xad\x82\xbe\x82\xb3\x82\xa2\x81\x42\r\n"
    "\r\n"
    "\x8c\xbb\x8d\xdd\x82\xcc\x83\x6f\x81\x5b\x83\x57\x83\x87\x83\x93\x20\x3a\x20%s";
// "起動設定ファイル setting.ini が見つかりませんでした。\nDuskwheelを起動するには起動設定用ツール
//  Setting.exe を起動して\nDuskwheelに関する設定を行い、起動設定ファイルを作成してください。\n\n
//  OKを押すと終了します。"
constexpr const char* kNoSettingsText =
    "\x8b\x4e\x93\xae\x90\xdd\x92\xe8\x83\x74\x83\x40\x83\x43\x83\x8b\x20\x73\x65\x74\x74\x69\x6e\x67\x2e\x69"
    "\x6e\x69\x20\x82\xaa\x8c\xa9\x82\xc2\x82\xa9\x82\xe8\x82\xdc\x82\xb9\x82\xf1\x82\xc5\x82\xb5\x82\xbd\x81"
    "\x42\n"
    "\x44\x75\x73\x6b\x77\x68\x65\x65\x6c\x82\xf0\x8b\x4e\x93\xae\x82\xb7\x82\xe9\x82\xc9\x82\xcd\x8b\x4e\x93"
    "\xae\x90\xdd\x92\xe8\x97\x70\x83\x63\x81\x5b\x83\x8b\x20\x53\x65\x74\x74\x69\x6e\x67\x2e\x65\x78\x65\x20"
    "\x82\xf0\x8b\x4e\x93\xae\x82\xb5\x82\xc4\n"
    "\x44\x75\x73\x6b\x77\x68\x65\x65\x6c\x82\xc9\x8a\xd6\x82\xb7\x82\xe9\x90\xdd\x92\xe8\x82\xf0\x8d\x73\x82"
    "\xa2\x81\x41\x8b\x4e\x93\xae\x90\xdd\x92\xe8\x83\x74\x83\x40\x83\x43\x83\x8b\x82\xf0\x8d\xec\x90\xac\x82"
    "\xb5\x82\xc4\x82\xad\x82\xbe\x82\xb3\x82\xa2\x81\x42\n"
    "\n"
    "\x4f\x4b\x82\xf0\x89\x9f\x82\xb7\x82\xc6\x8f\x49\x97\xb9\x82\xb5\x82\xdc\x82\xb7\x81\x42";
// "Duskwheel起動エラー"
constexpr const char* kNoSettingsCaption = "\x44\x75\x73\x6b\x77\x68\x65\x65\x6c\x8b\x4e\x93\xae\x83\x47\x83\x89\x81\x5b";
// "ウィンドウの初期化に失敗しました。"
constexpr const char* kRegisterFailed =
    "\x83\x45\x83\x42\x83\x93\x83\x68\x83\x45\x82\xcc\x8f\x89\x8a\xfa\x89\xbb\x82\xc9\x8e\xb8\x94\x73\x82\xb5"
    "\x82\xdc\x82\xb5\x82\xbd\x81\x42";
// "ウィンドウの作成に失敗しました。"
constexpr const char* kCreateFailed =
    "\x83\x45\x83\x42\x83\x93\x83\x68\x83\x45\x82\xcc\x8d\xec\x90\xac\x82\xc9\x8e\xb8\x94\x73\x82\xb5\x82\xdc"
    "\x82\xb5\x82\xbd\x81\x42";
// "COMの初期化に失敗しました。"
constexpr const char* kComFailed =
    "\x43\x4f\x4d\x82\xcc\x8f\x89\x8a\xfa\x89\xbb\x82\xc9\x8e\xb8\x94\x73\x82\xb5\x82\xdc\x82\xb5\x82\xbd\x81"
    "\x42";
// "Direct3D 8 の初期化に失敗しました。"
constexpr const char* kNoDirect3D =
    "\x44\x69\x72\x65\x63\x74\x33\x44\x20\x38\x20\x82\xcc\x8f\x89\x8a\xfa\x89\xbb\x82\xc9\x8e\xb8\x94\x73\x82\xb5"
    "\x82\xdc\x82\xb5\x82\xbd\x81\x42";
// "Direct3Dデバイスの作成に失敗しました。"
constexpr const char* kDeviceFailed =
    "\x44\x69\x72\x65\x63\x74\x33\x44\x83\x66\x83\x6f\x83\x43\x83\x58\x82\xcc\x8d\xec\x90\xac\x82\xc9\x8e\xb8\x94\x73"
    "\x82\xb5\x82\xdc\x82\xb5\x82\xbd\x81\x42";

constexpr uint32_t kDirectX80 = 0x800;
constexpr const char* kTableFolder = "data/tbl03/";

struct FolderSetting {
  DataFolder which;
  const char* folder;
};
constexpr FolderSetting kFolders[] = {
    {DataFolder::Textures, "data/ptx03/"},       {DataFolder::Meshes, "data/msh03/"},
    {DataFolder::Frames, "data/frm03/"},         {DataFolder::SoundEffects, "data/se03/"},
    {DataFolder::Music, "data/bgm03/"},          {DataFolder::Saves, "save/"},
    {DataFolder::Tables, kTableFolder},          {DataFolder::Models, "char03/"},
    {DataFolder::WeaponStates, "data/chrdata03/"}, {DataFolder::Patterns, "data/chrdata03/"},
    {DataFolder::HitTable, "data/chrdata03/"},   {DataFolder::Maps, "map03/"},
    {DataFolder::StageScripts, "data/scr03/"},   {DataFolder::Visuals, "visual03/"},
    {DataFolder::ScriptPacks, "data/scr03/"},    {DataFolder::Effects, "effect/"},
};

struct SoundSetSetting {
  const char* table;
  const char* packPrefix;
};
constexpr SoundSetSetting kSoundSets[] = {{"se.tbl", "se.pse/"}, {"voice.tbl", "voice.pse/"}, {"bgm.tbl", ""}};

struct CaptureCandidates {
  D3DFORMAT display;
  D3DFORMAT candidates[4];
};
constexpr CaptureCandidates kCaptureFormats[] = {
    {D3DFMT_A8R8G8B8, {D3DFMT_A8R8G8B8, D3DFMT_X8R8G8B8, D3DFMT_R5G6B5, D3DFMT_X1R5G5B5}},
    {D3DFMT_X8R8G8B8, {D3DFMT_X8R8G8B8, D3DFMT_A8R8G8B8, D3DFMT_R5G6B5, D3DFMT_X1R5G5B5}},
    {D3DFMT_R8G8B8, {D3DFMT_R5G6B5, D3DFMT_X1R5G5B5, D3DFMT_X8R8G8B8, D3DFMT_A8R8G8B8}},
    {D3DFMT_R5G6B5, {D3DFMT_R5G6B5, D3DFMT_X1R5G5B5, D3DFMT_X8R8G8B8, D3DFMT_A8R8G8B8}},
    {D3DFMT_X1R5G5B5, {D3DFMT_X1R5G5B5, D3DFMT_R5G6B5, D3DFMT_X8R8G8B8, D3DFMT_A8R8G8B8}},
};

}  // namespace

bool IsDirectory(const std::string& path) {
  DWORD attributes = GetFileAttributes(path);
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

TGameWnd::TGameWnd(const TWindowParams& p, uint16_t icon, uint16_t cursor, TShellServices& s)
    : TAppMainWnd(p),
      services(s),
      iconId(icon),
      cursorId(cursor),
      d3d(s.Device()),
      sound(s.Sound()),
      scenes([this] {
        services.PurgeTextures(2);
        services.PurgeUnusedSounds();
      }),
      instanceGuard(kMutexName, p.title, p.className) {}

TGameWnd::~TGameWnd() { Finalize(); }

D3DFORMAT TGameWnd::ChooseCaptureFormat(D3DFORMAT display) {
  IDirect3D8* direct3D = TD3D8::GetDirect3D();
  if (!direct3D) return D3DFMT_UNKNOWN;
  for (const CaptureCandidates& row : kCaptureFormats) {
    if (row.display != display) continue;
    for (D3DFORMAT f : row.candidates)
      if (direct3D->CheckDeviceFormat(0, D3DDEVTYPE_HAL, display, D3DUSAGE_RENDERTARGET, D3DRTYPE_TEXTURE, f) ==
          D3D_OK)
        return f;
  }
  return D3DFMT_UNKNOWN;
}

TSprite8 TGameWnd::CaptureScreen(const std::string& spriteName, TScene* scene) {
  return TScreenCapture::Capture(spriteName, scene ? scene : GetCurrentScene());
}

void TGameWnd::CopyBackBuffer(int mode, TScene* scene) {
  TScreenCapture::CopyBackBuffer(mode, scene ? scene : GetCurrentScene());
}

bool TGameWnd::ChecksPass() {
  if (!instanceGuard.Check()) {
    MessageBox(GetDesktopWindow(), kSecondInstanceText, kWarningCaption, MB_ICONEXCLAMATION);
    return false;
  }
  TDxVersion dx;
  if (dx.GetVersion() < kDirectX80) {
    char text[1024];
    std::snprintf(text, sizeof text, kDirectXFormat, dx.GetText().c_str());
    MessageBox(GetDesktopWindow(), text, kWarningCaption, MB_ICONEXCLAMATION);
    return false;
  }
  return true;
}

int TGameWnd::Run(int) {
  if (!ChecksPass()) return kFailedStart;
  CreateWnd();
  Initialize();

  MSG msg;
  PeekMessage(&msg, nullptr, 0, 0, PM_NOREMOVE);
  while (msg.message != WM_QUIT) {
    // An inactive game blocks in the wait and runs no frame until it is activated again.
    bool taken = true;
    if (active)
      taken = PeekMessage(&msg, nullptr, 0, 0, PM_REMOVE);
    else
      GetMessage(&msg, nullptr, 0, 0);
    if (taken)
      TranslateAndDispatch(msg);
    else if (CanRunFrame() && !Frame())
      SendMessage(hwnd, WM_CLOSE, 0, 0);
  }
  Finalize();
  return startRefused ? kFailedStart : static_cast<int>(msg.wParam);
}

void TGameWnd::CreateWnd() {
  WNDCLASSEX wc;
  wc.style = CS_HREDRAW | CS_VREDRAW | CS_BYTEALIGNCLIENT;
  wc.lpfnWndProc = &TSubClassWnd::StaticWndProc;
  wc.hInstance = params.instance;
  wc.hIcon = iconId ? LoadIcon(params.instance, iconId) : nullptr;
  wc.hCursor = cursorId ? LoadCursor(params.instance, cursorId) : nullptr;
  wc.hbrBackground = static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH));
  wc.lpszClassName = params.className.c_str();
  if (!RegisterClassEx(&wc)) throw MY_ERROR(kRegisterFailed, 660);
  TAppMainWnd::CreateWnd();
  if (!hwnd) throw MY_ERROR(kCreateFailed, 665);
}

bool TGameWnd::SettingsFileExists() {
  TFile settings;
  if (!settings.Open(true, GENERIC_READ, "setting.ini")) return false;
  settings.Close();
  return true;
}

void TGameWnd::SetDataFolders() {
  for (const FolderSetting& f : kFolders) services.SetFolder(f.which, f.folder);
}

void TGameWnd::LoadTables() {
  const std::string folder = kTableFolder;
  services.LoadEnemyDatabase(folder + "enemy.tbl");
  services.LoadWeaponTable(folder + "wepon.tbl");
  services.LoadItemMeanTable(folder + "itemmean.tbl");
  services.LoadAccessoryTable(folder + "accessory.tbl");
  services.LoadGameTables();
  services.SetChapterNo(3);
  services.SetLevelCap(44);
  services.SetGoldCap(800000);
}

void TGameWnd::StartSound() {
  services.InitSound(hwnd);
  int32_t id = 0;
  for (const SoundSetSetting& set : kSoundSets)
    services.LoadSoundSet(std::string(kTableFolder) + set.table, set.packPrefix, id++, -10000, 0);
}

void TGameWnd::StartDevice() {
  // A game without a device cannot go on: start-up stops through the error path.
  TShellServices::DeviceStart start = services.InitDevice(hwnd, "./setting.ini");
  if (!start.direct3D) throw MY_ERROR(kNoDirect3D, __LINE__);
  if (!start.built) {
    char text[256];
    std::snprintf(text, sizeof text, "%s(0x%08X)", kDeviceFailed, static_cast<unsigned>(start.builderCode));
    throw MY_ERROR(text, __LINE__);
  }
  if (services.DeviceWindowed()) {
    SetWindowLongPtr(hwnd, GWL_STYLE, WS_CAPTION);
    RECT rect{0, 0, static_cast<LONG>(services.BackBufferWidth()), static_cast<LONG>(services.BackBufferHeight())};
    AdjustWindowRect(&rect, WS_CAPTION, false);
    SetWindowPos(hwnd, nullptr, 0, 0, rect.right - rect.left, rect.bottom - rect.top,
                 SWP_NOZORDER | SWP_HIDEWINDOW);
  } else {
    ShowCursor(false);
  }
}

void TGameWnd::BeginTimerPeriod() {
  timerPeriodFromCaps = timeGetDevCaps(&timeCaps, sizeof timeCaps) == 0;
  if (!timerPeriodFromCaps) timeCaps.wPeriodMin = 1;
  timeBeginPeriod(timeCaps.wPeriodMin);
  timerPeriodBegun = true;
}

void TGameWnd::Initialize() {
  if (!SettingsFileExists()) {
    startRefused = true;
    MessageBox(hwnd, kNoSettingsText, kNoSettingsCaption, MB_ICONEXCLAMATION | MB_TOPMOST);
    SendMessage(hwnd, WM_CLOSE, 0, 0);
    return;
  }
  if (CoInitializeEx(nullptr, COINIT_MULTITHREADED) < 0) throw MY_ERROR(kComFailed, 691);
  // From here a start that throws is undone by Finalize, so sound, device and tables don't outlive it.
  shutdownPending = true;
  if (!IsDirectory("save")) CreateDirectory("save");
  input.Reset(new TInput(".\\input.ini", 10, TInput::kDefaultKeys, TInput::kDefaultPad));
  services.SeedRandom(timeGetTime());
  SetDataFolders();
  LoadTables();
  StartSound();
  StartDevice();
  services.CreateSky();
  services.SetSpriteScreen(640, 480, services.BackBufferWidth(), services.BackBufferHeight());
  BeginTimerPeriod();
  SetScene(services.CreateTitle(*this));
  Sleep(500);
  ShowWindow(hwnd, SW_SHOWDEFAULT);
  UpdateWindow(hwnd);
  running = true;
}

void TGameWnd::Finalize() {
  if (!shutdownPending) return;
  running = false;
  active = false;
  services.DestroyScriptEngine();
  ClearScenes();
  if (timerPeriodBegun) timeEndPeriod(timerPeriodFromCaps ? timeCaps.wPeriodMin : 1);
  timerPeriodBegun = false;
  services.FreeGameTables();
  services.CleanupDevice();
  services.UninitSound();
  CoUninitialize();
  shutdownPending = false;
}

bool TGameWnd::Frame() {
  TScene* scene = GetCurrentScene();
  if (!scene) return false;  // nothing left to run: the game ends
  SceneResult result = scene->Run();
  if (result & kSceneQuit) return false;
  if (result & kSceneFinished) {
    PopScene();
    return GetCurrentScene() != nullptr;
  }
  return true;
}

void TGameWnd::DrawCurrentScene() {
  if (TScene* scene = GetCurrentScene()) scene->Draw();
}

void TGameWnd::Activate() {
  active = true;
  if (services.DeviceReady() && GetCurrentScene()) GetCurrentScene()->Resume();
}

void TGameWnd::Deactivate() {
  active = false;
  if (services.DeviceReady() && GetCurrentScene()) GetCurrentScene()->Suspend();
}

void TGameWnd::OnPaint() {
  if (!active && GetCurrentScene() && services.DeviceWindowed()) GetCurrentScene()->Draw();
}

void TGameWnd::OnActivateApp(bool activate) { activate ? Activate() : Deactivate(); }

void TGameWnd::OnKeyDown(WPARAM key, LPARAM) {
  TScene* scene = GetCurrentScene();
  if (!scene || !scene->AllowsSystemDialog()) return;
  int mode = key == static_cast<WPARAM>(VK_ESCAPE) ? 1 : key == static_cast<WPARAM>(VK_F4) ? 0 : -1;
  if (mode < 0) return;
  if (TScene* dialog = services.CreateYesNo(*this, mode)) SetScene(dialog);
}

void TGameWnd::OnSize(WPARAM kind, LPARAM) {
  if (kind == SIZE_MINIMIZED || kind == SIZE_MAXHIDE)
    Deactivate();
  else
    Activate();
}

void TGameWnd::OnClose() {
  Finalize();
  DestroyWindow(hwnd);
  PostQuitMessage(0);
}

LRESULT TGameWnd::OnSetCursor(HWND window, WPARAM wParam, LPARAM lParam) {
  return DefWndProc(window, WM_SETCURSOR, wParam, lParam);
}

LRESULT TGameWnd::OnPowerBroadcast(HWND window, WPARAM event, LPARAM lParam) {
  if (event == PBT_APMQUERYSUSPEND || event == PBT_APMRESUMESUSPEND) return 1;
  return DefWndProc(window, WM_POWERBROADCAST, event, lParam);
}

LRESULT TGameWnd::OnSysCommand(HWND window, WPARAM command, LPARAM lParam) {
  // Full screen keeps its window where it is: no move, size, maximise, key menu or monitor power.
  bool fixed = command == SC_SIZE || command == SC_MOVE || command == SC_MAXIMIZE || command == SC_KEYMENU ||
               command == SC_MONITORPOWER;
  if (fixed && !services.DeviceWindowed()) return 1;
  return DefWndProc(window, WM_SYSCOMMAND, command, lParam);
}

LRESULT TGameWnd::OnNcHitTest(HWND window, WPARAM wParam, LPARAM lParam) {
  // A running windowed game can be dragged by any point.
  if (running && services.DeviceWindowed()) return HTCAPTION;
  return DefWndProc(window, WM_NCHITTEST, wParam, lParam);
}

LRESULT TGameWnd::WndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_SIZE: OnSize(wParam, lParam); break;
    case WM_PAINT: OnPaint(); break;
    case WM_CLOSE: OnClose(); return 0;
    case WM_ACTIVATEAPP: OnActivateApp(wParam != 0); return 0;
    case WM_SETCURSOR: return OnSetCursor(window, wParam, lParam);
    case WM_NCHITTEST: return OnNcHitTest(window, wParam, lParam);
    case WM_KEYDOWN: OnKeyDown(wParam, lParam); break;
    case WM_SYSCOMMAND: return OnSysCommand(window, wParam, lParam);
    case WM_POWERBROADCAST: return OnPowerBroadcast(window, wParam, lParam);
    case WM_IME_SETCONTEXT: return 0;
    default: break;
  }
  return DefWndProc(window, message, wParam, lParam);
}
