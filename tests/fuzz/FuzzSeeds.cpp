// Writes the fuzz targets' seeds into OUT/<target>/: the sample game's own files of each format,
// and small files of the data kit's writers where the sample's are large (texture and sound packs)
// or where the sample game has none (saves).
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "tools/datakit/OggWriter.h"
#include "tools/datakit/PseWriter.h"
#include "tools/datakit/PtxWriter.h"
#include "tools/datakit/SaveGameWriter.h"
#include "tools/datakit/SampleGame.h"
#include "tools/datakit/SamplePatch.h"
#include "tools/datakit/ScriptPackWriter.h"

namespace fs = std::filesystem;

namespace {

struct Seeds {
  fs::path out;
  fs::path game;

  // Copies sample files (relative to the sample game) into the target's folder.
  void Copy(const std::string& target, const std::vector<std::string>& files) const {
    fs::create_directories(out / target);
    for (const std::string& file : files)
      fs::copy_file(game / file, out / target / fs::path(file).filename(), fs::copy_options::overwrite_existing);
  }
  // Every sample file under the folder whose name ends in the suffix and whose size is at most the
  // limit, named after its path so that equal names in two folders do not meet.
  void CopyAll(const std::string& target, const std::string& folder, const std::string& suffix,
               uintmax_t limit) const {
    fs::create_directories(out / target);
    for (const auto& entry : fs::recursive_directory_iterator(game / folder)) {
      const std::string name = entry.path().filename().string();
      if (!entry.is_regular_file() || entry.file_size() > limit || !name.ends_with(suffix)) continue;
      std::string flat = fs::relative(entry.path(), game / folder).string();
      for (char& c : flat)
        if (c == '/') c = '_';
      fs::copy_file(entry.path(), out / target / flat, fs::copy_options::overwrite_existing);
    }
  }
  std::string Path(const std::string& target, const std::string& name) const {
    fs::create_directories(out / target);
    return (out / target / name).string();
  }
};

datakit::PtxPicture Picture(uint32_t kind, uint32_t width, uint32_t height) {
  datakit::PtxPicture p;
  p.kind = kind;
  p.width = width;
  p.height = height;
  for (int i = 0; i < 256; ++i) p.palette[static_cast<size_t>(i)] = {uint8_t(i), uint8_t(255 - i), uint8_t(i * 7)};
  for (uint32_t i = 0; i < width * height; ++i) p.pixels.push_back(static_cast<uint8_t>(i * 13));
  if (p.HasAlpha())
    for (uint32_t i = 0; i < width * height; ++i) p.alpha.push_back(static_cast<uint8_t>(i * 29));
  return p;
}

void WriteMadeSeeds(const Seeds& s) {
  datakit::PtxWriter().Add("a", Picture(0, 8, 8)).Add("b", Picture(1, 4, 16)).Save(s.Path("texture_pack", "kinds01.ptx"));
  datakit::PtxWriter().Add("a", Picture(2, 16, 2)).Add("b", Picture(3, 3, 5)).Save(s.Path("texture_pack", "kinds23.ptx"));

  using datakit::WaveFormat;
  datakit::PseWriter()
      .Entry("a", WaveFormat::Pcm(2, 44100, 16), datakit::ToneData(WaveFormat::Pcm(2, 44100, 16), 440, 600))
      .Entry("b", WaveFormat::Pcm(1, 22050, 8), datakit::ToneData(WaveFormat::Pcm(1, 22050, 8), 880, 300))
      .Save(s.Path("sound_pack", "two.pse"));
  datakit::PseWriter()
      .Entry("a", WaveFormat::Pcm(1, 11025, 16), datakit::SilenceData(WaveFormat::Pcm(1, 11025, 16), 100))
      .Save(s.Path("sound_pack", "silence.pse"));

  datakit::OggWriter(1, 22050).Tone(440, 2000).Save(s.Path("ogg", "mono.ogg"));
  datakit::OggWriter(2, 44100).Silence(500).Tone(660, 1500).Save(s.Path("ogg", "stereo.ogg"));

  datakit::SaveGame save;
  save.gold = 1234;
  save.bag = {{2, 3}, {1005, 1}};
  save.ring[1] = {2, 3};
  datakit::WriteSave(s.Path("save", "new.dat"), save, 0);
  save.savePointId = 8;
  save.party[0].learned = {2000, 2001};
  datakit::WriteSave(s.Path("save", "field.dat"), save, 1);

  datakit::ScriptPackWriter()
      .Script("Loop", "$i = 0\nWHILE $i < 5\n$i = $i + 1\nEND\nCALL @@Wait 2\nCALL @@Random 10\n")
      .Save(s.Path("script_pack", "loop.pbsc"));
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: %s OUT\n", argv[0]);
    return 2;
  }
  Seeds s{fs::path(argv[1]), fs::path(argv[1]) / "sample-game"};
  fs::remove_all(s.out);
  datakit::WriteSampleGame(s.game.string() + "/");
  datakit::WriteSamplePatch((s.out / "sample-patch").string());

  const std::string t = "data/tbl03/";
  s.Copy("tables", {t + "se.tbl", t + "voice.tbl", t + "bgm.tbl", t + "ex.tbl", t + "subset/menu_se.tbl"});
  s.Copy("record_tables", {t + "wepon.tbl", t + "accessory.tbl", t + "itemmean.tbl", t + "item.tbl", t + "skill.tbl",
                           t + "svp.tbl", t + "hrdef.tbl"});
  s.Copy("enemy_table", {t + "enemy.tbl"});
  s.CopyAll("frame", "data/frm03", ".frm", 4096);
  s.CopyAll("mesh", "data/msh03/effect", ".msh", 900);
  s.Copy("mesh", {"data/msh03/char03/slime.tob", "data/msh03/char03/villager00.tob", "data/msh03/char03/hero01.tob",
                  "data/msh03/effect/sword01.msh", "data/msh03/sky/sky00.msh"});
  s.Copy("texture_pack", {"data/ptx03/face.ptx", "data/ptx03/hero.ptx"});
  s.Copy("ogg", {"data/bgm03/jingle.ogg"});
  s.Copy("map_data", {"data/scr03/03.pbms"});
  s.Copy("hit_table", {"data/chrdata03/basic.bht"});
  s.Copy("pattern", {"data/chrdata03/hero.pat", "data/chrdata03/slime.pat"});
  s.Copy("weapon_state", {"data/chrdata03/hero01.wpm", "data/chrdata03/slime.wpm"});
  s.Copy("script_pack", {"data/scr03/03.pbsc"});
  s.Copy("setting_ini", {"setting.ini"});
  s.Copy("input_ini", {"input.ini"});
  fs::create_directories(s.out / "update_ini");
  fs::copy_file(s.out / "sample-patch/update.ini", s.out / "update_ini/update.ini");
  WriteMadeSeeds(s);

  fs::remove_all(s.game);
  fs::remove_all(s.out / "sample-patch");
  std::printf("seeds written to %s\n", argv[1]);
  return 0;
}
