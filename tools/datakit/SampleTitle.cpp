#include "tools/datakit/SampleTitle.h"

#include <cmath>

#include "tools/datakit/OggWriter.h"
#include "tools/datakit/PictureKit.h"

namespace datakit {

namespace {

constexpr Rgb kWhite{255, 255, 255};
constexpr uint32_t kMenuWordPixels = 24;

// The game's name over the title picture's upper half.
PtxPicture TitlePicture() {
  PtxPicture title = GradientPicture(0, 640, 480, kSampleTitleTop, kSampleTitleFoot, false);
  DrawWords(title, "Duskwheel 3章", 56, {40, 110, 560, 64, true}, {240, 230, 200});
  DrawWords(title, "～ Harvest ～", 32, {40, 180, 560, 40, true}, {240, 230, 200});
  return title;
}

// The menu's bands with their entries' words, set from the left: the middle and the left end of
// each band keep their colour.
PtxPicture MenuPicture() {
  PtxPicture menu = Blocks(256, 256,
                           {{0, 0, 256, 64, kSampleMenuBands[0]}, {0, 64, 256, 64, kSampleMenuBands[1]},
                            {0, 128, 256, 64, kSampleMenuBands[2]}, {0, 192, 256, 64, kSampleMenuBands[3]}});
  const char* const entries[] = {"はじめる", "ロード", "おわる"};
  for (uint32_t n = 0; n < 3; ++n) DrawWords(menu, entries[n], kMenuWordPixels, {24, 64 * n + 8, 96, 36}, kWhite);
  return menu;
}

PtxPicture LogoPicture() {
  PtxPicture logo = GradientPicture(1, 256, 256, {240, 240, 250}, {90, 110, 200}, false);
  DrawWords(logo, "Harrowick", 44, {8, 96, 240, 56, true}, {30, 40, 110});
  return logo;
}

PtxPicture GameOverPicture() {
  PtxPicture over = Blocks(512, 128, {{0, 32, 512, 64, {160, 20, 20}}});
  DrawWords(over, "ゲームオーバー", 44, {16, 32, 480, 64, true}, {240, 220, 200});
  return over;
}

// A window of one colour with a question across its middle.
PtxPicture Question(uint32_t width, uint32_t height, Rgb colour, const char* words) {
  PtxPicture question = SolidPicture(1, width, height, colour);
  DrawWords(question, words, 24, {32, height / 2 - 20, width - 64, 40, true}, kWhite);
  return question;
}

}  // namespace

PtxWriter SampleTitlePack() {
  PtxWriter pack;
  pack.Add("title", TitlePicture());
  pack.Add("menu", MenuPicture());
  pack.Add("hrwk_logo", LogoPicture());
  pack.Add("gameover", GameOverPicture());
  return pack;
}

void AddSampleSaveScreenSprites(PtxWriter& sprites) {
  sprites.Add("window11", GradientPicture(1, 512, 60, {50, 60, 120}, {20, 20, 50}, false));
  sprites.Add("window25", Question(512, 128, {90, 60, 30}, "このデータに上書きしますか？"));
  sprites.Add("window26", Question(512, 192, {110, 30, 60}, "ほかの章のデータです。上書きしますか？"));
}

// The game-over tune: three falling notes.
void AddSampleTitleSound(const std::string& dir, TableWriter& music) {
  const std::string lists = dir + "data/tbl03/subset/";
  TableWriter::IdList({600, 603, 605, 606}).Save(lists + "title_se.tbl");
  TableWriter::IdList({kSampleTitleMusic}).Save(lists + "title_bgm.tbl");
  TableWriter::IdList({kSampleGameOverMusic}).Save(lists + "die_bgm.tbl");
  OggWriter tune(2, 44100);
  for (int semitones : {-5, -8, -12}) tune.Tone(440.0 * std::pow(2.0, semitones / 12.0), 13230 - 2205, 0.3).Silence(2205);
  tune.Save(dir + "data/bgm03/gameover.ogg");
  music.NameRow(kSampleGameOverMusic, "gameover.ogg");
}

}  // namespace datakit
