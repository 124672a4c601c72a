// A character-data folder of its own for each test, set as the readers' folder.
#pragma once
#include <gtest/gtest.h>

#include <string>

#include "common/my_error.h"
#include "tests/support/TempDir.h"

class CharFileFixture : public testing::Test {
 protected:
  std::string Folder() const { return dir.path() + "/chr/"; }

  testkit::TempDir dir;
};

// Runs load and expects a my_error whose text holds every one of the parts.
template <class Load>
void ExpectMyError(Load load, std::initializer_list<std::string> parts) {
  try {
    load();
    ADD_FAILURE() << "loaded";
  } catch (const my_error& e) {
    const std::string text = e.what();
    for (const std::string& part : parts) EXPECT_NE(text.find(part), std::string::npos) << text;
  }
}
