// The seed runner of the builds without libFuzzer: runs one target over every file of the folders
// (or the files) given, once each, with no mutation. A crash, a sanitizer report or an escaping
// exception other than my_error fails it; so does finding no input at all.
#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "tests/fuzz/FuzzHarness.h"

namespace {

std::vector<std::filesystem::path> Inputs(const std::string& arg) {
  std::vector<std::filesystem::path> files;
  if (std::filesystem::is_directory(arg)) {
    for (const auto& entry : std::filesystem::directory_iterator(arg))
      if (entry.is_regular_file()) files.push_back(entry.path());
    std::sort(files.begin(), files.end());
  } else if (std::filesystem::is_regular_file(arg)) {
    files.push_back(arg);
  }
  return files;
}

}  // namespace

int main(int argc, char** argv) {
  const fuzz::Target target = argc > 1 ? fuzz::Find(argv[1]) : nullptr;
  if (!target) {
    std::fprintf(stderr, "usage: %s TARGET FOLDER-OR-FILE...\ntargets:", argv[0]);
    for (const std::string& name : fuzz::TargetNames()) std::fprintf(stderr, " %s", name.c_str());
    std::fprintf(stderr, "\n");
    return 2;
  }
  size_t runs = 0;
  for (int i = 2; i < argc; ++i) {
    for (const auto& path : Inputs(argv[i])) {
      std::ifstream in(path, std::ios::binary);
      const std::vector<uint8_t> bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
      std::fprintf(stderr, "%s: %s\n", argv[1], path.c_str());
      target(bytes.data(), bytes.size());
      ++runs;
    }
  }
  std::printf("%s: %zu inputs run\n", argv[1], runs);
  return runs ? 0 : 1;
}
