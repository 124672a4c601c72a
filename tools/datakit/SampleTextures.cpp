#include "tools/datakit/SampleTextures.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <initializer_list>
#include <string>

#include "tools/datakit/PictureKit.h"
#include "tools/datakit/SampleMenuScreens.h"
#include "tools/datakit/SampleTitle.h"
#include "tools/datakit/SampleGameTables.h"

namespace datakit {

namespace {

constexpr uint32_t kGlyphCell = 16;

// The HUD's glyph sheet: an 8 × 8 grid of 16-pixel cells in the order of the glyph table. Digits
// keep their pixel font; letters and signs are drawn in the cell, and the blank "#" cells stay
// empty.
PtxPicture GlyphSheet() {
  const std::string order = "ABCDEFGHIJKLMNOPQRSTUVWXYZ!/+()%0123456789.:";
  PtxPicture sheet = SolidPicture(1, 8 * kGlyphCell, 8 * kGlyphCell, {0, 0, 0}, 0);
  sheet.palette[1] = {255, 255, 255};
  for (size_t n = 0; n < order.size(); ++n) {
    const uint32_t left = static_cast<uint32_t>(n % 8) * kGlyphCell, top = static_cast<uint32_t>(n / 8) * kGlyphCell;
    if (order[n] < '0' || order[n] > '9') continue;
    const PtxPicture ink = DigitsPicture(1, 9, 15, order.substr(n, 1), {255, 255, 255}, {0, 0, 0});
    for (uint32_t y = 0; y < ink.height; ++y)
      for (uint32_t x = 0; x < ink.width; ++x) {
        sheet.Pixel(left + 3 + x, top + y) = ink.pixels[y * ink.width + x] != 0 ? 1 : 0;
        sheet.Alpha(left + 3 + x, top + y) = ink.alpha[y * ink.width + x];
      }
  }
  for (size_t n = 0; n < order.size(); ++n) {
    if (order[n] >= '0' && order[n] <= '9') continue;
    const uint32_t left = static_cast<uint32_t>(n % 8) * kGlyphCell, top = static_cast<uint32_t>(n / 8) * kGlyphCell;
    DrawWords(sheet, order.substr(n, 1), 16, {left, top, kGlyphCell, kGlyphCell, true}, {255, 255, 255});
  }
  return sheet;
}

// A square frame of the given border on a transparent ground, `left` pixels into the picture.
PtxPicture Outline(uint32_t size, uint32_t border, Rgb colour, uint32_t left = 0) {
  return Blocks(left + size, size, {{left, 0, size, border, colour}, {left, size - border, size, border, colour},
                                    {left, 0, border, size, colour}, {left + size - border, 0, border, size, colour}});
}

// A frame of one pixel around a w x h picture, transparent inside.
PtxPicture Border(uint32_t width, uint32_t height, Rgb colour) {
  return Blocks(width, height, {{0, 0, width, 1, colour}, {0, height - 1, width, 1, colour},
                                {0, 0, 1, height, colour}, {width - 1, 0, 1, height, colour}});
}

// The item ring's wheel: a band with a socket under each of the eight slots. Its centre is where
// the slots' icons circle: they are placed 96 pixels right of and below the wheel's corner, are 32
// pixels square and are moved 96 pixels out, so they turn about (112, 112) with their centres on
// the band's middle.
PtxPicture WheelPicture() {
  constexpr uint32_t kSize = 224;
  constexpr float kCentre = 112, kInner = 76, kOuter = 112, kRim = 2, kSlot = 96, kSocket = 19;
  constexpr float kSlotAngle = 0.7853982f;
  PtxPicture p = SolidPicture(1, kSize, kSize, {0, 0, 0}, 0);
  p.palette[1] = {90, 70, 40};
  p.palette[2] = {150, 120, 70};  // the band's edges
  p.palette[3] = {45, 32, 18};    // the sockets
  for (uint32_t y = 0; y < kSize; ++y)
    for (uint32_t x = 0; x < kSize; ++x) {
      const float dx = static_cast<float>(x) + 0.5f - kCentre, dy = static_cast<float>(y) + 0.5f - kCentre;
      const float r = std::sqrt(dx * dx + dy * dy);
      if (r < kInner || r >= kOuter) continue;
      uint8_t index = r < kInner + kRim || r >= kOuter - kRim ? 2 : 1;
      for (int slot = 0; slot < 8; ++slot) {
        const float angle = static_cast<float>(slot) * kSlotAngle;
        const float sx = dx - kSlot * std::cos(angle), sy = dy - kSlot * std::sin(angle);
        if (sx * sx + sy * sy < kSocket * kSocket) index = 3;
      }
      p.Pixel(x, y) = index;
      p.Alpha(x, y) = 255;
    }
  return p;
}

// A window of one colour with its word set from the left, in ink that reads on it.
PtxPicture Labelled(uint32_t width, uint32_t height, Rgb colour, const char* words, uint32_t pixels, WordBox box) {
  PtxPicture label = SolidPicture(1, width, height, colour);
  DrawWords(label, words, pixels, box, InkOn(colour));
  return label;
}

// The field menu's panels by letter: its entries (a-f, j, l) and the words of its choice windows
// (g-k, m, n). Each word stands left of the panel's middle, which keeps its colour.
struct PanelWord {
  char letter;
  const char* words;
};
constexpr PanelWord kPanelWords[] = {
    {'a', "アイテム"}, {'b', "装備"},       {'c', "スキル"},     {'d', "ステータス"}, {'e', "オプション"},
    {'f', "セーブ・ロード"}, {'g', "セーブ"}, {'h', "ロード"},    {'i', "タイトルへ"}, {'j', "ゲーム終了"},
    {'k', "キャンセル"}, {'l', "キャラ交代"}, {'m', "レンに交代"}, {'n', "ミオに交代"},
};

// The options rows (window12 to window15): the setting's name left of its knob's track.
constexpr const char* kOptionWords[] = {"ミニマップ", "音楽", "効果音", "ボイス"};

// The yes/no box: Yes on the upper line, No on the lower, right of where the cursor bobs (up to
// x 31).
PtxPicture AnswerBox() {
  PtxPicture box = SolidPicture(1, 64, 48, {30, 40, 110});
  DrawWords(box, "はい", 12, {31, 16, 33, 16}, {255, 255, 255});
  DrawWords(box, "いいえ", 12, {31, 32, 33, 16}, {160, 160, 160});
  return box;
}

// A shade that differs from one number to the next.
Rgb Shade(uint32_t n) {
  return {static_cast<uint8_t>(40 + n * 53 % 200), static_cast<uint8_t>(40 + n * 97 % 200),
          static_cast<uint8_t>(40 + n * 29 % 200)};
}

// The skill icons' entries, group by group.
struct IconGroup {
  const char* stem;
  uint32_t count;
};
constexpr IconGroup kSkillIconGroups[] = {{"act", 5}, {"mag", 6}, {"pow", 11}, {"bon", 3}, {"atk", 13}};

PtxWriter CostumePack(const std::string& stem, Rgb base) {
  PtxWriter pack;
  const char* suffixes[] = {"", "01", "02"};
  for (uint32_t n = 0; n < 3; ++n) {
    const Rgb shade{static_cast<uint8_t>(base.r / (n + 1)), static_cast<uint8_t>(base.g / (n + 1)),
                    static_cast<uint8_t>(base.b / (n + 1))};
    pack.Add(stem + suffixes[n], CheckerPicture(0, 64, 64, 16, base, shade));
  }
  return pack;
}

// The minimap's player arrow: a white wedge pointing up, on a clear ground, its rows standing
// evenly about the middle it is turned about. It is little more than half as wide as it is high
// and notched at its back: a wedge as wide as it is high looks the same a third of a turn on.
PtxPicture ArrowPicture(uint32_t size) {
  PtxPicture arrow = SolidPicture(1, size, size, {0, 0, 0}, 0);
  arrow.palette[1] = {255, 255, 255};
  const uint32_t middle = size / 2;
  for (uint32_t y = 1; y + 1 < size; ++y) {
    const uint32_t half = std::max(1u, y * size / 48);      // half the width: a quarter of the size at the back
    const uint32_t notch = y + 4 > size ? y + 4 - size : 0;  // the last two rows, the last deeper
    for (uint32_t x = middle - half; x < middle + half; ++x) {
      if (x + notch >= middle && x < middle + notch) continue;
      arrow.Pixel(x, y) = 1;
      arrow.Alpha(x, y) = 255;
    }
  }
  return arrow;
}

}  // namespace

PtxWriter SampleSpritePack() {
  PtxWriter pack;
  pack.Add("window21", GradientPicture(1, 128, 64, {40, 60, 160}, {10, 20, 60}, false));
  pack.Add("cursor", CheckerPicture(2, 16, 16, 4, {255, 255, 255}, {255, 200, 0}, 0));
  pack.Add("number", DigitsPicture(1, 160, 20, "0123456789", {255, 255, 255}, {0, 0, 0}));
  pack.Add("back", GradientPicture(0, 256, 256, {0, 0, 0}, {60, 90, 120}, false));
  pack.Add("16_panel", SolidPicture(3, 64, 64, {200, 180, 120}));
  // The message window: its panel, the name plate, the two blinking button icons and the cursor.
  pack.Add("window06", GradientPicture(1, 512, 128, {30, 40, 110}, {10, 10, 40}, false));
  pack.Add("window16", GradientPicture(1, 160, 32, {110, 80, 30}, {40, 20, 10}, true));
  pack.Add("button00_a", CheckerPicture(1, 16, 16, 8, {255, 255, 255}, {120, 160, 255}));
  pack.Add("button00_b", CheckerPicture(1, 16, 16, 8, {120, 160, 255}, {255, 255, 255}));
  pack.Add("cursor02", SolidPicture(1, 16, 16, {255, 220, 80}));
  pack.Add("cursor05", ArrowPicture(16));
  pack.Add("word", GlyphSheet());
  // The HUD: the character panel's frame and its bar sheet (HP, MP, ring points and mastery bars
  // where the panel cuts them, the mastered mark at the right), the skill bar, the item ring's
  // wheel and the two ring cursors, and the acquisition window.
  pack.Add("guage09", Blocks(256, 160, {{0, 0, 256, 52, {20, 30, 60}}, {0, 52, 128, 108, {20, 30, 60}}}));
  pack.Add("bar00", Blocks(256, 64, {{0, 4, 174, 16, {220, 40, 40}}, {0, 24, 173, 8, {40, 80, 220}},
                                     {0, 36, 176, 8, {230, 200, 40}}, {0, 48, 64, 8, {60, 200, 90}},
                                     {240, 0, 16, 32, {255, 240, 120}}, {96, 48, 60, 8, {240, 90, 40}}}));
  // The HP gauge over an enemy: its frame, and its bar on the bar sheet above.
  pack.Add("guage08", Border(64, 8, {230, 230, 230}));
  pack.Add("guage06", Blocks(256, 64, {{0, 8, 72, 56, {60, 60, 90}}, {72, 8, 48, 56, {80, 80, 110}},
                                       {120, 8, 72, 56, {60, 60, 90}}}));
  pack.Add("ring01_c", WheelPicture());
  // The item ring's cursor is drawn 40 pixels right of where the slots' icons are placed, and the
  // selected slot's icon rests 96 pixels right of that place: the frame stands 56 pixels in.
  pack.Add("ring_cursor00", Outline(32, 3, {255, 220, 80}, 56));
  pack.Add("ring_cursor01", Outline(32, 3, {120, 220, 255}));
  pack.Add("window22", GradientPicture(1, 256, 32, {30, 40, 110}, {10, 10, 40}, true));
  // The field menu: the panels of its column and of its small windows, one opaque colour each;
  // the options rows and their knob; the yes/no dialog's questions (to the title, quit) and its
  // Yes and No lines; the arrows of the lists.
  for (const PanelWord& panel : kPanelWords)
    pack.Add(std::string("window02_") + panel.letter,
             Labelled(192, 32, SampleMenuPanelColour(panel.letter), panel.words, 18, {10, 0, 130, 32}));
  for (uint32_t n = 12; n <= 15; ++n) {
    PtxPicture row = Blocks(256, 64, {{0, 0, 256, 64, Shade(n)}, {136, 24, 72, 4, {255, 255, 255}}});
    DrawWords(row, kOptionWords[n - 12], 20, {12, 16, 116, 32}, InkOn(Shade(n)));
    pack.Add("window" + std::to_string(n), row);
  }
  pack.Add("cursor00", SolidPicture(1, 8, 16, {255, 255, 255}));
  // The questions' words stand below their top rows, which keep the gradient's first colour.
  PtxPicture toTitle = GradientPicture(1, 256, 64, {110, 40, 40}, {40, 10, 10}, false);
  DrawWords(toTitle, "タイトルに戻りますか？", 18, {16, 16, 224, 36, true}, {255, 255, 255});
  pack.Add("window23", toTitle);
  PtxPicture quit = GradientPicture(1, 256, 64, {40, 110, 40}, {10, 40, 10}, false);
  DrawWords(quit, "ゲームを終了しますか？", 18, {16, 16, 224, 36, true}, {255, 255, 255});
  pack.Add("window24", quit);
  pack.Add("window10", AnswerBox());
  pack.Add("cursor03", Blocks(16, 16, {{4, 0, 8, 16, {255, 220, 80}}}));
  pack.Add("cursor04", Blocks(16, 16, {{0, 4, 16, 8, {255, 220, 80}}}));
  // The shops: the list window, the quantity window and the window of the count owned.
  // The list window's sign stands above its rows; the count owned is written right of its word.
  pack.Add("window17", Labelled(448, 304, {40, 70, 130}, "ショップ", 20, {20, 10, 160, 30}));
  pack.Add("window18", SolidPicture(1, 448, 64, {70, 50, 120}));
  pack.Add("window19", Labelled(128, 32, {50, 110, 90}, "所持数", 14, {10, 0, 72, 32}));
  AddSampleSaveScreenSprites(pack);
  AddSampleMenuScreenSprites(pack);
  return pack;
}

Rgb SampleMenuPanelColour(char letter) { return Shade(static_cast<uint32_t>(letter - 'a') + 1); }

PtxWriter SampleItemIconPack() {
  PtxWriter pack;
  pack.Add("itm00_icon", CheckerPicture(1, 32, 32, 8, {200, 200, 200}, {40, 40, 40}, 0));
  pack.Add("itm01_icon", CheckerPicture(1, 32, 32, 8, {255, 215, 90}, {40, 40, 40}, 0));
  for (uint8_t n = 2; n <= 13; ++n) {
    char entry[16];
    std::snprintf(entry, sizeof entry, "itm%02u_icon", static_cast<unsigned>(n));
    const uint8_t shade = static_cast<uint8_t>(n * 18);
    pack.Add(entry, CheckerPicture(1, 32, 32, 8, {shade, 200, static_cast<uint8_t>(255 - shade)}, {40, 40, 40}, 0));
  }
  return pack;
}

void WriteSampleHudPacks(const std::string& folder) {
  PtxWriter faces;
  faces.Add("face00", FacePicture(64, {230, 190, 150}, {90, 60, 40}));
  faces.Add("face01", FacePicture(64, {240, 200, 170}, {150, 60, 90}));
  faces.Save(folder + "face.ptx");

  PtxWriter icons, pictures;
  for (uint32_t id : SampleItemIds()) {
    icons.Add(SampleItemIconEntry(id), CheckerPicture(1, 32, 32, 8, Shade(id), {40, 40, 40}, 0));
    pictures.Add(SampleItemPictureEntry(id), GradientPicture(0, 128, 128, Shade(id), {0, 0, 0}, false));
  }
  icons.Save(folder + "itemicon.ptx");
  pictures.Save(folder + "iteminfo.ptx");

  PtxWriter skillPictures;
  for (uint32_t id : SampleSkillIds())
    skillPictures.Add(SampleSkillPictureEntry(id), GradientPicture(0, 128, 128, Shade(id), {0, 0, 0}, true));
  skillPictures.Save(folder + "skillinfo.ptx");

  PtxWriter skillIcons;
  uint32_t n = 0;
  for (const IconGroup& group : kSkillIconGroups)
    for (uint32_t k = 0; k < group.count; ++k, ++n) {
      char entry[16];
      std::snprintf(entry, sizeof entry, "%s%02u_skl", group.stem, static_cast<unsigned>(k));
      skillIcons.Add(entry, CheckerPicture(1, 32, 32, 4, Shade(n), {20, 20, 20}));
    }
  skillIcons.Save(folder + "skl_icon.ptx");

  CostumePack("hero", {200, 80, 60}).Save(folder + "hero.ptx");
  CostumePack("heroine", {80, 120, 220}).Save(folder + "heroine.ptx");
}

}  // namespace datakit
