// The hit table: every attack's hit volume is made from a hit record of "basic.bht", kept in one
// program-wide table keyed by record id and reloaded with every stage.
#pragma once
#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

class TFile;

// 76 bytes, in the file and in memory. The defaults are those of a record the file lacks.
struct THitRecord {
  uint32_t id = 0;
  uint32_t volumeKind = 0;  // 0 timed single hit per target, 1 counted multi-hit, 2 timed multi-hit
  uint32_t cancelMask = 0;  // a cancel request sharing a bit with it ends the volume
  uint32_t attachPoint = 0;  // 0 the attacker's body frame, 1 its first weapon frame, 2 its second
  uint32_t lifetime = 1;     // frames (kinds 0 and 2)
  std::array<float, 3> position{};  // in the attach-point frame
  int32_t rehitInterval = 10;       // frames; -1 each target once
  int32_t hitFlags = 1;
  uint32_t paramB = 0;
  uint32_t paramC = 0;
  uint32_t hitCount = 1;  // kinds 1 and 2
  float paramD = 1.0f;
  float radius = 0.5f;
  float paramE = 1.0f;
  float paramF = 120.0f;
  float paramG = 0.05f;
  int32_t landedValue = -1;  // handed to the attacker when its hit lands
};
static_assert(sizeof(THitRecord) == 76 && offsetof(THitRecord, rehitInterval) == 32 &&
                  offsetof(THitRecord, landedValue) == 72,
              "hit records are read in place");

// The reader of one "basic.bht"; it exists only while the table loads.
class THitTable {
 public:
  virtual ~THitTable() = default;

  // Opens the file read-only. False when it is missing or a read comes up short; what was read
  // before stays. Counts and name lengths are checked against the bytes left before any use.
  virtual bool Read(const std::string& path);
  virtual void Clear();
  // nullptr past the records read.
  virtual const THitRecord* GetRecord(uint32_t index) const;
  virtual std::vector<THitRecord> GetRecords() const { return records; }

  // The names and ids of the file: read and not used by the game.
  const std::vector<std::string>& GetNames() const { return names; }
  const std::vector<uint32_t>& GetIds() const { return ids; }

  // Empties the program-wide table and fills it from hit folder + name; a later record of an id
  // replaces an earlier one. A file that is missing or cut short is said on stderr.
  static void Load(const std::string& name);
  // Empties the program-wide table (the battle stage that loaded it goes).
  static void Unload();
  // The record of an id; for an id the table lacks, record 0 (a default one added under id 0 when
  // the file has none). Never fails; records stay put until the next Load or Unload.
  static const THitRecord* Find(uint32_t id);

 private:
  bool ReadNames(TFile& file);
  bool ReadIds(TFile& file);
  bool ReadRecords(TFile& file);
  bool ReadCount(TFile& file, uint32_t& count) const;

  std::string path;
  uint8_t scrambled = 0;
  uint32_t recordCount = 0;
  uint32_t nameCount = 0;
  std::vector<std::string> names;
  std::vector<uint32_t> ids;
  std::vector<THitRecord> records;
};

// The folder of "basic.bht" ("data/chrdata03/" at start-up).
void SetHitFolder(const std::string& folder);
const std::string& GetHitFolder();
