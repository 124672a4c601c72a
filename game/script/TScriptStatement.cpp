#include "game/script/TScriptStatement.h"

#include "common/my_error.h"
#include "game/script/ScriptNumber.h"
#include "game/script/TScriptEngine.h"
#include "game/script/TScriptProgram.h"

namespace {

using Kind = TScriptStatementKind;
namespace tk = scripttoken;

// How a kind is recognised from its tokens.
enum class Shape {
  OptionalValue,  // the keyword, then a value that may be missing or not parse
  Goto,           // the keyword and one label token
  Condition,      // the keyword and an expression that must parse
  Alone,          // the keyword only
  Callee,         // the keyword, a builtin or script name, then arguments
  Assignment,     // a variable, "=", an expression that must parse
  Label,          // one label token
};

// Its place in the block structure.
enum class Role {
  None,
  Open,   // stays open until a Chain, Close or Loop statement takes it
  Chain,  // closes the open statement with itself, then stays open in its place
  Close,  // END
  Loop,   // TILL / UNTIL: closes a REPEAT and points back at it
};

constexpr uint32_t Bit(Kind k) { return 1u << static_cast<uint32_t>(k); }
constexpr uint32_t kIfChain = Bit(Kind::If) | Bit(Kind::Elif);
constexpr uint32_t kBranchHeads = kIfChain | Bit(Kind::Switch) | Bit(Kind::Case);

}  // namespace

struct TScriptStatement::Rule {
  Kind kind;
  const char* keyword;
  Shape shape;
  Role role;
  uint32_t openers;  // what a Chain, Close or Loop statement may close
  TScriptStatement* (TScriptStatement::*run)();
};

// In the order the factory tries them, which is also the order of the kinds.
const TScriptStatement::Rule TScriptStatement::kRules[] = {
    {Kind::Return, "RETURN", Shape::OptionalValue, Role::None, 0, &TScriptStatement::RunReturn},
    {Kind::Goto, "GOTO", Shape::Goto, Role::None, 0, &TScriptStatement::RunNext},
    {Kind::If, "IF", Shape::Condition, Role::Open, 0, &TScriptStatement::RunTest},
    {Kind::Elif, "ELIF", Shape::Condition, Role::Chain, kIfChain, &TScriptStatement::RunElif},
    {Kind::Else, "ELSE", Shape::Alone, Role::Chain, kBranchHeads, &TScriptStatement::RunElse},
    {Kind::End, "END", Shape::Alone, Role::Close, kBranchHeads | Bit(Kind::Else) | Bit(Kind::While),
     &TScriptStatement::RunEnd},
    {Kind::Switch, "SWITCH", Shape::Condition, Role::Open, 0, &TScriptStatement::RunSwitch},
    {Kind::Case, "CASE", Shape::Condition, Role::Chain, Bit(Kind::Switch) | Bit(Kind::Case),
     &TScriptStatement::RunCase},
    {Kind::While, "WHILE", Shape::Condition, Role::Open, 0, &TScriptStatement::RunTest},
    {Kind::Repeat, "REPEAT", Shape::Alone, Role::Open, 0, &TScriptStatement::RunNext},
    {Kind::Till, "TILL", Shape::Condition, Role::Loop, Bit(Kind::Repeat), &TScriptStatement::RunTill},
    {Kind::Until, "UNTIL", Shape::Condition, Role::Loop, Bit(Kind::Repeat), &TScriptStatement::RunTest},
    {Kind::Call, "CALL", Shape::Callee, Role::None, 0, &TScriptStatement::RunCall},
    {Kind::Assignment, "assignment", Shape::Assignment, Role::None, 0, &TScriptStatement::RunAssignment},
    {Kind::Label, "label", Shape::Label, Role::None, 0, &TScriptStatement::RunNext},
};

TScriptStatement::TScriptStatement(TScriptProgram& p, const Rule& r) : program(&p), kind(r.kind), rule(&r) {}

const char* TScriptStatement::GetKeyword() const { return rule->keyword; }

bool TScriptStatement::Matches(const Rule& r, const TScriptLine& line) {
  const size_t n = line.texts.size();
  auto keyword = [&] { return n >= 1 && line.kinds[0] == tk::kKeyword && line.texts[0] == r.keyword; };
  switch (r.shape) {
    case Shape::OptionalValue: return keyword();
    case Shape::Goto: return n == 2 && keyword() && line.kinds[1] == tk::kLabel;
    case Shape::Condition: return n >= 2 && keyword();
    case Shape::Alone: return n == 1 && keyword();
    case Shape::Callee:
      return n >= 2 && keyword() && (line.kinds[1] == tk::kBuiltin || line.kinds[1] == tk::kScriptName);
    case Shape::Assignment:
      return n >= 3 && tk::IsVariable(line.kinds[0]) && line.kinds[1] == tk::kOperator && line.texts[1] == "=";
    case Shape::Label: return n == 1 && line.kinds[0] == tk::kLabel;
  }
  return false;
}

void TScriptStatement::Refuse(const TScriptProgram& program, size_t index, const std::string& reason, int line) {
  throw my_error(program.Describe() + ": statement " + std::to_string(index + 1) + " " + reason, __FILE__, line);
}

TCountedPtr<TScriptStatement> TScriptStatement::Build(const TScriptLine& line, TScriptProgram& program,
                                                      size_t index) {
  if (line.kinds.size() != line.texts.size()) Refuse(program, index, "has unpaired tokens", __LINE__);
  const Rule* r = nullptr;
  for (const Rule& candidate : kRules) {
    if (Matches(candidate, line)) {
      r = &candidate;
      break;
    }
  }
  if (!r) Refuse(program, index, "matches no statement", __LINE__);

  TCountedPtr<TScriptStatement> s(new TScriptStatement(program, *r));
  auto tail = [&](size_t from) {
    return TScriptExpr::Parse(std::span(line.texts).subspan(from), std::span(line.kinds).subspan(from), &program);
  };
  switch (r->shape) {
    case Shape::OptionalValue:
      // A value that does not parse leaves a plain RETURN.
      if (line.texts.size() > 1) s->value = tail(1);
      break;
    case Shape::Condition:
      s->value = tail(1);
      if (!s->value) Refuse(program, index, std::string("(") + r->keyword + "): the expression does not parse", __LINE__);
      break;
    case Shape::Assignment:
      s->target = TScriptVarRef::Make(line.texts[0], line.kinds[0], program);
      s->value = tail(2);
      if (!s->value) Refuse(program, index, "(assignment): the expression does not parse", __LINE__);
      break;
    case Shape::Goto:
      s->label = program.FindLabel(line.texts[1], nullptr);
      break;
    case Shape::Label:
      s->label = program.FindLabel(line.texts[0], s.Get());
      break;
    case Shape::Callee:
      s->callee = line.texts[1];
      s->calleeKind = line.kinds[1];
      s->args.assign(line.texts.begin() + 2, line.texts.end());
      s->argKinds.assign(line.kinds.begin() + 2, line.kinds.end());
      break;
    case Shape::Alone:
      break;
  }
  return s;
}

TCountedPtr<TScriptStatement> TScriptStatement::MakeReturn(TScriptProgram& program) {
  return TCountedPtr<TScriptStatement>(new TScriptStatement(program, kRules[static_cast<size_t>(Kind::Return)]));
}

void TScriptStatement::Link(const std::vector<TScriptStatement*>& statements, const std::string& where) {
  std::vector<TScriptStatement*> open;
  for (size_t i = 0; i < statements.size(); ++i) {
    TScriptStatement* s = statements[i];
    if (s->kind == Kind::Goto) s->next = s->label->target;
    const Role role = s->rule->role;
    if (role == Role::Open) {
      open.push_back(s);
      continue;
    }
    if (role == Role::None) continue;
    TScriptStatement* top = open.empty() ? nullptr : open.back();
    if (!top || !(s->rule->openers & Bit(top->kind)))
      throw my_error(where + ": statement " + std::to_string(i + 1) + " (" + s->rule->keyword +
                         ") has no matching opener",
                     __FILE__, __LINE__);
    open.pop_back();
    switch (role) {
      case Role::Chain:
        top->alternative = s;
        open.push_back(s);
        break;
      case Role::Close:
        if (top->kind == Kind::Else) {
          top->endTarget = s;
        } else {
          top->alternative = s;
          if (top->kind == Kind::While) s->loopTarget = top;
        }
        break;
      case Role::Loop:
        s->alternative = top;
        break;
      default:
        break;
    }
  }
  for (TScriptStatement* s : statements) s->DropLabel();
}

TScriptStatement* TScriptStatement::Execute() { return (this->*rule->run)(); }

bool TScriptStatement::PreviousIs(std::initializer_list<Kind> kinds) const {
  const TScriptStatement* p = program->previous;
  if (!p) return false;
  for (Kind k : kinds)
    if (p->kind == k) return true;
  return false;
}

// From this statement's alternative to the END of its chain: over further chainKind statements by
// their alternative and over an ELSE by its endTarget.
TScriptStatement* TScriptStatement::SkipChain(Kind chainKind) const {
  TScriptStatement* s = alternative;
  while (s && (s->kind == chainKind || s->kind == Kind::Else))
    s = s->kind == Kind::Else ? s->endTarget : s->alternative;
  return s;
}

TScriptStatement* TScriptStatement::RunReturn() {
  if (value) program->GetEngine().Globals().SetInt("$_", value->Evaluate());
  return nullptr;
}

TScriptStatement* TScriptStatement::RunNext() { return next; }

TScriptStatement* TScriptStatement::RunTest() { return value->Evaluate() ? next : alternative; }

TScriptStatement* TScriptStatement::RunTill() { return value->Evaluate() ? alternative : next; }

TScriptStatement* TScriptStatement::RunElif() {
  // Reached from the test before it, this is a test of its own; reached from the end of a branch,
  // the chain is done.
  if (PreviousIs({Kind::If, Kind::Elif})) return RunTest();
  return SkipChain(Kind::Elif);
}

TScriptStatement* TScriptStatement::RunElse() {
  return PreviousIs({Kind::If, Kind::Elif, Kind::Switch, Kind::Case}) ? next : endTarget;
}

TScriptStatement* TScriptStatement::RunEnd() {
  if (!loopTarget || PreviousIs({Kind::While})) return next;
  return loopTarget;
}

TScriptStatement* TScriptStatement::RunSwitch() {
  const int32_t v = value->Evaluate();
  TScriptStatement* s = alternative;
  while (s && s->kind == Kind::Case && s->value->Evaluate() != v) s = s->alternative;
  if (!s || s->kind != Kind::Case) return s;  // the ELSE or the END
  // Consecutive CASEs (and an ELSE among them) share the branch that follows them.
  while (s && (s->kind == Kind::Case || s->kind == Kind::Else)) s = s->next;
  return s;
}

TScriptStatement* TScriptStatement::RunCase() {
  // Running into the next CASE from above ends the branch: there is no fall-through.
  if (PreviousIs({Kind::Switch})) return next;
  return SkipChain(Kind::Case);
}

TScriptStatement* TScriptStatement::RunCall() {
  if (calleeKind == tk::kBuiltin) CallBuiltin();
  else CallScript();
  return next;
}

TScriptStatement* TScriptStatement::RunAssignment() {
  target->Set(value->Evaluate());
  return next;
}

// The value a script call passes for argument i: numbers and variables by value, anything else 0.
int32_t TScriptStatement::ArgumentValue(size_t i) const {
  const uint32_t k = argKinds[i];
  const std::string& text = args[i];
  if (k == tk::kDecimal) return scriptnum::Decimal(text);
  if (k == tk::kHex) return scriptnum::ScanHex(text).value_or(0);
  if (TScriptVariables* store = TScriptVarRef::StoreFor(k, *program)) return store->GetInt(text, 0);
  return 0;
}

void TScriptStatement::CallBuiltin() const {
  // Objects get numbers as decimal texts and strings as they are; other tokens are not passed.
  TScriptArgs texts;
  TScriptArgTypes types;
  for (size_t i = 0; i < args.size(); ++i) {
    const uint32_t k = argKinds[i];
    if (k == tk::kDecimal || k == tk::kString) {
      texts.push_back(args[i]);
      types.push_back(k);
    } else if (k == tk::kHex || TScriptVarRef::StoreFor(k, *program)) {
      texts.push_back(std::to_string(ArgumentValue(i)));
      types.push_back(TScriptObject::kNumberArg);
    }
  }
  program->GetEngine().RunBuiltin(callee, std::move(texts), std::move(types));
}

void TScriptStatement::CallScript() const {
  // The values come from this script's variables, so take them before the callee exists.
  std::vector<int32_t> values(args.size());
  for (size_t i = 0; i < args.size(); ++i) values[i] = ArgumentValue(i);
  // The script-name token carries one leading character before "pack/member".
  TScriptProgram& callee = program->GetEngine().LoadScript(this->callee.empty() ? "" : this->callee.substr(1));
  for (size_t i = 0; i < values.size(); ++i) callee.Locals().SetInt("$" + std::to_string(i), values[i]);
}
