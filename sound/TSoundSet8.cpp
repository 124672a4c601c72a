#include "sound/TSoundSet8.h"

#include <vector>

#include "sound/TDSound8.h"
#include "sound/TSound8.h"
#include "sound/TSoundNameTable.h"

TSoundSet8::TSoundSet8(const std::string& listPath, const std::string& prefix, int32_t setId,
                       TDSound8* owner, int32_t minVolume, int32_t maxVolume)
    : prefix(prefix), setId(setId), minVolume(minVolume), maxVolume(maxVolume), owner(owner) {
  TSoundNameTable table;
  if (!table.Read(listPath)) ReportUnreadTable(listPath);  // the names read so far stay
  for (const TSoundNameRow& row : table.GetRows()) names[static_cast<int32_t>(row.id)] = row.name;
}

TSoundSet8::~TSoundSet8() { Close(); }

void TSoundSet8::Load(int32_t id) {
  if (!owner) return;
  auto it = sounds.find(id);
  if (it != sounds.end() && (it->second.count > 0 || it->second.sound)) {
    ++it->second.count;
    return;
  }
  auto name = names.find(id);
  TCountedPtr<TSound8> sound =
      owner->CreateSource(prefix + (name == names.end() ? std::string() : name->second), setId);
  if (sound) {
    sound->SetMinVolume(minVolume);
    sound->SetMaxVolume(maxVolume);
    sound->SetVolume(maxVolume);
  }
  Entry& entry = sounds[id];
  entry.count = 1;
  entry.sound = sound;
}

void TSoundSet8::Unload(int32_t id) {
  auto it = sounds.find(id);
  if (it != sounds.end() && it->second.count > 0) --it->second.count;
}

TSound8* TSoundSet8::Ready(int32_t id) const {
  auto it = sounds.find(id);
  if (it == sounds.end() || !it->second.sound || !it->second.sound->IsReady()) return nullptr;
  return it->second.sound.Get();
}

void TSoundSet8::Play(int32_t id) {
  if (TSound8* s = Ready(id)) {
    s->Stop(true);
    s->Play();
  }
}

void TSoundSet8::PlayLoop(int32_t id) {
  if (TSound8* s = Ready(id)) {
    s->Stop(true);
    s->SetLoop(true);
    s->Play();
  }
}

void TSoundSet8::Stop(int32_t id) {
  if (TSound8* s = Ready(id)) s->Stop(true);
}

TCountedPtr<TSound8> TSoundSet8::GetSound(int32_t id) const {
  auto it = sounds.find(id);
  return it == sounds.end() ? TCountedPtr<TSound8>() : it->second.sound;
}

int32_t TSoundSet8::GetLength(int32_t id) const {
  TSound8* s = Ready(id);
  return s ? s->GetLength() : 0;
}

void TSoundSet8::SetVolume(int32_t v) {
  for (auto& [id, entry] : sounds)
    if (entry.sound) entry.sound->SetVolume(v);
}

void TSoundSet8::SetMaxVolume(int32_t v) {
  if (v >= 1)
    v = 0;
  else if (v < -10000)
    v = -10000;
  maxVolume = v;
  for (auto& [id, entry] : sounds)
    if (entry.sound) entry.sound->SetMaxVolume(v);
}

int32_t TSoundSet8::FindId(const std::string& name) const {
  for (const auto& [id, listed] : names)
    if (listed == name) return id;
  return -1;
}

uint32_t TSoundSet8::GetCount(int32_t id) const {
  auto it = sounds.find(id);
  return it == sounds.end() ? 0 : it->second.count;
}

void TSoundSet8::PurgeUnused() {
  std::vector<int32_t> unused;
  for (const auto& [id, entry] : sounds)
    if (entry.count == 0 && entry.sound.GetCount() <= 1) unused.push_back(id);
  for (int32_t id : unused) sounds.erase(id);
}

void TSoundSet8::Close() {
  for (auto& [id, entry] : sounds)
    if (entry.sound) entry.sound->Close();
  sounds.clear();
  owner = nullptr;
}
