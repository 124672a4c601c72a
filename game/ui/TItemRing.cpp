#include "game/ui/TItemRing.h"

#include <new>

#include "game/data/GameGlobals.h"
#include "game/data/TGameData.h"
#include "game/shell/TInput.h"
#include "game/ui/HudSubjects.h"
#include "game/ui/ItemInfo.h"
#include "platform/gfx/D3D8Types.h"
#include "sound/TDSound8.h"
#include "sound/TSoundSet8.h"

namespace {

constexpr uint32_t kMoneyId = 0xFFFFFFFFu;
constexpr float kCursorX = 136, kCursorY = 258;

// Ring entry n of the running game; empty without one.
TItemEntry RingEntry(int32_t n) {
  TGameData* data = TGameData::Instance();
  return data ? data->GetEquipEntry(static_cast<uint32_t>(n)) : TItemEntry{};
}

bool Pressed(const TRingSubject& player, uint32_t button) {
  return (player.GetButtons(0) & button) != 0 && (player.GetButtons(1) & button) == 0;
}

}  // namespace

TCountedPtr<TItemRing> TItemRing::Create(TGlyphTable* glyphs) {
  return TCountedPtr<TItemRing>(new (std::nothrow) TItemRing(glyphs));
}

TItemRing::TItemRing(TGlyphTable* glyphs)
    : wheel(glyphs),
      cursorMark(LoadSprite("sprite.ptx/ring_cursor00", plat::D3DPOOL_MANAGED, 0)),
      sounds(TDSound8::Get().Find(0), GetDataFolder() + "subset/itemring_se.tbl") {
  slide.Set(kHiddenX, kShownX, kSlideFrames, 0);
}

TItemRing::~TItemRing() = default;

void TItemRing::ResetAngles() {
  cursor = 0;
  wheel.ResetAngles();
}

void TItemRing::Reset() {
  ResetAngles();
  Refresh();
  RebuildCounts();
}

void TItemRing::Refresh() {
  wheel.SetIcon(0, TSprite8());
  for (int32_t n = 1; n < TRingWheel::kSlots; ++n) {
    const uint32_t id = RingEntry(n).id;
    wheel.SetIcon(n, id == 0 ? TSprite8() : LoadItemIcon(id));
  }
}

void TItemRing::RebuildCounts() {
  for (int32_t n = 1; n < TRingWheel::kSlots; ++n) wheel.SetCount(n, RingEntry(n));
}

bool TItemRing::Step(TRingSubject& player) { return (this->*state)(player); }

// The angles are reset on every closed tick, so each opening starts at slot 0.
bool TItemRing::Closed(TRingSubject& player) {
  ResetAngles();
  if (player.IsRingKeyHeld()) state = &TItemRing::Open;
  return false;
}

bool TItemRing::Open(TRingSubject& player) {
  slide.Forward();
  wheel.Step();
  TakeTurn(player);
  if (!player.IsRingKeyHeld()) {
    UseSelected(player);
    state = &TItemRing::Closing;
  }
  RebuildCounts();
  return true;
}

void TItemRing::TakeTurn(const TRingSubject& player) {
  if (Pressed(player, kButtonUp)) {
    wheel.Turn(TRingWheel::kSlotAngle);
    cursor = cursor == 0 ? TRingWheel::kSlots - 1 : cursor - 1;
  } else if (Pressed(player, kButtonDown)) {
    wheel.Turn(-TRingWheel::kSlotAngle);
    cursor = cursor == TRingWheel::kSlots - 1 ? 0 : cursor + 1;
  } else {
    return;
  }
  if (TSoundSet8* set = sounds.GetSoundSet()) set->Play(kSoundTurn);
}

// The character checks and pays the ring points itself.
void TItemRing::UseSelected(TRingSubject& player) {
  if (cursor == 0) return;
  const TItemEntry entry = RingEntry(cursor);
  if (entry.id != 0 && entry.id != kMoneyId && entry.count != 0) player.UseRingCommand(entry.id);
}

bool TItemRing::Closing(TRingSubject&) {
  slide.Backward();
  if (slide.step == 0) state = &TItemRing::Closed;
  return false;
}

void TItemRing::Draw() {
  if (IsClosed()) return;
  TSprite8::SetBlendMode(1);
  wheel.Draw(slide.value, kWheelY);
  cursorMark.DrawAt(slide.value + kCursorX, kCursorY, false);
}
