#include "game/script/TScriptObject.h"

#include <gtest/gtest.h>

#include "tests/game/script/ScriptFixture.h"

namespace {

// Records what it is sent and answers with a set status; logs its updates, draws and destruction.
class Probe : public TScriptObject {
 public:
  Probe(const std::string& name, std::vector<std::string>* log = nullptr, uint32_t status = kDone)
      : TScriptObject(name), log(log), status(status) {}
  ~Probe() override { Note("~"); }

  uint32_t Dispatch(uint32_t o, const TScriptArgs& a, const TScriptArgTypes& t) override {
    ++calls;
    op = o;
    args = a;
    types = t;
    return status;
  }
  void Update() override { Note("U"); }
  void Draw() override { Note("D"); }

  std::vector<std::string>* log;
  uint32_t status;
  int calls = 0;
  uint32_t op = 0;
  TScriptArgs args;
  TScriptArgTypes types;

 private:
  void Note(const char* what) {
    if (log) log->push_back(what + GetName());
  }
};

class ScriptObject : public ScriptFixture {};

TEST_F(ScriptObject, DispatchStatusesSetTheEngineWaits) {
  struct Case {
    uint32_t status;
    bool registered;
    uint32_t firstRun;
    bool objectWaiting, holding;
  } cases[] = {
      {TScriptObject::kDone, true, TScriptEngine::kFinished, false, false},
      {TScriptObject::kWait, true, TScriptEngine::kWaiting, true, false},
      {TScriptObject::kHold, true, TScriptEngine::kWaiting, true, true},
      {TScriptObject::kNoObject, false, TScriptEngine::kFinished, false, false},
  };
  for (const Case& c : cases) {
    TScriptEngine::Create();
    auto* probe = new Probe("Probe", nullptr, c.status);
    if (c.registered) Engine().AddObject(probe);
    else delete probe;
    EXPECT_EQ(RunMain(T(1) + "CALL @@SendMsg \"Probe\" 0\n" + T(2)), c.firstRun) << c.status;
    EXPECT_EQ(Engine().IsObjectWaiting(), c.objectWaiting) << c.status;
    EXPECT_EQ(Engine().IsHolding(), c.holding) << c.status;
    if (c.firstRun == TScriptEngine::kFinished) {
      EXPECT_EQ(Trace(), 12) << c.status;
      continue;
    }
    // The statement after the message waits until the object, and for 7 also the host, lets go.
    EXPECT_EQ(Engine().Run(), TScriptEngine::kWaiting);
    EXPECT_EQ(Trace(), 1);
    TScriptEngine::SetObjectWait(false);
    if (c.holding) {
      EXPECT_EQ(Engine().Run(), TScriptEngine::kWaiting);
      EXPECT_EQ(Trace(), 1);
      Engine().SetHolding(false);
    }
    EXPECT_EQ(Engine().Run(), TScriptEngine::kFinished) << c.status;
    EXPECT_EQ(Trace(), 12) << c.status;
  }
}

TEST_F(ScriptObject, ArgumentsArriveAsDecimalTextsAndStrings) {
  auto* probe = new Probe("Probe");
  Engine().AddObject(probe);
  Engine().Globals().SetInt("$g", -5);
  Engine().AuxGlobals().SetInt("$g", 6);
  // "テキスト" in Shift-JIS.
  RunMain("local:$l = 7\n"
          "CALL @@SendMsg \"Probe\" 0x10 12 0x1F \"\x83\x65\x83\x4c\x83\x58\x83\x67\" $g local:$l aux:$g "
          "$unset {5}+ {7}@x {1}IF\n");
  EXPECT_EQ(probe->calls, 1);
  EXPECT_EQ(probe->op, 16u);
  EXPECT_EQ(probe->args, (TScriptArgs{"12", "31", "\x83\x65\x83\x4c\x83\x58\x83\x67", "-5", "7", "6", "0"}));
  EXPECT_EQ(probe->types, (TScriptArgTypes{2, 2, 4, 2, 2, 2, 2}));
}

TEST_F(ScriptObject, AShortMessageReadsEmptyArguments) {
  auto* probe = new Probe("");
  Engine().AddObject(probe);
  EXPECT_EQ(RunMain("CALL @@SendMsg\n"), TScriptEngine::kFinished);
  EXPECT_EQ(probe->calls, 1);
  EXPECT_EQ(probe->op, 0u);
  EXPECT_EQ(TScriptObject::ArgText(probe->args, 0), "");
  EXPECT_EQ(TScriptObject::ArgInt(TScriptArgs{"-12x"}, 0), -12);
  EXPECT_EQ(TScriptObject::ArgInt(TScriptArgs{"x"}, 0), 0);
  EXPECT_EQ(TScriptObject::ArgInt(TScriptArgs{"99999999999"}, 0), 2147483647);
}

TEST_F(ScriptObject, OneObjectPerNameVisitedInByteOrder) {
  std::vector<std::string> log;
  for (const char* name : {"VillagerInfo", "Text", "\x83\x65", "Flag", "Shop", "MapEvent"})
    Engine().AddObject(new Probe(name, &log));
  auto* second = new Probe("Text", &log);
  Engine().AddObject(second);
  EXPECT_EQ(log, (std::vector<std::string>{"~Text"}));
  EXPECT_EQ(Engine().FindObject("Text"), second);
  Engine().ReplaceObject(TCountedPtr<TScriptObject>(second, [](void*) {}));  // the same object again: kept
  EXPECT_EQ(Engine().FindObject("Text"), second);

  log.clear();
  Engine().UpdateObjects();
  Engine().DrawObjects();
  EXPECT_EQ(log, (std::vector<std::string>{"UFlag", "UMapEvent", "UShop", "UText", "UVillagerInfo", "U\x83\x65",
                                           "DFlag", "DMapEvent", "DShop", "DText", "DVillagerInfo", "D\x83\x65"}));
  log.clear();
  Engine().RemoveObject("Shop");
  Engine().RemoveObject("Shop");
  EXPECT_EQ(log, (std::vector<std::string>{"~Shop"}));
  EXPECT_EQ(Engine().FindObject("Shop"), nullptr);
  log.clear();
  TScriptEngine::Destroy();
  EXPECT_EQ(log.size(), 5u);  // the engine releases what it holds
}

// Finishes its work in Update, as the message window does.
class Worker : public TScriptObject {
 public:
  explicit Worker(bool stop) : TScriptObject("Worker"), stop(stop) {}
  uint32_t Dispatch(uint32_t, const TScriptArgs&, const TScriptArgTypes&) override { return kWait; }
  void Update() override {
    if (++ticks < 3) return;
    if (stop) TScriptEngine::SetStop(true);
    else TScriptEngine::SetObjectWait(false);
  }
  void Draw() override {}
  bool stop;
  int ticks = 0;
};

TEST_F(ScriptObject, AnObjectReleasesOrStopsTheEngineFromItsUpdate) {
  for (bool stop : {false, true}) {
    TScriptEngine::Create();
    Engine().AddObject(new Worker(stop));
    uint32_t result = RunMain("CALL @@SendMsg \"Worker\" 0\n" + T(1));
    int runs = 1;
    // The host's tick: Run, then UpdateObjects while a script waits.
    while (result == TScriptEngine::kWaiting && runs < 10) {
      Engine().UpdateObjects();
      result = Engine().Run();
      ++runs;
    }
    EXPECT_EQ(runs, 4) << stop;
    EXPECT_EQ(result, stop ? TScriptEngine::kStopped : TScriptEngine::kFinished);
    EXPECT_EQ(Trace(), stop ? 0 : 1);
  }
}

}  // namespace
