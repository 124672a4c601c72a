#include "tools/datakit/SampleSound.h"

#include <algorithm>
#include <cmath>
#include <initializer_list>
#include <iterator>
#include <vector>

#include "tools/datakit/OggWriter.h"
#include "tools/datakit/PseWriter.h"
#include "tools/datakit/SampleEnemies.h"
#include "tools/datakit/SampleTitle.h"
#include "tools/datakit/TableWriter.h"

namespace datakit {
namespace {

// Equal-tempered pitch, semitones from A4.
double Pitch(int semitones) { return 440.0 * std::pow(2.0, semitones / 12.0); }

// The interface sounds the windows play: cursor moved, decide, cancel; and the HUD's rings: the
// skill cursor moved (601), the item ring turned (607).
constexpr uint32_t kInterfaceSounds[] = {601, 603, 606};
constexpr uint32_t kRingTurn = 607;
// The field menu's: cursor moved, value toggled, changed, decide, start, cancel, ring turned,
// refused.
constexpr std::initializer_list<uint32_t> kMenuSounds = {600, 601, 602, 603, 605, 606, 607, 608};
// An item picked up (215); money picked up or an item or money taken by a steal (217).
constexpr uint32_t kItemPickUp = 215, kPickUp = 217;
// The story events' sound (the first set of 201 shakes in) and their music, 39 to 46; and the
// ending's, 11.
constexpr uint32_t kEventSound = 110;
constexpr uint32_t kFirstEventMusic = 39;
constexpr std::initializer_list<int> kEventMelodies[] = {
    {-2, 2, 5, 9}, {-9, -5, -2, -5}, {-12, -9, -7, -9}, {-7, -3, 0, -3}, {0, -5, -3, -8},
    {-5, 0, 4, 0}, {-12, -11, -12, -7}, {2, 7, 11, 14}};
constexpr uint32_t kEndingMusic = 11;
// The shops': bought or sold (217), cursor or quantity moved, decide, cancel, refused.
constexpr std::initializer_list<uint32_t> kShopSounds = {kPickUp, 601, 603, 606, 608};
// The inn's rest tune in the music set: four notes of 0.8 s.
constexpr uint32_t kRestTune = 16;

void WriteIdList(const std::string& path, std::initializer_list<uint32_t> ids) { TableWriter::IdList(ids).Save(path); }

// The player character's sounds: an item and money picked up (215, 217), a skill learned and the
// level-up (218), a save point (503), a refusal (608), the end of a time stop and its loop
// (651, 652), the landing (1000); and its voices: the hero's fall (106), a skill (150), the
// heroine's fall (1100) and her voices 1000 further.
constexpr uint32_t kPlayerSounds[] = {kItemPickUp, kPickUp, 218, 503, 608, 651, 652, 1000};
constexpr uint32_t kHeroVoices[] = {106, 150};
constexpr uint32_t kHeroineVoices[] = {1100, 1106, 1150};

// A pack of short blips, one per id, rising by a whole tone each, sixteen to a round, and its
// name list.
void WritePack(const std::string& dir, const std::string& pack, const std::string& table, const char* stem,
               const std::vector<uint32_t>& ids, int base, uint32_t frames) {
  WaveFormat format = WaveFormat::Pcm(1, 22050, 16);
  PseWriter writer;
  TableWriter list;
  list.Column("id").Column("name");
  for (size_t n = 0; n < ids.size(); ++n) {
    std::string name = stem + std::to_string(ids[n]);
    writer.Entry(name, format, ToneData(format, Pitch(base + 2 * static_cast<int>(n % 16)), frames, 0.4));
    list.NameRow(ids[n], name);
  }
  writer.Save(dir + "data/se03/" + pack);
  list.Save(dir + "data/tbl03/" + table);
}

std::vector<uint32_t> Ids(uint32_t count, std::initializer_list<uint32_t> more = {}) {
  std::vector<uint32_t> ids;
  for (uint32_t id = 0; id < count; ++id) ids.push_back(id);
  ids.insert(ids.end(), more.begin(), more.end());
  return ids;
}

void Melody(OggWriter& w, std::initializer_list<int> notes, uint32_t noteFrames) {
  for (int n : notes) w.Tone(Pitch(n), noteFrames - 2205, 0.3).Silence(2205);
}

}  // namespace

void WriteSampleSound(const std::string& dir) {
  std::vector<uint32_t> effects =
      Ids(8, {kEventSound, 218, 503, 600, 601, 602, 603, 605, 606, kRingTurn, 608, 1000, kItemPickUp, kPickUp});
  const std::vector<uint32_t> enemySounds = SampleEnemySounds();
  effects.insert(effects.end(), enemySounds.begin(), enemySounds.end());
  std::sort(effects.begin(), effects.end());
  effects.erase(std::unique(effects.begin(), effects.end()), effects.end());
  WritePack(dir, "se.pse", "se.tbl", "se", effects, 12, 3300);
  WriteSampleEnemySoundLists(dir + "data/tbl03/");
  WritePack(dir, "voice.pse", "voice.tbl", "vc", Ids(4, {106, 150, 1100, 1106, 1150}), -5, 8820);
  const std::vector<uint32_t> sounds(std::begin(kPlayerSounds), std::end(kPlayerSounds));
  for (const char* member : {"hero", "heroine"})
    TableWriter::IdList(sounds).Save(dir + "data/tbl03/char/" + member + "_se.tbl");
  TableWriter::IdList({std::begin(kHeroVoices), std::end(kHeroVoices)}).Save(dir + "data/tbl03/char/hero_vc.tbl");
  TableWriter::IdList({std::begin(kHeroineVoices), std::end(kHeroineVoices)})
      .Save(dir + "data/tbl03/char/heroine_vc.tbl");

  TableWriter speak;
  speak.Column("id");
  for (uint32_t id : kInterfaceSounds) speak.IdRow(id);
  speak.Save(dir + "data/tbl03/subset/speak_se.tbl");
  WriteIdList(dir + "data/tbl03/subset/itemring_se.tbl", {kRingTurn});
  WriteIdList(dir + "data/tbl03/subset/skillgauge_se.tbl", {601});
  WriteIdList(dir + "data/tbl03/subset/menu_se.tbl", kMenuSounds);
  WriteIdList(dir + "data/tbl03/subset/event_se.tbl", {kEventSound});
  WriteIdList(dir + "data/tbl03/subset/shop_se.tbl", kShopSounds);
  WriteIdList(dir + "data/tbl03/subset/inn_bgm.tbl", {kRestTune});

  const std::string music = dir + "data/bgm03/";
  OggWriter intro(2, 44100), title(2, 44100), field(2, 44100), jingle(2, 44100), rest(2, 44100);
  Melody(intro, {-9, -5, -2}, 11025);
  Melody(rest, {7, 4, 0, -5}, 35280);
  Melody(title, {0, 4, 7, 4, 2, 5, 9, 5}, 11025);
  Melody(field, {-5, -3, 0, -3, -7, -5}, 14700);
  Melody(jingle, {0, 4, 7, 12}, 8820);
  intro.Save(music + "_title.ogg");
  title.Save(music + "title.ogg");
  field.Save(music + "field.ogg");
  jingle.Save(music + "jingle.ogg");
  rest.Save(music + "inn.ogg");

  TableWriter list, eventList;
  list.Column("id").Column("name").NameRow(0, "field.ogg").NameRow(kSampleTitleMusic, "title.ogg");
  list.NameRow(2, "jingle.ogg");
  list.NameRow(kRestTune, "inn.ogg");
  eventList.Column("id");
  uint32_t id = kFirstEventMusic;
  for (std::initializer_list<int> notes : kEventMelodies) {
    const std::string name = "event" + std::to_string(id - kFirstEventMusic) + ".ogg";
    OggWriter event(2, 44100);
    Melody(event, notes, 8820);
    event.Save(music + name);
    list.NameRow(id, name);
    eventList.IdRow(id++);
  }
  OggWriter ending(2, 44100);
  Melody(ending, {0, 4, 7, 12, 7, 4}, 8820);
  ending.Save(music + "ending.ogg");
  list.NameRow(kEndingMusic, "ending.ogg");
  eventList.IdRow(kEndingMusic);
  AddSampleTitleSound(dir, list);
  list.Save(dir + "data/tbl03/bgm.tbl");
  eventList.Save(dir + "data/tbl03/subset/event_bgm.tbl");
}

}  // namespace datakit
