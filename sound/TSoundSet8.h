// The sounds of one set (effects, voices or music), named by a list table and addressed by id.
// A sound is created on its first Load, counted per user, and kept cached at count 0 until a
// purge drops it.
#pragma once
#include <cstdint>
#include <map>
#include <string>

#include "common/TCountedPtr.h"

class TDSound8;
class TSound8;

class TSoundSet8 {
 public:
  TSoundSet8(const std::string& listPath, const std::string& prefix, int32_t setId, TDSound8* owner,
             int32_t minVolume, int32_t maxVolume);
  ~TSoundSet8();
  TSoundSet8(const TSoundSet8&) = delete;
  TSoundSet8& operator=(const TSoundSet8&) = delete;

  void Load(int32_t id);
  void Unload(int32_t id);
  void Play(int32_t id);
  void PlayLoop(int32_t id);
  void Stop(int32_t id);
  // The loaded sound, shared (empty for an id with no sound).
  TCountedPtr<TSound8> GetSound(int32_t id) const;
  // In milliseconds; 0 for an id with no ready sound.
  int32_t GetLength(int32_t id) const;
  void SetVolume(int32_t v);
  // Clamped to -10000..0; the sounds' maxima follow.
  void SetMaxVolume(int32_t v);
  int32_t GetMaxVolume() const { return maxVolume; }
  int32_t GetMinVolume() const { return minVolume; }
  // The smallest id whose listed name is exactly name; -1 when none is.
  int32_t FindId(const std::string& name) const;

  // The users counted on an id (0 for one never loaded).
  uint32_t GetCount(int32_t id) const;
  bool IsCached(int32_t id) const { return sounds.count(id) != 0; }
  int32_t GetSetId() const { return setId; }

  // Drops the entries at count 0 that nothing else shares.
  void PurgeUnused();
  // The set goes away: its sounds are closed and dropped, and from now on it loads nothing.
  // Holders of its sounds or of the set itself keep valid, silent objects.
  void Close();

 private:
  struct Entry {
    uint32_t count = 0;
    TCountedPtr<TSound8> sound;
  };
  // The ready sound of a loaded id, or null.
  TSound8* Ready(int32_t id) const;

  std::map<int32_t, std::string> names;
  std::map<int32_t, Entry> sounds;
  std::string prefix;
  int32_t setId;
  int32_t minVolume;
  int32_t maxVolume;
  TDSound8* owner;
};
