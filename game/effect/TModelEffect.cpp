#include "game/effect/TModelEffect.h"

using plat::D3DCOLORVALUE;
using plat::D3DXVECTOR3;

namespace {

D3DCOLORVALUE Scaled(const D3DCOLORVALUE& c, float s) { return {c.r * s, c.g * s, c.b * s, c.a * s}; }

}  // namespace

TModelTimes TModelTimes::FadeOnly(float end, float step, bool fadeIn) {
  TModelTimes t;
  if (fadeIn) {
    t.end1 = end;
    t.step1 = step;
    t.first = t.next = TModelState::kFadeInThenDie;
  } else {
    t.end3 = end;
    t.step3 = step;
    t.first = t.next = TModelState::kFadeOut;
  }
  return t;
}

TModelTimes TModelTimes::InHoldOut(float e1, float s1, float e2, float s2, float e3, float s3) {
  TModelTimes t;
  t.end1 = e1;
  t.step1 = s1;
  t.end2 = e2;
  t.step2 = s2;
  t.end3 = e3;
  t.step3 = s3;
  t.first = TModelState::kFadeIn;
  t.next = TModelState::kHoldThenFadeOut;
  return t;
}

TModelTimes TModelTimes::InLoopOut(float e1, float s1, float e2, float s2, int32_t loopCount, float e3, float s3) {
  TModelTimes t = InHoldOut(e1, s1, e2, s2, e3, s3);
  t.loops = loopCount;
  t.next = loopCount == -1 ? TModelState::kLoopUntilStop : TModelState::kLoop;
  return t;
}

TModelTimes TModelTimes::InHold(float e1, float s1, float e2, float s2) {
  TModelTimes t;
  t.end1 = e1;
  t.step1 = s1;
  t.end2 = e2;
  t.step2 = s2;
  t.first = TModelState::kFadeIn;
  t.next = TModelState::kHold;
  return t;
}

const TModelEffect::StateFunction TModelEffect::kStates[] = {
    &TModelEffect::FadeIn,          &TModelEffect::FadeInThenDie, &TModelEffect::FadeInThenFadeOut,
    &TModelEffect::Hold,            &TModelEffect::HoldThenFadeOut, &TModelEffect::Loop,
    &TModelEffect::LoopUntilStop,   &TModelEffect::FadeOut,       &TModelEffect::FadeOutClamped,
};

TModelEffect::TModelEffect(const TModelLook& modelLook, const std::string& asset, const TModelTimes& times)
    : TEffect(TCountedPtr<TFrame8>()),
      look(modelLook),
      end1(times.end1),
      step1(times.step1),
      end2(times.end2),
      step2(times.step2),
      loopCount(times.loops),
      end3(times.end3),
      step3(times.step3),
      next(times.next),
      state(times.first) {
  LoadModel(asset);
}

TModelEffect::TModelEffect(const TModelEffect& other)
    : TEffect(other),
      look(other.look),
      end1(other.end1),
      step1(other.step1),
      end2(other.end2),
      step2(other.step2),
      loopCount(other.loopCount),
      end3(other.end3),
      step3(other.step3),
      next(other.next),
      state(other.state) {}

bool TModelEffect::Update() {
  const StateFunction run = kStates[static_cast<size_t>(state)];
  (this->*run)();
  OnTick();
  return IsAlive();
}

void TModelEffect::Init(int32_t newId, const D3DXVECTOR3& position, const D3DXVECTOR3& lookAt, TFrame8& parent,
                        TEffectStage* stage, const D3DCOLORVALUE& newColour) {
  TEffect::Init(newId, position, lookAt, parent, stage, newColour);
  const bool fadesIn = state == TModelState::kFadeIn || state == TModelState::kFadeInThenDie ||
                       state == TModelState::kFadeInThenFadeOut;
  if (!fadesIn) current = colour;
  if (frame) frame->SetColor(colour.r, colour.g, colour.b, colour.a, true, false);
  if (step1 != 0.0f) {
    const float ticks = end1 / step1;
    if (ticks != 0.0f) colourStep1 = Scaled(colour, 1.0f / ticks);
  }
  if (step3 > 0.0f) {
    const float ticks = end3 == end2 ? end3 / step3 : (end3 - end2) / step3;
    if (ticks > 0.0f) colourStep3 = Scaled(colour, 1.0f / ticks);
  }
}

void TModelEffect::ApplyRenderMode() {
  if (frame) frame->SetRenderMode(look.renderMode, true, false);
}

void TModelEffect::SetScale(const D3DXVECTOR3& scale) {
  if (frame) frame->Scale(scale.x, scale.y, scale.z, false);
}

void TModelEffect::OnTick() {}

void TModelEffect::ApplyColour() {
  if (!frame) return;
  if (look.fadesAlpha)
    frame->SetAlpha(current.a, true, false);
  else
    frame->SetColorRGB(current.r, current.g, current.b, true, false);
}

void TModelEffect::ApplyTime() {
  if (frame) frame->SetAnimationTime(time);
}

void TModelEffect::SwitchAtFullColour(TModelState to) {
  state = to;
  current = colour;
}

bool TModelEffect::StepFadeIn() {
  time += step1;
  ApplyTime();
  current.r += colourStep1.r;
  current.g += colourStep1.g;
  current.b += colourStep1.b;
  current.a += colourStep1.a;
  ApplyColour();
  return time > end1;
}

void TModelEffect::FadeIn() {
  if (!StepFadeIn()) return;
  SwitchAtFullColour(next);
  ApplyColour();
}

void TModelEffect::FadeInThenDie() {
  if (StepFadeIn()) Kill();
}

void TModelEffect::FadeInThenFadeOut() {
  if (!StepFadeIn()) return;
  SwitchAtFullColour(TModelState::kFadeOut);
  ApplyColour();
}

void TModelEffect::Hold() {
  time += step2;
  ApplyTime();
  if (time > end2) Kill();
}

void TModelEffect::HoldThenFadeOut() {
  time += step2;
  ApplyTime();
  if (time > end2) SwitchAtFullColour(TModelState::kFadeOut);
}

void TModelEffect::Loop() {
  time += step2;
  if (time > end2) {
    --loopCount;
    if (loopCount == 0) SwitchAtFullColour(TModelState::kFadeOut);
    time = end1;
  }
  ApplyTime();
}

void TModelEffect::LoopUntilStop() {
  time += step2;
  if (IsStopping()) {
    SwitchAtFullColour(TModelState::kFadeOutClamped);
    time = end1;
  } else if (time > end2) {
    time = end1;
  }
  ApplyTime();
}

void TModelEffect::StepFadeOut(bool clamp) {
  time += step3;
  ApplyTime();
  current.r -= colourStep3.r;
  current.g -= colourStep3.g;
  current.b -= colourStep3.b;
  current.a -= colourStep3.a;
  if (clamp) {
    for (float* c : {&current.r, &current.g, &current.b, &current.a})
      if (*c < 0.0f) *c = 0.0f;
  }
  ApplyColour();
  if (time > end3) Kill();
}

void TModelEffect::FadeOut() { StepFadeOut(false); }

void TModelEffect::FadeOutClamped() { StepFadeOut(true); }

TAddModelEffect::TAddModelEffect(const std::string& asset, const TModelTimes& times)
    : TModelEffect(kAdditive, asset, times) {}

std::unique_ptr<TEffect> TAddModelEffect::Clone() const {
  return std::unique_ptr<TEffect>(new TAddModelEffect(*this));
}

TAlphaModelEffect::TAlphaModelEffect(const std::string& asset, const TModelTimes& times)
    : TModelEffect(kAlpha, asset, times) {}

TAlphaModelEffect::TAlphaModelEffect(const TModelLook& modelLook, const std::string& asset, const TModelTimes& times)
    : TModelEffect(modelLook, asset, times) {}

std::unique_ptr<TEffect> TAlphaModelEffect::Clone() const {
  return std::unique_ptr<TEffect>(new TAlphaModelEffect(*this));
}
