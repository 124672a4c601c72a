// A table class's static Load, Find and Clear over one global id-to-record map. Lookups never fail:
// a missing id is added with the record's default, and returned pointers stay valid.
#pragma once
#include <cstdint>
#include <string>

// Replace empties the map before a load; Append keeps what earlier loads read.
enum class TLoadMode { Append, Replace };

template <class Record, TLoadMode kMode>
class TGlobalRecords {
 public:
  static void Load(const std::string& path);
  static Record* Find(uint32_t id);
  // Whether a loaded file held the id.
  static bool IsListed(uint32_t id);
  static void Clear();
};
