#include "game/ui/TMenuListScreen.h"

#include <cstdio>
#include <iterator>

#include "game/data/TGameData.h"
#include "game/data/TItemListTable.h"
#include "game/data/TSkillTable.h"
#include "game/data/TWeaponTable.h"
#include "game/shell/TInput.h"
#include "game/ui/TPanelColumn.h"
#include "platform/gfx/D3D8Types.h"

namespace {

// The list part's windows, as every screen places them.
constexpr TWindowShape kOwnWindows[] = {
    {"sprite.ptx/window20", 342, 342, -320, 32},  // the list
    {"sprite.ptx/window16", 358, 358, -32, 16},   // the title
    {"sprite.ptx/window06", 64, 64, 500, 344},    // the information
};

// The cursor beside row r at (32 + bob, 42 + 36r) of the list window; the arrows at its right.
constexpr TPagerLayout kPagerLayout{{32, 42}, 36, {242, 28}, {242, 274}};
constexpr TPlace kRowIcon{52, 34};
constexpr int32_t kRowTextY = 42, kRowPitch = 36;
constexpr TPlace kInfoPicture{38, 32}, kInfoLine{106, 36};
constexpr int32_t kInfoPitch = 20;
constexpr TPlace kNameText{16, 8};
constexpr uint32_t kRowWidth = 256, kTitleWidth = 128, kEmptyWidth = 128, kInfoWidth = 512;

// "はずす"
constexpr char kRemoval[] = "\x82\xcd\x82\xb8\x82\xb7";
// "×"
constexpr char kTimes[] = "\x81\x7e";
// A weapon the member may not hold.
constexpr uint32_t kUnusableColour = 0xFF666666;
constexpr float kUnusableGrey = 0.7f;

TSprite8 EmptySprite() { return LoadSprite("", plat::D3DPOOL_MANAGED, 0); }

std::vector<TWindowShape> Windows(std::span<const TWindowShape> screens) {
  std::vector<TWindowShape> shapes(std::begin(kOwnWindows), std::end(kOwnWindows));
  shapes.insert(shapes.end(), screens.begin(), screens.end());
  return shapes;
}

uint32_t CurrentMember() {
  const TGameData* data = TGameData::Instance();
  return data ? data->GetCurrentMember() : 0;
}

TRowLook ItemRowLook(const TListEntry& entry) {
  const TItemListRecord& item = *TItemListTable::Find(entry.id);
  char line[64];
  std::snprintf(line, sizeof line, "%-16s%s%2d", item.name.c_str(), kTimes, static_cast<int>(entry.count));
  TRowLook look{line, LoadKindIcon(entry.id)};
  if (item.mapModelKind == 1 && !TWeaponTable::CanEquip(CurrentMember(), entry.id)) {
    look.textColour = kUnusableColour;
    look.iconGrey = kUnusableGrey;
  }
  return look;
}

TRowLook SkillRowLook(const TListEntry& entry) {
  const TSkillRecord& skill = *TSkillTable::Find(entry.id);
  return TRowLook{skill.name, DrawSkillIcon(skill.icon)};
}

}  // namespace

TRowLook ListRowLook(const TListEntry& entry, TListKind kind) {
  if (entry.id == 0) return TRowLook{kRemoval, EmptySprite()};
  return kind == TListKind::kSkills ? SkillRowLook(entry) : ItemRowLook(entry);
}

int32_t CentredX(const std::string& text) { return (8 - static_cast<int32_t>(text.size() / 2)) * 8; }

TMenuListScreen::TMenuListScreen(TGameWnd& application, TMenuTop& menu, const TMenuListLayout& listLayout)
    : TMenuScreen(application, menu, true),
      pager(kPagerLayout),
      layout(listLayout),
      windows(Windows(listLayout.windows)),
      titleText(UiText(listLayout.titleName, kTitleWidth)),
      emptyText(UiText("tEmpty", kEmptyWidth)),
      infoPicture(EmptySprite()) {
  rowTexts.reserve(kRows);
  for (int32_t row = 0; row < kRows; ++row) {
    rowTexts.push_back(UiText(layout.rowName + std::to_string(row), kRowWidth));
    rowLooks[row].icon = EmptySprite();
  }
  WritePieces(emptyText, {{0, layout.emptyLine}});
  if (layout.nameName) nameText.emplace(UiText(layout.nameName, layout.nameWidth));
  infoTexts.reserve(3);
  for (const char* name : {"tTextInfo0_", "tTextInfo1_", "tTextInfo2_"}) infoTexts.push_back(UiText(name, kInfoWidth));
  SetPhase(&TMenuListScreen::Opening);
}

TMenuListScreen::~TMenuListScreen() = default;

// --- the texts ---

void TMenuListScreen::RebuildRows() {
  for (int32_t row = 0; row < kRows; ++row) {
    const auto index = static_cast<size_t>(pager.GetTop() + row);
    TRowLook& look = rowLooks[row];
    look = index < entries.size() ? ListRowLook(entries[index], layout.kind) : TRowLook{"", EmptySprite()};
    if (look.text.empty())
      rowTexts[row].Clear(true);
    else
      WritePieces(rowTexts[row], {{0, look.text}});
    rowTexts[row].SetColor(look.textColour, -1);
    look.icon.SetColor(OpaqueGrey(look.iconGrey), -1);
  }
}

void TMenuListScreen::ShowInfo(uint32_t id) {
  infoId = id;
  const bool skills = layout.kind == TListKind::kSkills;
  if (id == 0) {
    infoPicture = EmptySprite();
    infoLines = {};
    nameLine.clear();
  } else {
    infoPicture = skills ? LoadSkillInfoPicture(id) : LoadItemInfoPicture(id);
    infoLines = ItemInfoLines(id, skills);
    nameLine = NameLine(id);
  }
  for (size_t n = 0; n < infoTexts.size(); ++n) WritePieces(infoTexts[n], infoLines[n]);
  if (nameText) WritePieces(*nameText, nameLine);
}

void TMenuListScreen::ShowListInfo() {
  const auto index = static_cast<size_t>(pager.GetIndex());
  ShowInfo(index < entries.size() ? entries[index].id : 0);
}

void TMenuListScreen::SetTitle(const std::string& text, int32_t x) {
  titleLine = text;
  WritePieces(titleText, {{x, text}});
}

// --- the phases ---

SceneResult TMenuListScreen::Opening() {
  windows.Forward(layout.slide);
  if (windows[layout.slide.back()].HasEnded()) SetPhase(selectPhase);
  return kSceneRunning;
}

void TMenuListScreen::OpenList(std::vector<TListEntry> list) {
  entries = std::move(list);
  pager.Reset(static_cast<int32_t>(entries.size()));
  RebuildRows();
  ShowListInfo();
  PlaySe(menu_se::kDecide);
  SetPhase(&TMenuListScreen::ListOpening);
}

SceneResult TMenuListScreen::ListOpening() {
  StepShade(true);
  if (!windows.Forward({kTitle, kList})) return kSceneRunning;
  SetPhase(entries.empty() ? &TMenuListScreen::EmptyList : &TMenuListScreen::ListSelect);
  return kSceneRunning;
}

SceneResult TMenuListScreen::ListSelect() {
  pager.StepBob();
  const TPagerMove move = pager.Move(keys);
  if (move.taken)
    RebuildRows();
  else if (keys.Pressed(kButtonA))
    Choose(entries[static_cast<size_t>(pager.GetIndex())]);
  else if (keys.Pressed(kButtonB))
    LeaveList(menu_se::kCancel);
  if (move.moved) {
    ShowListInfo();
    PlaySe(menu_se::kToggle);
  }
  return kSceneRunning;
}

SceneResult TMenuListScreen::EmptyList() {
  if (keys.Pressed(kButtonB)) LeaveList(layout.emptyCancelSe);
  return kSceneRunning;
}

void TMenuListScreen::LeaveList(int32_t se) {
  if (!entries.empty() && entries.front().id == 0) entries.erase(entries.begin());
  ShowSelectInfo();
  if (se >= 0) PlaySe(se);
  CloseList();
}

SceneResult TMenuListScreen::ListClosing() {
  StepShade(false);
  if (windows.Backward({kTitle, kList})) SetPhase(selectPhase);
  return kSceneRunning;
}

SceneResult TMenuListScreen::Closing() {
  bool leadMoved = false;  // the last window's step, which the loop ends on
  for (size_t n : layout.slide) leadMoved = windows[n].Backward();
  const TScreenWindow& lead = windows[layout.slide.back()];
  if (layout.endsOnArrival ? !lead.AtStart() : leadMoved) return kSceneRunning;
  OnClosed();
  EndPhases();
  return kSceneFinished;
}

bool TMenuListScreen::InListPhase() const {
  return InPhase(&TMenuListScreen::ListOpening) || InPhase(&TMenuListScreen::ListSelect) ||
         InPhase(&TMenuListScreen::ListClosing);
}

// --- drawing ---

void TMenuListScreen::DrawWindows() {
  DrawBehind();
  TSprite8::SetBlendMode(1);
  TScreenWindow& list = windows[kList];
  TScreenWindow& info = windows[kInfo];
  for (size_t n : {kList, kTitle, kInfo, kName}) windows[n].Draw();
  info.DrawAt(infoPicture, kInfoPicture);
  const bool rows = InListPhase();
  if (rows) {
    for (int32_t row = 0; row < kRows; ++row)
      list.DrawAt(rowLooks[row].icon, {kRowIcon.dx, kRowIcon.dy + kRowPitch * row});
    pager.Draw(list);
  }
  TSprite8::SetBlendMode(3);
  for (int32_t n = 0; n < 3; ++n) info.DrawAt(infoTexts[n], {kInfoLine.dx, kInfoLine.dy + kInfoPitch * n});
  windows[kTitle].DrawAt(titleText, layout.titlePlace);
  if (nameText) windows[kName].DrawAt(*nameText, kNameText);
  DrawOwnTexts();
  if (rows) {
    for (int32_t row = 0; row < kRows; ++row)
      list.DrawAt(rowTexts[row], {layout.rowTextX, kRowTextY + kRowPitch * row});
  } else if (InPhase(&TMenuListScreen::EmptyList)) {
    list.DrawAt(emptyText, layout.emptyPlace);
  }
}
