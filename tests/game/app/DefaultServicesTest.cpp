// The real program's services: the device object and builder behind start-up, the title as the
// first scene, the stand-ins of the subsystems not built yet.
#include <gtest/gtest.h>

#include <functional>
#include <memory>

#include "common/TD3D8.h"
#include "common/TFrame8.h"
#include "common/TMesh8.h"
#include "common/TTexture8.h"
#include "game/actor/TPatternInfo.h"
#include "game/actor/TWeponState.h"
#include "game/app/GameServices.h"
#include "game/data/GameDataServices.h"
#include "game/data/TWeaponTable.h"
#include "game/effect/EffectFolder.h"
#include "game/effect/MtRandomState.h"
#include "game/field/FieldFolders.h"
#include "game/field/TGameObject.h"
#include "game/field/THitTable.h"
#include "game/field/TSky.h"
#include "game/script/TChange.h"
#include "game/script/TScriptEngine.h"
#include "game/ui/TYesNo.h"
#include "game/ui/UiServices.h"
#include "platform/sound/SoundOutput.h"
#include "sound/TDSound8.h"
#include "sound/TSoundSet8.h"
#include "tools/datakit/SampleGameTables.h"
#include "tools/datakit/SampleMeshes.h"
#include "tools/datakit/SampleSound.h"
#include "platform/core/FileSystem.h"
#include "platform/gfx/AdapterTable.h"
#include "platform/gfx/RecordingRenderer.h"
#include "platform/core/WindowLookup.h"
#include "tests/game/shell/ShellFixture.h"
#include "tools/datakit/IniWriter.h"
#include "tools/datakit/SampleTextures.h"
#include "tools/datakit/SampleTitle.h"

using namespace plat;
using namespace shelltest;

namespace {

class DefaultServices : public ShellFixture {
 protected:
  void SetUp() override {
    ShellFixture::SetUp();
    // As the program's services do once, when first made.
    InstallGameLinks();
    SetRendererFactory([this] { return renderer; });
    datakit::WriteSampleMeshes(dir.path() + "/data/msh03/");  // start-up's sky among them
    datakit::SampleTitlePack().Save(dir / "data/ptx03/title.ptx");  // the first scene's pictures
  }
  void TearDown() override {
    TD3D8::Instance()->Cleanup();
    SetRendererFactory(nullptr);
    ResetAdapterTable();
    // The links outlive the services' test; the next test starts unlinked.
    RemoveGameLinks();
    ShellFixture::TearDown();
  }
  std::shared_ptr<RecordingRenderer> renderer = std::make_shared<RecordingRenderer>();
};

TEST_F(DefaultServices, TheDeviceIsBuiltFromTheSettingsFileOrSaysWhyNot) {
  TShellServices& real = DefaultShellServices();
  MakeApp();
  app->CreateWnd();
  TShellServices::DeviceStart start = real.InitDevice(app->GetHandle(), "./setting.ini");
  EXPECT_TRUE(start.built);
  EXPECT_TRUE(real.DeviceReady());
  EXPECT_TRUE(real.DeviceWindowed());
  EXPECT_EQ(real.BackBufferWidth(), 640u);
  EXPECT_EQ(real.BackBufferHeight(), 480u);
  EXPECT_EQ(real.Device(), TD3D8::Instance());
  EXPECT_EQ(GetFileAttributes("InitLog.txt"), INVALID_FILE_ATTRIBUTES) << "a name the device never writes";
  EXPECT_NE(GetFileAttributes("DeviceLog.txt"), INVALID_FILE_ATTRIBUTES);
  real.CleanupDevice();
  EXPECT_FALSE(real.DeviceReady());

  datakit::IniWriter ini;
  ini.Section("CurrentSetting").Key("ScreenWidth", 123).Key("ScreenHeight", 45).Key("ScreenMode", "window");
  ini.Save("setting.ini");
  start = real.InitDevice(app->GetHandle(), "./setting.ini");
  EXPECT_FALSE(start.built);
  EXPECT_TRUE(start.direct3D);
  EXPECT_EQ(start.builderCode & 1, 1u) << "no display mode of that size";
  EXPECT_FALSE(real.DeviceReady());

  AdapterTable none;
  none.available = false;
  SetAdapterTable(none);
  start = real.InitDevice(app->GetHandle(), "./setting.ini");
  EXPECT_FALSE(start.built);
  EXPECT_FALSE(start.direct3D);
}

TEST_F(DefaultServices, TheCaptureFormatIsTheFirstRenderTargetTextureOfItsDisplayFormat) {
  MakeApp();
  app->CreateWnd();
  struct Case {
    D3DFORMAT display;
    std::vector<D3DFORMAT> targets;  // what the adapter takes as render-target textures
    D3DFORMAT chosen;
  };
  const Case cases[] = {
      {D3DFMT_X8R8G8B8, {D3DFMT_A8R8G8B8, D3DFMT_X8R8G8B8}, D3DFMT_X8R8G8B8},
      {D3DFMT_A8R8G8B8, {D3DFMT_A8R8G8B8, D3DFMT_X8R8G8B8}, D3DFMT_A8R8G8B8},
      {D3DFMT_X8R8G8B8, {D3DFMT_X1R5G5B5, D3DFMT_R5G6B5}, D3DFMT_R5G6B5},
      {D3DFMT_R8G8B8, {D3DFMT_A8R8G8B8, D3DFMT_X1R5G5B5}, D3DFMT_X1R5G5B5},
      {D3DFMT_R5G6B5, {D3DFMT_A8R8G8B8, D3DFMT_X8R8G8B8}, D3DFMT_X8R8G8B8},
      {D3DFMT_X1R5G5B5, {D3DFMT_A8R8G8B8, D3DFMT_R5G6B5}, D3DFMT_R5G6B5},
      {D3DFMT_X8R8G8B8, {}, D3DFMT_UNKNOWN},
      {D3DFMT_A1R5G5B5, {D3DFMT_A1R5G5B5, D3DFMT_X1R5G5B5}, D3DFMT_UNKNOWN},  // no candidates for it
  };
  for (const Case& c : cases) {
    AdapterTable table = DefaultAdapterTable();
    table.adapters[0].renderTargetTextureFormats = c.targets;
    table.adapters[0].backBufferFormats[c.display] = {c.display};
    SetAdapterTable(table);
    ASSERT_TRUE(DefaultShellServices().InitDevice(app->GetHandle(), "./setting.ini").built);
    EXPECT_EQ(TGameWnd::ChooseCaptureFormat(c.display), c.chosen) << c.display;
    TD3D8::Instance()->Cleanup();
  }
  EXPECT_EQ(TGameWnd::ChooseCaptureFormat(D3DFMT_X8R8G8B8), D3DFMT_UNKNOWN) << "no Direct3D object";
}

TEST_F(DefaultServices, TheGameStartsAndStopsWithTheRealDevice) {
  TGameWnd* game = nullptr;
  headless.onWait = [&] {
    // The first wait: started, shown and not yet activated.
    game = static_cast<TGameWnd*>(GetProp(FindWindow(kGameWindowClass, kGameWindowTitle), "TSubClassWnd"));
    ASSERT_NE(game, nullptr);
    EXPECT_TRUE(game->IsRunning());
    EXPECT_EQ(game->GetD3D(), TD3D8::Instance());
    EXPECT_EQ(game->GetHandle()->width, 640);
    EXPECT_EQ(game->GetHandle()->style, WS_CAPTION);
    EXPECT_NE(TSky::GetHandle(), 0u) << "the default sky made the sky shader";
    PostMessage(game->GetHandle(), WM_CLOSE, 0, 0);
  };
  EXPECT_EQ(RunGame(DefaultShellServices(), nullptr), 0);
  EXPECT_NE(game, nullptr);
  EXPECT_TRUE(boxes.calls.empty());
  EXPECT_EQ(GetFileAttributes(dir / "ErrorLog.txt"), INVALID_FILE_ATTRIBUTES);
  EXPECT_FALSE(TD3D8::Instance()->IsInitialized()) << "released at shutdown";
  // The window's first paint drew the title over a cleared screen.
  ASSERT_FALSE(renderer->Clears().empty());
  EXPECT_EQ(renderer->PresentCount(), 1u);
}

// The first scene is the title, which waits on black: its first paint clears the screen to black
// and draws the title picture and its three menu bands under the fade board, still opaque black.
TEST_F(DefaultServices, TheFirstSceneIsTheTitleWaitingOnBlack) {
  headless.onWait = [&] { PostMessage(FindWindow(kGameWindowClass, kGameWindowTitle), WM_CLOSE, 0, 0); };
  EXPECT_EQ(RunGame(DefaultShellServices(), nullptr), 0);
  EXPECT_TRUE(boxes.calls.empty());
  ASSERT_EQ(renderer->Clears().size(), 1u);
  EXPECT_EQ(renderer->Clears()[0].color, 0u);
  const std::vector<RecordedDraw>& draws = renderer->Draws();
  ASSERT_EQ(draws.size(), 5u);
  EXPECT_EQ(draws[0].textures[0].name, "title.ptx/title");
  for (size_t n = 1; n <= 3; ++n) EXPECT_EQ(draws[n].textures[0].name, "title.ptx/menu") << n;
  EXPECT_EQ(draws[4].textures[0].id, 0u) << "the fade board";
  EXPECT_FLOAT_EQ(draws[4].Vertex(0).diffuse.w, 1.0f);
  EXPECT_FLOAT_EQ(draws[4].Vertex(0).diffuse.x, 0.0f);
  EXPECT_EQ(renderer->PresentCount(), 1u);
}

TEST_F(DefaultServices, StartUpLoadsTheRealTablesSoundsAndGenerator) {
  plat::HeadlessSoundOutput silent;
  plat::SetSoundOutput(&silent);
  datakit::WriteSampleGameTables(dir / "data/tbl03/");
  datakit::WriteSampleSound(dir.path() + "/");
  bool checked = false;
  headless.onWait = [&] {
    for (int32_t set : {0, 1, 2}) EXPECT_TRUE(TDSound8::Get().Find(set)) << "sound set " << set;
    ASSERT_NE(TWeaponTable::Find(1000), nullptr);
    EXPECT_EQ(TDSound8::Get().GetSeFolder(), "data/se03/");
    // The record's generator is the game's one generator.
    SeedRand(77);
    uint32_t first = GenRand();
    SeedRand(77);
    EXPECT_EQ(GameDataServices().genRand(), first);
    checked = true;
    PostMessage(FindWindow(kGameWindowClass, kGameWindowTitle), WM_CLOSE, 0, 0);
  };
  EXPECT_EQ(RunGame(DefaultShellServices(), nullptr), 0);
  EXPECT_TRUE(checked);
  EXPECT_TRUE(boxes.calls.empty());
  EXPECT_FALSE(TDSound8::Get().Find(0)) << "sound is shut down with the game";
  EXPECT_EQ(TScriptEngine::Get(), nullptr);
  plat::SetSoundOutput(nullptr);
}

TEST_F(DefaultServices, StartUpStopsWithTheMeshLoadersErrorWhenTheSkyIsMissing) {
  DeleteFile("data/msh03/sky/sky00.msh");
  headless.onWait = [&] { PostMessage(FindWindow(kGameWindowClass, kGameWindowTitle), WM_CLOSE, 0, 0); };
  RunGame(DefaultShellServices(), nullptr);
  ASSERT_EQ(boxes.calls.size(), 1u);
  EXPECT_NE(boxes.calls[0].text.find("sky/sky00.msh"), std::string::npos) << boxes.calls[0].text;
}

// Escape and F4 open the real yes/no dialog; its way back to the title is the scene change.
TEST_F(DefaultServices, TheSystemDialogIsTheYesNoDialogAndTheTitleChangeIsTheSceneChange) {
  datakit::SampleSpritePack().Save(dir / "data/ptx03/sprite.ptx");
  TShellServices& real = DefaultShellServices();
  MakeApp();
  app->CreateWnd();
  ASSERT_TRUE(real.InitDevice(app->GetHandle(), "./setting.ini").built);
  const std::string textures = TTexture8::GetFolder();
  real.SetFolder(DataFolder::Textures, "data/ptx03/");
  for (int mode : {0, 1}) {
    std::unique_ptr<TScene> dialog(real.CreateYesNo(*app, mode));
    auto* yesNo = dynamic_cast<TYesNo*>(dialog.get());
    ASSERT_NE(yesNo, nullptr);
    EXPECT_EQ(yesNo->GetMode(), mode);
    EXPECT_FALSE(yesNo->AllowsSystemDialog());
    EXPECT_TRUE(yesNo->InPhase(&TYesNo::FadeIn)) << "without a parent";
  }
  std::unique_ptr<TScene> change(GetUiServices().CreateTitleChange(*app, -1));
  auto* sceneChange = dynamic_cast<TChange*>(change.get());
  ASSERT_NE(sceneChange, nullptr);
  EXPECT_EQ(sceneChange->GetMode(), TChange::kTitle);
  EXPECT_EQ(sceneChange->GetKeptMusic(), -1);
  EXPECT_TRUE(change->AllowsSystemDialog());
  change.reset();
  TTexture8::Purge(1);
  real.SetFolder(DataFolder::Textures, textures);
}

TEST_F(DefaultServices, LoaderFoldersReachTheirLoaders) {
  struct Route {
    DataFolder which;
    std::function<const std::string&()> get;
    std::function<void(const std::string&)> set;
  };
  const Route routes[] = {
      {DataFolder::Frames, TFrame8::GetFolder, TFrame8::SetFolder},
      {DataFolder::Meshes, TMesh8::GetFolder, TMesh8::SetFolder},
      {DataFolder::WeaponStates, TWeponState::GetFolder, TWeponState::SetFolder},
      {DataFolder::Patterns, TPatternInfo::GetFolder, TPatternInfo::SetFolder},
      {DataFolder::HitTable, GetHitFolder, SetHitFolder},
      {DataFolder::Effects, GetEffectFolder, SetEffectFolder},
      {DataFolder::Models, TGameObject::GetFolder, TGameObject::SetFolder},
      {DataFolder::Maps, GetMapFolder, SetMapFolder},
      {DataFolder::StageScripts, GetScriptFolder, SetScriptFolder},
      {DataFolder::Visuals, GetVisualFolder, SetVisualFolder},
  };
  TShellServices& real = DefaultShellServices();
  for (const Route& route : routes) {
    const std::string before = route.get();
    real.SetFolder(route.which, "data/somewhere/");
    EXPECT_EQ(route.get(), "data/somewhere/") << static_cast<int>(route.which);
    route.set(before);
  }
}

}  // namespace
