#include "game/app/GameServices.h"

#include "common/TD3D8.h"
#include "common/TFrame8.h"
#include "common/TMesh8.h"
#include "common/TSprite8.h"
#include "common/TTexture8.h"
#include "common/TVertexShader8.h"
#include "game/actor/TPatternInfo.h"
#include "game/actor/TPlayerFactory.h"
#include "game/actor/TWeponState.h"
#include "game/app/FieldLinks.h"
#include "game/data/GameDataServices.h"
#include "game/data/GameGlobals.h"
#include "game/data/TAccessoryTable.h"
#include "game/data/TItemMeanTable.h"
#include "game/data/TWeaponTable.h"
#include "game/effect/EffectFolder.h"
#include "game/effect/MtRandomState.h"
#include "game/enemy/TEnemyTable.h"
#include "game/field/FieldFolders.h"
#include "game/field/FieldServices.h"
#include "game/field/TGameObject.h"
#include "game/field/THitTable.h"
#include "game/field/TSky.h"
#include "game/moveset/PlayerStyles.h"
#include "game/script/ChangeScenes.h"
#include "game/script/ShopScenes.h"
#include "game/script/TChange.h"
#include "game/script/TScriptEngine.h"
#include "game/shell/TBasicD3DDeviceBuilder.h"
#include "game/shell/TShellServices.h"
#include "game/shell/WinMain.h"
#include "game/ui/ShopScreens.h"
#include "game/ui/TSaveLoad.h"
#include "game/ui/TTitle.h"
#include "game/ui/TYesNo.h"
#include "game/ui/UiServices.h"
#include "sound/TDSound8.h"
#include "sound/TSoundHandle8.h"
#include "sound/TSoundSet8.h"

namespace {

// The game data reaches the sound sets and the random generator through its own seam.
void InstallGameDataServices() {
  TGameDataServices services;
  services.volumeCurve = [](float t) { return VolumeCurve(t); };
  services.setSoundSetVolume = [](int32_t set, int32_t volume) {
    if (TCountedPtr<TSoundSet8> found = TDSound8::Get().Find(set)) {
      found->SetMaxVolume(volume);
      found->SetVolume(volume);
    }
  };
  services.genRand = [] { return GenRand(); };
  SetGameDataServices(std::move(services));
}

// The screens reach the scene change, which lies beside them, through their seam.
class TUiLinks : public TUiServices {
 public:
  TScene* CreateTitleChange(TGameWnd& app, int32_t musicId) override { return TChange::CreateTitle(app, musicId); }
  TScene* CreateLoadChange(TGameWnd& app, int32_t slot, int32_t musicId) override {
    return TChange::CreateLoad(app, slot, musicId);
  }
  TScene* CreateEventChange(TGameWnd& app, int32_t fadeKind, int32_t direction, int32_t eventId,
                            int32_t musicId) override {
    return TChange::CreateEvent(app, fadeKind, direction, eventId, musicId);
  }
};

// The scene change reaches the save screen, which lies above the scripts, through the scripts' seam.
class TChangeLinks : public TChangeScenes {
 public:
  TScene* CreateSaveScreen(TGameWnd& app) override { return TSaveLoad::CreateSave(app); }
};

// "Shop" opens the screens, which lie above the scripts, through the scripts' seam.
class TShopLinks : public TShopScenes {
 public:
  TScene* CreateBuyShop(TGameWnd& app, const std::vector<uint32_t>& itemIds) override {
    return ::CreateBuyShop(app, itemIds);
  }
  TScene* CreateSellShop(TGameWnd& app) override { return ::CreateSellShop(app); }
  TScene* CreateInn(TGameWnd& app, TFieldScene* field) override { return ::CreateInn(app, field); }
};

class TGameServices : public TShellServices {
 public:
  TGameServices() {
    InstallGameDataServices();
    InstallGameLinks();
  }

  void SetFolder(DataFolder which, const std::string& folder) override {
    switch (which) {
      case DataFolder::Textures: TTexture8::SetFolder(folder); break;
      case DataFolder::Meshes: TMesh8::SetFolder(folder); break;
      case DataFolder::SoundEffects: TDSound8::Get().SetSeFolder(folder); break;
      case DataFolder::Music: TDSound8::Get().SetBgmFolder(folder); break;
      case DataFolder::Saves: SetSaveFolder(folder); break;
      case DataFolder::Tables: SetDataFolder(folder); break;
      case DataFolder::ScriptPacks: TScriptEngine::SetFolder(folder); break;
      case DataFolder::Frames: TFrame8::SetFolder(folder); break;
      case DataFolder::WeaponStates: TWeponState::SetFolder(folder); break;
      case DataFolder::Patterns: TPatternInfo::SetFolder(folder); break;
      case DataFolder::HitTable: SetHitFolder(folder); break;
      case DataFolder::Effects: SetEffectFolder(folder); break;
      case DataFolder::Models: TGameObject::SetFolder(folder); break;
      case DataFolder::Maps: SetMapFolder(folder); break;
      case DataFolder::StageScripts: SetScriptFolder(folder); break;
      case DataFolder::Visuals: SetVisualFolder(folder); break;
    }
  }
  void SeedRandom(uint32_t seed) override { SeedRand(seed); }

  void LoadEnemyDatabase(const std::string& path) override { ::LoadEnemyDatabase(path); }
  void LoadWeaponTable(const std::string& path) override { TWeaponTable::Load(path); }
  void LoadItemMeanTable(const std::string& path) override { TItemMeanTable::Load(path); }
  void LoadAccessoryTable(const std::string& path) override { TAccessoryTable::Load(path); }
  void LoadGameTables() override { ::LoadGameTables(); }
  void SetChapterNo(int32_t chapter) override { ::SetChapterNo(chapter); }
  void SetLevelCap(uint32_t level) override { ::SetLevelCap(level); }
  void SetGoldCap(int32_t gold) override { ::SetGoldCap(gold); }
  void FreeGameTables() override { ::FreeGameTables(); }

  TDSound8* Sound() override { return &TDSound8::Get(); }
  void InitSound(plat::HWND window) override { TDSound8::Get().Init(window); }
  void LoadSoundSet(const std::string& listPath, const std::string& packPrefix, int32_t setId,
                    int32_t minVolume, int32_t maxVolume) override {
    TDSound8::Get().LoadSet(listPath, packPrefix, setId, minVolume, maxVolume);
  }
  void PurgeUnusedSounds() override { TDSound8::Get().PurgeUnused(); }
  void UninitSound() override { TDSound8::Get().Uninit(); }

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

  // The shader list owns the default sky; its shader is made now and again after a device reset.
  void CreateSky() override { TVertexShader8::Register(new TSky); }
  void SetSpriteScreen(uint32_t vw, uint32_t vh, uint32_t rw, uint32_t rh) override {
    TSprite8::SetScreenSize(static_cast<int>(vw), static_cast<int>(vh), static_cast<int>(rw), static_cast<int>(rh));
  }
  void PurgeTextures(int mode) override { TTexture8::Purge(mode); }

  TScene* CreateTitle(TGameWnd& app) override { return new TTitle(app); }
  TScene* CreateYesNo(TGameWnd& app, int mode) override { return new TYesNo(app, mode); }
  void DestroyScriptEngine() override { TScriptEngine::Destroy(); }

};

}  // namespace

void InstallGameLinks() {
  static TUiLinks uiLinks;
  static TShopLinks shopLinks;
  static TChangeLinks changeLinks;
  SetFieldServices(&field_links::FieldServices());
  SetUiServices(&uiLinks);
  SetShopScenes(&shopLinks);
  SetChangeScenes(&changeLinks);
  SetPlayerStyleMaker(&MakePlayerStyle);
}

void RemoveGameLinks() {
  SetFieldServices(nullptr);
  SetUiServices(nullptr);
  SetShopScenes(nullptr);
  SetChangeScenes(nullptr);
  SetPlayerStyleMaker(nullptr);
}

TShellServices& DefaultShellServices() {
  static TGameServices services;
  return services;
}

int WinMain(plat::HINSTANCE instance, plat::HINSTANCE, char*, int) {
  return RunGame(DefaultShellServices(), instance);
}
