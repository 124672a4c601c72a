// The list part that the field menu's item, equipment and skill screens share. Beside the screen's
// own piece (the item wheel, the character panel, the skill bar) a list window of seven rows drops
// in under a title window, with an information window (the chosen entry's picture and three lines
// of description) and a name window. A row is an item of the bag with its count, or a skill, with
// the icon of its kind; the removal entry "はずす" (id 0) takes off what the screen's piece holds.
// An empty list shows "ＮＯ ＩＴＥＭ" or "ＮＯ ＳＫＩＬＬ" and takes B alone. Each screen gives its
// windows, the way its piece slides and its texts as a table; it chooses what a decided entry does.
#pragma once
#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "common/TSprite8.h"
#include "common/TText8.h"
#include "game/ui/ItemInfo.h"
#include "game/ui/TListPager.h"
#include "game/ui/TMenuTop.h"
#include "game/ui/TScreenWindow.h"

struct TListEntry {
  uint32_t id = 0;  // 0: the removal entry
  uint8_t count = 0;

  bool operator==(const TListEntry&) const = default;
};

// What a list holds: owned items with their counts, or skill ids.
enum class TListKind { kItems, kSkills };

struct TMenuListLayout {
  // The name window, then the screen's own; the list part puts its list, title and information
  // windows before them.
  std::span<const TWindowShape> windows;
  // What the screen slides in as it opens and out as it closes; the last leads.
  std::span<const size_t> slide;
  // Closing ends on the tick its lead arrives; otherwise on the tick after.
  bool endsOnArrival;
  TListKind kind;
  const char* rowName;  // the row texts: this name and the row's number
  int32_t rowTextX;     // from the list window's corner
  const char* titleName;
  TPlace titlePlace;  // from the title window's corner
  const char* emptyLine;
  TPlace emptyPlace;     // from the list window's corner
  const char* nameName;  // the name window's text; none: the screen shows no name
  uint32_t nameWidth;
  int32_t emptyCancelSe;  // B on the empty list; -1 plays nothing
};

// What a row shows.
struct TRowLook {
  std::string text;
  TSprite8 icon;
  uint32_t textColour = 0xFFFFFFFF;
  float iconGrey = 1.0f;
};

class TMenuListScreen : public TMenuScreen {
 public:
  enum TWindowId : size_t { kList, kTitle, kInfo, kName, kFirstOwnWindow };
  static constexpr int32_t kRows = TListPager::kRows;

  ~TMenuListScreen() override;

  const std::vector<TListEntry>& GetEntries() const { return entries; }
  const TListPager& GetPager() const { return pager; }
  const TScreenWindow& GetWindow(size_t n) const { return windows[n]; }
  const TRowLook& GetRowLook(int32_t row) const { return rowLooks[row]; }
  const TText8& GetRowText(int32_t row) const { return rowTexts[row]; }
  const TSprite8& GetRowIcon(int32_t row) const { return rowLooks[row].icon; }
  // What the information window shows, as drawn.
  uint32_t GetInfoId() const { return infoId; }
  const TInfoLines& GetInfoLines() const { return infoLines; }
  const TSprite8& GetInfoPicture() const { return infoPicture; }
  const std::vector<TInfoPiece>& GetNameLine() const { return nameLine; }
  const std::string& GetTitleLine() const { return titleLine; }

  SceneResult Opening();
  SceneResult ListOpening();
  SceneResult ListSelect();
  SceneResult EmptyList();
  SceneResult ListClosing();
  SceneResult Closing();
  bool InListPhase() const;

 protected:
  TMenuListScreen(TGameWnd& app, TMenuTop& parent, const TMenuListLayout& layout);

  template <class S>
  void SetSelectPhase(SceneResult (S::*p)()) {
    selectPhase = static_cast<Phase>(p);
  }
  // The rows anew from the entries, the information on the first, the decide sound; then the
  // list drops in.
  void OpenList(std::vector<TListEntry> list);
  void CloseList() { SetPhase(&TMenuListScreen::ListClosing); }
  void ShowInfo(uint32_t id);
  // The information on the entry under the cursor (none on an empty list or the removal entry).
  void ShowListInfo();
  void SetTitle(const std::string& text, int32_t x);
  // The entries anew, for the next opening; the rows keep showing the old until then.
  void ReplaceEntries(std::vector<TListEntry> list) { entries = std::move(list); }
  TScreenWindow& Window(size_t n) { return windows[n]; }

  // A decided entry (a copy: the screen may replace the entries).
  virtual void Choose(TListEntry entry) = 0;
  // The information on what the screen's piece holds where its cursor is.
  virtual void ShowSelectInfo() = 0;
  // One step of the dimming of the screen's piece while the list drops in (or rises).
  virtual void StepShade(bool forward) = 0;
  // The name window's line for an entry, which is not the removal entry.
  virtual std::vector<TInfoPiece> NameLine(uint32_t) { return {}; }
  // The screen's piece, under the windows.
  virtual void DrawBehind() = 0;
  // Texts of the screen's own, additive, after the list part's.
  virtual void DrawOwnTexts() {}
  // Closing has ended.
  virtual void OnClosed() {}

  TListPager pager;
  std::vector<TListEntry> entries;

 private:
  void DrawWindows() final;
  void RebuildRows();
  // B: the removal entry leaves the list again, the information goes back to the piece.
  void LeaveList(int32_t se);

  const TMenuListLayout& layout;
  Phase selectPhase = nullptr;
  TWindowLayout windows;
  std::array<TRowLook, kRows> rowLooks;
  std::vector<TText8> rowTexts;
  TText8 titleText, emptyText;
  std::optional<TText8> nameText;
  std::vector<TText8> infoTexts;
  TSprite8 infoPicture;
  uint32_t infoId = 0;
  TInfoLines infoLines;
  std::vector<TInfoPiece> nameLine;
  std::string titleLine;
};

// The row of an entry of either kind; the removal entry reads "はずす" without an icon.
TRowLook ListRowLook(const TListEntry& entry, TListKind kind);
// An item's name centred on a 16-byte line: from x (8 - bytes / 2) · 8.
int32_t CentredX(const std::string& text);
