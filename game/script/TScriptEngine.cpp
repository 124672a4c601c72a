#include "game/script/TScriptEngine.h"

#include <ctime>
#include <vector>

#include "common/CRand.h"
#include "common/my_error.h"
#include "game/script/ScriptNumber.h"

namespace {

TCountedPtr<TScriptEngine>& GlobalEngine() {
  static TCountedPtr<TScriptEngine> engine;
  return engine;
}

std::string& ScriptFolder() {
  static std::string folder;
  return folder;
}

// Takes the first argument off the queues ("" when the script gave none).
std::string PopFront(TScriptArgs& args, TScriptArgTypes& argTypes) {
  std::string text = TScriptObject::ArgText(args, 0);
  if (!args.empty()) args.pop_front();
  if (!argTypes.empty()) argTypes.pop_front();
  return text;
}

}  // namespace

struct TScriptEngine::Builtin {
  const char* name;
  void (TScriptEngine::*run)(TScriptArgs&, TScriptArgTypes&);
};

const TScriptEngine::Builtin TScriptEngine::kBuiltins[] = {
    {"@@SendMsg", &TScriptEngine::SendMsgBuiltin},
    {"@@Random", &TScriptEngine::RandomBuiltin},
    {"@@Time", &TScriptEngine::TimeBuiltin},
    {"@@RandomSeed", &TScriptEngine::RandomSeedBuiltin},
    {"@@Wait", &TScriptEngine::WaitBuiltin},
    {"@@Resume", &TScriptEngine::ResumeBuiltin},
};

TScriptEngine::~TScriptEngine() {
  ClearQueue();
  objects.clear();
  globals.Clear();
  auxGlobals.Clear();
}

void TScriptEngine::Create() { GlobalEngine() = TCountedPtr<TScriptEngine>(new TScriptEngine); }
TScriptEngine* TScriptEngine::Get() { return GlobalEngine().Get(); }
void TScriptEngine::Destroy() { GlobalEngine().Reset(); }
void TScriptEngine::SetFolder(const std::string& folder) { ScriptFolder() = folder; }
const std::string& TScriptEngine::GetFolder() { return ScriptFolder(); }

void TScriptEngine::SetObjectWait(bool wait) {
  if (TScriptEngine* engine = Get()) engine->objectWaiting = wait;
}

void TScriptEngine::SetStop(bool stop) {
  if (TScriptEngine* engine = Get()) engine->stopped = stop;
}

TScriptProgram& TScriptEngine::LoadScript(const std::string& name) {
  TCountedPtr<TScriptProgram> program(new TScriptProgram(*this, name));
  runQueue.push_front(program);
  return *program;
}

void TScriptEngine::AddObject(TScriptObject* object) { ReplaceObject(TCountedPtr<TScriptObject>(object)); }

void TScriptEngine::ReplaceObject(const TCountedPtr<TScriptObject>& object) {
  if (!object) return;
  TCountedPtr<TScriptObject>& entry = objects[object->GetName()];
  if (entry.Get() != object.Get()) entry = object;
}

void TScriptEngine::RemoveObject(const std::string& name) { objects.erase(name); }

TScriptObject* TScriptEngine::FindObject(const std::string& name) const {
  auto it = objects.find(name);
  return it == objects.end() ? nullptr : it->second.Get();
}

uint32_t TScriptEngine::SendMsg(const std::string& name, uint32_t op, const TScriptArgs& args,
                                const TScriptArgTypes& argTypes) {
  auto it = objects.find(name);
  if (it == objects.end()) return TScriptObject::kNoObject;
  TCountedPtr<TScriptObject> object = it->second;  // alive even if it replaces itself meanwhile
  return object->Dispatch(op, args, argTypes);
}

uint32_t TScriptEngine::Run() {
  if (stopped) return kStopped;
  if (MustWait()) return kWaiting;
  for (uint64_t steps = 0;; ++steps) {
    // Looked up afresh each step: a script call puts its callee in front.
    if (runQueue.empty()) return kFinished;
    TCountedPtr<TScriptProgram> program = runQueue.front();
    if (steps >= stepBudget)
      throw my_error("script \"" + program->GetName() + "\" ran " + std::to_string(steps) +
                         " statements without waiting",
                     __FILE__, __LINE__);
    if (!program->Step()) {
      Finish(program.Get());
      if (runQueue.empty()) return kFinished;
    }
    if (MustWait()) return kWaiting;
  }
}

// Removes the program that ended, wherever something loaded during its last statement put it.
void TScriptEngine::Finish(const TScriptProgram* program) {
  for (auto it = runQueue.begin(); it != runQueue.end(); ++it) {
    if (it->Get() == program) {
      runQueue.erase(it);
      return;
    }
  }
}

void TScriptEngine::UpdateObjects() {
  // A snapshot: an object may add or remove objects while it updates.
  std::vector<TCountedPtr<TScriptObject>> all;
  for (auto& [name, object] : objects) all.push_back(object);
  for (auto& object : all) object->Update();
}

void TScriptEngine::DrawObjects() {
  std::vector<TCountedPtr<TScriptObject>> all;
  for (auto& [name, object] : objects) all.push_back(object);
  for (auto& object : all) object->Draw();
}

void TScriptEngine::ClearQueue() { runQueue.clear(); }

void TScriptEngine::RunBuiltin(const std::string& name, TScriptArgs args, TScriptArgTypes argTypes) {
  for (const Builtin& b : kBuiltins) {
    if (name == b.name) {
      (this->*b.run)(args, argTypes);
      return;
    }
  }
}

void TScriptEngine::SendMsgBuiltin(TScriptArgs& args, TScriptArgTypes& argTypes) {
  std::string object = PopFront(args, argTypes);
  uint32_t op = static_cast<uint32_t>(scriptnum::Decimal(PopFront(args, argTypes)));
  uint32_t status = SendMsg(object, op, args, argTypes);
  if (status & 1) objectWaiting = true;
  if (status & 2) holding = true;
}

void TScriptEngine::RandomBuiltin(TScriptArgs&, TScriptArgTypes&) {
  globals.SetInt("$_", CRand::Shared().Next());
}

void TScriptEngine::TimeBuiltin(TScriptArgs&, TScriptArgTypes&) {
  globals.SetInt("$_", static_cast<int32_t>(std::time(nullptr)));
}

void TScriptEngine::RandomSeedBuiltin(TScriptArgs& args, TScriptArgTypes&) {
  CRand::Shared().Seed(static_cast<uint32_t>(TScriptObject::ArgInt(args, 0)));
}

void TScriptEngine::WaitBuiltin(TScriptArgs&, TScriptArgTypes&) { waiting = true; }
void TScriptEngine::ResumeBuiltin(TScriptArgs&, TScriptArgTypes&) { waiting = false; }
