// Variable stores of the script language, and the references that expressions and assignments hold.
#pragma once
#include <cstdint>
#include <map>
#include <string>

#include "common/TCountedPtr.h"

class TScriptProgram;

// Named and numbered integers and texts; a missing entry reads as the caller's default.
class TScriptVariables {
 public:
  TScriptVariables() = default;
  virtual ~TScriptVariables() = default;

  virtual int32_t GetInt(const std::string& name, int32_t defaultValue) const;
  virtual int32_t GetInt(uint32_t number, int32_t defaultValue) const;
  virtual void SetInt(const std::string& name, int32_t value);
  virtual void SetInt(uint32_t number, int32_t value);
  virtual std::string GetText(uint32_t number, const std::string& defaultValue) const;
  virtual std::string GetText(const std::string& name, const std::string& defaultValue) const;
  virtual void SetText(uint32_t number, const std::string& value);
  virtual void SetText(const std::string& name, const std::string& value);
  virtual void Clear();

 private:
  std::map<uint32_t, int32_t> intsByNumber;
  std::map<std::string, int32_t> intsByName;
  std::map<uint32_t, std::string> textsByNumber;
  std::map<std::string, std::string> textsByName;
};

// One variable token, bound when the script loads to the store its token kind names.
class TScriptVarRef {
 public:
  TScriptVarRef(const std::string& name, uint32_t kind, TScriptVariables* store);
  virtual ~TScriptVarRef() = default;

  // Empty for a kind that names no store (only 9 to 13 do).
  static TCountedPtr<TScriptVarRef> Make(const std::string& name, uint32_t kind, TScriptProgram& program);
  // The store a variable token of this kind addresses, or null.
  static TScriptVariables* StoreFor(uint32_t kind, TScriptProgram& program);

  int32_t Get() const { return store->GetInt(name, 0); }
  void Set(int32_t value) { store->SetInt(name, value); }
  const std::string& GetName() const { return name; }
  uint32_t GetKind() const { return kind; }

 private:
  std::string name;
  uint32_t kind;
  TScriptVariables* store;
};
