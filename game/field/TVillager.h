// A villager of a town stage as the stage sees it: a game object that the stage updates every tick
// and asks whether the player has just spoken to it. The chosen one's script is the conversation.
#pragma once
#include <string>

#include "game/field/TGameObject.h"

class TVillager : public TGameObject {
 public:
  using TGameObject::TGameObject;

  // Whether the player asks to talk to it now; true also puts it in its talk.
  virtual bool CheckTalk() = 0;
  virtual bool IsTalking() = 0;
  virtual void EndTalk() = 0;
  // "pack/member" of its conversation.
  virtual const std::string& GetScriptName() const = 0;
};
