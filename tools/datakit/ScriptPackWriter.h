// Writes script packs (".pbsc"): a directory of named members, each a list of tokenised statements
// with scrambled token texts.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "tools/datakit/ByteWriter.h"
#include "tools/datakit/ScriptText.h"

namespace datakit {

class ScriptPackWriter {
 public:
  ScriptPackWriter& Member(const std::string& name, const std::vector<ScriptLine>& lines);
  // A member in the text form of ScriptText.h.
  ScriptPackWriter& Script(const std::string& name, const std::string& text);
  // A member whose bytes (statement count onwards) the caller wrote, for damaged data.
  ScriptPackWriter& RawMember(const std::string& name, const ByteWriter& body);

  // One statement's bytes: token count, kinds, then each text's length and scrambled bytes.
  static void WriteStatement(ByteWriter& out, const ScriptLine& line);

  std::vector<uint8_t> Build() const;
  void Save(const std::string& path) const { SaveFile(path, Build()); }

 private:
  std::vector<std::pair<std::string, ByteWriter>> members_;
};

}  // namespace datakit
