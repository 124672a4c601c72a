// A whole PCM wave from an entry of a ".pse" sound pack, in one buffer: effects and voices.
#pragma once
#include <string>

#include "common/TCountedPtr.h"
#include "sound/TSound8.h"

class TFile;

class TPseSound8 : public TSound8 {
 public:
  // name is "pack/entry"; the pack is opened from the owner's sound-effect folder. A missing
  // pack or entry, a damaged pack or a buffer that cannot be had leaves the sound not ready.
  TPseSound8(const std::string& name, int32_t setId, TDSound8* owner);
  ~TPseSound8() override;

  plat::HRESULT Play() override;
  void Stop(bool rewind) override;
  void SetLoop(bool loop) override { this->loop = loop; }
  void Rewind() override;
  int32_t GetVolume() override;
  int32_t GetPan() override;
  void SetPan(int32_t pan) override;
  void Close() override;

  const std::string& GetName() const { return name; }

 protected:
  void ApplyVolume(int32_t v) override;

 private:
  void Load();
  // The data offset of the named entry, or -1 when the directory does not hold it.
  static int64_t FindEntry(TFile& file, const std::string& entry);

  std::string name;
  TCountedPtr<plat::IDirectSoundBuffer8> buffer;
};
