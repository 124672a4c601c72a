#include "game/ui/TSkillMenu.h"

#include "game/data/TGameData.h"
#include "game/data/TSkillTable.h"
#include "game/shell/TInput.h"
#include "game/ui/TPanelColumn.h"
#include "game/ui/TSkillRing.h"
#include "platform/gfx/D3D8Types.h"

namespace {

constexpr TWindowShape kWindowShapes[] = {
    {nullptr, 0, 0, 0, 0},          // no name
    {nullptr, -300, 32, 128, 128},  // the skill bar
};
constexpr size_t kSlide[] = {TMenuListScreen::kInfo, TSkillMenu::kRing};

// "スキル", "ＮＯ ＳＫＩＬＬ"
constexpr char kTitleText[] = "\x83\x58\x83\x4c\x83\x8b";
constexpr char kNoSkill[] = "\x82\x6d\x82\x6e\x20\x82\x72\x82\x6a\x82\x68\x82\x6b\x82\x6b";

constexpr int32_t kShadeFrames = 10;

TGameData& Data() { return TGameData::InstanceOrBlank(); }

TSprite8 SkillIcon(uint32_t skillId) {
  return skillId == 0 ? LoadSprite("", plat::D3DPOOL_MANAGED, 0) : DrawSkillIcon(TSkillTable::Find(skillId)->icon);
}

}  // namespace

// The empty list takes B without a sound.
const TMenuListLayout TSkillMenu::kLayout = {
    kWindowShapes, kSlide, true, TListKind::kSkills, "skillInfo", 90, "WinTips1", {58, 8}, kNoSkill, {94, 136},
    nullptr,  0,      -1,
};

TSkillMenu::TSkillMenu(TGameWnd& application, TMenuTop& menu)
    : TMenuListScreen(application, menu, kLayout),
      field(menu.GetFieldScene()),
      ring(field.GetSkillRing()),
      savedSlot(ring.GetCursor()),
      member(field.GetPlayer().GetMember()) {
  SetTitle(kTitleText, 0);
  ringShade.Set(1.0f, kDimmedRing, kShadeFrames, 0);
  ReplaceEntries(Offered());
  ring.SetCursor(0);
  for (int32_t k = 0; k < TSkillRing::kCells; ++k)
    ring.SetIcon(k, SkillIcon(Data().GetSkillSlot(member, static_cast<uint32_t>(k))));
  ShowSelectInfo();
  SetSelectPhase(&TSkillMenu::SlotSelect);
}

TSkillMenu::~TSkillMenu() = default;

int32_t TSkillMenu::GetSlot() const { return ring.GetCursor(); }

std::vector<TListEntry> TSkillMenu::Offered() const {
  std::vector<TListEntry> list;
  for (uint32_t id : Data().BuildSkillList(member, field.GetPlayer().GetWeaponId())) list.push_back({id, 0});
  return list;
}

uint32_t TSkillMenu::SlotSkill() const { return Data().GetSkillSlot(member, static_cast<uint32_t>(ring.GetCursor())); }

void TSkillMenu::ShowSelectInfo() { ShowInfo(SlotSkill()); }

SceneResult TSkillMenu::SlotSelect() {
  if (keys.Stepped(kButtonLeft)) {
    ring.Previous();
    ShowSelectInfo();
  } else if (keys.Stepped(kButtonRight)) {
    ring.Next();
    ShowSelectInfo();
  } else if (keys.Pressed(kButtonA)) {
    std::vector<TListEntry> list = entries;
    if (SlotSkill() != 0) list.insert(list.begin(), TListEntry{});
    OpenList(std::move(list));
  } else if (keys.Pressed(kButtonB)) {
    SetPhase(&TMenuListScreen::Closing);
    PlaySe(menu_se::kCancel);
  }
  return kSceneRunning;
}

void TSkillMenu::Choose(TListEntry entry) {
  const auto slot = static_cast<uint32_t>(ring.GetCursor());
  if (entry.id == 0)
    Data().ClearSkillSlot(member, slot);
  else
    Data().SetSkillSlot(member, slot, entry.id);
  ReplaceEntries(Offered());
  ring.SetIcon(ring.GetCursor(), SkillIcon(entry.id));
  RefreshRing();
  PlaySe(entry.id == 0 ? menu_se::kCancel : menu_se::kChanged);
  CloseList();
}

void TSkillMenu::RefreshRing() {
  const int32_t slot = ring.GetCursor();
  ring.SetCursor(savedSlot);
  ring.ResetColors();
  parent.RefreshBackground();
  ring.SetCursor(slot);
  ApplyShade();
}

// The selected slot's icon stays bright.
void TSkillMenu::ApplyShade() { ring.Shade(OpaqueGrey(ringShade.value), ring.GetCursor()); }

void TSkillMenu::StepShade(bool forward) {
  forward ? ringShade.Forward() : ringShade.Backward();
  ApplyShade();
}

void TSkillMenu::OnClosed() {
  ring.ResetColors();
  ring.SetCursor(savedSlot);
}

void TSkillMenu::DrawBehind() {
  const TScreenWindow& bar = GetWindow(kRing);
  ring.Draw(static_cast<float>(bar.X()), static_cast<float>(bar.Y()));
}
