#include "game/script/TScriptProgram.h"

#include <gtest/gtest.h>

#include <functional>

#include "tests/game/script/ScriptFixture.h"
#include "tools/datakit/SampleScripts.h"

namespace {

using Kind = TScriptStatementKind;

class ScriptProgram : public ScriptFixture {};

TEST_F(ScriptProgram, FindsItsMemberByExactNameAndReadsTheTokens) {
  Pack({{"first", "$a = 1\n"}, {"Main", "$a = 2\n"}, {"main", "$a = 3\nRETURN $a + 0x10\n"}});
  TScriptProgram& p = Engine().LoadScript("t.pbsc/main");
  ASSERT_EQ(p.StatementCount(), 2u);
  EXPECT_EQ(p.StatementAt(0)->GetKind(), Kind::Assignment);
  EXPECT_EQ(p.StatementAt(1)->GetKind(), Kind::Return);
  EXPECT_EQ(Engine().Run(), TScriptEngine::kFinished);
  EXPECT_EQ(Global("$a"), 3);
  EXPECT_EQ(Global("$_"), 19);
}

TEST_F(ScriptProgram, SplitsNamesAtTheFirstSlash) {
  struct Case {
    const char* name;
    const char* pack;
    const char* member;
  } cases[] = {{"03.pbsc/Event03_00", "03.pbsc", "Event03_00"},
               {"a/b/c", "a", "b/c"},
               {"abc/", "abc", ""},
               {"abc", "", ""},
               {"/abc", "", ""}};
  for (const Case& c : cases) {
    std::string pack = "x", member = "x";
    TScriptProgram::SplitName(c.name, pack, member);
    EXPECT_EQ(pack, c.pack) << c.name;
    EXPECT_EQ(member, c.member) << c.name;
  }
}

TEST_F(ScriptProgram, RefusesBadPacksNamingPackAndMember) {
  struct Case {
    const char* what;
    std::function<void(datakit::ScriptPackWriter&)> write;
    const char* script;
    const char* message;
  };
  auto raw = [](std::function<void(datakit::ByteWriter&)> body) {
    return [body](datakit::ScriptPackWriter& w) {
      datakit::ByteWriter b;
      body(b);
      w.RawMember("m", b);
    };
  };
  auto text = [](const char* t) { return [t](datakit::ScriptPackWriter& w) { w.Script("m", t); }; };
  const Case cases[] = {
      {"missing pack", text("RETURN\n"), "none.pbsc/m", "cannot be opened"},
      {"missing member", text("RETURN\n"), "t.pbsc/other", "no such member"},
      {"no slash", text("RETURN\n"), "t.pbsc", "no pack named"},
      {"no statement", raw([](auto& b) { b.U32(0); }), "t.pbsc/m", "has no statement"},
      {"statement count past the end", raw([](auto& b) { b.U32(0xFFFFFFFFu); }), "t.pbsc/m", "short read"},
      {"token count past the end", raw([](auto& b) { b.U32(1).U32(0x10000000u); }), "t.pbsc/m", "short read"},
      {"token length past the end", raw([](auto& b) { b.U32(1).U32(1).U32(4).U32(1000).Raw("abc", 3); }),
       "t.pbsc/m", "runs past the end"},
      {"second statement cut off", raw([](auto& b) {
         datakit::ScriptPackWriter::WriteStatement(b.U32(2), datakit::ParseScriptLine("RETURN"));
         b.U32(1).U32(1);
       }),
       "t.pbsc/m", "short read"},
      {"no rule: empty statement", raw([](auto& b) { b.U32(1).U32(0); }), "t.pbsc/m", "matches no statement"},
      {"no rule: ELSE with a value", text("ELSE 1\n"), "t.pbsc/m", "statement 1 matches no statement"},
      {"no rule: GOTO a number", text("GOTO 5\n"), "t.pbsc/m", "matches no statement"},
      {"no rule: unknown keyword", text("RETURN\n{1}LOOP\n"), "t.pbsc/m", "statement 2 matches no statement"},
      {"no rule: expression alone", text("$x + 1\n"), "t.pbsc/m", "matches no statement"},
      {"no rule: kind 8", text("{8}x\n"), "t.pbsc/m", "matches no statement"},
      {"IF", text("IF 1 +\nEND\n"), "t.pbsc/m", "(IF): the expression does not parse"},
      {"ELIF", text("IF 1\nELIF (\nEND\n"), "t.pbsc/m", "statement 2 (ELIF): the expression"},
      {"SWITCH", text("SWITCH \"a\"\nEND\n"), "t.pbsc/m", "(SWITCH): the expression"},
      {"CASE", text("SWITCH 1\nCASE 1 2\nEND\n"), "t.pbsc/m", "(CASE): the expression"},
      {"WHILE", text("WHILE {2}x\nEND\n"), "t.pbsc/m", "(WHILE): the expression"},
      {"TILL", text("REPEAT\nTILL )\n"), "t.pbsc/m", "(TILL): the expression"},
      {"UNTIL", text("REPEAT\nUNTIL * 1\n"), "t.pbsc/m", "(UNTIL): the expression"},
      {"assignment", text("$x = 1 1\n"), "t.pbsc/m", "(assignment): the expression"},
      {"END alone", text("END\n"), "t.pbsc/m", "statement 1 (END) has no matching opener"},
      {"ELIF alone", text("ELIF 1\n"), "t.pbsc/m", "(ELIF) has no matching opener"},
      {"ELSE alone", text("$x = 1\nELSE\n"), "t.pbsc/m", "statement 2 (ELSE) has no matching opener"},
      {"CASE alone", text("CASE 1\n"), "t.pbsc/m", "(CASE) has no matching opener"},
      {"TILL alone", text("TILL 1\n"), "t.pbsc/m", "(TILL) has no matching opener"},
      {"UNTIL alone", text("UNTIL 1\n"), "t.pbsc/m", "(UNTIL) has no matching opener"},
      {"END of a REPEAT", text("REPEAT\nEND\n"), "t.pbsc/m", "(END) has no matching opener"},
      {"CASE in an IF", text("IF 1\nCASE 1\nEND\n"), "t.pbsc/m", "(CASE) has no matching opener"},
      {"ELSE of a WHILE", text("WHILE 1\nELSE\nEND\n"), "t.pbsc/m", "(ELSE) has no matching opener"},
      {"UNTIL of an IF", text("IF 1\nUNTIL 1\n"), "t.pbsc/m", "(UNTIL) has no matching opener"},
      {"ELIF after ELSE", text("IF 1\nELSE\nELIF 1\nEND\n"), "t.pbsc/m", "(ELIF) has no matching opener"},
      {"second END", text("IF 1\nEND\nEND\n"), "t.pbsc/m", "statement 3 (END) has no matching opener"},
  };
  for (const Case& c : cases) {
    datakit::ScriptPackWriter w;
    c.write(w);
    w.Save(dir / "t.pbsc");
    std::string error = ErrorOf([&] { Engine().LoadScript(c.script); });
    EXPECT_NE(error.find(c.message), std::string::npos) << c.what << ": " << error;
    std::string pack, member;
    TScriptProgram::SplitName(c.script, pack, member);
    EXPECT_NE(error.find("script pack \"" + pack + "\" member \"" + member + "\""), std::string::npos)
        << c.what << ": " << error;
    EXPECT_EQ(Engine().QueueSize(), 0u) << c.what;
  }
}

TEST_F(ScriptProgram, AReturnWhoseValueDoesNotParseIsAPlainReturn) {
  EXPECT_EQ(RunMain("$_ = 5\nRETURN 1 +\n" + T(1)), TScriptEngine::kFinished);
  EXPECT_EQ(Global("$_"), 5);
  EXPECT_EQ(Trace(), 0);
}

TEST_F(ScriptProgram, AFinalCallGetsAReturnSoTheCallerEndsAfterTheCallee) {
  Pack({{"a", T(3)}, {"b", T(1) + "CALL @t.pbsc/c\n"}, {"c", T(2)}});
  Engine().LoadScript("t.pbsc/a");
  TScriptProgram& b = Engine().LoadScript("t.pbsc/b");
  ASSERT_EQ(b.StatementCount(), 3u);
  EXPECT_EQ(b.StatementAt(2)->GetKind(), Kind::Return);
  EXPECT_EQ(b.StatementAt(1)->GetNext(), b.StatementAt(2));
  // b, then its callee, then a, which was waiting below b: each once, in one Run.
  EXPECT_EQ(Engine().Run(), TScriptEngine::kFinished);
  EXPECT_EQ(Trace(), 123);
}

TEST_F(ScriptProgram, GotoJumpsForwardEndsAtAnUndefinedLabelAndTakesTheLastOfTwoLabels) {
  struct Case {
    std::string text;
    int32_t trace;
  } cases[] = {
      {T(1) + "GOTO :skip\n" + T(2) + ":skip\n" + T(3), 13},
      {T(1) + "GOTO :nowhere\n" + T(2), 1},
      {"GOTO :twice\n:twice\n" + T(1) + ":twice\n" + T(2), 2},
      // Backwards, as a loop.
      {"$n = 0\n:top\n$n = $n + 1\n" + T(1) + "IF $n < 3\nGOTO :top\nEND\n" + T(2), 1112},
  };
  for (const Case& c : cases) {
    Engine().Globals().Clear();
    EXPECT_EQ(RunMain(c.text), TScriptEngine::kFinished) << c.text;
    EXPECT_EQ(Trace(), c.trace) << c.text;
  }
}

TEST_F(ScriptProgram, TheSamplePackRuns) {
  datakit::SampleScriptPack().Save(dir / "data/scr03/03.pbsc");
  TScriptEngine::SetFolder(dir.path() + "/data/scr03/");
  Engine().LoadScript("03.pbsc/Sample00");
  EXPECT_EQ(Engine().Run(), TScriptEngine::kFinished);
  EXPECT_EQ(Global("$_"), 3);
  // The maps' scripts load too; with none of the objects they address they run through.
  for (const char* member : {"Villager00", "Villager01", "Villager02", "Villager03", "TownSign", "FieldMark",
                             "FieldStand", "FieldCount", "FieldBoss"}) {
    Engine().LoadScript(std::string("03.pbsc/") + member);
    EXPECT_EQ(Engine().Run(), TScriptEngine::kFinished) << member;
  }
}

}  // namespace
