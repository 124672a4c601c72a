// The inn: a night's rest that a script opens in front of the field. The party is restored the
// moment it is built; then the picture fades to black while the stage music fades out, a rest
// tune plays, and music and picture come back. It reads no input and takes no gold.
#pragma once
#include <cstdint>
#include <memory>

#include "common/TCountedPtr.h"
#include "common/TSprite8.h"
#include "game/effect/TColorFade.h"
#include "game/ui/TScreen.h"
#include "sound/TSoundList8.h"

class TSoundHandle8;

// What the inn asks of the field whose script opened it.
class TInnField {
 public:
  virtual ~TInnField() = default;
  // The stage music's sound id in set 2; -1 when the stage has none.
  virtual int32_t GetStageMusicId() const = 0;
  // The controlled character at its full HP and MP, with no ring points used.
  virtual void RestorePlayer() = 0;
};

class TInn : public TScreen {
 public:
  static constexpr const char* kCaptureName = "sTInnLoop";
  static constexpr int32_t kRestTune = 16;
  static constexpr int32_t kFadeFrames = 60;
  static constexpr int32_t kMusicSteps = 50;

  // Without a field nothing but the party's blocks is restored, and no music fades.
  TInn(TGameWnd& app, TInnField* field);
  // The same over a view of the field that the inn keeps.
  TInn(TGameWnd& app, std::unique_ptr<TInnField> field);
  ~TInn() override;

  int32_t GetWait() const { return wait; }
  const TColorFade& GetFade() const { return fade; }
  const TCountedPtr<TSoundHandle8>& GetMusicHandle() const { return music; }

  SceneResult FadeToBlack();
  SceneResult Rest();
  SceneResult FadeBack();

 protected:
  void DrawScreen() override;

 private:
  bool StepMusic();

  TColorFade fade;
  TCountedPtr<TSoundHandle8> music;
  TSprite8 background;
  TSoundList8 sounds;
  int32_t wait = 0;
  std::unique_ptr<TInnField> ownedField;
};
