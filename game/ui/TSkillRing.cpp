#include "game/ui/TSkillRing.h"

#include <new>

#include "game/data/GameGlobals.h"
#include "game/data/TGameData.h"
#include "game/data/TSkillTable.h"
#include "game/ui/HudSubjects.h"
#include "game/ui/ItemInfo.h"
#include "platform/gfx/D3D8Types.h"
#include "sound/TDSound8.h"
#include "sound/TSoundSet8.h"

namespace {

// The frame's pieces: the two ends and three middle cells, cut side by side from one picture,
// each the picture's whole height.
struct PieceRow {
  float uLeft, uRight;
  float x, width;
};
constexpr PieceRow kPieces[TSkillRing::kCells] = {
    {0, 0.28125f, 0, 72},           {0.28125f, 0.46875f, 72, 48}, {0.28125f, 0.46875f, 120, 48},
    {0.28125f, 0.46875f, 168, 48}, {0.46875f, 0.75f, 216, 72},
};
constexpr float kPieceHeight = 64;
constexpr float kIconX = 32, kIconY = 24, kCellWidth = 48;

}  // namespace

TCountedPtr<TSkillRing> TSkillRing::Create() { return TCountedPtr<TSkillRing>(new (std::nothrow) TSkillRing()); }

TSkillRing::TSkillRing()
    : cursorMark(LoadSprite("sprite.ptx/ring_cursor01", plat::D3DPOOL_MANAGED, 0)),
      sounds(TDSound8::Get().Find(0), GetDataFolder() + "subset/skillgauge_se.tbl") {
  const TSprite8 frame = LoadSprite("sprite.ptx/guage06", plat::D3DPOOL_MANAGED, 0);
  for (int32_t k = 0; k < kCells; ++k) {
    pieces[k] = frame;
    pieces[k].vertices[0].u = pieces[k].vertices[2].u = kPieces[k].uLeft;
    pieces[k].vertices[1].u = pieces[k].vertices[3].u = kPieces[k].uRight;
  }
}

TSkillRing::~TSkillRing() = default;

void TSkillRing::Refresh(const TRingSubject& player) {
  const TGameData* data = TGameData::Instance();
  for (int32_t k = 0; k < kCells; ++k) {
    const uint32_t skill = data ? data->GetSkillSlot(player.GetPartyMember(), static_cast<uint32_t>(k)) : 0;
    icons[k] = skill == 0 ? TSprite8() : DrawSkillIcon(TSkillTable::Find(skill)->icon);
  }
}

void TSkillRing::HandleInput(const TRingSubject& player) {
  const uint32_t now = player.GetButtons(0), before = player.GetButtons(1);
  if ((now & kButtonPrevious) && !(before & kButtonPrevious)) Previous();
  if ((now & kButtonNext) && !(before & kButtonNext)) Next();
}

void TSkillRing::Previous() { Move(cursor <= 0 ? kCells - 1 : cursor - 1); }

void TSkillRing::Next() { Move(cursor >= kCells - 1 ? 0 : cursor + 1); }

void TSkillRing::Move(int32_t to) {
  const bool moved = to != cursor;
  cursor = to;
  if (!moved) return;
  if (TSoundSet8* set = sounds.GetSoundSet()) set->Play(kSoundMove);
}

void TSkillRing::ResetColors() {
  for (TSprite8& s : pieces) s.SetColor(0xFFFFFFFFu, -1);
  for (TSprite8& s : icons) s.SetColor(0xFFFFFFFFu, -1);
  cursorMark.SetColor(0xFFFFFFFFu, -1);
}

void TSkillRing::Shade(uint32_t colour, int32_t brightCell) {
  for (TSprite8& s : pieces) s.SetColor(colour, -1);
  for (int32_t k = 0; k < kCells; ++k)
    if (k != brightCell) icons[k].SetColor(colour, -1);
}

void TSkillRing::Draw(float x, float y) {
  TSprite8::SetBlendMode(1);
  for (int32_t k = 0; k < kCells; ++k) pieces[k].Draw(x + kPieces[k].x, y, kPieces[k].width, kPieceHeight, false);
  for (int32_t k = 0; k < kCells; ++k) icons[k].DrawAt(x + kIconX + kCellWidth * static_cast<float>(k), y + kIconY, false);
  cursorMark.DrawAt(x + kIconX + kCellWidth * static_cast<float>(cursor), y + kIconY, false);
}
