#include "tools/datakit/SampleTitle.h"

#include <cmath>

#include "tools/datakit/OggWriter.h"
#include "tools/datakit/PictureKit.h"

namespace datakit {

PtxWriter SampleTitlePack() {
  PtxWriter pack;
  pack.Add("title", GradientPicture(0, 640, 480, kSampleTitleTop, kSampleTitleFoot, false));
  pack.Add("menu", Blocks(256, 256,
                          {{0, 0, 256, 64, kSampleMenuBands[0]}, {0, 64, 256, 64, kSampleMenuBands[1]},
                           {0, 128, 256, 64, kSampleMenuBands[2]}, {0, 192, 256, 64, kSampleMenuBands[3]}}));
  pack.Add("hrwk_logo", GradientPicture(1, 256, 256, {240, 240, 250}, {90, 110, 200}, false));
  pack.Add("gameover", Blocks(512, 128, {{0, 32, 512, 64, {160, 20, 20}}, {64, 56, 384, 16, {240, 220, 200}}}));
  return pack;
}

void AddSampleSaveScreenSprites(PtxWriter& sprites) {
  sprites.Add("window11", GradientPicture(1, 512, 60, {50, 60, 120}, {20, 20, 50}, false));
  sprites.Add("window25", Blocks(512, 128, {{0, 0, 512, 128, {90, 60, 30}}, {64, 56, 384, 16, {255, 255, 255}}}));
  sprites.Add("window26", Blocks(512, 192, {{0, 0, 512, 192, {110, 30, 60}}, {64, 88, 384, 16, {255, 255, 255}}}));
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
