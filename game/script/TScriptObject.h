// Base of the named services that scripts address with @@SendMsg. Objects never block: one whose
// work takes time returns a waiting status, advances in Update and releases the engine with
// TScriptEngine::SetObjectWait(false) when it is done.
#pragma once
#include <cstddef>
#include <cstdint>
#include <deque>
#include <string>

using TScriptArgs = std::deque<std::string>;
using TScriptArgTypes = std::deque<uint32_t>;

class TScriptObject {
 public:
  // Dispatch results; the engine acts on bit 0 (wait for the object) and bit 1 (hold until the host
  // clears it).
  static constexpr uint32_t kDone = 4;
  static constexpr uint32_t kWait = 5;
  static constexpr uint32_t kHold = 7;
  static constexpr uint32_t kNoObject = 8;  // the engine's answer for an unregistered name
  // Argument kinds.
  static constexpr uint32_t kNumberArg = 2;  // a decimal text
  static constexpr uint32_t kStringArg = 4;

  explicit TScriptObject(const std::string& name) : name(name) {}
  virtual ~TScriptObject() = default;

  virtual uint32_t Dispatch(uint32_t op, const TScriptArgs& args, const TScriptArgTypes& argTypes) = 0;
  virtual void Update() = 0;
  virtual void Draw() = 0;

  const std::string& GetName() const { return name; }

  // Argument i as text, or as the runtime's decimal conversion; an argument the script left out
  // reads as "" and 0, so a short message never reads past the queue.
  static std::string ArgText(const TScriptArgs& args, size_t i);
  static int32_t ArgInt(const TScriptArgs& args, size_t i);

 private:
  const std::string name;
};
