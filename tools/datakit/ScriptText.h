// A readable text form of scripts, one statement a line, turned into the tokens a script pack holds.
//
// Tokens are separated by blanks, and operators also end the token before them, so "$x<3" is three
// tokens and "-1" is "-" then "1" (the engine negates what follows a leading "-"). Among a CALL's
// arguments, which are passed one token each, "-3" and "-0x1F" are single numbers and any other
// "-" is refused. A token's form gives its kind:
//   IF ELSE END ...          keyword            123          decimal number
//   0x1F                     hex number "1F"    "a b"        string (\" and \\ escape, \n a line feed)
//   = + - * / % << >> ...    operator           ( )          punctuation
//   @@SendMsg                builtin            @03.pbsc/m   script name (the "@" is its leading character)
//   $x                       engine variable    local:$x     the script's own variable
//   aux:$x                   the engine's second store       :name        label
//   {K}text or {K}"text"     any kind K with that text (for damaged or unusual tokens)
// Blank lines and lines starting with "#" are skipped. Malformed text throws std::runtime_error.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

namespace datakit {

struct ScriptToken {
  uint32_t kind;
  std::string text;
  bool operator==(const ScriptToken&) const = default;
};
using ScriptLine = std::vector<ScriptToken>;

ScriptLine ParseScriptLine(const std::string& line);
std::vector<ScriptLine> ParseScriptText(const std::string& text);

}  // namespace datakit
