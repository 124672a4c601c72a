#include "game/ui/TScreenInput.h"

#include "game/shell/TInput.h"

void TScreenInput::TakeRepeat() {
  if (++counter >= kRepeatTicks) {
    counter = 0;
    repeat = input ? input->GetHeld(kHeldHistory) : 0;
  } else {
    repeat = 0;
  }
}

bool TScreenInput::Pressed(uint32_t buttons) const { return input && input->IsPressed(buttons); }

bool TScreenInput::Held(uint32_t buttons) const { return input && (input->GetButtons(0) & buttons) != 0; }

bool TScreenInput::MoveRound(int32_t& cursor, int32_t count, uint32_t back, uint32_t on) const {
  if (Stepped(back)) {
    cursor = cursor <= 0 ? count - 1 : cursor - 1;
    return true;
  }
  if (Stepped(on)) {
    cursor = cursor >= count - 1 ? 0 : cursor + 1;
    return true;
  }
  return false;
}
