#include "common/TMoveValue.h"

// Integer tweens wrap in 32 bits rather than overflow; a tween without frames sits at its end
// instead of dividing by zero.
template <>
int32_t TTween<int32_t>::At(int32_t s) const {
  if (frames <= 0) return end;
  const auto span = static_cast<int32_t>(static_cast<uint32_t>(end) - static_cast<uint32_t>(start));
  const auto product = static_cast<int32_t>(static_cast<uint32_t>(span) * static_cast<uint32_t>(s));
  return static_cast<int32_t>(static_cast<uint32_t>(start) + static_cast<uint32_t>(product / frames));
}

template <>
float TTween<float>::At(int32_t s) const {
  if (frames <= 0) return end;
  return start + (end - start) * static_cast<float>(s) / static_cast<float>(frames);
}

template <typename T>
void TTween<T>::Set(T s, T e, int32_t f, int32_t st) {
  start = s;
  end = e;
  frames = f;
  step = st;
  value = step == 0 ? start : At(step);
}

template <typename T>
bool TTween<T>::Forward() {
  if (step < frames) {
    ++step;
    value = At(step);
    return true;
  }
  step = frames;
  value = end;
  return false;
}

template <typename T>
bool TTween<T>::Backward() {
  if (step > 0) {
    --step;
    value = At(step);
    return true;
  }
  step = 0;
  return false;
}

template class TTween<int32_t>;
template class TTween<float>;

void TLoopValue::Set(float start, float end, int32_t frames, int32_t count, bool turn) {
  move.Set(start, end, frames, 0);
  repeatCount = count;
  repeatsDone = 0;
  backAndForth = turn ? 1 : 0;
}

void TLoopValue::Step() {
  if (move.Forward()) return;
  if (repeatCount != kForever) {
    ++repeatsDone;
    if (repeatsDone >= repeatCount) {
      repeatsDone = repeatCount;
      return;
    }
  }
  if (backAndForth) {
    move.Set(move.end, move.start, move.frames, 0);
    move.Forward();
  } else {
    move.step = 0;
    move.value = move.start;
  }
}
