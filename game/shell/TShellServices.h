// What the game window's start-up, scene stack and shutdown ask of the other subsystems. The shell
// calls them through this one seam, so that tests can watch the order and make any call fail.
#pragma once
#include <cstdint>
#include <string>

#include "platform/window/WindowTypes.h"

class TGameWnd;
class TScene;
class TD3D8;
class TDSound8;

// Each data folder is set in the loader that owns it.
enum class DataFolder {
  Textures,
  Meshes,
  Frames,
  SoundEffects,
  Music,
  Saves,
  Tables,
  Models,
  WeaponStates,
  Patterns,
  HitTable,
  Maps,
  StageScripts,
  Visuals,
  ScriptPacks,
  Effects,
};

class TShellServices {
 public:
  virtual ~TShellServices() = default;

  virtual void SetFolder(DataFolder which, const std::string& folder) = 0;
  virtual void SeedRandom(uint32_t seed) = 0;

  // Tables and the game-progress record.
  virtual void LoadEnemyDatabase(const std::string& path) = 0;
  virtual void LoadWeaponTable(const std::string& path) = 0;
  virtual void LoadItemMeanTable(const std::string& path) = 0;
  virtual void LoadAccessoryTable(const std::string& path) = 0;
  virtual void LoadGameTables() = 0;
  virtual void SetChapterNo(int32_t chapter) = 0;
  virtual void SetLevelCap(uint32_t level) = 0;
  virtual void SetGoldCap(int32_t gold) = 0;
  virtual void FreeGameTables() = 0;

  // Sound.
  virtual TDSound8* Sound() = 0;
  virtual void InitSound(plat::HWND window) = 0;
  virtual void LoadSoundSet(const std::string& listPath, const std::string& packPrefix, int32_t setId,
                            int32_t minVolume, int32_t maxVolume) = 0;
  virtual void PurgeUnusedSounds() = 0;
  virtual void UninitSound() = 0;

  // The Direct3D device, built from the settings file by the device builder.
  struct DeviceStart {
    bool built;            // the device object is initialised
    bool direct3D;         // a Direct3D object could be made at all
    uint32_t builderCode;  // the builder's result (bit 0 set: failure)
  };
  virtual TD3D8* Device() = 0;
  virtual DeviceStart InitDevice(plat::HWND window, const std::string& settingsPath) = 0;
  virtual bool DeviceReady() = 0;
  virtual bool DeviceWindowed() = 0;
  virtual uint32_t BackBufferWidth() = 0;
  virtual uint32_t BackBufferHeight() = 0;
  virtual void CleanupDevice() = 0;

  // Graphics objects.
  virtual void CreateSky() = 0;
  virtual void SetSpriteScreen(uint32_t virtualWidth, uint32_t virtualHeight, uint32_t realWidth,
                               uint32_t realHeight) = 0;
  virtual void PurgeTextures(int mode) = 0;

  // Scenes and objects of the game's other subsystems.
  virtual TScene* CreateTitle(TGameWnd& app) = 0;
  // mode 1 asks to quit the game, mode 0 to go back to the title.
  virtual TScene* CreateYesNo(TGameWnd& app, int mode) = 0;
  virtual void DestroyScriptEngine() = 0;
};
