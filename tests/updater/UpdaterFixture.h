// The set-up of the updater's tests: a program folder "app" (the current folder, holding
// "update.ini" and the patch's "data"), an installed game folder "game", the scripted user
// interface and a virtual clock.
#pragma once
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <map>
#include <string>

#include "platform/core/Clock.h"
#include "platform/core/Encoding.h"
#include "platform/core/FileSystem.h"
#include "platform/core/Path.h"
#include "tests/support/TempDir.h"
#include "tools/datakit/ByteWriter.h"
#include "tools/datakit/SamplePatch.h"
#include "updater/CScriptedUi.h"

// Expected system texts are written here as UTF-8 and compared as Shift-JIS bytes.
inline std::string Sjis(const std::string& utf8) { return plat::Utf8ToSjis(utf8); }

class UpdaterTest : public ::testing::Test {
 public:
  void SetUp() override {
    std::filesystem::create_directories(data);
    std::filesystem::create_directories(game);
    ASSERT_TRUE(::getcwd(savedFolder, sizeof savedFolder));
    ASSERT_EQ(::chdir(app.c_str()), 0);
    plat::SetModuleFileNameOverride(app + "/duskwheel-update");
    plat::SetClock(&clock);
    updater::SetUserInterface(&ui);
  }
  void TearDown() override {
    updater::SetUserInterface(nullptr);
    plat::SetClock(nullptr);
    plat::SetModuleFileNameOverride("");
    ASSERT_EQ(::chdir(savedFolder), 0);
  }

  void WriteIni(const std::string& name = "Duskwheel", const std::string& basename = "game.exe") {
    datakit::UpdateIni(name, basename, "1.01", "1.00").Save(app + "/update.ini");
  }
  static void Put(const std::string& path, const std::string& text) { datakit::SaveFile(path, text); }
  static std::string Read(const std::string& path) {
    std::vector<unsigned char> bytes;
    if (!plat::ReadWholeFile(path, bytes)) return "<missing>";
    return std::string(bytes.begin(), bytes.end());
  }
  // An installed game and a confirmed run that chooses it.
  void ReadyToUpdate() {
    WriteIni();
    Put(game + "/game.exe", "exe");
    ui.answers = {plat::IDYES, plat::IDOK};
    ui.browseSteps = {{updater::CScriptedUi::BrowseStep::kType, game}};
  }
  // Removes a folder whatever the modes inside it.
  static void RemoveTree(const std::string& folder) {
    std::error_code ec;
    for (auto& e : std::filesystem::recursive_directory_iterator(folder, ec))
      if (e.is_directory() && !e.is_symlink()) testkit::SetFileMode(e.path().string(), 0755);
    testkit::SetFileMode(folder, 0755);
    std::filesystem::remove_all(folder);
  }
  // Every path under a folder with its contents ("<dir>" for folders) and mode.
  static std::map<std::string, std::string> Snapshot(const std::string& folder) {
    std::map<std::string, std::string> out;
    for (auto& e : std::filesystem::recursive_directory_iterator(folder)) {
      std::string p = e.path().string();
      out[p] =
          (e.is_directory() ? std::string("<dir>") : Read(p)) + " " + std::to_string(testkit::FileMode(p));
    }
    return out;
  }

  testkit::TempDir dir;
  const std::string app = dir / "app";
  const std::string data = dir / "app/data";
  const std::string game = dir / "game";
  char savedFolder[4096] = {};
  plat::VirtualClock clock;  // local time 2004/10/9 7:05:03
  updater::CScriptedUi ui;
};
