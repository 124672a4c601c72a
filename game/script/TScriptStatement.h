// The statements of the script language. One class serves all fifteen kinds: a table gives each
// kind its recognition rule, its place in the block structure and its run handler.
#pragma once
#include <cstdint>
#include <deque>
#include <string>
#include <vector>

#include "common/TCountedPtr.h"
#include "game/script/TScriptExpr.h"
#include "game/script/TScriptToken.h"
#include "game/script/TScriptVariables.h"

class TScriptProgram;
class TScriptLabel;

enum class TScriptStatementKind : uint32_t {
  Return, Goto, If, Elif, Else, End, Switch, Case, While, Repeat, Till, Until, Call, Assignment, Label
};

class TScriptStatement {
 public:
  using Kind = TScriptStatementKind;
  struct Rule;

  virtual ~TScriptStatement() = default;

  // The statement of one token line (index counts from 0). Throws my_error naming the script and the
  // line when no rule matches or an expression the statement needs does not parse.
  static TCountedPtr<TScriptStatement> Build(const TScriptLine& line, TScriptProgram& program, size_t index);
  // A RETURN without a value.
  static TCountedPtr<TScriptStatement> MakeReturn(TScriptProgram& program);
  // Sets the links of IF chains, SWITCH, loops and GOTOs once, so running never searches. Throws
  // my_error (its text starting with where) for a closing statement without its opener.
  static void Link(const std::vector<TScriptStatement*>& statements, const std::string& where);

  // Runs the statement; the statement to run next, or null when the script ends.
  virtual TScriptStatement* Execute();

  Kind GetKind() const { return kind; }
  const char* GetKeyword() const;
  TScriptStatement* GetNext() const { return next; }
  void SetNext(TScriptStatement* statement) { next = statement; }
  // Only linking needs the label; it is dropped afterwards.
  void DropLabel() { label = nullptr; }

 private:
  static const Rule kRules[];

  TScriptStatement(TScriptProgram& program, const Rule& rule);
  static bool Matches(const Rule& rule, const TScriptLine& line);
  [[noreturn]] static void Refuse(const TScriptProgram& program, size_t index, const std::string& reason, int line);

  bool Is(Kind k) const { return kind == k; }
  bool PreviousIs(std::initializer_list<Kind> kinds) const;
  TScriptStatement* SkipChain(Kind chainKind) const;
  int32_t ArgumentValue(size_t i) const;
  void CallBuiltin() const;
  void CallScript() const;

  TScriptStatement* RunReturn();
  TScriptStatement* RunNext();
  TScriptStatement* RunTest();
  TScriptStatement* RunTill();
  TScriptStatement* RunElif();
  TScriptStatement* RunElse();
  TScriptStatement* RunEnd();
  TScriptStatement* RunSwitch();
  TScriptStatement* RunCase();
  TScriptStatement* RunCall();
  TScriptStatement* RunAssignment();

  TScriptProgram* program;
  Kind kind;
  const Rule* rule;
  TScriptStatement* next = nullptr;

  TCountedPtr<TScriptExpr> value;           // value or condition
  TScriptStatement* alternative = nullptr;  // next branch of a chain, a loop's END or its REPEAT
  TScriptStatement* endTarget = nullptr;    // ELSE: its END
  TScriptStatement* loopTarget = nullptr;   // END of a WHILE: the WHILE
  TScriptLabel* label = nullptr;            // GOTO and label, while linking
  std::string callee;
  uint32_t calleeKind = 0;
  std::deque<std::string> args;
  std::deque<uint32_t> argKinds;
  TCountedPtr<TScriptVarRef> target;
};
