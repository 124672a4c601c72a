// The sound lists of one character, named after its sound name: its effect sounds
// ("char/" + name + "_se.tbl" in the table folder, on the effects set) and its voices ("_vc.tbl",
// on the voice set). Building them loads every listed sound, destroying them lets them go. The
// player and the enemies play through them.
#pragma once
#include <cstdint>
#include <string>

#include "sound/TSoundList8.h"

class TCharSoundLists {
 public:
  static constexpr int32_t kEffectSet = 0;
  static constexpr int32_t kVoiceSet = 1;

  // A list that cannot be read, or a set that is not there, gives a silent list.
  explicit TCharSoundLists(const std::string& soundName);

  // The table folder + "char/" + soundName + suffix + ".tbl".
  static std::string ListPath(const std::string& soundName, const std::string& suffix);

  void PlaySe(int32_t id) const;
  void StopSe(int32_t id) const;
  // Plays the voice and gives its length in ticks (milliseconds / 16), which the callers wait out
  // before the next voice.
  int32_t PlayVoice(int32_t id) const;

  const TSoundList8& GetSeList() const { return seList; }
  const TSoundList8& GetVoiceList() const { return voiceList; }

 private:
  TSoundList8 seList;
  TSoundList8 voiceList;
};
