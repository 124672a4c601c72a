// A story event: a small 3D set with actors, a camera, the message window and a script that speaks
// the dialogue, played by the step chain of its row (EventRows.h). The script waits at each cut and
// the step releases it when the cut is due. At the end the picture goes black, the script engine
// goes and what follows is queued. Holding B skips the event: the picture turns black and the
// music fades out over 50 ticks first.
#pragma once
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "common/TCountedPtr.h"
#include "common/TFrame8.h"
#include "common/TMoveValue.h"
#include "common/TSprite8.h"
#include "common/TView8.h"
#include "game/effect/TColorFade.h"
#include "game/script/EventRows.h"
#include "game/shell/TStateScene.h"
#include "sound/TSoundList8.h"

class TCamera;
class TMesh8;
class TSoundHandle8;

class TEventScene : public TStateScene {
 public:
  static constexpr int32_t kOverlayFrames = 10;
  static constexpr int32_t kSkipOverlayFrames = 100;
  static constexpr int32_t kSkipMusicFrames = 50;
  static constexpr int32_t kNarrationSound = 110;

  // Builds the whole set, starts the script and the music. Missing meshes or sound lists throw
  // my_error from their loaders.
  TEventScene(TGameWnd& app, const EventRow& row);
  ~TEventScene() override;

  // What tests look at.
  const EventRow& GetRow() const { return row; }
  EventStep GetStep() const { return current.kind; }
  // The current step's place in the row's chain.
  size_t GetStepIndex() const { return at; }
  const TMoveValue& GetPath() const { return path; }
  const TMoveValue& GetOverlayAlpha() const { return alpha; }
  uint32_t GetOverlayColour() const;
  const TColorFade* GetColourFade() const { return fade ? &*fade : nullptr; }
  int32_t GetCounter() const { return counter; }
  int32_t GetClip() const { return clip; }
  TFrame8* FindFrame(const std::string& name) const;
  TMesh8* GetLead() const { return lead; }
  // The instance of the actor of that name; null for none.
  TMesh8* FindActor(const std::string& name) const;
  TCamera* GetSkyCamera() const { return skyCamera.get(); }
  TFrame8* GetCamera() const { return camera; }
  const TView8& GetView() const { return view; }

 private:
  enum class StepEnd { kStay, kNext, kBack, kFinished };
  using StepFn = StepEnd (TEventScene::*)(int32_t value);
  struct StepKind {
    EventStep kind;
    StepFn run;
    bool overlay;  // the overlay is drawn while it runs
  };
  static const StepKind kStepKinds[];
  static const StepKind& KindOf(EventStep kind);

  struct Actor {
    TCountedPtr<TFrame8> frame;
    TMesh8* mesh = nullptr;  // the instance the frame holds
  };

  TCountedPtr<TFrame8> SharedFrame(const std::string& name) const;
  void BuildFrames();
  void LoadSetMeshes();
  void LoadActors();
  void FindActorMeshes();
  // The map camera under "Scene" with its sky, looking at the target; its frame.
  TFrame8* MakeSkyCamera(TFrame8* target);
  void StartFlight();
  void StartScript();

  SceneResult Update();
  void Paint();
  void BeginSkip();

  // Shared pieces of the steps.
  void RunScript();
  bool Waiting() const;
  void ReleaseWait();
  void Aim();
  void PaintOverlay();
  // One step from black; false once the picture is clear.
  bool PictureForward();
  // One step back toward black; false once it is there.
  bool PictureBack();
  // Every actor's motion one tick on; the lead's clip has ended when this returns true.
  bool AdvanceActors(bool loop);
  void StartClip(uint32_t index);
  void Fly();
  // The camera and its target one tick up, and the camera aimed.
  void PanCamera();
  // A held music fade one step on; false when there is none or it has ended.
  bool MusicFading();

  StepEnd FlightFadeIn(int32_t value);
  StepEnd FlightWait(int32_t value);
  StepEnd FlightHold(int32_t value);
  StepEnd Narration(int32_t value);
  StepEnd NarrationPass(int32_t value);
  StepEnd ShakeFadeIn(int32_t value);
  StepEnd SetSwap(int32_t value);
  StepEnd BlackPause(int32_t value);
  StepEnd FadeIn(int32_t value);
  StepEnd Release(int32_t value);
  StepEnd Clips(int32_t value);
  StepEnd ClosingWait(int32_t value);
  StepEnd Pause(int32_t value);
  StepEnd WaitedPause(int32_t value);
  StepEnd LastClip(int32_t value);
  StepEnd Pan(int32_t value);
  StepEnd ScriptEnd(int32_t value);
  StepEnd FadeOut(int32_t value);
  StepEnd Leave(int32_t value);
  StepEnd Skip(int32_t value);

  const EventRow& row;
  size_t at = 0;  // the current step's place in the chain
  EventStepRow current;
  TView8 view;
  std::vector<std::pair<std::string, TCountedPtr<TFrame8>>> frames;
  TFrame8* scene;
  TFrame8* camera = nullptr;
  TFrame8* cameraTarget = nullptr;
  std::vector<Actor> actors;
  std::vector<TMesh8*> stepped;  // in stepping order
  TMesh8* lead = nullptr;
  TCountedPtr<TSoundHandle8> music;
  TSoundList8 effects;
  TSoundList8 musics;
  TSprite8 overlay;
  TMoveValue alpha;
  int32_t counter = 0;
  int32_t passes = 0;
  int32_t clip = 1;
  bool leadEnded = false;
  TLoopValue shake;
  // The flight of 200.
  TMoveValue path;
  std::optional<TColorFade> fade;
  std::unique_ptr<TCamera> skyCamera;
};
