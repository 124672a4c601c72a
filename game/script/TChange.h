// The scene between two parts of the game: a still of the screen it replaces fades to a colour
// while the music that the caller kept for it fades out; then it lets go of the sounds kept for it
// and queues what follows by its mode: the title, the field at a loaded save, an event scene, or
// the save screen. Callers take one reference to the kept music (set 2) before they make it, and
// one to the decide or start sound (603, 605 of set 0) they played just before.
#pragma once
#include <cstdint>

#include "common/TCountedPtr.h"
#include "common/TSprite8.h"
#include "game/effect/TColorFade.h"
#include "game/shell/TStateScene.h"

class TSoundHandle8;

class TChange : public TStateScene {
 public:
  enum Mode : int32_t { kTitle = 0, kLoad = 1, kEvent = 2, kSave = 3 };
  static constexpr int32_t kFadeFrames = 100;
  static constexpr int32_t kNoMusic = -1;
  static constexpr const char* kPictureName = "sTChangeLoop";

  // Each factory returns a new change for TGameWnd::PushScene, which owns it.
  static TChange* CreateTitle(TGameWnd& app, int32_t keptMusic);
  static TChange* CreateLoad(TGameWnd& app, int32_t slot, int32_t keptMusic);
  static TChange* CreateEvent(TGameWnd& app, int32_t fadeKind, int32_t direction, int32_t eventId, int32_t keptMusic);
  static TChange* CreateSave(TGameWnd& app, int32_t keptMusic);
  ~TChange() override;

  int32_t GetMode() const { return mode; }
  int32_t GetKeptMusic() const { return keptMusic; }
  int32_t GetSlot() const { return slot; }
  int32_t GetEventId() const { return eventId; }
  const TColorFade& GetFade() const { return fade; }
  const TSprite8& GetPicture() const { return picture; }

 private:
  struct Factory;
  static const Factory kFactories[];

  TChange(TGameWnd& app, int32_t mode, int32_t slot, int32_t fadeKind, int32_t direction, int32_t eventId,
          int32_t keptMusic);
  static TChange* Make(TGameWnd& app, int32_t mode, int32_t slot, int32_t eventId, int32_t keptMusic);

  SceneResult Step();
  void Paint();
  void ReleaseSounds();
  void QueueNext();
  // Each queues its mode's scene; false when the mode has nothing to queue.
  bool QueueByMode();
  bool QueueTitle();
  bool QueueLoadedSave();
  bool QueueEvent();
  bool QueueSaveScreen();

  TColorFade fade;
  int32_t mode;
  int32_t keptMusic;
  int32_t slot;
  int32_t eventId;
  TCountedPtr<TSoundHandle8> music;
  TSprite8 picture;
};
