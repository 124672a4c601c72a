// The shops a script opens in front of the field. The buy shop lists the items the script offers
// with their prices; the sell shop lists what the player owns and may sell, with counts and sell
// prices. Both are one screen: seven rows over a darkened picture of the field, the gold and the
// chosen item's description beside them; A on a row opens the quantity window, A there the
// buy-or-cancel choice, and the deal moves gold and items. What differs is the deal's rules
// (TShopRules): where the list comes from, how a row reads, which price, what bounds the quantity,
// which rows are dimmed and what an empty list does.
#pragma once
#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "common/TMoveValue.h"
#include "common/TSprite8.h"
#include "common/TText8.h"
#include "game/ui/ItemInfo.h"
#include "game/ui/TListPager.h"
#include "game/ui/TScreen.h"
#include "game/ui/TScreenWindow.h"
#include "sound/TSoundList8.h"

struct TItemListRecord;

// The sounds of "subset/shop_se.tbl".
namespace shop_se {
constexpr int32_t kMoved = 601;  // the list cursor, the quantity or the choice moved
constexpr int32_t kDecide = 603;
constexpr int32_t kCancel = 606;
constexpr int32_t kRefused = 608;  // more than the gold can pay
constexpr int32_t kDeal = 217;     // bought or sold
}  // namespace shop_se

struct TShopRules {
  const char* captureName;   // the picture of the field behind the shop
  const char* quantityName;  // the text texture of the quantity line
  uint32_t TItemListRecord::*price;
  // The gold bounds the deal: a row dearer than the gold is dimmed and refused, and the quantity
  // never costs more than the gold.
  bool boundByGold;
  // Each row is dimmed for itself by what it costs and who may equip it; otherwise every row
  // dims alike.
  bool shadesEachRow;
  // An empty list waits for B alone, showing "ＮＯ ＩＴＥＭ".
  bool waitsWhenEmpty;
  // The most the quantity may reach with that many owned.
  int32_t (*quantityLimit)(uint32_t owned);
  // A row's text: the item, its count owned and its price.
  std::vector<TInfoPiece> (*rowText)(const TItemListRecord& item, uint32_t owned, uint32_t price);
  // The deal of quantity pieces for the total; true when the item's entry has left the bag.
  bool (*deal)(uint32_t itemId, int32_t quantity, uint32_t total);
};

class TShop : public TScreen {
 public:
  static constexpr int32_t kRows = TListPager::kRows;
  static constexpr int32_t kChoiceDeal = 0, kChoiceCancel = 1;
  enum TWindowId { kList, kGold, kInfo, kQuantity, kOwned, kConfirm, kWindows };

  ~TShop() override;

  const std::vector<uint32_t>& GetItems() const { return items; }
  const TListPager& GetPager() const { return pager; }
  int32_t GetQuantity() const { return quantity; }
  int32_t GetChoice() const { return choice; }
  const TScreenWindow& GetWindow(TWindowId n) const { return windows[n]; }
  const TMoveValue& GetBoardAlpha() const { return boardAlpha; }
  const TMoveValue& GetListShade() const { return listShade; }
  const TMoveValue& GetRowShade(int32_t row) const { return rowShades[row]; }
  const TMoveValue& GetIconShade(int32_t row) const { return iconShades[row]; }
  const TText8& GetRowText(int32_t row) const { return rowTexts[row]; }
  const TSprite8& GetRowIcon(int32_t row) const { return rowIcons[row]; }
  // What the texts show, as drawn.
  const std::vector<TInfoPiece>& GetRowPieces(int32_t row) const { return rowPieces[row]; }
  const std::string& GetGoldLine() const { return goldLine; }
  const std::string& GetQuantityLine() const { return quantityLine; }
  const std::string& GetOwnedLine() const { return ownedLine; }

  SceneResult FadeIn();
  SceneResult SlideIn();
  SceneResult Select();
  SceneResult EmptyList();
  SceneResult SlideOut();
  SceneResult FadeOut();
  SceneResult QuantityOpen();
  SceneResult Quantity();
  SceneResult QuantityClose();
  SceneResult ConfirmOpen();
  SceneResult Confirm();
  SceneResult ConfirmClose();
  SceneResult Dealt();

 protected:
  TShop(TGameWnd& app, const TShopRules& rules, std::vector<uint32_t> itemIds);
  void DrawScreen() override;

 private:
  const TItemListRecord& Item() const;
  uint32_t Price() const;
  uint32_t Owned() const;
  uint64_t Total(int32_t n) const;
  void PlaySe(int32_t id);

  void RebuildRows();
  void WriteRow(int32_t row, uint32_t itemId);
  void ShadeRow(int32_t row, const TItemListRecord& item);
  void RefreshInfo();
  void WriteGold();
  void WriteQuantity();
  void OpenQuantity();
  void Raise(int32_t by);
  void Lower(int32_t by);
  void Deal();
  // The dimming of the list while the quantity window is over it.
  bool StepShades(bool forward);
  void ApplyShades();
  SceneResult ToList();
  bool DialogShows() const;
  void DrawDialog();

  const TShopRules& rules;
  std::vector<uint32_t> items;
  int32_t quantity = 0;
  int32_t limit = 0;
  int32_t choice = kChoiceDeal;
  TWindowLayout windows;
  TListPager pager;
  TLoopValue confirmBob;
  TMoveValue boardAlpha;
  TMoveValue listShade;
  std::array<TMoveValue, kRows> rowShades, iconShades;
  std::array<TSprite8, kRows> rowIcons;
  std::vector<TText8> rowTexts;
  std::array<std::vector<TInfoPiece>, kRows> rowPieces;
  std::vector<TText8> infoLines;
  TText8 goldText, quantityText, ownedText;
  std::optional<TText8> emptyText;
  std::string goldLine, quantityLine, ownedLine;
  TSprite8 infoPicture;
  TSprite8 selectedIcon;
  TSprite8 confirmCursor;
  TSprite8 board;
  TSprite8 background;
  TSoundList8 sounds;
};

class TBuyShop : public TShop {
 public:
  static const TShopRules kRules;
  // Offers the ids in the order given; the list may be empty.
  TBuyShop(TGameWnd& app, std::vector<uint32_t> itemIds);
};

class TSellShop : public TShop {
 public:
  static const TShopRules kRules;
  // Lists what the game-progress record offers for sale.
  explicit TSellShop(TGameWnd& app);
};
