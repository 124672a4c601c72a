#include "game/script/TScriptPack.h"

#include <cstdint>

#include "common/TFile.h"
#include "common/my_error.h"
#include "common/scramble.h"
#include "platform/core/Win32Types.h"

namespace {

class PackReader {
 public:
  PackReader(const std::string& path, const std::string& p, const std::string& m)
      : file(path), pack(p), member(m) {}

  std::vector<TScriptLine> Read() {
    if (pack.empty()) Fail("no pack named", __LINE__);
    if (!file.Open(true, plat::GENERIC_READ)) Fail("the pack cannot be opened", __LINE__);
    FindMember();
    uint32_t count = U32("statement count");
    if (count == 0) Fail("the member has no statement", __LINE__);
    Need(uint64_t{count} * 4, "statement count");
    std::vector<TScriptLine> lines(count);
    for (TScriptLine& line : lines) ReadStatement(line);
    return lines;
  }

 private:
  [[noreturn]] void Fail(const std::string& reason, int line) {
    throw my_error("script pack \"" + pack + "\" member \"" + member + "\": " + reason, __FILE__, line);
  }

  void Need(uint64_t bytes, const char* what) {
    if (bytes > file.Remaining()) Fail(std::string("short read (") + what + ")", __LINE__);
  }

  uint32_t U32(const char* what) {
    uint8_t b[4];
    if (!file.Read(b, 4)) Fail(std::string("short read (") + what + ")", __LINE__);
    return uint32_t{b[0]} | uint32_t{b[1]} << 8 | uint32_t{b[2]} << 16 | uint32_t{b[3]} << 24;
  }

  void FindMember() {
    uint32_t entries = U32("member count");
    Need(uint64_t{entries} * 8, "directory");
    for (uint32_t i = 0; i < entries; ++i) {
      std::string name;
      if (!file.ReadString(name, 255)) Fail("short read (directory)", __LINE__);
      uint32_t offset = U32("directory");
      if (name != member) continue;
      if (offset > file.GetSize() || !file.SeekSet(static_cast<int32_t>(offset)))
        Fail("the member's offset lies beyond the file", __LINE__);
      return;
    }
    Fail("no such member in the pack", __LINE__);
  }

  void ReadStatement(TScriptLine& line) {
    uint32_t tokens = U32("token count");
    Need(uint64_t{tokens} * 8, "token count");
    line.kinds.resize(tokens);
    for (uint32_t& kind : line.kinds) kind = U32("token kinds");
    line.texts.resize(tokens);
    for (std::string& text : line.texts) {
      uint32_t length = U32("token length");
      if (length > file.Remaining()) Fail("a token's length runs past the end of the file", __LINE__);
      text.resize(length);
      if (length && !file.Read(text.data(), length)) Fail("short read (token text)", __LINE__);
      for (char& c : text)
        c = static_cast<char>(scramble::Unscramble(static_cast<uint8_t>(c), scramble::kScriptTokenRotation));
    }
  }

  TFile file;
  std::string pack;
  std::string member;
};

}  // namespace

std::vector<TScriptLine> TScriptPack::ReadMember(const std::string& path, const std::string& pack,
                                                 const std::string& member) {
  return PackReader(path, pack, member).Read();
}
