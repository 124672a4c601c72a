// The program's one sound device: it opens the device for the game window, fixes the mixing
// format, holds the folders of sound packs and music, and keeps the sound sets by id.
#pragma once
#include <cstdint>
#include <map>
#include <string>

#include "common/TCountedPtr.h"
#include "platform/sound/DirectSound.h"

class TSound8;
class TSoundSet8;
class TSoundHandle8;

class TDSound8 {
 public:
  // Created on the first call, deleted at program exit.
  static TDSound8& Get();
  virtual ~TDSound8();

  // Throws my_error when there is no sound device or no cooperative level can be set.
  void Init(plat::HWND window);
  // Closes every set (sounds still held elsewhere go silent), then releases the device.
  void Uninit();

  void SetSeFolder(const std::string& folder) { seFolder = folder; }
  void SetBgmFolder(const std::string& folder) { bgmFolder = folder; }
  const std::string& GetSeFolder() const { return seFolder; }
  const std::string& GetBgmFolder() const { return bgmFolder; }

  // Builds a set from a list table and registers it; a set already under the id is closed.
  void LoadSet(const std::string& listPath, const std::string& prefix, int32_t setId,
               int32_t minVolume, int32_t maxVolume);
  // The set under the id; empty for an id never loaded.
  TCountedPtr<TSoundSet8> Find(int32_t setId) const;
  // Drops, in every set, the sounds that nobody uses.
  void PurgeUnused();

  // A stream for a name holding ".ogg", else a pack sound for one holding ".pse", else empty.
  TCountedPtr<TSound8> CreateSource(const std::string& name, int32_t setId);
  TCountedPtr<TSoundHandle8> CreateHandle(const TCountedPtr<TSound8>& sound, bool towardMaximum,
                                          float to, int32_t frames);

  plat::IDirectSound8* GetDirectSound() const { return directSound.Get(); }
  const plat::WAVEFORMATEX& GetMixFormat() const { return mixFormat; }
  bool HasCaps() const { return capsValid; }
  const plat::DSCAPS& GetCaps() const { return caps; }
  bool IsInitialised() const { return initialised; }

 private:
  TDSound8();
  bool SetUpPrimaryBuffer();
  void CreateSilentBuffer();
  void CloseSets();

  TCountedPtr<plat::IDirectSound8> directSound;
  TCountedPtr<plat::IDirectSoundBuffer8> silentBuffer;
  std::string bgmFolder;
  std::string seFolder;
  plat::DSCAPS caps;
  bool capsValid = false;
  bool initialised = false;
  plat::WAVEFORMATEX mixFormat;
  std::map<int32_t, TCountedPtr<TSoundSet8>> sets;
};
