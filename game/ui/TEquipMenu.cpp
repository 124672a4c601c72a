#include "game/ui/TEquipMenu.h"

#include <cstdio>

#include "game/data/TGameData.h"
#include "game/data/TItemListTable.h"
#include "game/data/TWeaponTable.h"
#include "game/shell/TInput.h"
#include "game/ui/TGauge.h"
#include "game/ui/TPanelColumn.h"
#include "platform/gfx/D3D8Types.h"

namespace {

constexpr TWindowShape kWindowShapes[] = {
    {"sprite.ptx/window22", -256, 80, 326, 326},  // the name
    {nullptr, -256, 64, 48, 48},                   // the character panel
};
constexpr size_t kSlide[] = {TMenuListScreen::kName, TMenuListScreen::kInfo, TEquipMenu::kPanel};

// From the panel's corner, slot by slot: the cursor over the slot's icon, the slot's points.
constexpr TPlace kSlotCursor[TEquipMenu::kSlots] = {{52, 54}, {36, 83}, {20, 112}};
constexpr TPlace kPoints[TEquipMenu::kSlots] = {{94, 61}, {78, 90}, {62, 119}};
constexpr char kSlotLetter[TEquipMenu::kSlots] = {0, 'A', 'B'};
// What each slot's list holds: weapons, accessories.
constexpr uint8_t kSlotKind[TEquipMenu::kSlots] = {1, 2, 2};

// "武器", "アクセサリ", "ＮＯ ＩＴＥＭ"
constexpr const char* kSlotTitle[TEquipMenu::kSlots] = {"\x95\x90\x8a\xed", "\x83\x41\x83\x4e\x83\x5a\x83\x54\x83\x8a",
                                                        "\x83\x41\x83\x4e\x83\x5a\x83\x54\x83\x8a"};
constexpr char kNoItem[] = "\x82\x6d\x82\x6e\x20\x82\x68\x82\x73\x82\x64\x82\x6c";
constexpr char kMastered[] = "Master!";
constexpr uint16_t kMasteredPoints = 1000;
constexpr int32_t kMasteredX = 152, kPointsX = 136;

constexpr int32_t kShadeFrames = 10;
constexpr float kFrameDim = 0.7f, kBarDim = 0.4f, kDigitGrey = 0.9f, kDigitDim = 0.7f;
constexpr float kGaugeDim = 0.4f, kMarkDim = 0.7f;
constexpr TGauge::Bar kPanelBars[] = {TGauge::kHp, TGauge::kMp, TGauge::kRingPoints};

TGameData& Data() { return TGameData::InstanceOrBlank(); }

uint16_t PointsOf(uint32_t member, uint32_t itemId) { return Data().GetCharBlock(member).PointsOf(itemId); }

std::string Points(const char* format, uint16_t points) {
  char text[32];
  std::snprintf(text, sizeof text, format, static_cast<unsigned>(points));
  return text;
}

void Step(TMoveValue& tween, bool forward) { forward ? tween.Forward() : tween.Backward(); }

}  // namespace

const TMenuListLayout TEquipMenu::kLayout = {
    kWindowShapes, kSlide, false, TListKind::kItems, "itemInfo", 82, "WinTips1", {14, 8}, kNoItem, {104, 136},
    "tName",  256,    menu_se::kCancel,
};

TEquipMenu::TEquipMenu(TGameWnd& application, TMenuTop& menu)
    : TMenuListScreen(application, menu, kLayout),
      field(menu.GetFieldScene()),
      gauge(field.GetGauge()),
      weaponType(TWeaponTable::Find(field.GetPlayer().GetWeaponId())->type),
      slotCursor(LoadSprite("sprite.ptx/ring_cursor01", plat::D3DPOOL_MANAGED, 0)),
      pointTexts{UiText("tAbp0", 128), UiText("tAbp1", 128), UiText("tAbp2", 128)} {
  frameShade.Set(1.0f, kFrameDim, kShadeFrames, 0);
  barShade.Set(1.0f, kBarDim, kShadeFrames, 0);
  digitShade.Set(kDigitGrey, kDigitDim, kShadeFrames, 0);
  for (int32_t n = 0; n < kSlots; ++n) {
    gaugeShades[n].Set(1.0f, 1.0f, kShadeFrames, 0);
    markShades[n].Set(1.0f, 1.0f, kShadeFrames, 0);
    WritePoints(n);
  }
  ShowSelectInfo();
  SetSelectPhase(&TEquipMenu::Slots);
}

TEquipMenu::~TEquipMenu() = default;

uint32_t TEquipMenu::SlotItem(int32_t n) const {
  const TMenuPlayer& player = field.GetPlayer();
  return n == 0 ? player.GetWeaponId() : player.GetEquipSlot(kSlotLetter[n]);
}

void TEquipMenu::WritePoints(int32_t n) {
  const uint16_t points = PointsOf(field.GetPlayer().GetMember(), SlotItem(n));
  pointLines[n] = points == kMasteredPoints ? kMastered : Points("%4upts", points);
  WritePieces(pointTexts[n], {{0, pointLines[n]}});
}

std::vector<TInfoPiece> TEquipMenu::NameLine(uint32_t id) {
  const std::string& name = TItemListTable::Find(id)->name;
  const uint16_t points = PointsOf(field.GetPlayer().GetMember(), id);
  if (points == kMasteredPoints) return {{CentredX(name), name}, {kMasteredX, kMastered}};
  return {{CentredX(name), name}, {kPointsX, Points("ABP:%4upts", points)}};
}

SceneResult TEquipMenu::Slots() {
  const int32_t before = slot;
  if (keys.MoveRound(slot, kSlots, kButtonUp, kButtonDown)) {
    ShowSelectInfo();
  } else if (keys.Pressed(kButtonA)) {
    OpenSlot();
  } else if (keys.Pressed(kButtonB)) {
    PlaySe(menu_se::kCancel);
    SetPhase(&TMenuListScreen::Closing);
  }
  if (slot != before) PlaySe(menu_se::kToggle);
  return kSceneRunning;
}

void TEquipMenu::OpenSlot() {
  SetTitle(kSlotTitle[slot], CentredX(kSlotTitle[slot]));
  std::vector<TListEntry> list;
  for (const TItemEntry* entry : Data().GetItemsOfKind(kSlotKind[slot])) list.push_back({entry->id, entry->count});
  for (int32_t n = 0; n < kSlots; ++n) {
    gaugeShades[n].Set(1.0f, n == slot ? 1.0f : kGaugeDim, kShadeFrames, 0);
    markShades[n].Set(1.0f, n == slot ? 1.0f : kMarkDim, kShadeFrames, 0);
  }
  OpenList(std::move(list));
}

void TEquipMenu::StepShade(bool forward) {
  for (TMoveValue* tween : {&frameShade, &barShade, &digitShade}) Step(*tween, forward);
  for (int32_t n = 0; n < kSlots; ++n) {
    Step(gaugeShades[n], forward);
    Step(markShades[n], forward);
  }
  ApplyShade();
}

void TEquipMenu::ApplyShade() {
  gauge.SetFrameColor(OpaqueGrey(frameShade.value));
  for (TGauge::Bar bar : kPanelBars) gauge.SetBarColor(bar, OpaqueGrey(barShade.value));
  gauge.SetDigitColor(OpaqueGrey(digitShade.value));
  for (int32_t n = 0; n < kSlots; ++n) {
    gauge.SetBarColor(static_cast<TGauge::Bar>(TGauge::kWeapon + n), OpaqueGrey(gaugeShades[n].value));
    gauge.SetMarkColor(n, OpaqueGrey(markShades[n].value));
    if (n != slot) pointTexts[n].SetColor(OpaqueGrey(barShade.value), -1);
  }
}

void TEquipMenu::Choose(TListEntry entry) {
  if (slot == 0)
    EquipWeapon(entry.id);
  else
    EquipAccessory(entry.id);
}

void TEquipMenu::EquipWeapon(uint32_t id) {
  TMenuPlayer& player = field.GetPlayer();
  if (!TWeaponTable::CanEquip(player.GetMember(), id)) {
    PlaySe(menu_se::kRefused);
    return;
  }
  const uint32_t old = player.GetWeaponId();
  if (id == old) return;
  Data().AddItem(old, 1);
  Data().RemoveItem(id, 1);
  player.SetWeapon(id);
  gauge.SetIcon(0, TWeaponTable::GetIcon(id));
  field.UpdateGauge();
  WritePoints(0);
  const uint32_t type = TWeaponTable::Find(id)->type;
  if (type != weaponType) {
    field.RebuildPlayer(player.GetMember());
    weaponType = type;
  }
  AfterChange();
}

// An empty slot gives nothing back to the bag.
void TEquipMenu::EquipAccessory(uint32_t id) {
  TMenuPlayer& player = field.GetPlayer();
  const char letter = kSlotLetter[slot];
  const uint32_t old = player.GetEquipSlot(letter);
  if (id == old) {
    PlaySe(menu_se::kDecide);
    return;
  }
  if (old != 0) Data().AddItem(old, 1);
  Data().RemoveItem(id, 1);
  player.SetEquipSlot(id, letter);
  field.UpdateGauge();
  WritePoints(slot);
  AfterChange();
}

void TEquipMenu::AfterChange() {
  gauge.ResetColors();
  ApplyShade();
  parent.RefreshBackground();
  PlaySe(menu_se::kChanged);
  CloseList();
}

void TEquipMenu::DrawBehind() {
  const TScreenWindow& panel = GetWindow(kPanel);
  gauge.Draw(static_cast<float>(panel.X()), static_cast<float>(panel.Y()));
  panel.DrawAt(slotCursor, kSlotCursor[slot]);
}

void TEquipMenu::DrawOwnTexts() {
  const TScreenWindow& panel = GetWindow(kPanel);
  for (int32_t n = 0; n < kSlots; ++n) panel.DrawAt(pointTexts[n], kPoints[n]);
}
