// Common test set-up: a virtual clock on a fixed date, a program path inside a temporary folder and
// message boxes that are recorded instead of shown.
#pragma once
#include <gtest/gtest.h>

#include "common/my_error.h"
#include "platform/core/Clock.h"
#include "platform/core/MessageBox.h"
#include "platform/core/Path.h"
#include "tests/support/TempDir.h"

class CommonFixture : public ::testing::Test {
 protected:
  void SetUp() override {
    plat::SetClock(&clock);
    plat::SetMessageBoxHandler(&boxes);
    plat::SetModuleFileNameOverride(dir / "duskwheel");
    saved = my_error::GetLogOptions();
    my_error::SetLogOptions(saved.standardMessage, 4096, "ErrorLog.txt", 7);
  }
  void TearDown() override {
    my_error::SetLogOptions(saved.standardMessage, saved.sizeLimit, saved.logFileName, saved.flags);
    plat::SetModuleFileNameOverride("");
    plat::SetMessageBoxHandler(nullptr);
    plat::SetClock(nullptr);
  }
  testkit::TempDir dir;
  plat::VirtualClock clock;  // local time 2004/10/9 7:05:03
  plat::ScriptedMessageBoxes boxes;
  TErrorLogOptions saved;
};
