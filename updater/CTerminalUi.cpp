#include "updater/CTerminalUi.h"

#include <sys/ioctl.h>
#include <unistd.h>

#include <cerrno>

namespace updater {
namespace {

const char* IconMark(plat::UINT style) {
  switch (style & plat::MB_ICON_MASK) {
    case plat::MB_ICONERROR:
      return "[x] ";
    case plat::MB_ICONQUESTION:
      return "[?] ";
    case plat::MB_ICONWARNING:
      return "[!] ";
    case plat::MB_ICONINFORMATION:
      return "[i] ";
    default:
      return "";
  }
}

std::string Trim(const std::string& s) {
  size_t b = s.find_first_not_of(" \t\r");
  if (b == std::string::npos) return {};
  size_t e = s.find_last_not_of(" \t\r");
  return s.substr(b, e - b + 1);
}

// Display columns of a code point: East Asian wide forms take two.
size_t Columns(uint32_t code) {
  bool wide = (code >= 0x1100 && code <= 0x115F) || (code >= 0x2E80 && code <= 0xA4CF) ||
              (code >= 0xAC00 && code <= 0xD7A3) || (code >= 0xF900 && code <= 0xFAFF) ||
              (code >= 0xFE30 && code <= 0xFE4F) || (code >= 0xFF00 && code <= 0xFF60) ||
              (code >= 0xFFE0 && code <= 0xFFE6);
  return wide ? 2 : 1;
}

// The code points of a (valid) UTF-8 text with their byte offsets and columns.
struct Glyph {
  size_t offset;
  size_t columns;
};
std::vector<Glyph> Glyphs(const std::string& s) {
  std::vector<Glyph> out;
  for (size_t i = 0; i < s.size();) {
    unsigned char c = s[i];
    size_t n = c < 0x80 ? 1 : (c & 0xE0) == 0xC0 ? 2 : (c & 0xF0) == 0xE0 ? 3 : 4;
    uint32_t code = n == 1 ? c : c & (0x7F >> n);
    for (size_t k = 1; k < n && i + k < s.size(); ++k) code = (code << 6) | (s[i + k] & 0x3F);
    out.push_back({i, Columns(code)});
    i += n;
  }
  return out;
}

size_t WidthOf(const std::string& s) {
  size_t w = 0;
  for (const Glyph& g : Glyphs(s)) w += g.columns;
  return w;
}

void WriteAll(int fd, const std::string& s) {
  for (size_t done = 0; done < s.size();) {
    ssize_t n = ::write(fd, s.data() + done, s.size() - done);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return;
    done += static_cast<size_t>(n);
  }
}

class CTerminalBrowseWindow : public CBrowseWindow {
 public:
  void SetCaption(const CDisplayText& text) override { caption = text; }
  void SetSelection(const std::string&) override {}
  void SetStatusText(const CDisplayText&) override {}
  CDisplayText caption;
};

class CTerminalProgress : public CProgressDialog {
 public:
  CTerminalProgress(int out, size_t width, const DialogTemplate& dialog)
      : out_(out), width_(width), texts_(dialog) {
    WriteAll(out_, "\n" + dialog.caption.Utf8() + "\n");
  }
  ~CTerminalProgress() override { Close(); }
  void SetItemText(int id, const CDisplayText& text) override {
    if (closed_) return;
    texts_.Set(id, text);
    if (!texts_.Ready()) return;
    WriteAll(out_, "\r" + CTerminalUi::FitLine(texts_.Lines(), width_ - 1) + "\x1b[K");
  }
  void Close() override {
    if (!closed_) WriteAll(out_, "\n");
    closed_ = true;
  }

 private:
  int out_;
  size_t width_;
  CDialogTexts texts_;
  bool closed_ = false;
};

}  // namespace

CTerminalUi::CTerminalUi(int in, int out) : in_(in), out_(out) {}

void CTerminalUi::Write(const std::string& s) const { WriteAll(out_, s); }

bool CTerminalUi::ReadLine(std::string& line) const {
  line.clear();
  for (;;) {
    char c;
    ssize_t n = ::read(in_, &c, 1);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return false;
    if (c == '\n') return true;
    line += c;
  }
}

size_t CTerminalUi::Width() const {
  struct winsize size {};
  if (::ioctl(out_, TIOCGWINSZ, &size) == 0 && size.ws_col >= 20) return size.ws_col;
  return 80;
}

std::string CTerminalUi::FitLine(const std::vector<std::string>& parts, size_t width) {
  std::vector<std::string> fitted = parts;
  auto total = [&] {
    size_t w = 0;
    for (const std::string& p : fitted) w += WidthOf(p);
    return w + (fitted.empty() ? 0 : 2 * (fitted.size() - 1));
  };
  if (total() > width && !fitted.empty()) {
    size_t longest = 0;
    for (size_t i = 1; i < fitted.size(); ++i)
      if (WidthOf(fitted[i]) > WidthOf(fitted[longest])) longest = i;
    size_t excess = total() - width + 3;  // room for "..."
    std::string& part = fitted[longest];
    size_t cut = part.size(), removed = 0;
    for (const Glyph& g : Glyphs(part)) {
      if (removed >= excess) {
        cut = g.offset;
        break;
      }
      removed += g.columns;
    }
    part = "..." + part.substr(cut);
  }
  std::string line;
  for (size_t i = 0; i < fitted.size(); ++i) line += (i ? "  " : "") + fitted[i];
  return line;
}

int CTerminalUi::MessageBox(const CDisplayText& text, const CDisplayText& caption, plat::UINT style) {
  const bool yesNo = (style & plat::MB_BUTTON_MASK) == plat::MB_YESNO;
  Write("\n" + std::string(IconMark(style)) + caption.Utf8() + "\n" + text.Utf8() + "\n");
  for (;;) {
    Write(yesNo ? "[y/n] > " : "[Enter] > ");
    std::string answer;
    if (!ReadLine(answer)) {
      Write("\n");
      return 0;
    }
    if (!yesNo) return plat::IDOK;
    answer = Trim(answer);
    if (answer == "y" || answer == "Y" || answer == "yes") return plat::IDYES;
    if (answer == "n" || answer == "N" || answer == "no") return plat::IDNO;
  }
}

BrowseResult CTerminalUi::BrowseForFolder(const BrowseRequest& request, CBrowseCallback& callback) {
  CTerminalBrowseWindow window;
  callback.OnInitialized(window, request.initialFolder);
  Write("\n" + window.caption.Utf8() + "\n" + request.prompt.Utf8() + "\n");
  for (;;) {
    Write("folder (empty line cancels) > ");
    std::string typed;
    if (!ReadLine(typed)) {
      Write("\n");
      return {BrowseStatus::kCancelled, {}};
    }
    typed = Trim(typed);
    if (typed.empty()) return {BrowseStatus::kCancelled, {}};
    std::string folder = AbsoluteFolder(typed);
    if (IsFolder(folder)) return {BrowseStatus::kChosen, folder};
    if (!callback.OnValidateFailed(window, typed)) return {BrowseStatus::kCancelled, {}};
  }
}

std::unique_ptr<CProgressDialog> CTerminalUi::CreateProgressDialog(const DialogTemplate& dialog) {
  return std::make_unique<CTerminalProgress>(out_, Width(), dialog);
}

}  // namespace updater
