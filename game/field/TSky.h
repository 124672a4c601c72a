// The sky dome's shader object: it draws the dome in its own fog range and colour, with texture
// coordinates taken from the world x and z of each vertex, scaled and scrolled. All skies share one
// shader handle; start-up registers a default sky so that the handle is made with the device and
// made again after a reset.
#pragma once
#include <cstdint>

#include "common/TMesh8.h"
#include "common/TVertexShader8.h"

class TSky : public TShaderBase8 {
 public:
  // Both load "sky/sky00.msh" (a missing file throws my_error).
  TSky();
  TSky(float scaleU, float scaleV, float scrollU, float scrollV, float fogNear, float fogFar, uint32_t fogColour);
  ~TSky() override;

  // Draws the part in the sky's fog and puts the device's fog settings back afterwards (stored
  // only; the next render mode applies them). The texture scroll advances once per drawing of the
  // mesh, at its first part.
  void Draw(uint32_t part, TMesh8& mesh, TView8* view, const plat::D3DMATRIX& world) override;
  // Makes or unmakes the shared handle (made only on a device with vertex shaders).
  void Create() override;
  void Release() override;

  // A range whose near is not below its far becomes 100000 to 110000: practically no fog.
  void SetFogRange(float nearDistance, float farDistance);

  float GetFogNear() const { return fogNear; }
  float GetFogFar() const { return fogFar; }
  uint32_t GetFogColour() const { return fogColour; }
  float GetOffsetU() const { return offsetU; }
  float GetOffsetV() const { return offsetV; }
  float GetScaleU() const { return scaleU; }
  float GetScaleV() const { return scaleV; }
  float GetScrollU() const { return scrollU; }
  float GetScrollV() const { return scrollV; }

  static const char* GetSource();
  // The shared handle; 0 when none is made.
  static uint32_t GetHandle();

 private:
  void Scroll();
  void DrawWithShader(uint32_t part, TMesh8& mesh, TView8* view, const plat::D3DMATRIX& world);
  void DrawFixedFunction(uint32_t part, TMesh8& mesh, TView8* view, const plat::D3DMATRIX& world);

  float scaleU = 1, scaleV = 1;
  float scrollU = 0, scrollV = 0;
  float offsetU = 0, offsetV = 0;
  float fogNear = 0, fogFar = 0;
  uint32_t fogColour = 0xFFFFFFFF;
  TMesh8 mesh;
};
