#include "game/effect/TColorFade.h"

#include "common/Truncate.h"

namespace {

constexpr uint32_t kManagedPool = 1;

uint32_t Scaled(double c) { return static_cast<uint32_t>(TruncateToInt(c * 255.0)); }

plat::D3DCOLORVALUE Preset(int32_t kind, float alpha) {
  const float c = kind == TColorFade::kBlack ? 0.0f : 1.0f;
  return {c, c, c, alpha};
}

}  // namespace

TColorFade::TColorFade(int32_t count, int32_t kind, int32_t direction)
    : TColorFade(count, Preset(kind, direction == kToColour ? 0.0f : 1.0f),
                 Preset(kind, direction == kToColour ? 1.0f : 0.0f), "") {}

TColorFade::TColorFade(int32_t count, const plat::D3DCOLORVALUE& from, const plat::D3DCOLORVALUE& to,
                       const std::string& spriteName)
    : frameCount(count),
      textured(spriteName.empty() ? 0 : 1),
      start(from),
      end(to),
      sprite(LoadSprite(spriteName, kManagedPool, 0)) {
  sprite.SetColor(PackColor(start), -1);
}

TColorFade::~TColorFade() = default;

uint32_t TColorFade::PackColor(const plat::D3DCOLORVALUE& c) { return Pack(c.r, c.g, c.b, c.a); }

uint32_t TColorFade::Pack(double r, double g, double b, double a) {
  return (Scaled(a) << 24) | ((Scaled(r) & 255) << 16) | ((Scaled(g) & 255) << 8) | (Scaled(b) & 255);
}

// Both directions map a frame to the same colour, so stepping back retraces a fade exactly.
void TColorFade::ShowFrame(const plat::D3DCOLORVALUE& boundary) {
  if (frame <= 0 || frame >= frameCount) {
    sprite.SetColor(PackColor(boundary), -1);
    return;
  }
  auto mix = [this](float a, float b) { return a + (double(b) - a) * frame / frameCount; };
  sprite.SetColor(Pack(mix(start.r, end.r), mix(start.g, end.g), mix(start.b, end.b), mix(start.a, end.a)), -1);
}

bool TColorFade::Step() {
  if (frame < frameCount) ++frame;
  ShowFrame(end);
  return !IsDone();
}

bool TColorFade::StepBack() {
  if (frame > 0) --frame;
  ShowFrame(start);
  return frame > 0;
}

void TColorFade::Finish() {
  frame = frameCount;
  sprite.SetColor(PackColor(end), -1);
}

void TColorFade::Draw(float x, float y, float width, float height) {
  if (textured)
    sprite.Draw(x, y, width, height, false);
  else
    sprite.DrawRect(x, y, width, height, false);
  if (frame == frameCount) done = 1;
}
