// "Shop": a script opens the buy shop (op 0, the item ids as its arguments), the sell shop (op 1) or
// the inn (op 2) in front of the field and waits. The object lets the script go on at its second
// update after that, which comes when the field runs again with the shop closed; the script goes on
// the tick after.
#pragma once
#include "game/script/TScriptObject.h"

class TFieldScene;
class TGameWnd;

class TShopObject : public TScriptObject {
 public:
  static constexpr uint32_t kBuy = 0;
  static constexpr uint32_t kSell = 1;
  static constexpr uint32_t kInn = 2;

  TShopObject(TGameWnd& app, TFieldScene* field);

  // 5 for ops 0-2; any other op opens nothing, returns 4 and leaves the object idle.
  uint32_t Dispatch(uint32_t op, const TScriptArgs& args, const TScriptArgTypes& argTypes) override;
  void Update() override { (this->*state)(); }
  void Draw() override {}

  bool IsIdle() const { return state == &TShopObject::Idle; }

 private:
  using State = void (TShopObject::*)();

  void Idle() {}
  void Arm() { state = &TShopObject::ReleaseEngine; }
  void ReleaseEngine();

  State state = &TShopObject::Idle;
  TGameWnd& app;
  TFieldScene* field;  // the field's, not owned
};
