#include "tests/game/field/FieldSceneFixture.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>

#include "common/TD3D8.h"
#include "common/TDeviceHooks.h"
#include "common/TMesh8.h"
#include "common/TTexture8.h"
#include "game/actor/TPatternInfo.h"
#include "game/actor/TWeponState.h"
#include "game/data/GameGlobals.h"
#include "game/data/TAccessoryTable.h"
#include "game/data/TGameData.h"
#include "game/data/TItemMeanTable.h"
#include "game/data/TWeaponTable.h"
#include "game/effect/EffectFolder.h"
#include "game/field/FieldFolders.h"
#include "tests/game/field/FieldStandIns.h"
#include "game/field/TGameObject.h"
#include "game/field/THitTable.h"
#include "game/shell/WinMain.h"
#include "platform/gfx/AdapterTable.h"
#include "sound/TDSound8.h"
#include "tests/common/MeshFixture.h"
#include "SampleGameFolder.h"

namespace fieldscenetest {

namespace {

std::string Vec(const D3DXVECTOR3& v) {
  char text[64];
  std::snprintf(text, sizeof text, "%.2f,%.2f,%.2f", v.x, v.y, v.z);
  return text;
}

}  // namespace

TestPlayer::TestPlayer(int n, uint32_t m, Log& l)
    : TFieldActor(1, 0.5f, 1.0f, 1, 1, -0.01f, "hero"), number(n), member(m), log(l) {
  Note("made");
}

TestPlayer::~TestPlayer() { Note("gone"); }

void TestPlayer::Attach(TStageLinks* stage) {
  Note("attach");
  TFieldActor::Attach(stage);
}

void TestPlayer::Detach() {
  Note("detach");
  TFieldActor::Detach();
}

void TestPlayer::PlaceAt(const D3DXVECTOR3& point, const D3DXVECTOR3& lookAt) {
  Note("placed " + Vec(point) + " facing " + Vec(lookAt));
  placements.push_back(point);
  SetPosition(point);
}

TPlayerState TestPlayer::GetState() const {
  TPlayerState s;
  s.member = member;
  s.level = 7;
  s.hp = 55 + number;
  s.maxHp = 100;
  return s;
}

TPlayerCarry TestPlayer::SaveState() const {
  TPlayerCarry carry;
  carry.matrix = *GetFrame()->GetMatrix();
  carry.mode = GetMode();
  carry.gravity = GetGravity();
  return carry;
}

void TestPlayer::RestoreState(const TPlayerCarry& carry) {
  GetFrame()->SetMatrix(carry.matrix);
  SetMode(static_cast<int32_t>(carry.mode));
  SetGravity(carry.gravity);
  Note("restored");
}

bool TestPlayer::EnterSavePoint(int32_t id) {
  Note("enter save point " + std::to_string(id));
  const bool fresh = savePointId == -1;
  savePointId = id;
  return fresh;
}

void TestPlayer::LeaveSavePoint() {
  Note("leave save point");
  savePointId = -1;
}

int32_t TestMapObject::Test() {
  log.push_back("test " + name);
  const int32_t result = results.empty() ? 1 : results[std::min(next, results.size() - 1)];
  ++next;
  return result;
}

namespace {

VillagerRecord TestVillagerRecord(const std::string& name, const std::string& script) {
  VillagerRecord r;
  r.scriptName = script.empty() ? "03.pbsc/" + name : script;
  r.modelName = "hero";
  r.kind = 3;
  r.bodyHeight = 0.5f;
  r.shadowSize = 1.0f;
  r.gravity = -0.01f;
  r.shadowVisible = 1;
  r.pushable = 1;
  r.facing = D3DXVECTOR3(0, 0, 1);
  return r;
}

}  // namespace

TestVillager::TestVillager(std::string n, bool a, Log& l, const std::string& script)
    : TVillager(TestVillagerRecord(n, script)), name(std::move(n)), asks(a), log(l) {}

bool TestVillager::CheckTalk() {
  log.push_back("ask " + name);
  if (!asks) return false;
  talking = true;
  return true;
}

void TestVillager::EndTalk() {
  log.push_back("end talk " + name);
  talking = false;
}

TCountedPtr<TStagePlayer> TestServices::CreatePlayerChar(TFieldScene&, uint32_t member) {
  log.push_back("create player " + std::to_string(players + 1) + " of member " + std::to_string(member));
  lastPlayer = new TestPlayer(++players, member, log);
  return TCountedPtr<TStagePlayer>(lastPlayer);
}

TCountedPtr<TStageEnemies> TestServices::CreateEnemyManager(TStage&, const TMapData&) {
  return TCountedPtr<TStageEnemies>(new TestEnemies(log));
}

TCountedPtr<TFieldHud> TestServices::CreateHud(TFieldScene&) { return TCountedPtr<TFieldHud>(new TestHud(log)); }

TScene* TestServices::CreateFieldMenu(TGameWnd& app, TFieldScene&) {
  if (!offerMenu) return nullptr;
  log.push_back("menu made");
  auto* menu = new shelltest::TestScene(app, "menu", log);
  menu->onUpdate = [](shelltest::TestScene&) { return kSceneFinished; };
  return menu;
}

TCountedPtr<TVillager> TestServices::CreateVillager(const std::string& scriptName) {
  log.push_back("villager " + scriptName);
  return villagers ? villagers(scriptName) : TCountedPtr<TVillager>();
}

TScene* TestServices::CreateGameOver(TGameWnd& app, int32_t musicId) {
  log.push_back("game over " + std::to_string(musicId));
  gameOvers.push_back(musicId);
  return new TGameOverStandIn(app, musicId);
}

TMapEventState* TestServices::StartConversation(TFieldScene&, const std::string& scriptName) {
  log.push_back("conversation " + scriptName);
  return &mapEvent;
}

TMapEventState* TestServices::LoadMapScript(TFieldScene&, const std::string& scriptName) {
  log.push_back("map script " + scriptName);
  return &mapEvent;
}

void TestServices::LoadVillagerScript(VillagerRecord& record) {
  log.push_back("villager script " + record.scriptName);
  if (describeVillager) describeVillager(record);
}

uint32_t TestServices::RunScripts() {
  log.push_back("run scripts");
  if (runs.empty()) return 4;
  const uint32_t result = runs.front();
  runs.pop_front();
  return result;
}

TDSound8* FieldShellServices::Sound() { return &TDSound8::Get(); }
TD3D8* FieldShellServices::Device() { return TD3D8::Instance(); }

TScene* FieldShellServices::CreateTitle(TGameWnd& app) {
  return makeTitle ? makeTitle(app) : LoggingServices::CreateTitle(app);
}

void FieldSceneFixture::SetUp() {
  ShellFixture::SetUp();
  // The working folder is the game folder, as the game's own folders are relative to it.
  const std::string game = dir.path() + "/";
  std::filesystem::copy(DW_TEST_SAMPLE_GAME, game,
                        std::filesystem::copy_options::recursive | std::filesystem::copy_options::overwrite_existing);
  TTexture8::SetFolder("data/ptx03/");
  TMesh8::SetFolder("data/msh03/");
  TFrame8::SetFolder("data/frm03/");
  SetEffectFolder("effect/");
  TGameObject::SetFolder("char03/");
  SetMapFolder("map03/");
  SetScriptFolder("data/scr03/");
  SetVisualFolder("visual03/");
  SetHitFolder("data/chrdata03/");
  TPatternInfo::SetFolder("data/chrdata03/");
  TWeponState::SetFolder("data/chrdata03/");
  SetDataFolder("data/tbl03/");
  LoadGameTables();
  TWeaponTable::Load("data/tbl03/wepon.tbl");
  TAccessoryTable::Load("data/tbl03/accessory.tbl");
  TItemMeanTable::Load("data/tbl03/itemmean.tbl");

  plat::SetSoundOutput(&soundOutput);
  TDSound8& sound = TDSound8::Get();
  sound.SetSeFolder("data/se03/");
  sound.SetBgmFolder("data/bgm03/");
  sound.Init(nullptr);
  sound.LoadSet("data/tbl03/se.tbl", "se.pse/", 0, -10000, 0);
  sound.LoadSet("data/tbl03/voice.tbl", "voice.pse/", 1, -10000, 0);
  sound.LoadSet("data/tbl03/bgm.tbl", "", 2, -10000, 0);

  plat::SetRendererFactory([r = renderer] { return r; });
  TDeviceHooks::Get() = TDeviceHooks::Real();
  ASSERT_TRUE(TD3D8::Instance()->Init(TCountedPtr<TD3DDeviceBuilder8>(new testkit::MeshTestBuilder),
                                      plat::D3D_SDK_VERSION, "", "InitLog.txt"));

  app = std::make_unique<TGameWnd>(GameWindowParams(nullptr), 101, 104, shell);
  shell.app = app.get();
  app->CreateWnd();
  app->Initialize();
  SetFieldServices(&fieldServices);
}

void FieldSceneFixture::TearDown() {
  field = nullptr;
  if (app) app->ClearScenes();  // the field goes before the device, the sound and the tables
  SetFieldServices(nullptr);
  app.reset();
  THitTable::Unload();
  FreeGameTables();
  TWeaponTable::Clear();
  TAccessoryTable::Clear();
  TItemMeanTable::Clear();
  TTexture8::Purge(1);
  TD3D8::Instance()->Cleanup();
  TDSound8::Get().Uninit();
  plat::SetSoundOutput(nullptr);
  plat::SetRendererFactory(nullptr);
  plat::ResetAdapterTable();
  TTexture8::SetFolder("");
  TMesh8::SetFolder("");
  TFrame8::SetFolder("");
  SetEffectFolder("");
  TGameObject::SetFolder("");
  SetMapFolder("");
  SetScriptFolder("");
  SetVisualFolder("");
  SetHitFolder("");
  TPatternInfo::SetFolder("");
  TWeponState::SetFolder("");
  SetDataFolder("");
  ShellFixture::TearDown();
}

void FieldSceneFixture::SaveTestMaps(const datakit::MapDataWriter& maps) { maps.Save("data/scr03/t.pbms"); }

datakit::MapHeaderRow FieldSceneFixture::BattleHeader(const std::string& music) {
  datakit::MapHeaderRow h;
  h.kind = 1;
  h.baseName = "field.msh";
  h.areaTitle = "plain";
  h.musicName = music;
  return h;
}

datakit::MapHeaderRow FieldSceneFixture::TownHeader(const std::string& music) {
  datakit::MapHeaderRow h = BattleHeader(music);
  h.kind = 0;
  h.baseName = "town.msh";
  h.areaTitle = "town";
  return h;
}

datakit::MapEntryWriter FieldSceneFixture::BattleMap(const std::string& music) {
  datakit::MapEntryWriter map;
  map.Header(BattleHeader(music))
      .View(0.1f, 200, 45)
      .Fog(20, 80, 0xFF8098B0)
      .PlayerStart({0, 0, -10}, {0, 0, 1}, {0, 3, -16})
      .ChaseCamera(0, 6, 2.5f, "non");
  return map;
}

datakit::MapEntryWriter FieldSceneFixture::TownMap(const std::string& music) {
  datakit::MapEntryWriter map;
  map.Header(TownHeader(music))
      .View(0.1f, 200, 45)
      .Fog(30, 120, 0xFFB0C8E0)
      .PlayerStart({0, 0, 0}, {0, 0, 1}, {0, 3, -6})
      .RailCamera(0)
      .CameraPoint({-15, 0, 0}, 0, -1, 6, 3, 0)
      .CameraPoint({15, 0, 0}, 0, -1, 6, 3, 0);
  return map;
}

TFieldScene& FieldSceneFixture::Open(TFieldScene* scene) {
  field = scene;
  app->SetScene(scene);
  return *scene;
}

TFieldScene& FieldSceneFixture::OpenMap(const std::string& mapName) {
  return Open(TFieldScene::CreateForMap(*app, mapName, nullptr, nullptr, nullptr));
}

void FieldSceneFixture::Tick() {
  auto* scene = dynamic_cast<TStateScene*>(app->GetCurrentScene());
  ASSERT_NE(scene, nullptr);
  const TFrameTimer& timer = scene->GetTimer();
  // A whole millisecond past the tick's end, so that rounding never leaves it short.
  const auto due = static_cast<plat::DWORD>(std::floor(timer.baseTime + timer.tickLength)) + 1;
  clock.Set(std::max(due, plat::timeGetTime()));
  app->Frame();
}

void FieldSceneFixture::FinishOpeningFade() {
  for (int i = 0; i < 200 && InMode(); ++i) Tick();
  Tick();
}

size_t FieldSceneFixture::CountOf(const std::string& line) const {
  return static_cast<size_t>(std::count(fieldLog.begin(), fieldLog.end(), line));
}

}  // namespace fieldscenetest
