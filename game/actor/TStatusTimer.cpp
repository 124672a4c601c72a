#include "game/actor/TStatusTimer.h"

#include "game/actor/TActor.h"

void TStatusTimer::Set(int32_t n) {
  if (n < 0) return;
  framesLeft = n;
  phase = 0;
}

void TStatusTimer::Clear() {
  framesLeft = 0;
  phase = 0;
}

bool TStatusTimer::Tick() {
  if (--framesLeft < 0) return false;
  if (++phase >= kPlainCycle) phase = 0;
  return true;
}

bool TStatusTimer::StepDamageCycle(bool& running) {
  running = --framesLeft >= 0;
  if (!running) return false;
  return ++phase >= kDamageCycle;
}

bool TStatusTimer::TickPoison() {
  bool running = false;
  if (!StepDamageCycle(running)) return running;
  // Poison never takes the last points of life.
  if (owner && owner->GetHp() >= kPoisonFloor) owner->LoseHp(kPoisonLoss);
  phase = 0;
  return true;
}

bool TStatusTimer::TickDrain() {
  bool running = false;
  if (!StepDamageCycle(running)) return running;
  if (owner && owner->GetSp() >= 1) owner->LoseMp(1);
  phase = 0;
  return true;
}

int32_t TShortTimer::Set(int32_t n) {
  if (n >= 0) framesLeft = n;
  return n;
}
