// The base of everything placed on a map that watches the player every tick: exits, triggers,
// items, save points, conditions and the death watch. The stage tests the active ones in list
// order and stops at the first result of 10000 or more; an inactive one is dropped.
#pragma once
#include <cstdint>
#include <string>

class TStage;

// Results of Test of 10000 or more stop the stage's walk for the tick.
constexpr int32_t kMapObjectStop = 10000;
constexpr int32_t kMapChangeStarted = 10001;  // a transition is the field scene's mode already
constexpr int32_t kFieldEndsA = 10002;         // set by map scripts: the field scene ends
constexpr int32_t kScriptStarted = 10003;      // the script goes on as an interactive event
constexpr int32_t kFieldEndsB = 10004;
constexpr int32_t kFieldEndsC = 10005;
// What Test gives when nothing happens.
constexpr int32_t kNothingHappened = 1;

class TMapObject {
 public:
  explicit TMapObject(TStage* stage) : stage(stage) {}
  virtual ~TMapObject() = default;
  TMapObject(const TMapObject&) = delete;
  TMapObject& operator=(const TMapObject&) = delete;

  virtual int32_t Test() = 0;
  // Called just before the stage drops the object.
  virtual void OnRemove() {}
  // For good: nothing sets an object active again.
  virtual void Deactivate() { active = 0; }
  // Runs the map script ("pack/member") within this tick, up to its first wait or its end, and
  // gives the result word its "MapEvent" object was left with (1 when the script set none). A
  // script that asks to go on as an interactive event (10003) is loaded again on a new engine with
  // the objects of a conversation, which the field then runs tick by tick.
  virtual int32_t Fire(const std::string& scriptName);

  bool IsActive() const { return active != 0; }
  TStage* GetStage() const { return stage; }

 private:
  uint8_t active = 1;
  TStage* stage;
};
