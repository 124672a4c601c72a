#include "tests/support/TempDir.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <stdexcept>

namespace testkit {

TempDir::TempDir() {
  const char* base = std::getenv("TMPDIR");
  std::string tmpl = std::string(base && *base ? base : "/tmp") + "/dw-test-XXXXXX";
  if (!::mkdtemp(tmpl.data())) throw std::runtime_error("mkdtemp failed");
  path_ = tmpl;
}

TempDir::~TempDir() {
  std::error_code ec;
  for (auto& e : std::filesystem::recursive_directory_iterator(path_, ec))
    ::chmod(e.path().c_str(), e.is_directory() ? 0755 : 0644);
  ::chmod(path_.c_str(), 0755);
  std::filesystem::remove_all(path_, ec);
}

unsigned FileMode(const std::string& path) {
  struct stat st;
  if (::stat(path.c_str(), &st) != 0) return 0;
  return st.st_mode & 07777;
}

void SetFileMode(const std::string& path, unsigned mode) { ::chmod(path.c_str(), mode); }

}  // namespace testkit
