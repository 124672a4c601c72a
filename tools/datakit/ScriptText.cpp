#include "tools/datakit/ScriptText.h"

#include <stdexcept>
#include <string_view>

#include "game/script/TScriptToken.h"

namespace datakit {
namespace {

namespace tk = scripttoken;

constexpr std::string_view kKeywords[] = {"RETURN", "GOTO",   "IF",     "ELIF",  "ELSE",  "END", "SWITCH",
                                          "CASE",   "WHILE",  "REPEAT", "TILL",  "UNTIL", "CALL"};
constexpr std::string_view kTwoCharOperators[] = {"<<", ">>", "<=", ">=", "==", "!=", "&&", "||"};
constexpr std::string_view kOperatorChars = "=<>!&|^~+-*/%()";

bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\r'; }
bool IsOperatorChar(char c) { return kOperatorChars.find(c) != std::string_view::npos; }
bool IsDigit(char c) { return c >= '0' && c <= '9'; }
bool IsHexDigit(char c) { return IsDigit(c) || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F'); }
bool AllOf(std::string_view s, bool (*pred)(char)) {
  if (s.empty()) return false;
  for (char c : s)
    if (!pred(c)) return false;
  return true;
}

class LineLexer {
 public:
  explicit LineLexer(const std::string& l) : line(l) {}

  ScriptLine Run() {
    ScriptLine tokens;
    for (;;) {
      while (at < line.size() && IsBlank(line[at])) ++at;
      if (at == line.size()) return tokens;
      const bool callArgument = tokens.size() >= 2 && tokens[0] == ScriptToken{tk::kKeyword, "CALL"};
      tokens.push_back(callArgument && line[at] == '-' ? NegativeArgument() : Next());
    }
  }

 private:
  [[noreturn]] void Fail(const std::string& why) const {
    throw std::runtime_error("script text: " + why + " in \"" + line + "\"");
  }

  ScriptToken Next() {
    char c = line[at];
    if (c == '"') return {tk::kString, Quoted()};
    if (c == '{') return Explicit();
    if (c == '@') {
      std::string text = Word(false);
      return {text.rfind("@@", 0) == 0 ? tk::kBuiltin : tk::kScriptName, text};
    }
    if (IsOperatorChar(c)) return {tk::kOperator, Operator()};
    return Classify(Word(true));
  }

  // A call hands its arguments over one token each, with no expression to negate them: "-3" and
  // "-0x1F" are numbers of their own, anything else after a "-" cannot be passed.
  ScriptToken NegativeArgument() {
    ++at;
    const size_t start = at;
    const std::string word = at < line.size() && !IsOperatorChar(line[at]) && line[at] != '"' ? Word(true) : "";
    if (!word.empty()) {
      ScriptToken number = Classify(word);
      if (number.kind == tk::kDecimal || number.kind == tk::kHex) return {number.kind, "-" + number.text};
    }
    Fail("a call argument can only be negated as a number such as -3 (set a variable for \"-" +
         line.substr(start, at - start) + "\")");
  }

  // Up to a blank, or also up to an operator or quote when stopAtOperators.
  std::string Word(bool stopAtOperators) {
    size_t start = at;
    while (at < line.size() && !IsBlank(line[at]) &&
           !(stopAtOperators && (IsOperatorChar(line[at]) || line[at] == '"')))
      ++at;
    return line.substr(start, at - start);
  }

  std::string Quoted() {
    std::string text;
    for (++at; at < line.size(); ++at) {
      char c = line[at];
      if (c == '"') {
        ++at;
        return text;
      }
      if (c == '\\' && at + 1 < line.size()) {
        c = line[++at];
        if (c == 'n') c = '\n';  // a line feed inside a string (the text form is one statement a line)
      }
      text += c;
    }
    Fail("unterminated string");
  }

  std::string Operator() {
    for (std::string_view op : kTwoCharOperators) {
      if (line.compare(at, 2, op) == 0) {
        at += 2;
        return std::string(op);
      }
    }
    return std::string(1, line[at++]);
  }

  ScriptToken Explicit() {
    size_t close = line.find('}', at);
    if (close == std::string::npos) Fail("unclosed {kind}");
    std::string number = line.substr(at + 1, close - at - 1);
    if (!AllOf(number, IsDigit)) Fail("bad {kind}");
    at = close + 1;
    uint32_t kind = static_cast<uint32_t>(std::stoul(number));
    if (at < line.size() && line[at] == '"') return {kind, Quoted()};
    return {kind, Word(false)};
  }

  ScriptToken Classify(const std::string& word) {
    for (std::string_view k : kKeywords)
      if (word == k) return {tk::kKeyword, word};
    if (AllOf(word, IsDigit)) return {tk::kDecimal, word};
    if (word.size() > 2 && word[0] == '0' && (word[1] == 'x' || word[1] == 'X') &&
        AllOf(std::string_view(word).substr(2), IsHexDigit))
      return {tk::kHex, word.substr(2)};
    if (word[0] == '$') return {tk::kGlobalVariable, word};
    if (word.rfind("local:", 0) == 0 && word.size() > 6) return {tk::kLocalVariable, word.substr(6)};
    if (word.rfind("aux:", 0) == 0 && word.size() > 4) return {tk::kAuxVariable, word.substr(4)};
    if (word[0] == ':' && word.size() > 1) return {tk::kLabel, word.substr(1)};
    Fail("unknown token \"" + word + "\"");
  }

  const std::string& line;
  size_t at = 0;
};

}  // namespace

ScriptLine ParseScriptLine(const std::string& line) { return LineLexer(line).Run(); }

std::vector<ScriptLine> ParseScriptText(const std::string& text) {
  std::vector<ScriptLine> lines;
  size_t start = 0;
  while (start <= text.size()) {
    size_t end = text.find('\n', start);
    if (end == std::string::npos) end = text.size();
    std::string line = text.substr(start, end - start);
    size_t first = line.find_first_not_of(" \t\r");
    if (first != std::string::npos && line[first] != '#') lines.push_back(ParseScriptLine(line));
    start = end + 1;
  }
  return lines;
}

}  // namespace datakit
