// Text for the user, kept as pieces of two kinds: the program's own Shift-JIS texts (and the
// texts of "update.ini") and file-system names. Each piece is converted for display on its own,
// so a path is never decoded as Shift-JIS.
#pragma once
#include <string>
#include <vector>

namespace updater {

class CDisplayText {
 public:
  enum class Kind { kSjis, kFileSystem };
  struct Piece {
    Kind kind;
    std::string bytes;
  };

  CDisplayText() = default;
  // The program's own texts are Shift-JIS byte strings.
  CDisplayText(const char* sjis);  // NOLINT(google-explicit-constructor)
  static CDisplayText Sjis(std::string bytes);
  static CDisplayText FileName(std::string bytes);

  CDisplayText& operator+=(const CDisplayText& other);
  friend CDisplayText operator+(CDisplayText a, const CDisplayText& b) { return a += b; }

  // The composed bytes, as the system's texts are compared.
  std::string Bytes() const;
  // UTF-8 for a display: Shift-JIS pieces converted, file names kept with invalid bytes and
  // control characters replaced, and "\r\n" as "\n".
  std::string Utf8() const;
  const std::vector<Piece>& Pieces() const { return pieces_; }
  bool Empty() const;

 private:
  std::vector<Piece> pieces_;
};

}  // namespace updater
