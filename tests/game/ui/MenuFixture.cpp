#include "tests/game/ui/MenuFixture.h"

#include <algorithm>
#include <cmath>

#include "common/TD3D8.h"
#include "common/TDeviceHooks.h"
#include "common/TMesh8.h"
#include "common/TTexture8.h"
#include "game/data/GameGlobals.h"
#include "game/data/TAccessoryTable.h"
#include "game/data/TGameData.h"
#include "game/data/TWeaponTable.h"
#include "game/shell/TScreenCapture.h"
#include "platform/gfx/AdapterTable.h"
#include "platform/gfx/FormatInfo.h"
#include "platform/window/InputState.h"
#include "sound/TDSound8.h"
#include "sound/TSound8.h"
#include "sound/TSoundSet8.h"
#include "tests/common/GraphicsFixture.h"
#include "tools/datakit/SampleGameTables.h"
#include "tools/datakit/SampleMeshes.h"
#include "tools/datakit/SampleSound.h"
#include "tools/datakit/SampleTextures.h"

namespace menutest {

PaintedField::PaintedField(TGameWnd& app, uint32_t c) : TStateScene(app), colour(c) { SetDraw(&PaintedField::Paint); }

void PaintedField::Paint() {
  ++draws;
  if (!d3d || !d3d->CheckDevice()) return;
  TD3D8::Clear(colour, plat::D3DCLEAR_TARGET | plat::D3DCLEAR_ZBUFFER, 1.0f, 0, 0, nullptr);
  if (TD3D8::BeginScene() != plat::D3D_OK) return;
  TD3D8::EndScene();
  d3d->Present();
}

void TestField::RebuildPlayer(uint32_t member) {
  log.push_back("rebuild " + std::to_string(member));
  TGameData::Instance()->SetCurrentMember(member);
  scene->colour = memberColours[member & 1];
}

void MenuPlayer::SetWeapon(uint32_t id) {
  log.push_back("weapon " + std::to_string(id));
  weaponId = id;
}

void MenuPlayer::SetEquipSlot(uint32_t id, char slot) {
  log.push_back("accessory " + std::to_string(id) + " " + slot);
  (slot == 'A' ? accessoryA : accessoryB) = id;
}

TPlayerState MenuPlayer::GetState() const {
  const TCharBlock& block = TGameData::Instance()->GetCharBlock(member);
  TPlayerState state;
  state.member = member;
  state.level = block.level;
  state.experience = block.experience;
  state.maxHp = block.maxHp;
  state.maxMp = block.maxMp;
  state.mp = block.mp;
  state.ringGaugeMax = block.ringGaugeMax;
  state.hp = hp;
  state.weaponId = weaponId;
  state.accessoryA = accessoryA;
  state.accessoryB = accessoryB;
  return state;
}

uint16_t MenuPlayer::GetWeaponPoints() const { return TGameData::Instance()->GetCharBlock(member).PointsOf(weaponId); }

uint16_t MenuPlayer::GetEquipPoints(char slot) const {
  return TGameData::Instance()->GetCharBlock(member).PointsOf(GetEquipSlot(slot));
}

TGlyphTable& TestField::GetGlyphTable() {
  if (!glyphs) glyphs = std::make_unique<TGlyphTable>("sprite.ptx/word");
  return *glyphs;
}

TGauge& TestField::GetGauge() {
  if (!gauge) gauge = std::make_unique<TGauge>(&GetGlyphTable());
  return *gauge;
}

TSkillRing& TestField::GetSkillRing() {
  if (!skillRing) skillRing = std::make_unique<TSkillRing>();
  return *skillRing;
}

void TestField::UpdateGauge() {
  log.push_back("update gauge");
  GetGauge().Update(player);
}

std::optional<TMesh8> TestField::LoadPartyMemberModel() {
  log.push_back("model");
  if (model.empty()) return std::nullopt;
  return TMesh8::Load(model);
}

TScene* TestUiServices::CreateTitleChange(TGameWnd& app, int32_t musicId) {
  log.push_back("title change " + std::to_string(musicId));
  return new shelltest::TestScene(app, "change", log);
}

TScene* TestUiServices::CreateLoadChange(TGameWnd& app, int32_t slot, int32_t musicId) {
  log.push_back("load change " + std::to_string(slot) + " " + std::to_string(musicId));
  return new shelltest::TestScene(app, "change", log);
}

TScene* TestUiServices::CreateEventChange(TGameWnd& app, int32_t fadeKind, int32_t direction, int32_t eventId,
                                          int32_t musicId) {
  log.push_back("event change " + std::to_string(fadeKind) + " " + std::to_string(direction) + " " +
                std::to_string(eventId) + " " + std::to_string(musicId));
  return new shelltest::TestScene(app, "change", log);
}

TDSound8* MenuShellServices::Sound() { return &TDSound8::Get(); }
TD3D8* MenuShellServices::Device() { return TD3D8::Instance(); }

void MenuFixture::SetUp() {
  ShellFixture::SetUp();
  const std::string game = dir.path() + "/";
  datakit::WriteSampleGameTables(game + "data/tbl03/");
  datakit::WriteSampleSound(game);
  datakit::SampleSpritePack().Save(game + "data/ptx03/sprite.ptx");
  datakit::WriteSampleMeshes(game + "data/msh03/");
  TTexture8::SetFolder("data/ptx03/");
  TMesh8::SetFolder("data/msh03/");
  SetDataFolder("data/tbl03/");
  TWeaponTable::Load(GetDataFolder() + "wepon.tbl");
  TAccessoryTable::Load(GetDataFolder() + "accessory.tbl");
  LoadGameTables();
  TGameData::Instance()->NewGame();
  plat::SetSoundOutput(&soundOutput);
  TDSound8& sound = TDSound8::Get();
  sound.SetSeFolder("data/se03/");
  sound.SetBgmFolder("data/bgm03/");
  sound.Init(nullptr);
  sound.LoadSet("data/tbl03/se.tbl", "se.pse/", 0, -10000, 0);
  sound.LoadSet("data/tbl03/voice.tbl", "voice.pse/", 1, -10000, 0);
  sound.LoadSet("data/tbl03/bgm.tbl", "", 2, -10000, 0);
  TDeviceHooks::Get() = TDeviceHooks::Real();
  ASSERT_NO_FATAL_FAILURE(StartDevice());
  app = std::make_unique<TGameWnd>(GameWindowParams(nullptr), 101, 104, shell);
  shell.app = app.get();
  app->CreateWnd();
  app->Initialize();
  SetUiServices(&uiServices);
}

void MenuFixture::StartDevice() {
  plat::SetRendererFactory([r = renderer] { return r; });
  ASSERT_TRUE(TD3D8::Instance()->Init(TCountedPtr<TD3DDeviceBuilder8>(new TestDeviceBuilder(640, 480)),
                                      plat::D3D_SDK_VERSION, "", "InitLog.txt"));
}

void MenuFixture::TearDown() {
  menu = nullptr;
  field.scene = nullptr;
  if (app) app->ClearScenes();  // the screens go before the device, the sound and the tables
  field.skillRing.reset();
  field.gauge.reset();
  field.glyphs.reset();
  SetUiServices(nullptr);
  app.reset();
  TWeaponTable::Clear();
  TAccessoryTable::Clear();
  FreeGameTables();
  TTexture8::Purge(1);
  TD3D8::Instance()->Cleanup();
  TDSound8::Get().Uninit();
  plat::SetSoundOutput(nullptr);
  plat::SetRendererFactory(nullptr);
  plat::ResetAdapterTable();
  TTexture8::SetFolder("");
  TMesh8::SetFolder("");
  SetDataFolder("");
  ShellFixture::TearDown();
}

bool MenuFixture::Tick(uint32_t buttons) {
  for (int k = 0; k < TInput::kButtonCount; ++k)
    plat::SetKeyDown(static_cast<int>(TInput::kDefaultKeys[k]), (buttons >> k & 1) != 0);
  auto* scene = dynamic_cast<TStateScene*>(app->GetCurrentScene());
  EXPECT_NE(scene, nullptr);
  if (!scene) return false;
  const TFrameTimer& timer = scene->GetTimer();
  // A whole millisecond past the tick's end, so that rounding never leaves it short.
  const auto due = static_cast<plat::DWORD>(std::floor(timer.baseTime + timer.tickLength)) + 1;
  clock.Set(std::max(due, plat::timeGetTime()));
  return app->Frame();
}

bool MenuFixture::TickUntil(const std::function<bool()>& done, uint32_t buttons, int limit) {
  for (int i = 0; i < limit; ++i) {
    if (done()) return true;
    Tick(buttons);
  }
  return done();
}

void MenuFixture::WriteHudPacks() {
  const std::string packs = dir.path() + "/data/ptx03/";
  datakit::SampleItemIconPack().Save(packs + "itm_icon.ptx");
  datakit::WriteSampleHudPacks(packs);
}

void MenuFixture::PlayFieldMusic() {
  TCountedPtr<TSoundSet8> music = TDSound8::Get().Find(2);
  music->Load(kFieldMusic);
  music->PlayLoop(kFieldMusic);
  field.musicId = kFieldMusic;
}

TMenuTop& MenuFixture::OpenMenu() {
  field.scene = new PaintedField(*app, kFieldColour);
  app->SetScene(field.scene);
  Ticks(6);  // the input's warm-up
  menu = new TMenuTop(*app, field);
  app->SetScene(menu);
  EXPECT_TRUE(TickUntil([this] { return menu->InPhase(&TMenuTop::Select); }));
  Sounds();
  renderer->ClearLog();
  return *menu;
}

std::vector<int32_t> MenuFixture::Sounds() {
  std::vector<int32_t> played;
  TCountedPtr<TSoundSet8> set = TDSound8::Get().Find(0);
  for (int32_t id : {217, 600, 601, 602, 603, 605, 606, 607, 608}) {
    TCountedPtr<TSound8> sound = set->GetSound(id);
    if (!sound || sound->GetState() != TSound8::kPlaying) continue;
    played.push_back(id);
    set->Stop(id);
  }
  return played;
}

std::vector<const plat::RecordedDraw*> MenuFixture::DrawsOf(const std::string& texture) const {
  std::vector<const plat::RecordedDraw*> found;
  for (const plat::RecordedDraw& d : renderer->Draws()) {
    const std::string& name = d.textures[0].name;
    if (name == texture || name.rfind(texture + "#", 0) == 0) found.push_back(&d);
  }
  return found;
}

uint32_t MenuFixture::CapturedAt(const std::string& captureName, uint32_t x, uint32_t y) {
  TTexture8* texture = TTexture8::Find(TScreenCapture::TextureName(captureName));
  plat::IDirect3DSurface8* level = nullptr;
  if (!texture || !texture->Object() || texture->Object()->GetSurfaceLevel(0, &level) != plat::D3D_OK) return 0xDEADBEEF;
  level->Release();
  const plat::D3DFORMAT format = level->Desc().Format;
  plat::D3DCOLOR c = 0;
  plat::UnpackColor(format, level->Bits() + y * level->Pitch() + x * plat::LayoutOf(format).blockBytes, c);
  return c & 0xFFFFFF;
}

}  // namespace menutest
