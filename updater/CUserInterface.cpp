#include "updater/CUserInterface.h"

#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cstdio>

namespace updater {
namespace {

// Where nothing can be shown: boxes go to stderr so their cause is not lost, and answer 0.
class CStderrUi : public CUserInterface {
 public:
  int MessageBox(const CDisplayText& text, const CDisplayText& caption, plat::UINT) override {
    std::fprintf(stderr, "[%s] %s\n", caption.Utf8().c_str(), text.Utf8().c_str());
    std::fflush(stderr);
    return 0;
  }
  BrowseResult BrowseForFolder(const BrowseRequest&, CBrowseCallback&) override {
    return {BrowseStatus::kUnavailable, {}};
  }
  std::unique_ptr<CProgressDialog> CreateProgressDialog(const DialogTemplate&) override { return nullptr; }
};

CStderrUi fallback;
std::atomic<CUserInterface*> current{&fallback};

}  // namespace

void SetUserInterface(CUserInterface* ui) { current.store(ui ? ui : &fallback); }
CUserInterface& UserInterface() { return *current.load(); }

bool IsFolder(const std::string& path) {
  struct stat st;
  return !path.empty() && ::stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

std::string AbsoluteFolder(const std::string& typed) {
  if (typed.empty() || typed[0] == '/') return typed;
  char cwd[4096];
  if (!::getcwd(cwd, sizeof cwd)) return typed;
  std::string base = cwd;
  return base + (base.back() == '/' ? "" : "/") + typed;
}

CDialogTexts::CDialogTexts(const DialogTemplate& dialog) : controls_(dialog.controls) {
  for (const DialogControl& c : controls_) filler_.push_back(c.id != kStaticControl && !c.text.Empty());
}

void CDialogTexts::Set(int id, const CDisplayText& text) {
  for (size_t i = 0; i < controls_.size(); ++i)
    if (controls_[i].id == id && id != kStaticControl) {
      controls_[i].text = text;
      filler_[i] = false;
    }
}

bool CDialogTexts::Ready() const {
  for (bool filler : filler_)
    if (filler) return false;
  return true;
}

std::vector<std::string> CDialogTexts::Lines() const {
  std::vector<std::string> lines;
  for (size_t i = 0; i < controls_.size(); ++i) {
    std::string text = controls_[i].text.Utf8();
    if (i > 0 && controls_[i].top == controls_[i - 1].top)
      lines.back() += text;
    else
      lines.push_back(text);
  }
  return lines;
}

}  // namespace updater
