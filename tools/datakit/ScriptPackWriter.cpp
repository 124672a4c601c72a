#include "tools/datakit/ScriptPackWriter.h"

#include "common/scramble.h"

namespace datakit {

void ScriptPackWriter::WriteStatement(ByteWriter& out, const ScriptLine& line) {
  out.U32(static_cast<uint32_t>(line.size()));
  for (const ScriptToken& t : line) out.U32(t.kind);
  for (const ScriptToken& t : line) {
    out.U32(static_cast<uint32_t>(t.text.size()));
    for (char c : t.text)
      out.U8(scramble::Scramble(static_cast<uint8_t>(c), scramble::kScriptTokenRotation));
  }
}

ScriptPackWriter& ScriptPackWriter::Member(const std::string& name, const std::vector<ScriptLine>& lines) {
  ByteWriter body;
  body.U32(static_cast<uint32_t>(lines.size()));
  for (const ScriptLine& line : lines) WriteStatement(body, line);
  return RawMember(name, body);
}

ScriptPackWriter& ScriptPackWriter::Script(const std::string& name, const std::string& text) {
  return Member(name, ParseScriptText(text));
}

ScriptPackWriter& ScriptPackWriter::RawMember(const std::string& name, const ByteWriter& body) {
  members_.emplace_back(name, body);
  return *this;
}

std::vector<uint8_t> ScriptPackWriter::Build() const {
  uint32_t offset = 4;
  for (auto& [name, body] : members_) offset += 4 + static_cast<uint32_t>(name.size()) + 4;
  ByteWriter w;
  w.U32(static_cast<uint32_t>(members_.size()));
  for (auto& [name, body] : members_) {
    w.LString(name).U32(offset);
    offset += static_cast<uint32_t>(body.size());
  }
  for (auto& [name, body] : members_) w.Raw(body.data());
  return w.data();
}

}  // namespace datakit
