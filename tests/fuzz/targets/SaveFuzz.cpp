// Saves ("save/sav_NN.dat"), their CRC made right so that the reader gets past it: the slot's
// summary drawn as the save and load screens draw it, the save loaded through the scene change
// that opens the field at its save point, a while of play, and the game saved again, which must
// load back. The same bytes as an earlier chapter's save are carried over and saved again too.
#include "game/data/SaveFiles.h"
#include "game/data/TGameData.h"
#include "game/field/TFieldScene.h"
#include "game/script/TChange.h"
#include "tests/fuzz/FuzzGame.h"
#include "tests/fuzz/FuzzHarness.h"
#include "tests/fuzz/FuzzSaves.h"

namespace {

constexpr int kPlayFrames = 60;

}  // namespace

DW_FUZZ_TARGET(save) {
  fuzz::Game& game = fuzz::Game::Get();
  const std::vector<uint8_t> bytes = fuzz::WithSaveCrc(data, size);
  fuzz::WriteFile("save/sav_01.dat", bytes);
  fuzz::WriteFile("../Duskwheel02/save/sav_01.dat", bytes);
  fuzz::Guard([&] {
    game.Reset();
    fuzz::DrawSaveSummaries(-1);
    fuzz::DrawSaveSummaries(2);
    GetSaveSlotChapter(1);
    game.App().SetScene(TChange::CreateLoad(game.App(), 1, TChange::kNoMusic));
    game.Tick(TChange::kFadeFrames + TFieldScene::kOpeningFadeFrames + kPlayFrames);
    fuzz::SaveAndLoadBack(*TGameData::Instance());
    game.Reset();
    if (TGameData::Instance()->Load(1, 2) == save_code::kDone) fuzz::SaveAndLoadBack(*TGameData::Instance());
  });
  game.Reset();
}
