#include "common/TDeviceHooks.h"

#include "common/TRenderModeTable.h"
#include "common/TSprite8.h"
#include "common/TTexture8.h"
#include "common/TVertexShader8.h"

TDeviceHooks& TDeviceHooks::Get() {
  static TDeviceHooks hooks = Real();
  return hooks;
}

TDeviceHooks TDeviceHooks::Real() {
  TDeviceHooks hooks;
  hooks.createRenderModes = &TRenderModeTable::Create;
  hooks.releaseRenderModes = &TRenderModeTable::ReleaseModes;
  hooks.restoreRenderModes = &TRenderModeTable::Restore;
  hooks.destroyRenderModes = &TRenderModeTable::Destroy;
  hooks.createShaderSet = &CreateShaderSet;
  hooks.releaseShaders = &ReleaseShaderHandles;
  hooks.recreateShaders = &RecreateShaderHandles;
  hooks.destroyShaderSet = &ReleaseShaderSet;
  hooks.recordBlendStates = &TSprite8::RecordBlendStates;
  hooks.releaseBlendStates = &TSprite8::ReleaseBlendStates;
  hooks.purgeTextures = &TTexture8::Purge;
  return hooks;
}
