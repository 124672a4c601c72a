#include "tools/datakit/SampleMenuScreens.h"

#include "tools/datakit/PictureKit.h"

namespace datakit {

namespace {

// The status window's words, in rows of the screen's own text height. Each stands left of where
// the screen writes its value (from the window's corner), and its box ends a few pixels short of
// it; the elements' heading stands over their column, in the free row above it.
constexpr uint32_t kStatusRow = 16;
constexpr Rgb kStatusInk{240, 210, 120};
struct StatusWord {
  const char* words;
  WordBox box;
};
constexpr StatusWord kStatusWords[] = {
    {"レベル", {24, 44, 50, kStatusRow}},  {"経験値", {170, 44, 60, kStatusRow}}, {"所持金", {170, 64, 68, kStatusRow}},
    {"HP", {24, 102, 90, kStatusRow}},     {"MP", {24, 120, 90, kStatusRow}},     {"攻撃力", {24, 170, 66, kStatusRow}},
    {"防御力", {24, 188, 66, kStatusRow}}, {"腕力", {24, 206, 66, kStatusRow}},   {"体力", {24, 224, 66, kStatusRow}},
    {"知力", {24, 242, 66, kStatusRow}},   {"精神", {24, 260, 66, kStatusRow}},   {"属性", {202, 150, 56, kStatusRow, true}},
    {"火", {202, 170, 20, kStatusRow}},    {"水", {202, 188, 20, kStatusRow}},    {"風", {202, 206, 20, kStatusRow}},
    {"土", {202, 224, 20, kStatusRow}},    {"光", {202, 242, 20, kStatusRow}},    {"闇", {202, 260, 20, kStatusRow}},
};

PtxPicture StatusWindow() {
  PtxPicture window = GradientPicture(1, 512, 320, {30, 40, 110}, {10, 10, 40}, false);
  for (const StatusWord& word : kStatusWords) DrawWords(window, word.words, kStatusRow, word.box, kStatusInk);
  return window;
}

}  // namespace

void AddSampleMenuScreenSprites(PtxWriter& sprites) {
  sprites.Add("window20", SolidPicture(1, 288, 320, kSampleMenuListColour));
  sprites.Add("window09", StatusWindow());
}

}  // namespace datakit
