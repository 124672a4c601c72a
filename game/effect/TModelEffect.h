// Model-animation effects: an animated frame file or a mesh whose animation time and colour a
// small state machine drives: fade in, hold or loop, fade out, die. The additive and the alpha
// class are one body over their look (render mode and faded channel); the chain effects and the
// thunder build on it.
#pragma once
#include <cstdint>
#include <memory>
#include <string>

#include "game/effect/TEffect.h"

// The states a model effect runs, one per tick.
enum class TModelState : uint8_t {
  kFadeIn,             // time += step 1, colour up; past end 1: the next state at full colour
  kFadeInThenDie,      // as FadeIn; past end 1: Kill
  kFadeInThenFadeOut,  // as FadeIn; past end 1: FadeOut at full colour
  kHold,               // time += step 2; past end 2: Kill
  kHoldThenFadeOut,    // time += step 2; past end 2: FadeOut
  kLoop,               // time += step 2; past end 2: back to end 1, FadeOut after the last loop
  kLoopUntilStop,      // time += step 2; past end 2: back to end 1; the stop flag: FadeOutClamped
  kFadeOut,            // time += step 3, colour down; past end 3: Kill
  kFadeOutClamped,     // as FadeOut, no channel below 0
};

// The phase values and first states of a model effect, as its constructor variants set them.
struct TModelTimes {
  float end1 = 0, step1 = 0;
  float end2 = 0, step2 = 0;
  int32_t loops = 0;
  float end3 = 0, step3 = 0;
  TModelState first = TModelState::kFadeIn;
  TModelState next = TModelState::kFadeIn;

  // Variant A: a fade-in that dies at its end, or (fadeIn false) a fade-out.
  static TModelTimes FadeOnly(float end, float step, bool fadeIn);
  // Variant B: fade in, hold, fade out.
  static TModelTimes InHoldOut(float end1, float step1, float end2, float step2, float end3, float step3);
  // Variant C: fade in, loop `loops` times (-1: until stopped), fade out.
  static TModelTimes InLoopOut(float end1, float step1, float end2, float step2, int32_t loops, float end3,
                               float step3);
  // The chains: fade in, hold, die.
  static TModelTimes InHold(float end1, float step1, float end2, float step2);
};

// How a model family looks: its render mode and whether it fades alpha (else red, green, blue).
struct TModelLook {
  uint32_t renderMode;
  bool fadesAlpha;
};

class TModelEffect : public TEffect {
 public:
  static constexpr TModelLook kAdditive{4000, false};
  static constexpr TModelLook kAlpha{2100, true};

  // Runs the current state, then the per-tick hook.
  bool Update() override;
  // The base Init: a state that does not fade in starts from the spawn colour; the frame tree
  // takes the spawn colour; the fade-in and fade-out colour steps spread it over their ticks.
  void Init(int32_t id, const plat::D3DXVECTOR3& position, const plat::D3DXVECTOR3& lookAt, TFrame8& parent,
            TEffectStage* stage, const plat::D3DCOLORVALUE& colour) override;
  void ApplyRenderMode() override;
  void SetScale(const plat::D3DXVECTOR3& scale) override;

  // The chain classes' per-tick hook; nothing here.
  virtual void OnTick();
  // The current colour in the faded channel, on the frame tree.
  virtual void ApplyColour();
  // The animation time on the frame tree.
  virtual void ApplyTime();

  float GetTime() const { return time; }
  TModelState GetState() const { return state; }
  int32_t GetLoopCount() const { return loopCount; }
  const plat::D3DCOLORVALUE& GetCurrentColour() const { return current; }
  const plat::D3DCOLORVALUE& GetColourStep1() const { return colourStep1; }
  const plat::D3DCOLORVALUE& GetColourStep3() const { return colourStep3; }
  // The phases as they stand, the current state as the first and the loops left as the loops.
  TModelTimes GetTimes() const { return {end1, step1, end2, step2, loopCount, end3, step3, state, next}; }

 protected:
  // The asset goes through LoadModel: a frame file becomes the frame, a mesh a frame
  // "EffectRoot" holding it.
  TModelEffect(const TModelLook& look, const std::string& asset, const TModelTimes& times);
  // For Clone: time 0, colour steps and current colour 0, phases and states copied.
  TModelEffect(const TModelEffect& other);

  TModelLook look;
  float time = 0.0f;
  float end1, step1;
  plat::D3DCOLORVALUE colourStep1{0, 0, 0, 0};
  float end2, step2;
  int32_t loopCount;
  float end3, step3;
  plat::D3DCOLORVALUE colourStep3{0, 0, 0, 0};
  plat::D3DCOLORVALUE current{0, 0, 0, 0};
  TModelState next;
  TModelState state;

 private:
  using StateFunction = void (TModelEffect::*)();
  static const StateFunction kStates[];

  void FadeIn();
  void FadeInThenDie();
  void FadeInThenFadeOut();
  void Hold();
  void HoldThenFadeOut();
  void Loop();
  void LoopUntilStop();
  void FadeOut();
  void FadeOutClamped();
  // One fade-in tick; true once time has passed end 1.
  bool StepFadeIn();
  // One fade-out tick, optionally clamping at 0; Kill past end 3.
  void StepFadeOut(bool clamp);
  // To a state at the full spawn colour.
  void SwitchAtFullColour(TModelState to);
};

// Additive model effects ("ADD", fading red, green, blue).
class TAddModelEffect : public TModelEffect {
 public:
  TAddModelEffect(const std::string& asset, const TModelTimes& times);
  std::unique_ptr<TEffect> Clone() const override;

 private:
  TAddModelEffect(const TAddModelEffect& other) = default;
};

// Alpha model effects ("ALPHANOTCULL", fading alpha).
class TAlphaModelEffect : public TModelEffect {
 public:
  TAlphaModelEffect(const std::string& asset, const TModelTimes& times);
  std::unique_ptr<TEffect> Clone() const override;

 protected:
  TAlphaModelEffect(const TModelLook& look, const std::string& asset, const TModelTimes& times);
  TAlphaModelEffect(const TAlphaModelEffect& other) = default;
};
