#include "sound/TSoundList8.h"

#include "sound/TSoundSet8.h"
#include "sound/TTableReader.h"

TSoundList8::TSoundList8(const TCountedPtr<TSoundSet8>& set, const std::string& listPath) : set(set) {
  if (listPath.empty() || !set) return;
  TTableReader table;
  if (!table.Read(listPath)) return;
  ids = table.GetIdList();
  LoadAll();
}

TSoundList8::TSoundList8(const TSoundList8& other) : ids(other.ids), set(other.set) { LoadAll(); }

TSoundList8::~TSoundList8() {
  if (!set) return;
  for (uint32_t id : ids) set->Unload(static_cast<int32_t>(id));
}

void TSoundList8::LoadAll() {
  if (!set) return;
  for (uint32_t id : ids) set->Load(static_cast<int32_t>(id));
}
