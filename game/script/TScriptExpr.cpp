#include "game/script/TScriptExpr.h"

#include <limits>
#include <map>
#include <optional>
#include <utility>

#include "game/script/ScriptNumber.h"
#include "game/script/TScriptToken.h"

namespace {

constexpr int32_t kMinInt = std::numeric_limits<int32_t>::min();

int32_t Wrap(uint32_t v) { return static_cast<int32_t>(v); }
uint32_t U(int32_t v) { return static_cast<uint32_t>(v); }

// Division never traps: by 0 gives 0, and the one quotient that overflows wraps as "*" does.
int32_t Divide(int32_t a, int32_t b) {
  if (b == 0) return 0;
  if (a == kMinInt && b == -1) return kMinInt;
  return a / b;
}
int32_t Remainder(int32_t a, int32_t b) {
  if (b == 0 || b == -1) return 0;
  return a % b;
}

struct Operator {
  const char* text;
  int32_t (*apply)(int32_t, int32_t);
};

// The order gives no precedence; the table only names the operators and what each computes.
constexpr Operator kBinary[] = {
    {"*", [](int32_t a, int32_t b) { return Wrap(U(a) * U(b)); }},
    {"/", Divide},
    {"%", Remainder},
    {"+", [](int32_t a, int32_t b) { return Wrap(U(a) + U(b)); }},
    {"-", [](int32_t a, int32_t b) { return Wrap(U(a) - U(b)); }},
    {"<<", [](int32_t a, int32_t b) { return Wrap(U(a) << (U(b) & 31)); }},
    {">>", [](int32_t a, int32_t b) { return a >> (U(b) & 31); }},
    {"<", [](int32_t a, int32_t b) { return int32_t{a < b}; }},
    {">", [](int32_t a, int32_t b) { return int32_t{a > b}; }},
    {"<=", [](int32_t a, int32_t b) { return int32_t{a <= b}; }},
    {">=", [](int32_t a, int32_t b) { return int32_t{a >= b}; }},
    {"==", [](int32_t a, int32_t b) { return int32_t{a == b}; }},
    {"!=", [](int32_t a, int32_t b) { return int32_t{a != b}; }},
    {"&", [](int32_t a, int32_t b) { return a & b; }},
    {"|", [](int32_t a, int32_t b) { return a | b; }},
    {"^", [](int32_t a, int32_t b) { return a ^ b; }},
    {"&&", [](int32_t a, int32_t b) { return int32_t{a != 0 && b != 0}; }},
    {"||", [](int32_t a, int32_t b) { return int32_t{a != 0 || b != 0}; }},
};

constexpr Operator kUnary[] = {
    {"-", [](int32_t a, int32_t) { return Wrap(0u - U(a)); }},
    {"~", [](int32_t a, int32_t) { return ~a; }},
    {"!", [](int32_t a, int32_t) { return int32_t{a == 0}; }},
    {"+", [](int32_t a, int32_t) { return a; }},
};
constexpr Operator kGroup{"()", [](int32_t a, int32_t) { return a; }};

template <size_t N>
const Operator* Find(const Operator (&table)[N], const std::string& text) {
  for (const Operator& o : table)
    if (text == o.text) return &o;
  return nullptr;
}

}  // namespace

// Recursive descent over token ranges in two passes: the first decides how each range parses (and
// remembers it, so a line of stray operators costs polynomial time, bounded by a work budget), the
// second builds the tree from those decisions.
class TScriptExprParser {
 public:
  TScriptExprParser(std::span<const std::string> t, std::span<const uint32_t> k, TScriptProgram* p)
      : texts(t), kinds(k), program(p) {}

  TCountedPtr<TScriptExpr> Run() {
    if (texts.size() != kinds.size()) return {};
    try {
      if (!Decide(0, texts.size(), 0).Parses()) return {};
    } catch (const TooComplex&) {
      return {};
    }
    return Build(0, texts.size());
  }

 private:
  struct TooComplex {};
  static constexpr long kWorkBudget = 1L << 16;  // real lines need a few hundred steps

  enum class Form { None, Leaf, Group, Unary, Binary };
  struct Decision {
    Form form = Form::None;
    const Operator* op = nullptr;
    size_t split = 0;  // the binary operator's token
    bool Parses() const { return form != Form::None; }
  };

  const Decision& Decide(size_t begin, size_t end, int depth) {
    if (depth > TScriptExpr::kMaxDepth || ++work > kWorkBudget) throw TooComplex{};
    auto key = std::make_pair(begin, end);
    if (auto it = decided.find(key); it != decided.end()) return it->second;
    Decision d = Try(begin, end, depth);
    return decided.emplace(key, d).first->second;
  }

  Decision Try(size_t begin, size_t end, int depth) {
    size_t n = end - begin;
    if (n == 0) return {};
    if (n == 1) return LeafParses(begin) ? Decision{Form::Leaf} : Decision{};
    if (n >= 3 && texts[begin] == "(" && texts[end - 1] == ")") {
      if (Balanced(begin + 1, end - 1) && Decide(begin + 1, end - 1, depth + 1).Parses())
        return {Form::Group, &kGroup};
      return Binary(begin, end, depth);  // an outer pair that does not enclose the whole
    }
    if (kinds[begin] == scripttoken::kOperator)
      if (const Operator* u = Find(kUnary, texts[begin]))
        if (Decide(begin + 1, end, depth + 1).Parses()) return {Form::Unary, u};
    return Binary(begin, end, depth);
  }

  Decision Binary(size_t begin, size_t end, int depth) {
    if (end - begin < 3) return {};
    for (size_t p = end - 2; p > begin; --p) {
      const Operator* o = Find(kBinary, texts[p]);
      if (o && Decide(begin, p, depth + 1).Parses() && Decide(p + 1, end, depth + 1).Parses())
        return {Form::Binary, o, p};
    }
    return {};
  }

  bool Balanced(size_t begin, size_t end) const {
    long level = 0;
    for (size_t i = begin; i < end; ++i) {
      if (texts[i] == "(") ++level;
      else if (texts[i] == ")" && --level < 0) return false;
    }
    return true;
  }

  std::optional<int32_t> Constant(size_t i) const {
    if (kinds[i] == scripttoken::kDecimal) return scriptnum::ScanDecimal(texts[i]);
    if (kinds[i] == scripttoken::kHex) return scriptnum::ScanHex(texts[i]);
    return std::nullopt;
  }

  bool LeafParses(size_t i) const {
    return Constant(i).has_value() || (scripttoken::IsVariable(kinds[i]) && program);
  }

  TCountedPtr<TScriptExpr> Build(size_t begin, size_t end) {
    const Decision& d = decided.at({begin, end});
    TCountedPtr<TScriptExpr> e(new TScriptExpr);
    e->program = program;
    switch (d.form) {
      case Form::Leaf:
        if (auto number = Constant(begin)) e->value = *number;
        else e->variable = TScriptVarRef::Make(texts[begin], kinds[begin], *program);
        break;
      case Form::Group:
        e->left = Build(begin + 1, end - 1);
        break;
      case Form::Unary:
        e->left = Build(begin + 1, end);
        break;
      case Form::Binary:
        e->left = Build(begin, d.split);
        e->right = Build(d.split + 1, end);
        break;
      case Form::None:
        break;
    }
    if (d.op) {
      e->op = d.op->text;
      e->apply = d.op->apply;
    }
    return e;
  }

  std::span<const std::string> texts;
  std::span<const uint32_t> kinds;
  TScriptProgram* program;
  std::map<std::pair<size_t, size_t>, Decision> decided;
  long work = 0;
};

TCountedPtr<TScriptExpr> TScriptExpr::Parse(std::span<const std::string> texts, std::span<const uint32_t> kinds,
                                            TScriptProgram* program) {
  return TScriptExprParser(texts, kinds, program).Run();
}

int32_t TScriptExpr::Evaluate() const {
  if (variable) return variable->Get();
  if (!apply) return value;
  // Both operands are always evaluated; there is no short-circuit.
  int32_t a = left->Evaluate();
  int32_t b = right ? right->Evaluate() : 0;
  return apply(a, b);
}
