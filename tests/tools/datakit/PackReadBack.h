// A picture of a written pack, read back by the game's own pack reader.
#pragma once
#include <gtest/gtest.h>

#include <string>

#include "common/TFile.h"
#include "common/TTexturePack.h"

namespace datakit_test {

inline TPackPicture ReadBack(const std::string& path, const std::string& entry) {
  TFile file(path);
  EXPECT_TRUE(file.Open(true, plat::GENERIC_READ)) << path;
  TPackPicture picture;
  EXPECT_TRUE(TTexturePack::ReadEntry(file, path, entry, picture)) << path << " " << entry;
  return picture;
}

}  // namespace datakit_test
