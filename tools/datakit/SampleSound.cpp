#include "tools/datakit/SampleSound.h"

#include <cmath>

#include "tools/datakit/OggWriter.h"
#include "tools/datakit/PseWriter.h"
#include "tools/datakit/TableWriter.h"

namespace datakit {
namespace {

// Equal-tempered pitch, semitones from A4.
double Pitch(int semitones) { return 440.0 * std::pow(2.0, semitones / 12.0); }

// A pack of short blips, one per id, rising by a whole tone each, and its name list.
void WritePack(const std::string& dir, const std::string& pack, const std::string& table, const char* stem,
               int count, int base, uint32_t frames) {
  WaveFormat format = WaveFormat::Pcm(1, 22050, 16);
  PseWriter writer;
  TableWriter list;
  list.Column("id").Column("name");
  for (int id = 0; id < count; ++id) {
    std::string name = stem + std::to_string(id);
    writer.Entry(name, format, ToneData(format, Pitch(base + 2 * id), frames, 0.4));
    list.NameRow(static_cast<uint32_t>(id), name);
  }
  writer.Save(dir + "data/se03/" + pack);
  list.Save(dir + "data/tbl03/" + table);
}

void Melody(OggWriter& w, std::initializer_list<int> notes, uint32_t noteFrames) {
  for (int n : notes) w.Tone(Pitch(n), noteFrames - 2205, 0.3).Silence(2205);
}

}  // namespace

void WriteSampleSound(const std::string& dir) {
  WritePack(dir, "se.pse", "se.tbl", "se", 8, 12, 3300);
  WritePack(dir, "voice.pse", "voice.tbl", "vc", 4, -5, 8820);

  const std::string music = dir + "data/bgm03/";
  OggWriter intro(2, 44100), title(2, 44100), field(2, 44100), jingle(2, 44100);
  Melody(intro, {-9, -5, -2}, 11025);
  Melody(title, {0, 4, 7, 4, 2, 5, 9, 5}, 11025);
  Melody(field, {-5, -3, 0, -3, -7, -5}, 14700);
  Melody(jingle, {0, 4, 7, 12}, 8820);
  intro.Save(music + "_title.ogg");
  title.Save(music + "title.ogg");
  field.Save(music + "field.ogg");
  jingle.Save(music + "jingle.ogg");

  TableWriter list;
  list.Column("id").Column("name").NameRow(0, "title.ogg").NameRow(1, "field.ogg").NameRow(2, "jingle.ogg");
  list.Save(dir + "data/tbl03/bgm.tbl");
}

}  // namespace datakit
