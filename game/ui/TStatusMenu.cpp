#include "game/ui/TStatusMenu.h"

#include <cstdio>

#include "common/TD3D8.h"
#include "common/TRenderModeTable.h"
#include "common/Truncate.h"
#include "game/data/TGameData.h"
#include "game/data/TWeaponTable.h"
#include "game/shell/TInput.h"
#include "game/ui/MenuSubjects.h"
#include "game/ui/TUiFont.h"
#include "platform/gfx/D3D8Types.h"

namespace {

constexpr TWindowShape kWindow{"sprite.ptx/window09", 64, 64, -320, 80};
constexpr const char* kModelName = "StatusHero";
// The camera looks past the character, at a point of its depth higher up and toward the window:
// aimed at the character itself, it would stand in the middle of the screen under the window's
// values; this way, once risen, it stands whole in the window's empty right part.
constexpr float kLookX = 0.4f, kLookY = 1.2f;

// A rate of 0.5 shows 50; below 0 nothing, above the 32-bit range the largest number. The product
// is a float, as the game's: 0.9 is a little under 0.9, and only in double does it show 89.
uint32_t Percent(float rate) { return TruncateToU32(rate * 100.0f); }

template <class... Args>
std::string Format(const char* format, Args... args) {
  char text[64];
  std::snprintf(text, sizeof text, format, args...);
  return text;
}

// A parameter with its bonus, or alone when the bonus is 0.
std::string Parameter(int32_t base, int32_t bonus) {
  if (bonus == 0) return Format("%3u", static_cast<uint32_t>(base));
  return Format("%3u + %3u", static_cast<uint32_t>(base), static_cast<uint32_t>(bonus));
}

TCountedPtr<TFrame8> NamedFrame(const std::string& name) {
  plat::D3DXMATRIX identity;
  plat::D3DXMatrixIdentity(&identity);
  return TCountedPtr<TFrame8>(new TFrame8(name, identity, nullptr));
}

}  // namespace

const TStatusTextShape TStatusMenu::kTextShapes[kTexts] = {
    {"tLv", 64, {78, 44}},     {"tEXP", 128, {234, 44}},  {"tGold", 128, {242, 64}},  {"tHP", 128, {122, 102}},
    {"tMP", 128, {122, 120}},  {"tATK", 128, {94, 170}},  {"tDIF", 128, {94, 188}},   {"tSTR", 128, {94, 206}},
    {"tVIT", 128, {94, 224}},  {"tINT", 128, {94, 242}},  {"tMEN", 128, {94, 260}},   {"tFire", 64, {226, 170}},
    {"tWater", 64, {226, 188}}, {"tWind", 64, {226, 206}}, {"tSoil", 64, {226, 224}}, {"tLight", 64, {226, 242}},
    {"tDark", 64, {226, 260}},
};

std::array<std::string, TStatusMenu::kTexts> TStatusMenu::Texts(const TStatusSheetSubject* player, uint32_t gold) {
  std::array<std::string, kTexts> t;
  if (!player) return t;
  const uint32_t level = player->GetLevel();
  const TWeaponRecord* weapon = TWeaponTable::Find(player->GetWeaponId());
  const uint32_t weaponAttack = weapon ? weapon->attack : 0;
  t[0] = Format("%2u", level + 1);
  t[1] = Format("%4u/1000", player->GetExperience() - 1000 * level);
  t[2] = Format("%8u \x83\x78\x83\x8b", gold);  // "ベル"
  t[3] = Format("%4u/%4u", static_cast<uint32_t>(player->GetHp()), static_cast<uint32_t>(player->GetMaxHp()));
  t[4] = Format("%4u/%4u", static_cast<uint32_t>(player->GetMp()), static_cast<uint32_t>(player->GetMaxMp()));
  t[5] = Format("%3u", static_cast<uint32_t>(player->GetAttack()) + weaponAttack);
  t[6] = Format("%3u", static_cast<uint32_t>(player->GetDefence()));
  for (int32_t n = 0; n < 4; ++n) t[7 + n] = Parameter(player->GetParam(n), player->GetParamBonus(n));
  for (int32_t n = 0; n < 6; ++n) t[11 + n] = Format("%3u%%", Percent(player->GetElementRate(n)));
  return t;
}

TStatusMenu::TStatusMenu(TGameWnd& app, TMenuTop& menu)
    : TMenuScreen(app, menu, false),
      window(kWindow),
      root(NamedFrame("Status")),
      charFrame(NamedFrame("Char")),
      cameraFrame(NamedFrame("Camera")) {
  modelHeight.Set(-1.0f, 0.6f, 10, 0);
  const int32_t width = d3d ? static_cast<int32_t>(d3d->GetWidth()) : 640;
  const int32_t height = d3d ? static_cast<int32_t>(d3d->GetHeight()) : 480;
  view.SetProjection(0.1f, 20.0f, 45.0f, width, height);
  root->AddChild(charFrame);
  root->AddChild(cameraFrame);
  if (std::optional<TMesh8> model = parent.GetFieldScene().LoadPartyMemberModel()) {
    model->SetName(kModelName);
    model->SetMotion(0);
    charFrame->AddMesh(*model);
  }
  cameraFrame->AimAtPoint(root.Get(), plat::D3DXVECTOR3(kLookX, kLookY, kModelZ), 12);
  PlaceModel();
  view.SetViewFromFrame(*cameraFrame);

  const TGameData* data = TGameData::Instance();
  texts = Texts(parent.GetFieldScene().GetStatusSheet(), data ? data->GetGold() : 0);
  textures.reserve(kTexts);
  const TUiFont font;
  for (size_t n = 0; n < kTexts; ++n) {
    textures.emplace_back(kTextShapes[n].name, kTextShapes[n].width, 16, 255, 255, 255, plat::D3DPOOL_MANAGED, 0);
    textures.back().DrawString(0, 0, texts[n], font, true);
  }
  SetPhase(&TStatusMenu::Open);
}

TStatusMenu::~TStatusMenu() = default;

void TStatusMenu::PlaceModel() { charFrame->SetPositionXYZ(kModelX, modelHeight.value, kModelZ); }

void TStatusMenu::StepModel() {
  if (TMesh8* model = charFrame->FindMesh(kModelName, false)) model->StepMotion(true);
  view.SetViewFromFrame(*cameraFrame);
}

SceneResult TStatusMenu::Open() {
  StepModel();
  modelHeight.Forward();
  PlaceModel();
  window.Forward();
  if (window.HasEnded()) SetPhase(&TStatusMenu::Idle);
  return kSceneRunning;
}

// The model turns in place about its own upright axis.
SceneResult TStatusMenu::Idle() {
  StepModel();
  charFrame->RotateAxis(plat::D3DXVECTOR3(0, 1, 0), kTurnPerTick, true);
  if (keys.Pressed(kButtonA | kButtonB)) {
    PlaySe(menu_se::kCancel);
    SetPhase(&TStatusMenu::Close);
  }
  return kSceneRunning;
}

SceneResult TStatusMenu::Close() {
  StepModel();
  modelHeight.Backward();
  PlaceModel();
  window.Backward();
  if (!window.AtStart()) return kSceneRunning;
  EndPhases();
  return kSceneFinished;
}

void TStatusMenu::BeforeScene() { TD3D8::Clear(0, plat::D3DCLEAR_ZBUFFER, 1.0f, 0, 0, nullptr); }

void TStatusMenu::DrawWindows() {
  window.Draw();
  TSprite8::SetBlendMode(3);
  for (size_t n = 0; n < kTexts; ++n) window.DrawAt(textures[n], kTextShapes[n].place);
  plat::D3DXMATRIX identity;
  plat::D3DXMatrixIdentity(&identity);
  root->Draw(view, identity);
  TRenderModeTable::FlushAll();
}
