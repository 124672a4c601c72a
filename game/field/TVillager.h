// A villager of a town stage: a game object made from its record that idles, and talks to the
// player who presses the examine key close to it and roughly facing it. While talking it turns
// toward the player when its record says so, until the field's talk handling ends the talk. The
// stage updates it every tick and asks it whether the player has just spoken to it; the chosen
// one's script is the conversation.
#pragma once
#include <cstdint>
#include <string>

#include "game/field/TGameObject.h"
#include "game/field/VillagerRecord.h"

class TStage;

// cos 30 degrees (0.5235988 radians): the widest angle between the player's facing and the
// villager at which a talk starts.
constexpr float kCosTalkLimit = 0.866025388f;

class TVillager : public TGameObject {
 public:
  // The record's model (a missing one throws my_error), body, shadow and gravity; idling, not
  // talking.
  explicit TVillager(const VillagerRecord& record);

  // The current mode's step; the idle handler is set back first.
  void Update() override;
  bool IsAirborne() override { return false; }
  // Attached as a game object, then stood at its position facing its direction; a zero facing
  // becomes a random one between +x and +z.
  void Attach(TStageLinks* stage) override;
  // Modes 0 and 1 idle, mode 2 also turns toward the player a step each tick.
  void SetMode(int32_t newMode) override;

  // Whether the player asks to talk to it now: not in a talk yet, the examine key newly pressed,
  // nearer than the two body heights and 0.5, facing it within 30 degrees. True puts it in its talk
  // (in mode 2 with face mode 1).
  virtual bool CheckTalk();
  virtual bool IsTalking() { return talking != 0; }
  // Out of the talk and back in mode 0.
  virtual void EndTalk();
  void ResetIdleHandler() { idleHandler = &TVillager::EnsureMode0; }

  // "pack/member" of its conversation.
  const std::string& GetScriptName() const { return scriptName; }
  const plat::D3DXVECTOR3& GetFacing() const { return facing; }
  uint32_t GetFaceMode() const { return faceMode; }
  uint32_t GetInfoValue1() const { return infoValue1; }
  uint32_t GetInfoValue2() const { return infoValue2; }

 private:
  using Handler = void (TVillager::*)();

  void IdleStep();
  void FacePlayerStep();
  void EnsureMode0();

  std::string scriptName;
  plat::D3DXVECTOR3 position;
  plat::D3DXVECTOR3 facing;
  uint32_t infoValue1;
  uint32_t faceMode;
  uint32_t infoValue2;
  uint8_t talking = 0;
  Handler modeHandler = &TVillager::IdleStep;
  // What idling falls back to; nothing calls it yet.
  Handler idleHandler = &TVillager::EnsureMode0;
  TStage* talkStage = nullptr;  // the stage it is attached to, whose player it talks to
};
