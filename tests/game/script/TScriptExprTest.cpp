#include "game/script/TScriptExpr.h"

#include <gtest/gtest.h>

#include <limits>
#include <optional>

#include "tools/datakit/ScriptText.h"

namespace {

constexpr int32_t kMin = std::numeric_limits<int32_t>::min();

// Parses a line of the text form as one expression without a program (so without variables).
std::optional<int32_t> Eval(const std::string& text) {
  std::vector<std::string> texts;
  std::vector<uint32_t> kinds;
  for (auto& t : datakit::ParseScriptLine(text)) {
    texts.push_back(t.text);
    kinds.push_back(t.kind);
  }
  auto e = TScriptExpr::Parse(texts, kinds, nullptr);
  if (!e) return std::nullopt;
  return e->Evaluate();
}

std::string Repeat(const std::string& s, int n) {
  std::string out;
  for (int i = 0; i < n; ++i) out += s;
  return out;
}

TEST(ScriptExpr, EvaluatesWithoutPrecedenceAndWithWrapping) {
  struct Case {
    const char* text;
    int32_t value;
  } cases[] = {
      // No precedence: the rightmost operator whose sides parse is the root.
      {"1 + 2 * 3", 9},
      {"8 - 3 - 2", 3},
      {"2 < 3 == 1", 1},
      // A leading unary operator covers everything after it.
      {"- 1 + 2", -3},
      {"! 0 && 0", 1},
      {"- 8 >> 1", -4},
      // Parentheses.
      {"(1)+(2)", 3},
      {"(1 + 2) * (3 + 4)", 21},
      {"((7))", 7},
      // Constants.
      {"0x10", 16},
      {"0xFFFFFFFF", -1},
      {"2147483648", kMin},
      // Shifts take the count modulo 32; ">>" keeps the sign.
      {"1 << 33", 2},
      {"1 << 31", kMin},
      {"(-8) >> 1", -4},
      {"(-1) >> 40", -1},
      // Division truncates toward zero, the remainder follows the left sign.
      {"(-7) / 2", -3},
      {"(-7) % 3", -1},
      {"7 % (-3)", 1},
      // Division never traps.
      {"7 / 0", 0},
      {"7 % 0", 0},
      {"(-2147483648) / (-1)", kMin},
      {"(-2147483648) % (-1)", 0},
      {"2147483647 + 1", kMin},
      {"(-2147483648) * (-1)", kMin},
      // The rest of the operators.
      {"~ 0", -1},
      {"! 5", 0},
      {"+ 5", 5},
      {"6 & 3", 2},
      {"6 | 3", 7},
      {"6 ^ 3", 5},
      {"2 && 0", 0},
      {"0 || 3", 1},
      {"3 != 3", 0},
      {"3 >= 3", 1},
      {"2 > 3", 0},
      {"2 <= 1", 0},
  };
  for (const Case& c : cases) EXPECT_EQ(Eval(c.text), std::optional<int32_t>(c.value)) << c.text;
}

TEST(ScriptExpr, TokensThatFormNoExpression) {
  for (const char* text : {"", "1 +", "+", "( 1", "1 )", ") 1 (", "( 1 ) )", "1 2", "( )", "{2}abc", "{4}7",
                           "{5}+", "{1}IF", "$x"})
    EXPECT_EQ(Eval(text), std::nullopt) << text;
}

TEST(ScriptExpr, LongLinesParseAndHostileOnesEndQuickly) {
  // A long but ordinary line.
  EXPECT_EQ(Eval("1" + Repeat(" + 1", 199)), 200);
  EXPECT_EQ(Eval(Repeat("( ", 100) + "5" + Repeat(" )", 100)), 5);
  // Nesting beyond any real script is refused instead of exhausting the stack.
  EXPECT_EQ(Eval(Repeat("( ", 5000) + "5" + Repeat(" )", 5000)), std::nullopt);
  EXPECT_EQ(Eval(Repeat("- ", 100000) + "1"), std::nullopt);
  // Stray operators would make a plain backtracking parser run for ages.
  EXPECT_EQ(Eval("1" + Repeat(" + -", 400) + " 1 +"), std::nullopt);
  EXPECT_EQ(Eval(Repeat("( 1 + ", 300) + "1"), std::nullopt);
}

}  // namespace
