// "Flag": scripts read and write the game-progress record through numbered selectors. Operation 0
// reads a value into "$_", operation 1 writes one; the first argument is the selector.
#pragma once
#include "game/script/TScriptObject.h"

class TGameData;
class TGameWnd;

class TPBFlag : public TScriptObject {
 public:
  static constexpr uint32_t kGetValue = 0;
  static constexpr uint32_t kPutValue = 1;

  explicit TPBFlag(TGameWnd* app);

  // Always 4; other operations do nothing. Unknown selectors throw my_error.
  uint32_t Dispatch(uint32_t op, const TScriptArgs& args, const TScriptArgTypes& argTypes) override;
  void Update() override {}
  void Draw() override {}

  void GetValue(const TScriptArgs& args, const TScriptArgTypes& argTypes);
  void PutValue(const TScriptArgs& args, const TScriptArgTypes& argTypes);

 private:
  struct Getter;
  struct Putter;
  static const Getter kGetters[];
  static const Putter kPutters[];

  TGameWnd* app;  // not owned
};
