// The device-dependent pieces of the graphics layer (render-mode table, vertex-shader set, 2D
// blend-mode blocks, texture cache) that the device object creates after the device, releases and
// restores around a reset and tears down at cleanup. Each piece fills its slots; an empty slot
// does nothing.
#pragma once
#include <functional>

struct TDeviceHooks {
  std::function<void()> createRenderModes;   // after the device exists
  std::function<void()> releaseRenderModes;  // before a reset
  std::function<void()> restoreRenderModes;  // after a reset
  std::function<void()> destroyRenderModes;  // at cleanup

  std::function<void()> createShaderSet;
  std::function<void()> releaseShaders;
  std::function<void()> recreateShaders;
  std::function<void()> destroyShaderSet;

  std::function<void()> recordBlendStates;   // after creation and after every reset
  std::function<void()> releaseBlendStates;  // before a reset and at cleanup

  std::function<void(int)> purgeTextures;    // mode 1 at cleanup

  // The hooks the device object calls; they start as Real().
  static TDeviceHooks& Get();
  // The real pieces: render modes, the vertex-shader set, 2D blend blocks and the texture purge.
  static TDeviceHooks Real();
};

// Calls a slot when it is filled.
template <class F, class... Args>
void CallHook(const F& hook, Args... args) {
  if (hook) hook(args...);
}
