// The pad as the screens read it. A button is pressed when it is set in this tick's word and clear
// in the last one. Screens with lists also take a repeat word: every fifth tick it holds the
// buttons held through the whole input history, on the other ticks nothing, so a held direction
// moves once on the press and then once every five ticks.
#pragma once
#include <cstddef>
#include <cstdint>

class TInput;

class TScreenInput {
 public:
  static constexpr int32_t kRepeatTicks = 5;
  static constexpr size_t kHeldHistory = 10;

  // Without an input object nothing is ever pressed.
  explicit TScreenInput(const TInput* input) : input(input) {}

  // Once per tick, before the screen's phase, on screens with the repeat rule.
  void TakeRepeat();

  bool Pressed(uint32_t buttons) const;
  // Pressed, or in the repeat word.
  bool Stepped(uint32_t buttons) const { return Pressed(buttons) || (repeat & buttons) != 0; }
  // Set in this tick's word, pressed or not.
  bool Held(uint32_t buttons) const;
  uint32_t GetRepeat() const { return repeat; }

  // A cursor over count places: the back button (pressed or repeated) moves it back, otherwise
  // the on button moves it on, round both ends; true when either was taken.
  bool MoveRound(int32_t& cursor, int32_t count, uint32_t back, uint32_t on) const;

 private:
  const TInput* input;
  uint32_t repeat = 0;
  int32_t counter = 0;
};
