// Field scenes on the game's own field services (tests/game/field/FieldSceneFixture.h otherwise):
// the real player character in the style of its weapon, HUD parts, enemy manager and script engine, the script folder and
// enemy definitions of the sample game and a new game's progress record; and the hero moved by held
// keys as a player moves it.
#pragma once
#include <cmath>
#include <filesystem>
#include <functional>
#include <string>

#include "game/actor/TPatternInfo.h"
#include "game/actor/TPlayerChar.h"
#include "game/actor/TPlayerFactory.h"
#include "game/actor/TWeponState.h"
#include "game/app/GameServices.h"
#include "game/app/FieldLinks.h"
#include "game/data/GameGlobals.h"
#include "game/data/TGameData.h"
#include "game/enemy/TEnemyTable.h"
#include "game/field/CollisionGeometry.h"
#include "game/field/MapZones.h"
#include "game/field/TStage.h"
#include "game/moveset/PlayerStyles.h"
#include "game/script/ChangeScenes.h"
#include "game/script/ShopScenes.h"
#include "game/script/TScriptEngine.h"
#include "game/ui/UiServices.h"
#include "platform/window/InputState.h"
#include "tests/game/field/FieldSceneFixture.h"

class GameFieldFixture : public fieldscenetest::FieldSceneFixture {
 protected:
  using D3DXVECTOR3 = plat::D3DXVECTOR3;

  void SetUp() override {
    FieldSceneFixture::SetUp();
    TScriptEngine::SetFolder("data/scr03/");
    TGameData::Instance()->NewGame();
    // As the game's start-up does: the battle maps' enemies are made from their definitions.
    LoadEnemyDatabase("data/tbl03/enemy.tbl");
    SetFieldServices(&field_links::FieldServices());
    SetPlayerStyleMaker(&MakePlayerStyle);
  }
  void TearDown() override {
    plat::ReleaseAllKeys();
    UnlinkGame();
    TScriptEngine::Destroy();
    TScriptEngine::SetFolder("");
    FieldSceneFixture::TearDown();
    EnemyDatabase.clear();
    TPatternInfo::SetFolder("");
    TWeponState::SetFolder("");
  }

  // The seams between the subsystems bound to the real ones, a save folder of the test's own and
  // this program's chapter (3), as start-up makes them; and all of it taken away again.
  void LinkGame() {
    InstallGameLinks();
    std::filesystem::create_directories(dir / "save");
    SetSaveFolder("save/");
    SetChapterNo(3);
  }
  void UnlinkGame() {
    RemoveGameLinks();
    SetSaveFolder("");
    SetChapterNo(1);
  }

  TStage& Stage() { return *field->GetStage(); }
  template <class T>
  T* Current() const {
    return dynamic_cast<T*>(app->GetCurrentScene());
  }
  // The field that has become current, its opening fade over.
  TFieldScene* Arrive(const std::string& map) {
    field = Current<TFieldScene>();
    if (!field) return nullptr;
    EXPECT_EQ(field->GetStage()->GetMapName(), map);
    FinishOpeningFade();
    return field;
  }
  TGameData& Data() { return *TGameData::Instance(); }
  TPlayerChar& Hero() { return dynamic_cast<TPlayerChar&>(*field->GetPlayer()); }

  // The hero stands at the point, with no key held, its front (the model's -z) along the unit
  // direction, for the ticks.
  void Stand(const D3DXVECTOR3& at, const D3DXVECTOR3& front, int ticks) {
    Release();
    const D3DXVECTOR3 z(-front.x, -front.y, -front.z), y(0, 1, 0), x = vec3::Unit(vec3::Cross(y, z));
    const float rows[16] = {x.x, x.y, x.z, 0, y.x, y.y, y.z, 0, z.x, z.y, z.z, 0, at.x, at.y, at.z, 1};
    for (int i = 0; i < ticks; ++i) {
      Hero().GetFrame()->SetMatrix(rows);
      Tick();
      ASSERT_EQ(Hero().GetMode(), 0u) << "standing";
    }
  }

  // Holds the direction keys a player holds to send the hero along the way (on the ground): of the
  // pad's eight directions, which are seen from the camera, the nearest one.
  void HoldToward(const D3DXVECTOR3& way) {
    plat::D3DXMATRIX view;
    Hero().GetReferenceFrame()->GetWorldMatrix(&view);
    const D3DXVECTOR3 at = Hero().GetPosition();
    const D3DXVECTOR3 up = vec3::Unit(D3DXVECTOR3(at.x - view._41, 0, at.z - view._43)), left(-up.z, 0, up.x);
    const D3DXVECTOR3 aim = vec3::Unit(D3DXVECTOR3(way.x, 0, way.z));
    const float ahead = vec3::Dot(aim, up), aside = vec3::Dot(aim, left);
    constexpr float kSin22_5 = 0.3827f;  // a direction is held within 67.5 degrees of the way
    plat::SetKeyDown(plat::VK_UP, ahead > kSin22_5);
    plat::SetKeyDown(plat::VK_DOWN, ahead < -kSin22_5);
    plat::SetKeyDown(plat::VK_LEFT, aside > kSin22_5);
    plat::SetKeyDown(plat::VK_RIGHT, aside < -kSin22_5);
  }
  void Release() {
    for (int key : {plat::VK_UP, plat::VK_DOWN, plat::VK_LEFT, plat::VK_RIGHT}) plat::SetKeyDown(key, false);
  }
  float Distance(const D3DXVECTOR3& point) {
    const D3DXVECTOR3 d = vec3::Sub(point, Hero().GetPosition());
    return std::hypot(d.x, d.z);
  }
  // Walks the hero toward the point, steering tick by tick, until `done` holds; false when it never
  // does within the ticks a walk across the map takes.
  bool WalkToward(const D3DXVECTOR3& point, const std::function<bool()>& done) {
    for (int i = 0; i < kLongestWalk && !done(); ++i) {
      HoldToward(vec3::Sub(point, Hero().GetPosition()));
      Tick();
    }
    return done();
  }
  bool WalkTo(const D3DXVECTOR3& point) {
    return WalkToward(point, [&] { return Distance(point) < kNear; });
  }
  // Walks the hero along the way until it has been in the box for the ticks given (true), or until
  // it leaves the box or never reaches it. `each` runs after every tick inside.
  bool WalkIntoFor(const D3DXVECTOR3& way, const TMapBox& box, int ticks, const std::function<void(int)>& each) {
    int inside = 0;
    for (int i = 0; i < kLongestWalk && inside < ticks; ++i) {
      HoldToward(way);
      Tick();
      if (!box.Contains(Hero().GetPosition())) {
        if (inside > 0) return false;
        continue;
      }
      each(++inside);
    }
    return inside == ticks;
  }
  static constexpr int kLongestWalk = 1000;
  static constexpr float kNear = 0.3f;

  // A tick with the decide button (the examine key) newly pressed.
  void Press() {
    plat::SetKeyDown('Z', true);
    Tick();
    plat::SetKeyDown('Z', false);
  }
};
