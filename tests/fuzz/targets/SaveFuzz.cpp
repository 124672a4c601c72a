// Saves ("save/sav_NN.dat"), their CRC made right so that the reader gets past it: the slot's
// summary drawn as the save and load screens draw it, the save loaded through the scene change
// that opens the field at its save point, a while of play, and the game saved again, which must
// load back. The same bytes as an earlier chapter's save are carried over and saved again too.
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "common/TFile.h"
#include "common/TText8.h"
#include "game/data/GameGlobals.h"
#include "game/data/SaveFiles.h"
#include "game/data/TGameData.h"
#include "game/field/TFieldScene.h"
#include "game/script/TChange.h"
#include "tests/fuzz/FuzzGame.h"
#include "tests/fuzz/FuzzHarness.h"

namespace {

constexpr int kPlayFrames = 60;

// The CRC where the placement flag puts it; a flag the writer never makes stays as it is.
std::vector<uint8_t> WithCrc(const uint8_t* data, size_t size) {
  std::vector<uint8_t> bytes(data, data + size);
  if (bytes.size() < 5 || bytes[0] > 1) return bytes;
  const size_t payload = bytes.size() - 5;
  const bool crcFirst = bytes[0] == 1;
  const uint32_t crc = Crc32(bytes.data() + (crcFirst ? 5 : 1), static_cast<int32_t>(payload));
  std::memcpy(bytes.data() + (crcFirst ? 1 : 1 + payload), &crc, 4);
  return bytes;
}

void Summaries(int32_t chapter) {
  TText8 text("fuzz", 512, 32, 255, 255, 255, plat::D3DPOOL_MANAGED, 0);
  SaveSlotSummary(1, text, false, chapter);
  SaveSlotSummary(1, text, true, chapter);
}

// What the game saves it loads again, unless its save point lies outside this chapter.
void SaveAgain(TGameData& data) {
  if (data.Save(3) != save_code::kDone) return;
  const int32_t code = data.Load(3, -1);
  if (code == save_code::kDone || (code == save_code::kOtherChapter && !IsSavePointInChapter(data.GetSavePointId(), GetChapterNo())))
    return;
  std::fprintf(stderr, "a save the game wrote does not load back: code %d\n", code);
  std::abort();
}

}  // namespace

DW_FUZZ_TARGET(save) {
  fuzz::Game& game = fuzz::Game::Get();
  const std::vector<uint8_t> bytes = WithCrc(data, size);
  fuzz::WriteFile("save/sav_01.dat", bytes);
  fuzz::WriteFile("../Duskwheel02/save/sav_01.dat", bytes);
  fuzz::Guard([&] {
    game.Reset();
    Summaries(-1);
    Summaries(2);
    GetSaveSlotChapter(1);
    game.App().SetScene(TChange::CreateLoad(game.App(), 1, TChange::kNoMusic));
    game.Tick(TChange::kFadeFrames + TFieldScene::kOpeningFadeFrames + kPlayFrames);
    SaveAgain(*TGameData::Instance());
    game.Reset();
    if (TGameData::Instance()->Load(1, 2) == save_code::kDone) SaveAgain(*TGameData::Instance());
  });
  game.Reset();
}
