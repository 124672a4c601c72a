#include "tests/support/SaveFileReader.h"

#include <fstream>
#include <iterator>

namespace testkit {

namespace {

constexpr uint32_t kSavePointDisguise = 0x03B4E1A7u;
constexpr size_t kFlags = 2048, kPickups = 1024, kRing = 8, kMembers = 8;

uint32_t Crc32(const std::vector<uint8_t>& bytes, size_t from, size_t count) {
  uint32_t crc = 0xFFFFFFFFu;
  for (size_t i = from; i < from + count; ++i) {
    crc ^= bytes[i];
    for (int k = 0; k < 8; ++k) crc = (crc & 1) ? 0xEDB88320u ^ (crc >> 1) : crc >> 1;
  }
  return ~crc;
}

// Each stored byte is the complement of the plain byte turned left by its position (mod 8).
uint8_t Unscramble(uint8_t stored, size_t at) {
  const unsigned n = at & 7;
  const auto v = static_cast<uint8_t>(~stored);
  return static_cast<uint8_t>((v >> n) | (v << ((8 - n) & 7)));
}

class Cursor {
 public:
  explicit Cursor(const std::vector<uint8_t>& b) : bytes(b) {}
  bool ok() const { return good; }
  uint32_t U32() {
    uint32_t v = 0;
    if (!Has(4)) return 0;
    for (int i = 0; i < 4; ++i) v |= uint32_t(bytes[at + i]) << (8 * i);
    at += 4;
    return v;
  }
  int32_t I32() { return static_cast<int32_t>(U32()); }
  uint8_t U8() { return Has(1) ? bytes[at++] : 0; }
  void Skip(size_t n) {
    if (Has(n)) at += n;
  }
  std::vector<uint8_t> Take(size_t n) {
    if (!Has(n)) return {};
    std::vector<uint8_t> out(bytes.begin() + at, bytes.begin() + at + n);
    at += n;
    return out;
  }
  size_t Left() const { return bytes.size() - at; }

 private:
  bool Has(size_t n) {
    good = good && n <= bytes.size() - at;
    return good;
  }
  const std::vector<uint8_t>& bytes;
  size_t at = 0;
  bool good = true;
};

SavedMember ReadMember(Cursor& in) {
  SavedMember m;
  m.memberId = in.I32();
  m.level = in.U32();
  m.experience = in.U32();
  m.maxHp = in.I32();
  in.Skip(4 * 2);  // max MP, ring gauge
  m.hp = in.I32();
  in.Skip(4 * 2 + 4 * 4 + 4 * 6);  // MP, gauge used, parameters, elements
  m.weaponId = in.U32();
  m.accessoryA = in.U32();
  m.accessoryB = in.U32();
  in.Skip(4 * 5 + 2 * 200 * 2 + 4 * 6 + 4 * 4);  // skill slots, points, timers, combos
  const uint32_t learned = in.U32();
  if (learned > in.Left() / 4) in.Skip(in.Left() + 1);  // a count past the end fails the read
  in.Skip(size_t(learned) * 4);
  return m;
}

std::vector<std::pair<uint32_t, uint8_t>> ReadEntries(Cursor& in, size_t count) {
  std::vector<std::pair<uint32_t, uint8_t>> entries;
  for (size_t i = 0; i < count && in.ok(); ++i) {
    const uint32_t id = in.U32();
    entries.emplace_back(id, in.U8());
  }
  return entries;
}

}  // namespace

std::optional<SavedGame> ReadSaveFile(const std::string& path, std::string& why) {
  std::ifstream file(path, std::ios::binary);
  if (!file) {
    why = "no file " + path;
    return std::nullopt;
  }
  const std::vector<uint8_t> bytes((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
  if (bytes.size() < 5) {
    why = "too short";
    return std::nullopt;
  }
  const bool crcFirst = bytes[0] == 1;
  const size_t payloadAt = crcFirst ? 5 : 1, payloadSize = bytes.size() - 5;
  const size_t crcAt = crcFirst ? 1 : bytes.size() - 4;
  uint32_t stored = 0;
  for (int i = 0; i < 4; ++i) stored |= uint32_t(bytes[crcAt + i]) << (8 * i);
  if (Crc32(bytes, payloadAt, payloadSize) != stored) {
    why = "the CRC does not match";
    return std::nullopt;
  }
  std::vector<uint8_t> plain(payloadSize);
  for (size_t i = 0; i < payloadSize; ++i) plain[i] = Unscramble(bytes[payloadAt + i], i);

  Cursor in(plain);
  SavedGame save;
  save.playTime = in.U32();
  in.Skip(4 * 3 + 1);  // the three volumes, the minimap mode
  save.currentMember = in.U32();
  save.savePointId = in.U32() - kSavePointDisguise;
  save.gold = in.U32();
  for (size_t m = 0; m < kMembers; ++m) save.party[m] = ReadMember(in);
  save.flags = in.Take(kFlags);
  save.pickups = in.Take(kPickups);
  save.ring = ReadEntries(in, kRing);
  const uint32_t bagCount = in.U32();
  if (bagCount > in.Left() / 5) {
    why = "the bag's count runs past the end";
    return std::nullopt;
  }
  save.bag = ReadEntries(in, bagCount);
  if (!in.ok()) {
    why = "the payload ends early";
    return std::nullopt;
  }
  return save;
}

}  // namespace testkit
