#include "game/actor/TCharSoundLists.h"

#include "game/data/GameGlobals.h"
#include "sound/TDSound8.h"
#include "sound/TSoundSet8.h"

TCharSoundLists::TCharSoundLists(const std::string& soundName)
    : seList(TDSound8::Get().Find(kEffectSet), ListPath(soundName, "_se")),
      voiceList(TDSound8::Get().Find(kVoiceSet), ListPath(soundName, "_vc")) {}

std::string TCharSoundLists::ListPath(const std::string& soundName, const std::string& suffix) {
  return GetDataFolder() + "char/" + soundName + suffix + ".tbl";
}

void TCharSoundLists::PlaySe(int32_t id) const {
  if (TSoundSet8* set = seList.GetSoundSet()) set->Play(id);
}

void TCharSoundLists::StopSe(int32_t id) const {
  if (TSoundSet8* set = seList.GetSoundSet()) set->Stop(id);
}

int32_t TCharSoundLists::PlayVoice(int32_t id) const {
  TSoundSet8* set = voiceList.GetSoundSet();
  if (!set) return 0;
  set->Play(id);
  return set->GetLength(id) / 16;
}
