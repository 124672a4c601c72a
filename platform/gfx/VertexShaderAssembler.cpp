// The "vs.1.x" assembler: one instruction per line, "//" and ";" comments, any letter case.
#include <cctype>
#include <optional>

#include "platform/gfx/VertexShaderCode.h"
#include "platform/gfx/VertexShaderProgram.h"

namespace plat {

namespace {

std::string_view Trim(std::string_view s) {
  while (!s.empty() && std::isspace(static_cast<unsigned char>(s.front()))) s.remove_prefix(1);
  while (!s.empty() && std::isspace(static_cast<unsigned char>(s.back()))) s.remove_suffix(1);
  return s;
}

std::string CleanLine(std::string_view line) {
  size_t cut = line.find(';');
  const size_t slashes = line.find("//");
  if (slashes < cut) cut = slashes;
  std::string text(Trim(line.substr(0, cut == std::string_view::npos ? line.size() : cut)));
  for (char& c : text) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return text;
}

std::vector<std::string_view> SplitOperands(std::string_view s) {
  std::vector<std::string_view> parts;
  for (;;) {
    const size_t comma = s.find(',');
    parts.push_back(Trim(s.substr(0, comma)));
    if (comma == std::string_view::npos) return parts;
    s.remove_prefix(comma + 1);
  }
}

int ComponentOf(char c) {
  switch (c) {
    case 'x': return 0;
    case 'y': return 1;
    case 'z': return 2;
    case 'w': return 3;
    default: return -1;
  }
}

struct Register {
  VsFile file;
  int index;
};

struct NamedFile {
  const char* prefix;  // followed by a number, or the whole name when numbered is false
  VsFile file;
  bool numbered;
};

constexpr NamedFile kNames[] = {
    {"opos", VsFile::Position, false}, {"ofog", VsFile::Fog, false},     {"opts", VsFile::PointSize, false},
    {"od", VsFile::Color, true},       {"ot", VsFile::Texture, true},    {"v", VsFile::Input, true},
    {"r", VsFile::Temp, true},         {"c", VsFile::Const, true},
};

// One line's parse; the first error found ends it.
class LineParser {
 public:
  explicit LineParser(int line) : line_(line) {}

  std::optional<VsInstruction> Instruction(std::string_view text);
  const std::string& Error() const { return error_; }

 private:
  bool Fail(const std::string& what) {
    if (error_.empty()) error_ = "line " + std::to_string(line_) + ": " + what;
    return false;
  }
  bool ParseRegister(std::string_view name, Register& reg);
  bool ParseDest(std::string_view operand, VsDest& dest);
  bool ParseSource(std::string_view operand, VsSource& src);

  int line_;
  std::string error_;
};

bool LineParser::ParseRegister(std::string_view name, Register& reg) {
  for (const NamedFile& n : kNames) {
    const std::string_view prefix = n.prefix;
    if (!n.numbered) {
      if (name != prefix) continue;
      reg = {n.file, 0};
      return true;
    }
    if (name.substr(0, prefix.size()) != prefix) continue;
    const std::string_view digits = name.substr(prefix.size());
    if (digits.empty() || digits.size() > 3) break;
    int index = 0;
    for (char c : digits) {
      if (!std::isdigit(static_cast<unsigned char>(c))) return Fail("unknown register '" + std::string(name) + "'");
      index = index * 10 + (c - '0');
    }
    if (index >= VsFileSize(n.file)) {
      return Fail("'" + std::string(name) + "' is out of range (" + std::string(prefix) + "0 to " +
                  std::string(prefix) + std::to_string(VsFileSize(n.file) - 1) + ")");
    }
    reg = {n.file, index};
    return true;
  }
  return Fail("unknown register '" + std::string(name) + "'");
}

bool LineParser::ParseDest(std::string_view operand, VsDest& dest) {
  if (!operand.empty() && operand.front() == '-') return Fail("a destination cannot be negated");
  const size_t dot = operand.find('.');
  Register reg;
  if (!ParseRegister(operand.substr(0, dot), reg)) return false;
  if (reg.file == VsFile::Input || reg.file == VsFile::Const) {
    return Fail("'" + std::string(operand.substr(0, dot)) + "' cannot be written");
  }
  dest.file = reg.file;
  dest.index = static_cast<uint8_t>(reg.index);
  dest.mask = 0xf;
  if (dot == std::string_view::npos) return true;
  const std::string_view letters = operand.substr(dot + 1);
  int last = -1;
  dest.mask = 0;
  for (char c : letters) {
    const int comp = ComponentOf(c);
    if (comp <= last) return Fail("bad write mask '." + std::string(letters) + "'");
    dest.mask |= static_cast<uint8_t>(1u << comp);
    last = comp;
  }
  if (dest.mask == 0) return Fail("empty write mask");
  return true;
}

bool LineParser::ParseSource(std::string_view operand, VsSource& src) {
  src.negate = !operand.empty() && operand.front() == '-';
  if (src.negate) operand = Trim(operand.substr(1));
  const size_t dot = operand.find('.');
  Register reg;
  if (!ParseRegister(operand.substr(0, dot), reg)) return false;
  if (VsFileIsOutput(reg.file)) return Fail("'" + std::string(operand.substr(0, dot)) + "' cannot be read");
  src.file = reg.file;
  src.index = static_cast<uint8_t>(reg.index);
  if (dot == std::string_view::npos) return true;
  const std::string_view letters = operand.substr(dot + 1);
  if (letters.empty() || letters.size() > 4) return Fail("bad swizzle '." + std::string(letters) + "'");
  for (size_t i = 0; i < 4; ++i) {
    // A short swizzle repeats its last letter.
    const int comp = ComponentOf(letters[i < letters.size() ? i : letters.size() - 1]);
    if (comp < 0) return Fail("bad swizzle '." + std::string(letters) + "'");
    src.swizzle[i] = static_cast<uint8_t>(comp);
  }
  return true;
}

std::optional<VsInstruction> LineParser::Instruction(std::string_view text) {
  size_t space = 0;
  while (space < text.size() && !std::isspace(static_cast<unsigned char>(text[space]))) ++space;
  const std::string_view mnemonic = text.substr(0, space);
  VsInstruction ins;
  int op = 0;
  while (op < kVsOpCount && mnemonic != VsOpInfoOf(static_cast<VsOp>(op)).name) ++op;
  if (op == kVsOpCount) {
    Fail("unknown instruction '" + std::string(mnemonic) + "'");
    return std::nullopt;
  }
  ins.op = static_cast<VsOp>(op);
  const VsOpInfo& info = VsOpInfoOf(ins.op);
  const std::string_view rest = Trim(text.substr(space));
  const std::vector<std::string_view> operands = rest.empty() ? std::vector<std::string_view>{} : SplitOperands(rest);
  if (operands.size() != static_cast<size_t>(info.sources + 1)) {
    Fail("'" + std::string(mnemonic) + "' takes " + std::to_string(info.sources + 1) + " operands, not " +
         std::to_string(operands.size()));
    return std::nullopt;
  }
  if (!ParseDest(operands[0], ins.dest)) return std::nullopt;
  for (int s = 0; s < info.sources; ++s) {
    if (!ParseSource(operands[1 + s], ins.src[s])) return std::nullopt;
  }
  if (const char* fault = VsInstructionFault(ins)) {
    Fail(std::string(fault) + " in '" + std::string(text) + "'");
    return std::nullopt;
  }
  return ins;
}

std::optional<uint32_t> VersionOf(std::string_view text) {
  if (text == "vs.1.0") return 0x0100;
  if (text == "vs.1.1") return 0x0101;
  return std::nullopt;
}

}  // namespace

bool AssembleVertexShader(std::string_view source, std::vector<uint32_t>& tokens, std::string& errors) {
  errors.clear();
  VertexShaderProgram program;
  std::vector<int> lineOf;  // the source line of each instruction
  std::vector<std::string> problems;
  bool versionSeen = false;
  int line = 0;
  while (!source.empty() || line == 0) {
    ++line;
    const size_t eol = source.find('\n');
    const std::string text = CleanLine(source.substr(0, eol));
    source.remove_prefix(eol == std::string_view::npos ? source.size() : eol + 1);
    if (text.empty()) continue;
    const std::optional<uint32_t> version = VersionOf(text);
    if (!versionSeen) {
      versionSeen = true;
      if (version) {
        program.version = *version;
        continue;
      }
      problems.push_back("line " + std::to_string(line) + ": the program must begin with vs.1.0 or vs.1.1");
      if (text.compare(0, 3, "vs.") == 0) continue;
    } else if (version) {
      problems.push_back("line " + std::to_string(line) + ": a second version line");
      continue;
    }
    LineParser parser(line);
    if (const std::optional<VsInstruction> ins = parser.Instruction(text)) {
      program.instructions.push_back(*ins);
      lineOf.push_back(line);
    } else {
      problems.push_back(parser.Error());
    }
  }
  if (!versionSeen) problems.push_back("line 1: the program must begin with vs.1.0 or vs.1.1");
  if (program.instructions.size() > kVsMaxInstructions) {
    problems.push_back("line " + std::to_string(lineOf[kVsMaxInstructions]) + ": more than " +
                       std::to_string(kVsMaxInstructions) + " instructions");
  }
  if (problems.empty()) {
    const int bad = VsFirstUnwrittenRead(program.instructions);
    if (bad >= 0) {
      problems.push_back("line " + std::to_string(lineOf[bad]) + ": reads a temporary register before it is written in '" +
                         VsInstructionText(program.instructions[bad]) + "'");
    }
  }
  if (!problems.empty()) {
    for (const std::string& p : problems) errors += p + "\n";
    tokens.clear();
    return false;
  }
  tokens = EncodeVertexShader(program);
  return true;
}

}  // namespace plat
