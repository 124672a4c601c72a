// A fresh folder per test, removed afterwards (write bits restored first so cleanup never fails).
#pragma once
#include <string>

namespace testkit {

class TempDir {
 public:
  TempDir();
  ~TempDir();
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;

  const std::string& path() const { return path_; }
  std::string operator/(const std::string& name) const { return path_ + "/" + name; }

 private:
  std::string path_;
};

// The mode bits of a file (for "unchanged" checks).
unsigned FileMode(const std::string& path);
void SetFileMode(const std::string& path, unsigned mode);

}  // namespace testkit
