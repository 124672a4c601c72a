// Saves ("save/sav_NN.dat") through their reader alone, their CRC made right so that the reader
// gets past it: the slot's summary lines as the save and load screens make them, its chapter as the
// title asks for it, the save loaded as the load's scene change loads it, its save point looked up
// as the field opening there would, and the loaded record saved again, which must load back. The
// same bytes as an earlier chapter's save are carried over and saved again too. Nothing is played.
#include <filesystem>
#include <string>
#include <vector>

#include "game/data/SaveFiles.h"
#include "game/data/TGameData.h"
#include "game/data/TSvpTable.h"
#include "tests/fuzz/FuzzGame.h"
#include "tests/fuzz/FuzzHarness.h"
#include "tests/fuzz/FuzzSaves.h"

namespace save_reader_fuzz {

// The earlier chapter's slot 1 is this chapter's slot 1, linked once: one write an input, not two.
void LinkEarlierChaptersSlot() {
  [[maybe_unused]] static const bool linked = [] {
    namespace fs = std::filesystem;
    fuzz::WriteFile("save/sav_01.dat", std::vector<uint8_t>());
    fs::create_directories("../Duskwheel02/save");
    fs::remove("../Duskwheel02/save/sav_01.dat");
    fs::create_symlink(fs::absolute("save/sav_01.dat"), "../Duskwheel02/save/sav_01.dat");
    return true;
  }();
}

// Slot 1's summary lines: on this program's save screen, which makes one for a save of any
// chapter, and on the carry-over screen, where saving or loading makes no difference. Not drawn:
// the glyphs would cost far more than the reader does.
void Summaries() {
  std::string line;
  SaveSlotSummaryLine(1, true, -1, line);
  SaveSlotSummaryLine(1, false, 2, line);
}

// The load of that chapter's save in slot 1 from a new game's record, and what follows a good one.
void LoadSlot(TGameData& record, int32_t chapter) {
  record.NewGame();
  if (record.Load(1, chapter) != save_code::kDone) return;
  TSvpTable::Find(record.GetSavePointId());
  fuzz::SaveAndLoadBack(record);
}

}  // namespace save_reader_fuzz

DW_FUZZ_TARGET(save_reader) {
  fuzz::Game::Get();
  save_reader_fuzz::LinkEarlierChaptersSlot();
  fuzz::WriteFile("save/sav_01.dat", fuzz::WithSaveCrc(data, size));
  fuzz::Guard([&] {
    TGameData& record = *TGameData::Instance();
    save_reader_fuzz::Summaries();
    GetSaveSlotChapter(1);
    save_reader_fuzz::LoadSlot(record, -1);
    save_reader_fuzz::LoadSlot(record, 2);
  });
}
