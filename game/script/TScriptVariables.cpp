#include "game/script/TScriptVariables.h"

#include "game/script/TScriptEngine.h"
#include "game/script/TScriptProgram.h"
#include "game/script/TScriptToken.h"

namespace {

template <class Map, class Key, class Value>
Value Lookup(const Map& map, const Key& key, const Value& defaultValue) {
  auto it = map.find(key);
  return it == map.end() ? defaultValue : it->second;
}

}  // namespace

int32_t TScriptVariables::GetInt(const std::string& name, int32_t defaultValue) const {
  return Lookup(intsByName, name, defaultValue);
}
int32_t TScriptVariables::GetInt(uint32_t number, int32_t defaultValue) const {
  return Lookup(intsByNumber, number, defaultValue);
}
void TScriptVariables::SetInt(const std::string& name, int32_t value) { intsByName[name] = value; }
void TScriptVariables::SetInt(uint32_t number, int32_t value) { intsByNumber[number] = value; }

std::string TScriptVariables::GetText(uint32_t number, const std::string& defaultValue) const {
  return Lookup(textsByNumber, number, defaultValue);
}
std::string TScriptVariables::GetText(const std::string& name, const std::string& defaultValue) const {
  return Lookup(textsByName, name, defaultValue);
}
void TScriptVariables::SetText(uint32_t number, const std::string& value) { textsByNumber[number] = value; }
void TScriptVariables::SetText(const std::string& name, const std::string& value) { textsByName[name] = value; }

void TScriptVariables::Clear() {
  intsByNumber.clear();
  intsByName.clear();
  textsByNumber.clear();
  textsByName.clear();
}

TScriptVarRef::TScriptVarRef(const std::string& n, uint32_t k, TScriptVariables* s)
    : name(n), kind(k), store(s) {}

TScriptVariables* TScriptVarRef::StoreFor(uint32_t kind, TScriptProgram& program) {
  switch (kind) {
    case scripttoken::kAuxVariable:
      return &program.GetEngine().AuxGlobals();
    case scripttoken::kGlobalVariable:
    case scripttoken::kGlobalVariable2:
      return &program.GetEngine().Globals();
    case scripttoken::kLocalVariable:
    case scripttoken::kLocalVariable2:
      return &program.Locals();
    default:
      return nullptr;
  }
}

TCountedPtr<TScriptVarRef> TScriptVarRef::Make(const std::string& name, uint32_t kind, TScriptProgram& program) {
  TScriptVariables* store = StoreFor(kind, program);
  if (!store) return {};
  return TCountedPtr<TScriptVarRef>(new TScriptVarRef(name, kind, store));
}
