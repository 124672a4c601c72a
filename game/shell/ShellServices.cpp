#include "common/TD3D8.h"
#include "common/TMesh8.h"
#include "game/shell/StandIns.h"
#include "game/shell/TBasicD3DDeviceBuilder.h"
#include "game/shell/TShellServices.h"

namespace {

class TGameServices : public TShellServices {
 public:
  void SetFolder(DataFolder which, const std::string& folder) override {
    if (which == DataFolder::Meshes) TMesh8::SetFolder(folder);
    standin::SetFolder(which, folder);
  }
  void SeedRandom(uint32_t seed) override { standin::SeedRandom(seed); }

  void LoadEnemyDatabase(const std::string& path) override { standin::LoadTable(path); }
  void LoadWeaponTable(const std::string& path) override { standin::LoadTable(path); }
  void LoadItemMeanTable(const std::string& path) override { standin::LoadTable(path); }
  void LoadAccessoryTable(const std::string& path) override { standin::LoadTable(path); }
  void LoadGameTables() override { standin::LoadGameTables(); }
  void SetChapterNo(int32_t chapter) override { standin::SetChapterNo(chapter); }
  void SetLevelCap(uint32_t level) override { standin::SetLevelCap(level); }
  void SetGoldCap(int32_t gold) override { standin::SetGoldCap(gold); }
  void FreeGameTables() override { standin::FreeGameTables(); }

  TDSound8* Sound() override { return nullptr; }
  void InitSound(plat::HWND window) override { standin::InitSound(window); }
  void LoadSoundSet(const std::string& listPath, const std::string& packPrefix, int32_t setId, int32_t,
                    int32_t) override {
    standin::LoadSoundSet(listPath, packPrefix, setId);
  }
  void PurgeUnusedSounds() override { standin::PurgeUnusedSounds(); }
  void UninitSound() override { standin::UninitSound(); }

  TD3D8* Device() override { return TD3D8::Instance(); }
  DeviceStart InitDevice(plat::HWND window, const std::string& settingsPath) override {
    auto* builder = new TBasicD3DDeviceBuilder(window, settingsPath);
    TCountedPtr<TD3DDeviceBuilder8> shared(builder);
    bool built = TD3D8::Instance()->Init(shared, 220, "DeviceLog.txt", "InitLog.txt");
    return DeviceStart{built, TD3D8::GetDirect3D() != nullptr, builder->GetLastResult()};
  }
  bool DeviceReady() override { return TD3D8::Instance()->IsInitialized(); }
  bool DeviceWindowed() override { return TD3D8::Instance()->IsWindowed(); }
  uint32_t BackBufferWidth() override { return TD3D8::Instance()->GetWidth(); }
  uint32_t BackBufferHeight() override { return TD3D8::Instance()->GetHeight(); }
  void CleanupDevice() override { TD3D8::Instance()->Cleanup(); }

  void CreateSky() override { standin::CreateSky(); }
  void SetSpriteScreen(uint32_t vw, uint32_t vh, uint32_t rw, uint32_t rh) override {
    standin::SetSpriteScreen(vw, vh, rw, rh);
  }
  void PurgeTextures(int mode) override { standin::PurgeTextures(mode); }

  TScene* CreateTitle(TGameWnd& app) override { return standin::CreateTitle(app); }
  TScene* CreateYesNo(TGameWnd& app, int mode) override { return standin::CreateYesNo(app, mode); }
  void DestroyScriptEngine() override { standin::DestroyScriptEngine(); }
};

}  // namespace

TShellServices& DefaultShellServices() {
  static TGameServices services;
  return services;
}
