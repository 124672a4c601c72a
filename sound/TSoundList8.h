// The sounds one screen, window or character uses, named by an id table: building the list loads
// every listed sound into its set, destroying it releases them again.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "common/TCountedPtr.h"

class TSoundSet8;

class TSoundList8 {
 public:
  // An empty path, an unreadable table or no set gives an empty list.
  TSoundList8(const TCountedPtr<TSoundSet8>& set, const std::string& listPath);
  TSoundList8(const TSoundList8& other);
  TSoundList8& operator=(const TSoundList8&) = delete;
  virtual ~TSoundList8();

  // The set to play through; it stays valid (and silent) after the device closed it.
  TSoundSet8* GetSoundSet() const { return set.Get(); }
  const std::vector<uint32_t>& GetIds() const { return ids; }

 private:
  void LoadAll();

  std::vector<uint32_t> ids;
  TCountedPtr<TSoundSet8> set;
};
