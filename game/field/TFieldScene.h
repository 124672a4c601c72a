// The scene in which play happens. It owns the view, the root frame "Scene" under which the whole
// stage is drawn, the effect manager (built with every effect prototype, so that every effect asset
// is loaded here and never during play), the HUD, the minimap, the player character and the current
// stage. In normal play each tick is the stage's Update and the draw clears to the stage's colour,
// draws the frame graph and then the stage's 2D overlays; while the opening fade or a map change
// runs, a mode takes both.
#pragma once
#include <cstdint>
#include <memory>
#include <string>

#include "common/TCountedPtr.h"
#include "common/TFrame8.h"
#include "common/TView8.h"
#include "game/field/TMiniMap.h"
#include "game/shell/TStateScene.h"
#include "platform/gfx/D3DXMath.h"

class TEffectManager;
class TFieldHud;
class TFieldMode;
class TMapData;
class TStage;
class TStagePlayer;
struct TSvpRecord;

class TFieldScene : public TStateScene {
 public:
  static constexpr int32_t kOpeningFadeFrames = 60;

  // At a save point of the svp table. An unknown map, or one the stage build refuses, throws
  // my_error naming it; so does a missing effect mesh or texture pack.
  static TFieldScene* CreateFromSave(TGameWnd& app, uint32_t savePointId);
  // On the named map; the three vectors (start, facing, camera) count only when all are given.
  static TFieldScene* CreateForMap(TGameWnd& app, const std::string& mapName, const plat::D3DXVECTOR3* start,
                                   const plat::D3DXVECTOR3* facing, const plat::D3DXVECTOR3* camera);
  ~TFieldScene() override;

  // Restarts the step timer, so that time spent suspended or loading is not caught up.
  void Resume() override;

  // Makes the mode current (the one already current stays as it is) and hands it update and draw.
  void SetMode(const TCountedPtr<TFieldMode>& newMode);
  // Replaces the stage by one built from the map data: the old stage goes first, with its player;
  // the new one is updated once at once.
  void ChangeStage(const TMapData& map);
  void SetPlayer(const TCountedPtr<TStagePlayer>& newPlayer);
  // A new player character for the member (after an equipment change) where the old one stood.
  void RebuildPlayer(uint32_t member);
  void RefreshHud();
  // The next stage draw is left out (the tick that opened the field menu).
  void SkipNextDraw() { skipNextDraw = 1; }

  TGameWnd& GetApp() const { return app; }
  TView8* GetView() { return &view; }
  TFrame8* GetSceneFrame() const { return sceneFrame.Get(); }
  TEffectManager* GetEffectManager() const { return effectManager.Get(); }
  TFieldHud* GetHud() const { return hud.Get(); }
  TMiniMap* GetMiniMap() const { return miniMap.Get(); }
  TStagePlayer* GetPlayer() const { return player.Get(); }
  TStage* GetStage() const { return stage.get(); }
  TFieldMode* GetMode() const { return mode.Get(); }
  bool IsDrawSkipped() const { return skipNextDraw != 0; }

 private:
  explicit TFieldScene(TGameWnd& app);
  // The opening fade from black.
  void StartOpeningFade();

  SceneResult UpdateStage();
  void DrawStage();
  SceneResult UpdateMode();
  void DrawMode();
  void EnterStageState();

  TView8 view;
  TCountedPtr<TFrame8> sceneFrame;
  TCountedPtr<TEffectManager> effectManager;
  TCountedPtr<TFieldMode> mode;
  TCountedPtr<TFieldHud> hud;
  TCountedPtr<TMiniMap> miniMap;
  TCountedPtr<TStagePlayer> player;
  std::unique_ptr<TStage> stage;
  uint8_t skipNextDraw = 0;
};
