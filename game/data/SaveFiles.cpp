#include "game/data/SaveFiles.h"

#include <algorithm>
#include <cstdarg>
#include <cstdio>
#include <vector>

#include "common/TFile.h"
#include "common/TFontObject.h"
#include "common/TText8.h"
#include "common/my_error.h"
#include "common/scramble.h"
#include "game/data/GameGlobals.h"
#include "game/data/TGameData.h"
#include "game/data/THrdefTable.h"
#include "game/data/TSaveBuffer.h"
#include "game/data/TSvpTable.h"
#include "platform/core/Clock.h"
#include "platform/core/FileSystem.h"

using namespace save_code;

namespace {

// The save-point ids of chapters 0-6; chapter 0 holds only the id -1.
struct IdRange {
  uint32_t first, last;
};
constexpr IdRange kChapterRanges[7] = {{0xFFFFFFFFu, 0xFFFFFFFFu}, {0, 2}, {3, 6}, {7, 10},
                                       {11, 20},                   {21, 30}, {31, 40}};

// What a carried-over save receives, by this program's chapter.
struct ChapterBonus {
  bool raise;
  uint32_t item;
  uint32_t count;
};
constexpr ChapterBonus kChapterBonus[7] = {{false, 0, 0}, {false, 0, 0}, {true, 1, 5}, {true, 2, 5},
                                           {true, 3, 5},  {true, 3, 10}, {true, 3, 10}};

const char* const kErrorTexts[9] = {
    // エラーは発生しませんでした。
    "\x83\x47\x83\x89\x81\x5b\x82\xcd\x94\xad\x90\xb6\x82\xb5\x82\xdc\x82\xb9\x82\xf1\x82\xc5\x82\xb5\x82\xbd\x81\x42",
    // ファイルオープンに失敗しました。
    "\x83\x74\x83\x40\x83\x43\x83\x8b\x83\x49\x81\x5b\x83\x76\x83\x93\x82\xc9\x8e\xb8\x94\x73\x82\xb5\x82\xdc\x82\xb5"
    "\x82\xbd\x81\x42",
    // ファイル作成に失敗しました。
    "\x83\x74\x83\x40\x83\x43\x83\x8b\x8d\xec\x90\xac\x82\xc9\x8e\xb8\x94\x73\x82\xb5\x82\xdc\x82\xb5\x82\xbd\x81\x42",
    // ファイルの読み取りに失敗しました。
    "\x83\x74\x83\x40\x83\x43\x83\x8b\x82\xcc\x93\xc7\x82\xdd\x8e\xe6\x82\xe8\x82\xc9\x8e\xb8\x94\x73\x82\xb5\x82\xdc"
    "\x82\xb5\x82\xbd\x81\x42",
    // ファイルの書き込みに失敗しました。
    "\x83\x74\x83\x40\x83\x43\x83\x8b\x82\xcc\x8f\x91\x82\xab\x8d\x9e\x82\xdd\x82\xc9\x8e\xb8\x94\x73\x82\xb5\x82\xdc"
    "\x82\xb5\x82\xbd\x81\x42",
    // CRC値が不正です。
    "\x43\x52\x43\x92\x6c\x82\xaa\x95\x73\x90\xb3\x82\xc5\x82\xb7\x81\x42",
    // ファイルサイズが不正です。
    "\x83\x74\x83\x40\x83\x43\x83\x8b\x83\x54\x83\x43\x83\x59\x82\xaa\x95\x73\x90\xb3\x82\xc5\x82\xb7\x81\x42",
    // 引継ぎに利用可能なセーブデータではありません。
    "\x88\xf8\x8c\x70\x82\xac\x82\xc9\x97\x98\x97\x70\x89\xc2\x94\x5c\x82\xc8\x83\x5a\x81\x5b\x83\x75\x83\x66\x81\x5b"
    "\x83\x5e\x82\xc5\x82\xcd\x82\xa0\x82\xe8\x82\xdc\x82\xb9\x82\xf1\x81\x42",
    // このバージョンのセーブデータではありません。
    "\x82\xb1\x82\xcc\x83\x6f\x81\x5b\x83\x57\x83\x87\x83\x93\x82\xcc\x83\x5a\x81\x5b\x83\x75\x83\x66\x81\x5b\x83\x5e"
    "\x82\xc5\x82\xcd\x82\xa0\x82\xe8\x82\xdc\x82\xb9\x82\xf1\x81\x42",
};

std::string Format(const char* format, ...) {
  va_list args, again;
  va_start(args, format);
  va_copy(again, args);
  int n = std::vsnprintf(nullptr, 0, format, args);
  va_end(args);
  std::string text(n > 0 ? static_cast<size_t>(n) : 0, '\0');
  if (n > 0) std::vsnprintf(text.data(), text.size() + 1, format, again);
  va_end(again);
  return text;
}

bool IsFolder(const std::string& path) {
  uint32_t attributes = plat::GetFileAttributes(path);
  return attributes != plat::INVALID_FILE_ATTRIBUTES && (attributes & plat::FILE_ATTRIBUTE_DIRECTORY);
}

uint32_t PlayTimeOfRun(uint32_t before, uint32_t runStart) {
  uint64_t total = uint64_t{before} + static_cast<uint32_t>(plat::timeGetTime() - runStart);
  return static_cast<uint32_t>(std::min<uint64_t>(total, kMaxSavedPlayTime));
}

std::vector<uint8_t> BuildPayload(const TSavedProgress& p, uint32_t playTime) {
  TSaveWriter out;
  out.U32(playTime)
      .U32(static_cast<uint32_t>(p.musicLevel))
      .U32(static_cast<uint32_t>(p.effectLevel))
      .U32(static_cast<uint32_t>(p.voiceLevel))
      .U8(p.miniMapMode)
      .U32(p.currentMember)
      .U32(p.savePointId + kSavePointDisguise)
      .U32(p.gold);
  for (const TCharBlock& block : p.party) block.Serialize(out);
  out.Bytes(p.flags.data(), p.flags.size()).Bytes(p.pickups.data(), p.pickups.size());
  for (const TItemEntry& slot : p.ring) out.U32(slot.id).U8(slot.count);
  out.U32(static_cast<uint32_t>(p.bag.size()));
  for (const auto& entry : p.bag) out.U32(entry->id).U8(entry->count);
  return std::move(out.Data());
}

// Fields 1-8; `disguised` is the save point id as stored.
bool ParseHead(TSaveReader& in, TSavedProgress& p, uint32_t& disguised) {
  if (!(in.U32(p.playTimeBefore) && in.I32(p.musicLevel) && in.I32(p.effectLevel) && in.I32(p.voiceLevel) &&
        in.U8(p.miniMapMode) && in.U32(p.currentMember) && in.U32(disguised) && in.U32(p.gold)))
    return false;
  p.savePointId = disguised - kSavePointDisguise;
  return true;
}

// The party, flags, ring and bag. A payload that ends before its counts do, or names a current
// member outside the party, is refused rather than read past or indexed past.
bool ParseBody(TSaveReader& in, TSavedProgress& p) {
  for (TCharBlock& block : p.party)
    if (!block.Deserialize(in)) return false;
  if (!in.Bytes(p.flags.data(), p.flags.size()) || !in.Bytes(p.pickups.data(), p.pickups.size())) return false;
  for (TItemEntry& slot : p.ring)
    if (!in.U32(slot.id) || !in.U8(slot.count)) return false;
  uint32_t count = 0;
  if (!in.U32(count) || count > in.Left() / 5) return false;
  p.bag.clear();
  for (uint32_t i = 0; i < count; ++i) {
    TItemEntry entry;
    in.U32(entry.id);
    in.U8(entry.count);
    p.bag.push_back(MakeCounted<TItemEntry>(entry));
  }
  return p.currentMember < static_cast<uint32_t>(TGameData::kMembers);
}

// Opens, checks and descrambles a save file into its payload; a result code.
int32_t ReadSaveFile(const std::string& path, std::vector<uint8_t>& payload) {
  TFile file;
  if (!file.Open(true, plat::GENERIC_READ, path)) return kCannotOpen;
  const uint32_t size = file.GetSize();
  if (size == plat::INVALID_FILE_SIZE || size < kSaveMinFileSize || size > kSavePayloadLimit + 5) return kBadSize;
  payload.assign(size - 5, 0);
  uint8_t flag = 0;
  uint32_t crc = 0;
  if (!file.Read(&flag, 1)) return kReadFailed;
  // The placement flag is outside the checked bytes; a value the writer never makes cannot say
  // where the CRC is.
  if (flag > 1) return kBadCrc;
  const uint32_t length = static_cast<uint32_t>(payload.size());
  bool ok = flag == 1 ? file.Read(&crc, 4) && file.Read(payload.data(), length)
                      : file.Read(payload.data(), length) && file.Read(&crc, 4);
  if (!ok) return kReadFailed;
  if (Crc32(payload.data(), static_cast<int32_t>(length)) != crc) return kBadCrc;
  scramble::UnscrambleBytes(payload.data(), payload.size(), 0);
  return kDone;
}

// Writes flag, CRC and payload in the flag's order to a new file; a result code.
int32_t WriteSaveFile(const std::string& path, const std::vector<uint8_t>& payload, uint32_t crc) {
  TFile file;
  if (!file.Create(false, plat::GENERIC_WRITE, path)) return kCannotCreate;
  const uint8_t flag = static_cast<uint8_t>(GameDataServices().genRand() & 1);
  const uint32_t length = static_cast<uint32_t>(payload.size());
  bool ok = file.Write(&flag, 1) && (flag == 1 ? file.Write(&crc, 4) && file.Write(payload.data(), length)
                                               : file.Write(payload.data(), length) && file.Write(&crc, 4));
  try {
    file.Close();
  } catch (const my_error&) {
    ok = false;
  }
  return ok ? kDone : kWriteFailed;
}

}  // namespace

std::string ChapterSaveFolder(int32_t chapter) {
  std::string chosen;
  if (chapter == -1)
    chosen = GetSaveFolder();
  else if (chapter >= 1 && chapter <= 6)
    chosen = Format("../Duskwheel%02d/save/", chapter);
  if (chosen.empty() || chosen.back() != '/' || !IsFolder(chosen.substr(0, chosen.size() - 1))) return GetSaveFolder();
  return chosen;
}

std::string SaveFileName(int32_t slot, int32_t chapter) {
  return Format("%ssav_%02d.dat", ChapterSaveFolder(chapter).c_str(), slot);
}

bool IsSavePointInChapter(uint32_t id, int32_t chapter) {
  if (chapter < 0 || chapter > 6) return false;
  return id >= kChapterRanges[chapter].first && id <= kChapterRanges[chapter].last;
}

int32_t ChapterOfSavePoint(uint32_t id) {
  for (int32_t chapter = 1; chapter <= 6; ++chapter)
    if (IsSavePointInChapter(id, chapter)) return chapter;
  return -1;
}

bool CheckChapterSavePoint(int32_t chapter, uint32_t id) {
  return chapter >= 1 && chapter <= 6 && IsSavePointInChapter(id, chapter);
}

std::string SaveErrorText(int32_t code) { return code >= 0 && code <= 8 ? kErrorTexts[code] : ""; }

int32_t GetSaveSlotChapter(int32_t slot) {
  std::vector<uint8_t> payload;
  if (ReadSaveFile(SaveFileName(slot, -1), payload) != kDone) return -1;
  TSaveReader in(payload.data(), payload.size());
  TSavedProgress head;
  uint32_t disguised = 0;
  if (!ParseHead(in, head, disguised)) return -1;
  return ChapterOfSavePoint(head.savePointId);
}

int32_t SaveSlotSummaryLine(int32_t slot, bool saving, int32_t chapter, std::string& line) {
  auto finish = [&](int32_t code, const std::string& text) {
    line = text;
    return code;
  };

  std::vector<uint8_t> payload;
  int32_t code = ReadSaveFile(SaveFileName(slot, chapter), payload);
  if (code == kCannotOpen) return finish(code, "Empty");
  if (code != kDone) return finish(code, SaveErrorText(code));

  TSavedProgress p;
  uint32_t disguised = 0;
  TSaveReader in(payload.data(), payload.size());
  if (!ParseHead(in, p, disguised) || !ParseBody(in, p)) return finish(kReadFailed, SaveErrorText(kReadFailed));
  if (chapter == -1) {
    if (!IsSavePointInChapter(p.savePointId, GetChapterNo()) && !saving)
      return finish(kOtherChapter, SaveErrorText(kOtherChapter));
  } else if (!CheckChapterSavePoint(chapter, p.savePointId)) {
    return finish(kNotCarriable, SaveErrorText(kNotCarriable));
  }

  const uint32_t time = std::min(p.playTimeBefore, kMaxSavedPlayTime);
  std::string summary = Format("%6s Lv:%2u %-22s Time [%02u:%02u:%02u]",
                               THrdefTable::Find(p.currentMember)->name.c_str(), p.party[p.currentMember].level + 1,
                               TSvpTable::Find(p.savePointId)->placeName.c_str(), time / 3600000, time / 60000 % 60,
                               time / 1000 % 60);
  if (disguised >= kSavePointDisguise) summary += " T";
  return finish(kDone, summary);
}

int32_t SaveSlotSummary(int32_t slot, TText8& text, bool saving, int32_t chapter) {
  // ＭＳ ゴシック, variable pitch
  const TFontObject font(0, 16, "\x82\x6c\x82\x72\x20\x83\x53\x83\x56\x83\x62\x83\x4e", 400, 2, 0, 0, 0);
  text.Clear(false);
  text.DrawString(0, 0, Format("%2d\x81\x46", slot), font, false);  // "%2d："
  std::string line;
  const int32_t code = SaveSlotSummaryLine(slot, saving, chapter, line);
  text.DrawString(32, 0, line, font, true);
  return code;
}

int32_t TGameData::Save(int32_t slot) {
  std::vector<uint8_t> payload = BuildPayload(saved, PlayTimeOfRun(saved.playTimeBefore, run.runStart));
  if (payload.size() > kSavePayloadLimit) return kWriteFailed;
  scramble::ScrambleBytes(payload.data(), payload.size(), 0);
  const uint32_t crc = Crc32(payload.data(), static_cast<int32_t>(payload.size()));

  // The previous save of the slot stays until the new one is complete.
  const std::string path = SaveFileName(slot, -1);
  const std::string fresh = path + ".new";
  int32_t code = WriteSaveFile(fresh, payload, crc);
  if (code == kDone && !plat::MoveFileReplace(fresh, path)) code = kWriteFailed;
  if (code == kWriteFailed) plat::DeleteFile(fresh);
  return code;
}

int32_t TGameData::Load(int32_t slot, int32_t chapter) {
  std::vector<uint8_t> payload;
  if (int32_t code = ReadSaveFile(SaveFileName(slot, chapter), payload); code != kDone) return code;

  // Everything is read and checked aside; the record changes only when the whole save is good.
  TSavedProgress loaded;
  uint32_t disguised = 0;
  TSaveReader in(payload.data(), payload.size());
  if (!ParseHead(in, loaded, disguised)) return kReadFailed;
  if (chapter == -1 && !IsSavePointInChapter(loaded.savePointId, GetChapterNo())) return kOtherChapter;
  if (!ParseBody(in, loaded)) return kReadFailed;
  saved = std::move(loaded);

  ApplyVolumes();
  if (chapter != -1) {
    run.ringSelection = 0;
    ApplyChapterBonus(GetChapterNo());
  }
  for (TTimedModifier& m : run.timedModifiers) m.Clear();
  for (TCharBlock& block : saved.party)
    if (block.hp <= 0) block.Refill();
  RelearnFromPoints();
  UpdateMasteryFlags();
  return kDone;
}

void TGameData::ApplyChapterBonus(int32_t chapter) {
  if (chapter < 1 || chapter > 6) return;
  const ChapterBonus& bonus = kChapterBonus[chapter];
  if (bonus.raise) RaiseToDefinitions();
  if (bonus.count) AddItem(bonus.item, bonus.count);
}

void TGameData::RaiseToDefinitions() {
  for (uint32_t m = 0; m < kMembers; ++m) {
    const THrdefRecord& d = *THrdefTable::Find(m);
    TCharBlock& block = saved.party[m];
    if (block.level < d.level) {
      block.memberId = static_cast<int32_t>(d.id);
      block.level = d.level;
      block.experience = d.experience;
      block.maxHp = static_cast<int32_t>(d.maxHp);
      block.maxMp = static_cast<int32_t>(d.maxMp);
      block.ringGaugeMax = static_cast<int32_t>(d.ringGaugeMax);
      block.params = d.params;
    }
    block.hp = static_cast<int32_t>(d.maxHp);
    block.mp = static_cast<int32_t>(d.maxMp);
    block.ringGaugeUsed = 0;
  }
}
