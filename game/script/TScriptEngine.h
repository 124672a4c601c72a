// The one script engine: a queue of running scripts, their shared variables, the named objects they
// talk to and the builtins. Run never blocks: it returns as soon as a script has to wait.
#pragma once
#include <cstdint>
#include <deque>
#include <map>
#include <string>

#include "common/TCountedPtr.h"
#include "game/script/TScriptObject.h"
#include "game/script/TScriptProgram.h"
#include "game/script/TScriptVariables.h"

class TScriptEngine {
 public:
  // Results of Run.
  static constexpr uint32_t kWaiting = 3;
  static constexpr uint32_t kFinished = 4;
  static constexpr uint32_t kStopped = 16;
  // Statements one Run may execute before the script counts as hung: far more than any real script
  // runs between two waits, and still well under a second.
  static constexpr uint64_t kDefaultStepBudget = 10'000'000;

  TScriptEngine() = default;
  virtual ~TScriptEngine();
  TScriptEngine(const TScriptEngine&) = delete;
  TScriptEngine& operator=(const TScriptEngine&) = delete;

  // The global engine's lifetime.
  static void Create();
  static TScriptEngine* Get();  // null before Create and after Destroy
  static void Destroy();
  static void SetFolder(const std::string& folder);
  static const std::string& GetFolder();
  // Called by objects on the global engine; nothing happens when there is none.
  static void SetObjectWait(bool wait);
  static void SetStop(bool stop);

  // Loads "pack/member" and puts it in front, so it runs to its end before the others resume.
  TScriptProgram& LoadScript(const std::string& name);
  void AddObject(TScriptObject* object);
  void ReplaceObject(const TCountedPtr<TScriptObject>& object);
  void RemoveObject(const std::string& name);
  TScriptObject* FindObject(const std::string& name) const;
  uint32_t SendMsg(const std::string& name, uint32_t op, const TScriptArgs& args, const TScriptArgTypes& argTypes);
  // 16 stopped, 3 a script waits, 4 nothing left to run. Throws my_error naming the script when one
  // runs past the step budget without waiting.
  uint32_t Run();
  void UpdateObjects();
  void DrawObjects();
  void ClearQueue();
  // A CALL of a builtin ("@@SendMsg", "@@Random", ...); unknown names do nothing.
  void RunBuiltin(const std::string& name, TScriptArgs args, TScriptArgTypes argTypes);

  bool IsWaiting() const { return waiting; }
  void SetWaiting(bool w) { waiting = w; }
  bool IsObjectWaiting() const { return objectWaiting; }
  bool IsHolding() const { return holding; }
  void SetHolding(bool h) { holding = h; }
  bool IsStopped() const { return stopped; }
  size_t QueueSize() const { return runQueue.size(); }
  TScriptVariables& Globals() { return globals; }
  TScriptVariables& AuxGlobals() { return auxGlobals; }
  void SetStepBudget(uint64_t steps) { stepBudget = steps; }

 private:
  struct Builtin;
  static const Builtin kBuiltins[];

  void SendMsgBuiltin(TScriptArgs& args, TScriptArgTypes& argTypes);
  void RandomBuiltin(TScriptArgs& args, TScriptArgTypes& argTypes);
  void TimeBuiltin(TScriptArgs& args, TScriptArgTypes& argTypes);
  void RandomSeedBuiltin(TScriptArgs& args, TScriptArgTypes& argTypes);
  void WaitBuiltin(TScriptArgs& args, TScriptArgTypes& argTypes);
  void ResumeBuiltin(TScriptArgs& args, TScriptArgTypes& argTypes);
  void Finish(const TScriptProgram* program);
  bool MustWait() const { return waiting || holding || objectWaiting; }

  bool waiting = false;
  bool objectWaiting = false;
  bool holding = false;
  bool stopped = false;
  std::deque<TCountedPtr<TScriptProgram>> runQueue;
  TScriptVariables globals;
  TScriptVariables auxGlobals;
  std::map<std::string, TCountedPtr<TScriptObject>> objects;
  uint64_t stepBudget = kDefaultStepBudget;
};
