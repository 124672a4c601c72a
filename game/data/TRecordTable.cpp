#include "game/data/TRecordTable.h"

#include "common/scramble.h"

const TFieldScramble kTableFieldScramble{0, scramble::kTableTextOffset};

namespace record_fields {

namespace {

template <class T>
bool ReadNumber(TFile& file, T& value, TFieldScramble s) {
  T read{};
  if (!file.ReadScrambled(&read, sizeof(T), s.field)) return false;
  value = read;
  return true;
}

}  // namespace

bool Read(TFile& file, uint32_t& value, TFieldScramble s) { return ReadNumber(file, value, s); }
bool Read(TFile& file, int32_t& value, TFieldScramble s) { return ReadNumber(file, value, s); }
bool Read(TFile& file, float& value, TFieldScramble s) { return ReadNumber(file, value, s); }
bool Read(TFile& file, uint8_t& value, TFieldScramble s) { return ReadNumber(file, value, s); }

// The length is a 4-byte field at rotations 0-3 whatever the field offset; a length past the end
// fails unread.
bool Read(TFile& file, std::string& value, TFieldScramble s) {
  return TTableHeader::ReadScrambledString(file, value, s.text);
}

}  // namespace record_fields
