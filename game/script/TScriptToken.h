// Tokens as script packs store them: a kind number and a text per token, one line per statement.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

namespace scripttoken {

constexpr uint32_t kKeyword = 1;
constexpr uint32_t kDecimal = 2;
constexpr uint32_t kHex = 3;
constexpr uint32_t kString = 4;
constexpr uint32_t kOperator = 5;  // also "=", "(" and ")"
constexpr uint32_t kBuiltin = 6;
constexpr uint32_t kScriptName = 7;  // one leading character, then "pack/member"
constexpr uint32_t kAuxVariable = 9;
constexpr uint32_t kGlobalVariable = 10;
constexpr uint32_t kLocalVariable = 11;
constexpr uint32_t kGlobalVariable2 = 12;
constexpr uint32_t kLocalVariable2 = 13;
constexpr uint32_t kLabel = 14;

inline bool IsVariable(uint32_t kind) { return kind >= kAuxVariable && kind <= kLocalVariable2; }

}  // namespace scripttoken

// One statement's tokens as two parallel lists.
struct TScriptLine {
  std::vector<uint32_t> kinds;
  std::vector<std::string> texts;
};
