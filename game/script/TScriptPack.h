// Reader of script packs: a directory of named members, each a list of tokenised statements whose
// token texts are stored scrambled.
#pragma once
#include <string>
#include <vector>

#include "game/script/TScriptToken.h"

class TScriptPack {
 public:
  // The token lines of one member. Every count and length is checked against the bytes left before
  // anything is read or reserved; any fault throws my_error naming the pack and the member.
  static std::vector<TScriptLine> ReadMember(const std::string& path, const std::string& pack,
                                             const std::string& member);
};
