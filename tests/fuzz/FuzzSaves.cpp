#include "tests/fuzz/FuzzSaves.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "common/TFile.h"
#include "common/TText8.h"
#include "game/data/GameGlobals.h"
#include "game/data/SaveFiles.h"
#include "game/data/TGameData.h"

namespace fuzz {

std::vector<uint8_t> WithSaveCrc(const uint8_t* data, size_t size) {
  std::vector<uint8_t> bytes(data, data + size);
  if (bytes.size() < 5 || bytes[0] > 1) return bytes;
  const size_t payload = bytes.size() - 5;
  const bool crcFirst = bytes[0] == 1;
  const uint32_t crc = Crc32(bytes.data() + (crcFirst ? 5 : 1), static_cast<int32_t>(payload));
  std::memcpy(bytes.data() + (crcFirst ? 1 : 1 + payload), &crc, 4);
  return bytes;
}

void DrawSaveSummaries(int32_t chapter) {
  TText8 text("fuzz", 512, 32, 255, 255, 255, plat::D3DPOOL_MANAGED, 0);
  SaveSlotSummary(1, text, false, chapter);
  SaveSlotSummary(1, text, true, chapter);
}

void SaveAndLoadBack(TGameData& data) {
  if (data.Save(3) != save_code::kDone) return;
  const int32_t code = data.Load(3, -1);
  if (code == save_code::kDone ||
      (code == save_code::kOtherChapter && !IsSavePointInChapter(data.GetSavePointId(), GetChapterNo())))
    return;
  std::fprintf(stderr, "a save the game wrote does not load back: code %d\n", code);
  std::abort();
}

}  // namespace fuzz
