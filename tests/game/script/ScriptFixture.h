// Scripts written with the data kit into a temporary script folder, run by a fresh global engine.
#pragma once
#include <string>
#include <vector>

#include "game/script/TScriptEngine.h"
#include "tests/common/Fixtures.h"
#include "tools/datakit/ScriptPackWriter.h"

class ScriptFixture : public CommonFixture {
 protected:
  void SetUp() override {
    CommonFixture::SetUp();
    TScriptEngine::SetFolder(dir.path() + "/");
    TScriptEngine::Create();
  }
  void TearDown() override {
    TScriptEngine::Destroy();
    TScriptEngine::SetFolder("");
    CommonFixture::TearDown();
  }

  TScriptEngine& Engine() { return *TScriptEngine::Get(); }

  // Members of "t.pbsc", written afresh.
  void Pack(const std::vector<std::pair<std::string, std::string>>& members) {
    datakit::ScriptPackWriter pack;
    for (auto& [name, text] : members) pack.Script(name, text);
    pack.Save(dir / "t.pbsc");
  }
  // Writes "t.pbsc/main" with the text, loads it and runs once.
  uint32_t RunMain(const std::string& text) {
    Pack({{"main", text}});
    Engine().LoadScript("t.pbsc/main");
    return Engine().Run();
  }
  int32_t Global(const std::string& name) { return Engine().Globals().GetInt(name, 0); }
  // Scripts record what ran by appending digits to "$t" with "$t = $t * 10 + d".
  int32_t Trace() { return Global("$t"); }
  // The error text of what fn throws, or "" when it throws nothing.
  template <class F>
  static std::string ErrorOf(F fn) {
    try {
      fn();
    } catch (const my_error& e) {
      return e.what();
    }
    return "";
  }
};

// A statement that appends digit d to the trace.
inline std::string T(int d) { return "$t = $t * 10 + " + std::to_string(d) + "\n"; }
