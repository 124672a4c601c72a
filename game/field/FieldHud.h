// The HUD parts that the field scene holds for its whole life (glyph table, character panel, item
// ring, skill ring, acquisition message window), as the field itself uses them. The user interface
// lies above the field and implements this; the field scene makes one through its services. The
// player character draws them.
#pragma once
#include <cstdint>
#include <string>

class TStagePlayer;

class TFieldHud {
 public:
  virtual ~TFieldHud() = default;

  // After the field menu: the character panel and the skill ring from the player, then the item
  // ring.
  virtual void Refresh(TStagePlayer& player) = 0;
  // After the player was rebuilt: the skill ring, then the character panel.
  virtual void RefreshForNewPlayer(TStagePlayer& player) = 0;

  // The acquisition message window: stop and forget every message, queue a pause of that many
  // updates, queue a text shown as it is, an item obtained, gold obtained.
  virtual void ResetMessages() = 0;
  virtual void PushWait(int32_t updates) = 0;
  virtual void PushText(const std::string& text) = 0;
  virtual void PushItem(uint32_t itemId) = 0;
  virtual void PushMoney(uint32_t amount) = 0;
  // What a steal took from an enemy: an item, or an amount of money.
  virtual void PushStolenItem(uint32_t itemId) = 0;
  virtual void PushStolenMoney(uint32_t amount) = 0;
};
