// The base of everything the game shows: a scene runs while it is at the front of the scene stack.
#pragma once
#include <cstdint>

class TGameWnd;
class TD3D8;
class TDSound8;
class TInput;

// The result bits of a scene's Run.
using SceneResult = uint32_t;
constexpr SceneResult kSceneFinished = 1;  // pop this scene; the one behind resumes
constexpr SceneResult kSceneRunning = 2;
constexpr SceneResult kSceneQuit = 4;  // wins over kSceneFinished

class TScene {
 public:
  explicit TScene(TGameWnd& app);
  virtual ~TScene() = default;
  TScene(const TScene&) = delete;
  TScene& operator=(const TScene&) = delete;

  virtual SceneResult Run() = 0;
  virtual void Draw() {}
  // Whether Escape and F4 may open the yes/no dialog over this scene.
  virtual bool AllowsSystemDialog() { return true; }
  virtual void Suspend() { suspended = true; }
  virtual void Resume() { suspended = false; }

  bool IsSuspended() const { return suspended; }

 protected:
  TGameWnd& app;
  TD3D8* d3d;
  TDSound8* sound;
  TInput* input;
  bool suspended = true;
};
