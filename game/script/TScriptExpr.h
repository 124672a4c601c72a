// Integer expressions of the script language. All two-operand operators share one precedence and
// group to the left (the rightmost operator whose two sides parse is the root); a leading unary
// operator covers everything after it.
#pragma once
#include <cstdint>
#include <span>
#include <string>

#include "common/TCountedPtr.h"
#include "game/script/TScriptVariables.h"

class TScriptProgram;

class TScriptExpr {
 public:
  // Lines longer or deeper than any real script are refused rather than risk the stack or the clock.
  static constexpr int kMaxDepth = 256;

  virtual ~TScriptExpr() = default;

  // Empty when the tokens form no expression. program may be null when no variable occurs.
  static TCountedPtr<TScriptExpr> Parse(std::span<const std::string> texts, std::span<const uint32_t> kinds,
                                        TScriptProgram* program);
  int32_t Evaluate() const;

  const std::string& GetOp() const { return op; }

 private:
  friend class TScriptExprParser;
  TScriptExpr() = default;

  TScriptProgram* program = nullptr;
  int32_t value = 0;
  TCountedPtr<TScriptVarRef> variable;
  TCountedPtr<TScriptExpr> left;
  TCountedPtr<TScriptExpr> right;
  std::string op;
  int32_t (*apply)(int32_t, int32_t) = nullptr;  // the operator's rule; unary ones ignore the second value
};
