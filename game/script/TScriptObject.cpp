#include "game/script/TScriptObject.h"

#include "game/script/ScriptNumber.h"

std::string TScriptObject::ArgText(const TScriptArgs& args, size_t i) {
  return i < args.size() ? args[i] : std::string();
}

int32_t TScriptObject::ArgInt(const TScriptArgs& args, size_t i) { return scriptnum::Decimal(ArgText(args, i)); }
