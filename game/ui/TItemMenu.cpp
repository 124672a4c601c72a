#include "game/ui/TItemMenu.h"

#include "game/data/TGameData.h"
#include "game/data/TItemListTable.h"
#include "game/shell/TInput.h"
#include "game/ui/TPanelColumn.h"
#include "platform/gfx/D3D8Types.h"

namespace {

constexpr TWindowShape kWindowShapes[] = {
    {"sprite.ptx/window16", -170, 80, 326, 326},      // the name
    {nullptr, -256, 64, 48, 48},                       // the wheel
    {"sprite.ptx/ring_cursor00", -128, 200, 144, 144},  // the ring's cursor
};
constexpr size_t kSlide[] = {TMenuListScreen::kName, TMenuListScreen::kInfo, TItemMenu::kRingCursor,
                             TItemMenu::kRing};

// "アイテム", "ＮＯ ＩＴＥＭ"
constexpr char kTitleText[] = "\x83\x41\x83\x43\x83\x65\x83\x80";
constexpr char kNoItem[] = "\x82\x6d\x82\x6e\x20\x82\x68\x82\x73\x82\x64\x82\x6c";

constexpr int32_t kShadeFrames = 10;
constexpr uint8_t kUsable = 0;

TGameData& Data() { return TGameData::InstanceOrBlank(); }

}  // namespace

const TMenuListLayout TItemMenu::kLayout = {
    kWindowShapes, kSlide, false, TListKind::kItems, "itemInfo", 90, "WinTips2", {50, 8}, kNoItem, {104, 136},
    "tName",  128,    menu_se::kCancel,
};

TItemMenu::TItemMenu(TGameWnd& application, TMenuTop& menu)
    : TMenuListScreen(application, menu, kLayout), wheel(&menu.GetFieldScene().GetGlyphTable()) {
  SetTitle(kTitleText, 0);
  for (int32_t n = 1; n < TRingWheel::kSlots; ++n) {
    const uint32_t id = Data().GetEquipEntry(static_cast<uint32_t>(n)).id;
    wheel.SetIcon(n, id != 0 ? LoadItemIcon(id) : LoadSprite("", plat::D3DPOOL_MANAGED, 0));
  }
  RebuildCounts();
  for (TMoveValue& shade : iconShades) shade.Set(1.0f, 1.0f, kShadeFrames, 0);
  wheelShade.Set(1.0f, kDimmedWheel, kShadeFrames, 0);
  SetSelectPhase(&TItemMenu::Ring);
}

TItemMenu::~TItemMenu() = default;

void TItemMenu::RebuildCounts() {
  for (int32_t n = 0; n < TRingWheel::kSlots; ++n) wheel.SetCount(n, Data().GetEquipEntry(static_cast<uint32_t>(n)));
}

// Position 0 shows nothing: it is not the screen's to change.
void TItemMenu::ShowSelectInfo() { ShowInfo(position == 0 ? 0 : Data().GetEquipEntry(static_cast<uint32_t>(position)).id); }

std::vector<TInfoPiece> TItemMenu::NameLine(uint32_t id) {
  const std::string& name = TItemListTable::Find(id)->name;
  return {{CentredX(name), name}};
}

SceneResult TItemMenu::Ring() {
  if (keys.Stepped(kButtonUp)) {
    Turn(TRingWheel::kSlotAngle, -1);
  } else if (keys.Stepped(kButtonDown)) {
    Turn(-TRingWheel::kSlotAngle, 1);
  } else if (keys.Pressed(kButtonA)) {
    if (position != 0) OpenPosition();
  } else if (keys.Pressed(kButtonB)) {
    PlaySe(menu_se::kCancel);
    SetPhase(&TMenuListScreen::Closing);
  }
  return kSceneRunning;
}

// Every icon turns by the same step as the selection, so the selected one always comes to rest at
// the wheel's front; the angles grow without bound rather than wrap.
void TItemMenu::Turn(float angle, int32_t by) {
  wheel.Turn(angle);
  position = (position + by + TRingWheel::kSlots) % TRingWheel::kSlots;
  PlaySe(menu_se::kRingTurn);
  SetPhase(&TItemMenu::Turning);
}

SceneResult TItemMenu::Turning() {
  wheel.Step();
  const TMoveValue& rotation = wheel.GetRotation();
  if (rotation.step >= rotation.frames) {
    ShowSelectInfo();
    SetPhase(&TItemMenu::Ring);
  }
  return kSceneRunning;
}

void TItemMenu::OpenPosition() {
  std::vector<TListEntry> list;
  if (Data().GetEquipEntry(static_cast<uint32_t>(position)).id != 0) list.push_back(TListEntry{});
  for (const TItemEntry* entry : Data().GetItemsOfKind(kUsable)) list.push_back({entry->id, entry->count});
  for (int32_t n = 0; n < TRingWheel::kSlots; ++n)
    iconShades[n].Set(1.0f, n == position ? 1.0f : kDimmedIcon, kShadeFrames, 0);
  OpenList(std::move(list));
}

void TItemMenu::StepShade(bool forward) {
  auto step = [forward](TMoveValue& tween) { forward ? tween.Forward() : tween.Backward(); };
  for (int32_t n = 0; n < TRingWheel::kSlots; ++n) {
    step(iconShades[n]);
    const uint32_t grey = OpaqueGrey(iconShades[n].value);
    wheel.GetIcon(n).SetColor(grey, -1);
    wheel.GetCountDigit(n, 0).SetColor(grey, -1);
    wheel.GetCountDigit(n, 1).SetColor(grey, -1);
  }
  step(wheelShade);
  wheel.GetWheel().SetColor(OpaqueGrey(wheelShade.value), -1);
}

void TItemMenu::Choose(TListEntry entry) {
  TGameData& data = Data();
  const auto slot = static_cast<uint32_t>(position);
  if (entry.id == 0) {
    data.Unequip(slot);
    AfterChange(LoadSprite("", plat::D3DPOOL_MANAGED, 0), menu_se::kCancel);
    return;
  }
  for (uint32_t n = 0; n < TRingWheel::kSlots; ++n)
    if (data.GetEquipEntry(n).id == entry.id) return;
  if (TItemListTable::Find(entry.id)->ringFlag == 0) return;
  data.Equip(slot, entry.id);
  AfterChange(LoadItemIcon(entry.id), menu_se::kDecide);
}

// The information follows the ring's entry: the list's entry may have left the bag.
void TItemMenu::AfterChange(const TSprite8& icon, int32_t se) {
  wheel.SetIcon(position, icon);
  RebuildCounts();
  CloseList();
  ShowSelectInfo();
  PlaySe(se);
}

void TItemMenu::DrawBehind() {
  const TScreenWindow& ring = GetWindow(kRing);
  wheel.Draw(static_cast<float>(ring.X()), static_cast<float>(ring.Y()));
  Window(kRingCursor).Draw();
}
