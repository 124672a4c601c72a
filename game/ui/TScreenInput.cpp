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
