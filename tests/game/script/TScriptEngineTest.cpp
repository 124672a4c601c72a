#include "game/script/TScriptEngine.h"

#include <gtest/gtest.h>

#include <ctime>

#include "tests/game/script/ScriptFixture.h"

namespace {

class ScriptEngine : public ScriptFixture {};

TEST_F(ScriptEngine, RunReportsFinishedStoppedAndWaiting) {
  EXPECT_EQ(Engine().Run(), TScriptEngine::kFinished);

  // @@Wait: the next statement does not run, in this Run or any later one, until the flag clears.
  EXPECT_EQ(RunMain(T(1) + "CALL @@Wait\n" + T(2)), TScriptEngine::kWaiting);
  EXPECT_TRUE(Engine().IsWaiting());
  EXPECT_EQ(Engine().Run(), TScriptEngine::kWaiting);
  EXPECT_EQ(Trace(), 1);

  // Stopped wins over waiting, and nothing runs.
  TScriptEngine::SetStop(true);
  EXPECT_EQ(Engine().Run(), TScriptEngine::kStopped);
  TScriptEngine::SetStop(false);
  EXPECT_EQ(Trace(), 1);

  Engine().SetWaiting(false);
  EXPECT_EQ(Engine().Run(), TScriptEngine::kFinished);
  EXPECT_EQ(Trace(), 12);
  EXPECT_EQ(Engine().Run(), TScriptEngine::kFinished);
}

TEST_F(ScriptEngine, ResumeClearsTheScriptsOwnWait) {
  EXPECT_EQ(RunMain("CALL @@Wait\nCALL @@Resume\n" + T(1)), TScriptEngine::kWaiting);
  EXPECT_EQ(Trace(), 0);
  Engine().SetWaiting(false);
  EXPECT_EQ(Engine().Run(), TScriptEngine::kFinished);
  EXPECT_EQ(Trace(), 1);
}

TEST_F(ScriptEngine, ACalledScriptRunsToItsEndInTheSameRunAndGetsItsArguments) {
  Engine().Globals().SetInt("$g", 7);
  Engine().AuxGlobals().SetInt("$g", 8);
  Pack({{"main", "local:$l = 9\n" + T(1) +
                     "CALL @t.pbsc/sub 12 0x1F $g local:$l aux:$g \"text\" {5}+\n" + T(3) +
                     "$seen = local:$0\n"},
        {"sub", T(2) + "$a0 = local:$0\n$a1 = local:$1\n$a2 = local:$2\n$a3 = local:$3\n$a4 = local:$4\n"
                       "$a5 = local:$5\n$a6 = local:$6\n$sub_l = local:$l\nRETURN 42\n"}});
  Engine().LoadScript("t.pbsc/main");
  EXPECT_EQ(Engine().Run(), TScriptEngine::kFinished);
  EXPECT_EQ(Trace(), 123);
  int32_t expected[] = {12, 31, 7, 9, 8, 0, 0};  // a string (and an operator) arrives as 0
  for (int i = 0; i < 7; ++i) EXPECT_EQ(Global("$a" + std::to_string(i)), expected[i]) << i;
  EXPECT_EQ(Global("$sub_l"), 0);  // the callee does not see the caller's own variables
  EXPECT_EQ(Global("$seen"), 0);   // nor the caller the callee's
  EXPECT_EQ(Global("$_"), 42);     // RETURN's value
}

// The text form and the engine agree on negative values: a leading "-" negates what follows it in
// an expression, and a call argument written "-3" arrives as -3.
TEST_F(ScriptEngine, NegativeValuesInTheTextFormArriveNegative) {
  Pack({{"main", "$u = 5\n$b = -3\n$v = -$u\n$w = $u - -3\n$x = $u*-2\nCALL @t.pbsc/sub -3 -0x10 7\n"},
        {"sub", "$a0 = local:$0\n$a1 = local:$1\n$a2 = local:$2\n"}});
  Engine().LoadScript("t.pbsc/main");
  EXPECT_EQ(Engine().Run(), TScriptEngine::kFinished);
  EXPECT_EQ(Global("$b"), -3);
  EXPECT_EQ(Global("$v"), -5);
  EXPECT_EQ(Global("$w"), 8);
  EXPECT_EQ(Global("$x"), -10);
  EXPECT_EQ(Global("$a0"), -3);
  EXPECT_EQ(Global("$a1"), -16);
  EXPECT_EQ(Global("$a2"), 7);
}

TEST_F(ScriptEngine, AReturnWithoutValueLeavesTheResult) {
  Engine().Globals().SetInt("$_", 5);
  EXPECT_EQ(RunMain("RETURN\n" + T(1)), TScriptEngine::kFinished);
  EXPECT_EQ(Global("$_"), 5);
  EXPECT_EQ(Trace(), 0);
}

TEST_F(ScriptEngine, ExactlyOneBranchOfAnIfChainRuns) {
  const std::string chain =
      "IF $a\n" + T(1) + "ELIF $b\n" + T(2) + "ELSE\n" + T(3) + "END\n" + T(9);
  struct Case {
    int32_t a, b, trace;
  } cases[] = {{1, 0, 19}, {1, 1, 19}, {0, 1, 29}, {0, 0, 39}};
  for (const Case& c : cases) {
    Engine().Globals().Clear();
    Engine().Globals().SetInt("$a", c.a);
    Engine().Globals().SetInt("$b", c.b);
    RunMain(chain);
    EXPECT_EQ(Trace(), c.trace) << c.a << c.b;
  }
}

TEST_F(ScriptEngine, AnEmptyIfBranchLetsTheNextBranchTestAfresh) {
  // The ELSE (or ELIF) right after an empty IF branch sees the IF as the statement before it, so it
  // runs as if the IF had failed, whatever the IF's condition.
  for (int32_t c : {0, 1}) {
    Engine().Globals().Clear();
    Engine().Globals().SetInt("$c", c);
    RunMain("IF $c\nELSE\n" + T(1) + "END\n" + T(2));
    EXPECT_EQ(Trace(), 12) << c;
    Engine().Globals().Clear();
    Engine().Globals().SetInt("$c", c);
    RunMain("IF $c\nELIF 1\n" + T(1) + "END\n" + T(2));
    EXPECT_EQ(Trace(), 12) << c;
  }
}

TEST_F(ScriptEngine, SwitchTakesOneBranchWithoutFallingThrough) {
  const std::string sw = "SWITCH $x\nCASE 1\nCASE 2\n" + T(1) + "CASE 3\n" + T(2) + "ELSE\n" + T(3) +
                         "END\n" + T(9);
  struct Case {
    int32_t x, trace;
  } cases[] = {{1, 19}, {2, 19}, {3, 29}, {5, 39}};
  for (const Case& c : cases) {
    Engine().Globals().Clear();
    Engine().Globals().SetInt("$x", c.x);
    RunMain(sw);
    EXPECT_EQ(Trace(), c.trace) << c.x;
  }
  // Without an ELSE, no match goes to the END.
  Engine().Globals().Clear();
  RunMain("SWITCH 7\nCASE 1\n" + T(1) + "END\n" + T(9));
  EXPECT_EQ(Trace(), 9);
}

TEST_F(ScriptEngine, LoopsRunTheirBodiesTheRightNumberOfTimes) {
  struct Case {
    const char* what;
    std::string text;
    int32_t trace;
  } cases[] = {
      {"UNTIL already true", "REPEAT\n" + T(1) + "UNTIL 1\n" + T(2), 12},
      {"TILL already false", "REPEAT\n" + T(1) + "TILL 0\n" + T(2), 12},
      {"UNTIL counts", "$n = 0\nREPEAT\n$n = $n + 1\n" + T(1) + "UNTIL $n == 3\n" + T(2), 1112},
      {"TILL counts", "$n = 0\nREPEAT\n$n = $n + 1\n" + T(1) + "TILL $n < 3\n" + T(2), 1112},
      {"WHILE false", "WHILE 0\n" + T(1) + "END\n" + T(2), 2},
      {"WHILE counts", "$n = 0\nWHILE $n < 3\n$n = $n + 1\n" + T(1) + "END\n" + T(2), 1112},
      {"IF nested in WHILE",
       "$n = 0\nWHILE $n < 4\n$n = $n + 1\nIF $n % 2\n" + T(1) + "ELSE\n" + T(2) + "END\nEND\n" + T(3),
       12123},
      {"WHILE nested in WHILE",
       "$i = 0\nWHILE $i < 2\n$i = $i + 1\n$j = 0\nWHILE $j < 2\n$j = $j + 1\n" + T(1) + "END\n" + T(2) +
           "END\n" + T(3),
       1121123},
  };
  for (const Case& c : cases) {
    Engine().Globals().Clear();
    EXPECT_EQ(RunMain(c.text), TScriptEngine::kFinished) << c.what;
    EXPECT_EQ(Trace(), c.trace) << c.what;
  }
}

TEST_F(ScriptEngine, RandomFollowsTheRuntimeGeneratorFromItsSeed) {
  RunMain("CALL @@RandomSeed 1\nCALL @@Random\n$r0 = $_\nCALL @@Random\n$r1 = $_\nCALL @@Random\n$r2 = $_\n"
          "CALL @@Random\n$r3 = $_\n$s = 1\nCALL @@RandomSeed $s\nCALL @@Random\n$again = $_\n");
  EXPECT_EQ(Global("$r0"), 41);
  EXPECT_EQ(Global("$r1"), 18467);
  EXPECT_EQ(Global("$r2"), 6334);
  EXPECT_EQ(Global("$r3"), 26500);
  EXPECT_EQ(Global("$again"), 41);  // seeded from a variable's value
}

TEST_F(ScriptEngine, TimeGivesSecondsSince1970AndUnknownBuiltinsDoNothing) {
  int32_t before = static_cast<int32_t>(std::time(nullptr));
  EXPECT_EQ(RunMain("CALL @@Time\nCALL @@NoSuchThing 1\n" + T(1)), TScriptEngine::kFinished);
  int32_t after = static_cast<int32_t>(std::time(nullptr));
  EXPECT_GE(Global("$_"), before);
  EXPECT_LE(Global("$_"), after);
  EXPECT_EQ(Trace(), 1);
}

TEST_F(ScriptEngine, EachVariableKindHasItsOwnStore) {
  Pack({{"first", "$v = 1\n{12}$v = {12}$v + 1\nlocal:$v = 10\n{13}$v = {13}$v + 1\naux:$v = 100\n"},
        {"second", "$fromFirst = $v\n$localSeen = local:$v\n"}});
  Engine().LoadScript("t.pbsc/second");
  Engine().LoadScript("t.pbsc/first");
  EXPECT_EQ(Engine().Run(), TScriptEngine::kFinished);
  EXPECT_EQ(Global("$v"), 2);  // kinds 10 and 12 are one store
  EXPECT_EQ(Engine().AuxGlobals().GetInt("$v", 0), 100);
  EXPECT_EQ(Global("$fromFirst"), 2);  // scripts share the engine's variables...
  EXPECT_EQ(Global("$localSeen"), 0);  // ...but not their own
}

TEST_F(ScriptEngine, AScriptThatNeverWaitsIsReportedByName) {
  Engine().SetStepBudget(1000);
  Pack({{"spin", "WHILE 1\n$x = $x + 1\nEND\n"}});
  Engine().LoadScript("t.pbsc/spin");
  std::string error = ErrorOf([&] { Engine().Run(); });
  EXPECT_NE(error.find("\"t.pbsc/spin\" ran 1000 statements without waiting"), std::string::npos) << error;
}

TEST_F(ScriptEngine, TheDefaultBudgetLeavesRoomForLongLoops) {
  EXPECT_EQ(RunMain("$n = 0\nWHILE $n < 300000\n$n = $n + 1\nEND\n"), TScriptEngine::kFinished);
  EXPECT_EQ(Global("$n"), 300000);
}

TEST_F(ScriptEngine, ACallOfAMissingScriptFailsOutOfRun) {
  Pack({{"main", T(1) + "CALL @t.pbsc/absent\n" + T(2)}});
  Engine().LoadScript("t.pbsc/main");
  std::string error = ErrorOf([&] { Engine().Run(); });
  EXPECT_NE(error.find("member \"absent\": no such member"), std::string::npos) << error;
  EXPECT_EQ(Trace(), 1);
}

TEST_F(ScriptEngine, CreateReplacesTheEngineAndDestroyEmptiesIt) {
  TScriptEngine* first = TScriptEngine::Get();
  ASSERT_NE(first, nullptr);
  first->Globals().SetInt("$x", 1);
  TScriptEngine::Create();
  ASSERT_NE(TScriptEngine::Get(), nullptr);
  EXPECT_EQ(Global("$x"), 0);
  EXPECT_FALSE(Engine().IsWaiting() || Engine().IsObjectWaiting() || Engine().IsHolding() || Engine().IsStopped());
  TScriptEngine::Destroy();
  EXPECT_EQ(TScriptEngine::Get(), nullptr);
  TScriptEngine::SetObjectWait(true);  // harmless without an engine
  TScriptEngine::SetStop(true);
  TScriptEngine::Destroy();
  TScriptEngine::Create();
}

}  // namespace
