// One loaded script: its statements in order, its labels, its own variables and where it stands.
#pragma once
#include <cstddef>
#include <deque>
#include <string>
#include <vector>

#include "common/TCountedPtr.h"
#include "game/script/TScriptStatement.h"
#include "game/script/TScriptVariables.h"

class TScriptEngine;
class TScriptProgram;

class TScriptLabel {
 public:
  TScriptLabel(TScriptProgram* program, const std::string& name, TScriptStatement* target)
      : program(program), name(name), target(target) {}
  virtual ~TScriptLabel() = default;

  TScriptProgram* program;
  std::string name;
  TScriptStatement* target;  // the label statement that defines it, null while none has been seen
};

class TScriptProgram {
 public:
  // Loads "pack/member" from the engine's script folder; throws my_error naming pack and member
  // when anything about it is wrong.
  TScriptProgram(TScriptEngine& engine, const std::string& name);
  virtual ~TScriptProgram() = default;
  TScriptProgram(const TScriptProgram&) = delete;
  TScriptProgram& operator=(const TScriptProgram&) = delete;

  // Runs one statement; false when the script has ended.
  bool Step();

  TScriptStatement* StatementAt(size_t i) const { return statements.at(i).Get(); }
  size_t StatementCount() const { return statements.size(); }
  void Append(TCountedPtr<TScriptStatement> statement) { statements.push_back(statement); }
  // Finds the label of that name, or creates it. A given statement becomes its target, so the last
  // definition of a duplicated label wins.
  TScriptLabel* FindLabel(const std::string& labelName, TScriptStatement* statement);

  TScriptEngine& GetEngine() const { return engine; }
  TScriptVariables& Locals() { return locals; }
  const std::string& GetName() const { return name; }
  // How errors name the script: its pack and member.
  std::string Describe() const;

  // "pack/member" split at the first "/": no "/" or a leading one gives two empty parts.
  static void SplitName(const std::string& name, std::string& pack, std::string& member);

 private:
  void Load();

  TScriptEngine& engine;
  std::string name;
  std::string pack;
  std::string member;
  std::vector<TCountedPtr<TScriptLabel>> labels;
  std::deque<TCountedPtr<TScriptStatement>> statements;
  TScriptStatement* current = nullptr;
  TScriptStatement* previous = nullptr;
  TScriptVariables locals;

  friend class TScriptStatement;  // ELIF, ELSE, CASE and END read how they were reached
};
