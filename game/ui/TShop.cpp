#include "game/ui/TShop.h"

#include <algorithm>
#include <cstdio>

#include "game/data/GameGlobals.h"
#include "game/data/TGameData.h"
#include "game/data/TItemListTable.h"
#include "game/data/TWeaponTable.h"
#include "game/shell/TGameWnd.h"
#include "game/shell/TInput.h"
#include "game/ui/TPanelColumn.h"
#include "game/ui/TUiFont.h"
#include "platform/gfx/D3D8Types.h"
#include "sound/TDSound8.h"
#include "sound/TSoundSet8.h"

namespace {

constexpr TWindowShape kWindowShapes[TShop::kWindows] = {
    {"sprite.ptx/window17", 96, 96, -324, 24},    // the list
    {"sprite.ptx/window16", -170, 8, 8, 8},       // the gold
    {"sprite.ptx/window06", 64, 64, 500, 344},    // the chosen item's description
    {"sprite.ptx/window18", 96, 96, -80, 128},    // the quantity
    {"sprite.ptx/window19", 640, 408, 192, 192},  // the count owned
    {"sprite.ptx/window10", 640, 464, 296, 296},  // buy or cancel
};

constexpr TPagerLayout kPagerLayout{{46, 54}, 34, {402, 32}, {402, 272}};

// Where the pieces stand from their window's corner; rows and lines go down by their pitch.
constexpr TPlace kRowIcon{72, 46}, kRowText{120, 54}, kEmptyText{180, 152};
constexpr int32_t kRowPitch = 34;
constexpr TPlace kInfoPicture{38, 32}, kInfoLine{106, 36};
constexpr int32_t kInfoPitch = 20;
constexpr TPlace kGoldText{30, 8};
constexpr TPlace kSelectedIcon{50, 20}, kQuantityLine{110, 28}, kOwnedCount{88, 8};
constexpr TPlace kConfirmCursor{12, 16};  // down by 16 for each choice

constexpr float kBoardAlpha = 0.4f;
constexpr float kListDim = 0.7f;
constexpr float kRowDim = 0.3f;
constexpr float kTooDear = 0.4f;
constexpr float kCannotEquip = 0.7f, kCannotEquipDim = 0.5f;
constexpr int32_t kShadeFrames = 10;
constexpr int32_t kMaxStack = 99;

constexpr char kBell[] = " \x83\x78\x83\x8b";  // " ベル"
constexpr char kTimes[] = " \x81\x7e ";        // " × "
constexpr char kEquals[] = " \x81\x81 ";       // " ＝ "
// "ＮＯ ＩＴＥＭ"
constexpr char kNoItem[] = "\x82\x6d\x82\x6e\x20\x82\x68\x82\x73\x82\x64\x82\x6c";

template <class... Args>
std::string Format(const char* format, Args... args) {
  char text[128];
  std::snprintf(text, sizeof text, format, args...);
  return text;
}

std::string Money(uint64_t amount) { return Format("%8llu", static_cast<unsigned long long>(amount)) + kBell; }

TGameData& Data() { return TGameData::InstanceOrBlank(); }

TSprite8 EmptySprite() { return LoadSprite("", plat::D3DPOOL_MANAGED, 0); }


// --- the rules of buying and of selling ---

int32_t RoomLeft(uint32_t owned) { return kMaxStack - static_cast<int32_t>(std::min<uint32_t>(owned, kMaxStack)); }
int32_t AllOwned(uint32_t owned) { return static_cast<int32_t>(owned); }

std::vector<TInfoPiece> BuyRow(const TItemListRecord& item, uint32_t, uint32_t price) {
  return {{0, item.name}, {174, Money(price)}};
}

std::vector<TInfoPiece> SellRow(const TItemListRecord& item, uint32_t owned, uint32_t price) {
  return {{0, Format("%-16s", item.name.c_str()) + kTimes + Format("%2u %8u", owned, price) + kBell}};
}

bool Buy(uint32_t itemId, int32_t n, uint32_t total) {
  Data().AddItem(itemId, static_cast<uint32_t>(n));
  Data().SpendGold(total);
  return false;
}

bool Sell(uint32_t itemId, int32_t n, uint32_t total) {
  Data().AddGold(total);
  return Data().RemoveItem(itemId, static_cast<uint8_t>(n));
}

}  // namespace

const TShopRules TBuyShop::kRules = {
    "sTBuyShopLoop", "tBuyItem", &TItemListRecord::buyPrice, true, true, false, &RoomLeft, &BuyRow, &Buy,
};

const TShopRules TSellShop::kRules = {
    "sTSellShopLoop", "tSellItem", &TItemListRecord::sellPrice, false, false, true, &AllOwned, &SellRow, &Sell,
};

TBuyShop::TBuyShop(TGameWnd& application, std::vector<uint32_t> itemIds)
    : TShop(application, kRules, std::move(itemIds)) {}

TSellShop::TSellShop(TGameWnd& application) : TShop(application, kRules, Data().BuildSellList()) {}

TShop::TShop(TGameWnd& application, const TShopRules& shopRules, std::vector<uint32_t> itemIds)
    : TScreen(application, true),
      rules(shopRules),
      items(std::move(itemIds)),
      windows(kWindowShapes),
      pager(kPagerLayout),
      goldText(UiText("tBell", 512)),
      quantityText(UiText(shopRules.quantityName, 512)),
      ownedText(UiText("tHaveNum", 32)),
      infoPicture(EmptySprite()),
      confirmCursor(LoadSprite("sprite.ptx/cursor02", plat::D3DPOOL_MANAGED, 0)),
      board(EmptySprite()),
      background(app.CaptureScreen(shopRules.captureName)),
      sounds(TDSound8::Get().Find(0), GetDataFolder() + "subset/shop_se.tbl") {
  pager.Reset(static_cast<int32_t>(items.size()));
  confirmBob.Set(-3.0f, 3.0f, 10, TLoopValue::kForever, true);
  boardAlpha.Set(0.0f, kBoardAlpha, 10, 0);
  board.SetColor(0, -1);
  listShade.Set(1.0f, kListDim, kShadeFrames, 0);
  // Rows dimmed alike keep these for good; rows dimmed each for itself get theirs as they are
  // written.
  for (TMoveValue& shade : rowShades) shade.Set(1.0f, rules.shadesEachRow ? 1.0f : kRowDim, kShadeFrames, 0);
  for (TMoveValue& shade : iconShades) shade.Set(1.0f, kListDim, kShadeFrames, 0);
  static const char* const kRowNames[kRows] = {"tItem0", "tItem1", "tItem2", "tItem3", "tItem4", "tItem5", "tItem6"};
  rowTexts.reserve(kRows);
  for (const char* name : kRowNames) rowTexts.push_back(UiText(name, 512));
  for (TSprite8& icon : rowIcons) icon = EmptySprite();
  infoLines.reserve(3);
  for (const char* name : {"tTextInfo0_", "tTextInfo1_", "tTextInfo2_"}) infoLines.push_back(UiText(name, 512));
  if (rules.waitsWhenEmpty) {
    emptyText.emplace(UiText("tEmpty", 128));
    emptyText->DrawString(0, 0, kNoItem, TUiFont(), true);
  }
  RebuildRows();
  RefreshInfo();
  WriteGold();
  SetPhase(&TShop::FadeIn);
}

TShop::~TShop() = default;

const TItemListRecord& TShop::Item() const { return *TItemListTable::Find(items[pager.GetIndex()]); }

uint32_t TShop::Price() const { return Item().*rules.price; }

uint32_t TShop::Owned() const {
  const TItemEntry* entry = Data().FindItem(items[pager.GetIndex()]);
  return entry ? entry->count : 0;
}

uint64_t TShop::Total(int32_t n) const { return uint64_t{Price()} * static_cast<uint64_t>(std::max(n, 0)); }

void TShop::PlaySe(int32_t id) {
  if (TSoundSet8* set = sounds.GetSoundSet()) set->Play(id);
}

// --- the texts ---

void TShop::RebuildRows() {
  for (int32_t row = 0; row < kRows; ++row) {
    const auto index = static_cast<size_t>(pager.GetTop() + row);
    if (index < items.size()) {
      WriteRow(row, items[index]);
    } else {
      rowPieces[row].clear();
      rowTexts[row].Clear(true);
      rowIcons[row] = EmptySprite();
    }
  }
}

void TShop::WriteRow(int32_t row, uint32_t itemId) {
  const TItemListRecord& item = *TItemListTable::Find(itemId);
  const TItemEntry* entry = Data().FindItem(itemId);
  rowPieces[row] = rules.rowText(item, entry ? entry->count : 0, item.*rules.price);
  WritePieces(rowTexts[row], rowPieces[row]);
  rowIcons[row] = LoadKindIcon(item.id);
  if (rules.shadesEachRow) ShadeRow(row, item);
  rowTexts[row].SetColor(OpaqueGrey(rowShades[row].value), -1);
  rowIcons[row].SetColor(OpaqueGrey(iconShades[row].value), -1);
}

// A row the gold cannot pay for is grey; a weapon the controlled member may not hold has a grey
// icon.
void TShop::ShadeRow(int32_t row, const TItemListRecord& item) {
  const float text = Data().GetGold() < item.*rules.price ? kTooDear : 1.0f;
  rowShades[row].Set(text, kRowDim, kShadeFrames, 0);
  const bool equips = item.mapModelKind != 1 || TWeaponTable::CanEquip(Data().GetCurrentMember(), item.id);
  if (equips)
    iconShades[row].Set(1.0f, kListDim, kShadeFrames, 0);
  else
    iconShades[row].Set(kCannotEquip, kCannotEquipDim, kShadeFrames, 0);
}

void TShop::RefreshInfo() {
  TText8* lines[3] = {&infoLines[0], &infoLines[1], &infoLines[2]};
  if (items.empty()) {
    infoPicture = EmptySprite();
    for (TText8* line : lines) line->Clear(true);
    return;
  }
  const uint32_t id = items[pager.GetIndex()];
  infoPicture = LoadItemInfoPicture(id);
  ItemInfoText(id, false, lines);
}

void TShop::WriteGold() {
  goldLine = Money(Data().GetGold());
  WritePieces(goldText, {{0, goldLine}});
}

void TShop::WriteQuantity() {
  quantityLine = Format("%-16s", Item().name.c_str()) + kTimes + Format("%2d", quantity) + kEquals +
                 Money(Total(quantity));
  WritePieces(quantityText, {{0, quantityLine}});
}

// --- the phases ---

SceneResult TShop::FadeIn() {
  boardAlpha.Forward();
  board.SetColor(static_cast<uint32_t>(boardAlpha.value * 255.0f) << 24, -1);
  if (boardAlpha.step >= boardAlpha.frames) SetPhase(&TShop::SlideIn);
  return kSceneRunning;
}

SceneResult TShop::SlideIn() {
  if (windows.Forward({kGold, kInfo, kList})) return ToList();
  return kSceneRunning;
}

SceneResult TShop::ToList() {
  if (rules.waitsWhenEmpty && items.empty())
    SetPhase(&TShop::EmptyList);
  else
    SetPhase(&TShop::Select);
  return kSceneRunning;
}

SceneResult TShop::Select() {
  pager.StepBob();
  const int32_t before = pager.GetIndex();
  if (pager.Move(keys).taken) {
    RebuildRows();
  } else if (keys.Pressed(kButtonB)) {
    PlaySe(shop_se::kCancel);
    SetPhase(&TShop::SlideOut);
  } else if (keys.Pressed(kButtonA)) {
    // With nothing offered there is nothing to pay for.
    if (items.empty() || (rules.boundByGold && Price() > Data().GetGold())) {
      PlaySe(shop_se::kRefused);
    } else {
      OpenQuantity();
      SetPhase(&TShop::QuantityOpen);
      PlaySe(shop_se::kDecide);
    }
  }
  if (pager.GetIndex() != before) {
    RefreshInfo();
    PlaySe(shop_se::kMoved);
  }
  return kSceneRunning;
}

SceneResult TShop::EmptyList() {
  if (keys.Pressed(kButtonB)) SetPhase(&TShop::SlideOut);
  return kSceneRunning;
}

SceneResult TShop::SlideOut() {
  if (windows.Backward({kGold, kInfo, kList})) SetPhase(&TShop::FadeOut);
  return kSceneRunning;
}

SceneResult TShop::FadeOut() {
  boardAlpha.Backward();
  board.SetColor(static_cast<uint32_t>(boardAlpha.value * 255.0f) << 24, -1);
  if (boardAlpha.step > 0) return kSceneRunning;
  EndPhases();
  return kSceneFinished;
}

void TShop::OpenQuantity() {
  const uint32_t owned = Owned();
  limit = rules.quantityLimit(owned);
  quantity = std::clamp(limit, 0, 1);
  WriteQuantity();
  ownedLine = Format("%u", owned);
  ownedText.Clear(false);
  ownedText.DrawString(owned < 10 ? 8 : 0, 0, ownedLine, TUiFont(), true);
  selectedIcon = rowIcons[pager.GetRow()];
  selectedIcon.SetColor(0xFFFFFFFF, -1);
}

bool TShop::StepShades(bool forward) {
  auto step = [forward](auto& tween) { forward ? tween.Forward() : tween.Backward(); };
  for (TMoveValue& shade : rowShades) step(shade);
  for (TMoveValue& shade : iconShades) step(shade);
  step(windows[kQuantity]);
  step(windows[kOwned]);
  step(listShade);
  ApplyShades();
  return forward ? listShade.step >= listShade.frames : listShade.step == 0;
}

void TShop::ApplyShades() {
  const uint32_t list = OpaqueGrey(listShade.value);
  windows[kList].sprite.SetColor(list, -1);
  pager.SetColor(list);
  for (int32_t row = 0; row < kRows; ++row) {
    rowTexts[row].SetColor(OpaqueGrey(rowShades[row].value), -1);
    rowIcons[row].SetColor(OpaqueGrey(iconShades[row].value), -1);
  }
}

SceneResult TShop::QuantityOpen() {
  if (StepShades(true)) SetPhase(&TShop::Quantity);
  return kSceneRunning;
}

void TShop::Raise(int32_t by) {
  const int32_t old = quantity;
  quantity = std::min(quantity + by, limit);
  if (!rules.boundByGold) return;
  // The most the gold pays for, but never less than before.
  while (quantity > old && Total(quantity) > Data().GetGold()) --quantity;
}

void TShop::Lower(int32_t by) { quantity = std::max(quantity - by, 0); }

SceneResult TShop::Quantity() {
  const int32_t before = quantity;
  bool moved = true;
  if (keys.Stepped(kButtonUp)) {
    Raise(10);
  } else if (keys.Stepped(kButtonDown)) {
    Lower(10);
  } else if (keys.Stepped(kButtonLeft)) {
    Raise(1);
  } else if (keys.Stepped(kButtonRight)) {
    Lower(1);
  } else {
    moved = false;
    if (keys.Pressed(kButtonB) || (keys.Pressed(kButtonA) && quantity == 0)) {
      SetPhase(&TShop::QuantityClose);
      PlaySe(shop_se::kCancel);
    } else if (keys.Pressed(kButtonA)) {
      choice = kChoiceDeal;
      SetPhase(&TShop::ConfirmOpen);
      PlaySe(shop_se::kDecide);
    }
  }
  if (moved) WriteQuantity();
  if (quantity != before) PlaySe(shop_se::kMoved);
  return kSceneRunning;
}

SceneResult TShop::QuantityClose() {
  if (StepShades(false)) return ToList();
  return kSceneRunning;
}

SceneResult TShop::ConfirmOpen() {
  windows[kConfirm].Forward();
  if (windows[kConfirm].HasEnded()) SetPhase(&TShop::Confirm);
  return kSceneRunning;
}

SceneResult TShop::Confirm() {
  confirmBob.Step();
  if (keys.Stepped(kButtonUp) || keys.Stepped(kButtonDown)) {
    choice = choice == kChoiceDeal ? kChoiceCancel : kChoiceDeal;
    PlaySe(shop_se::kMoved);
  } else if (keys.Pressed(kButtonB) || (keys.Pressed(kButtonA) && choice == kChoiceCancel)) {
    SetPhase(&TShop::ConfirmClose);
    PlaySe(shop_se::kCancel);
  } else if (keys.Pressed(kButtonA)) {
    Deal();
  }
  return kSceneRunning;
}

void TShop::Deal() {
  const auto index = static_cast<size_t>(pager.GetIndex());
  const uint64_t total = Total(quantity);
  if (rules.deal(items[index], quantity, static_cast<uint32_t>(std::min<uint64_t>(total, UINT32_MAX)))) {
    items.erase(items.begin() + static_cast<std::ptrdiff_t>(index));
    pager.RemoveAtCursor();
  }
  RebuildRows();
  RefreshInfo();
  WriteGold();
  PlaySe(shop_se::kDeal);
  SetPhase(&TShop::Dealt);
}

SceneResult TShop::ConfirmClose() {
  windows[kConfirm].Backward();
  if (windows[kConfirm].AtStart()) SetPhase(&TShop::Quantity);
  return kSceneRunning;
}

SceneResult TShop::Dealt() {
  StepShades(false);
  windows[kConfirm].Backward();
  if (windows[kConfirm].AtStart()) return ToList();
  return kSceneRunning;
}

// --- drawing ---

bool TShop::DialogShows() const {
  return InPhase(&TShop::QuantityOpen) || InPhase(&TShop::Quantity) || InPhase(&TShop::QuantityClose) ||
         InPhase(&TShop::ConfirmOpen) || InPhase(&TShop::Confirm) || InPhase(&TShop::ConfirmClose) ||
         InPhase(&TShop::Dealt);
}

void TShop::DrawScreen() {
  TSprite8::SetBlendMode(0);
  background.Draw(0, 0, 640, 480, false);
  TSprite8::SetBlendMode(1);
  board.DrawRect(0, 0, 640, 480, false);
  TScreenWindow& list = windows[kList];
  TScreenWindow& info = windows[kInfo];
  list.Draw();
  windows[kGold].Draw();
  info.Draw();
  info.DrawAt(infoPicture, kInfoPicture);
  const bool empty = InPhase(&TShop::EmptyList);
  if (!empty) {
    pager.Draw(list);
    for (int32_t row = 0; row < kRows; ++row) list.DrawAt(rowIcons[row], {kRowIcon.dx, kRowIcon.dy + kRowPitch * row});
  }
  TSprite8::SetBlendMode(3);
  for (int32_t n = 0; n < 3; ++n) info.DrawAt(infoLines[n], {kInfoLine.dx, kInfoLine.dy + kInfoPitch * n});
  windows[kGold].DrawAt(goldText, kGoldText);
  if (empty) {
    list.DrawAt(*emptyText, kEmptyText);
  } else {
    for (int32_t row = 0; row < kRows; ++row) list.DrawAt(rowTexts[row], {kRowText.dx, kRowText.dy + kRowPitch * row});
  }
  if (DialogShows()) DrawDialog();
}

void TShop::DrawDialog() {
  TSprite8::SetBlendMode(1);
  TScreenWindow& box = windows[kQuantity];
  TScreenWindow& confirm = windows[kConfirm];
  box.Draw();
  windows[kOwned].Draw();
  box.DrawAt(selectedIcon, kSelectedIcon);
  confirm.Draw();
  const auto bob = static_cast<int32_t>(confirmBob.Value());
  confirm.DrawAt(confirmCursor, {kConfirmCursor.dx + bob, kConfirmCursor.dy * (choice + 1)});
  TSprite8::SetBlendMode(3);
  box.DrawAt(quantityText, kQuantityLine);
  windows[kOwned].DrawAt(ownedText, kOwnedCount);
}
