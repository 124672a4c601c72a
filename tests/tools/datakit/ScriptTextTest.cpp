#include "tools/datakit/ScriptText.h"

#include <gtest/gtest.h>

#include <stdexcept>

#include "tools/datakit/ScriptPackWriter.h"

namespace {

using datakit::ScriptLine;
using datakit::ScriptToken;

TEST(ScriptText, TokenFormsGiveTheKinds) {
  struct Case {
    const char* text;
    ScriptLine tokens;
  } cases[] = {
      {"IF $x<3", {{1, "IF"}, {10, "$x"}, {5, "<"}, {2, "3"}}},
      {"-1", {{5, "-"}, {2, "1"}}},
      {"$a>=$b<<2", {{10, "$a"}, {5, ">="}, {10, "$b"}, {5, "<<"}, {2, "2"}}},
      {"( 0x1F )", {{5, "("}, {3, "1F"}, {5, ")"}}},
      {"\"a b\\\"c\" \"\"", {{4, "a b\"c"}, {4, ""}}},
      {"\"a\\nb\\\\n\"", {{4, "a\nb\\n"}}},
      {"CALL @@SendMsg \"Text\" 0", {{1, "CALL"}, {6, "@@SendMsg"}, {4, "Text"}, {2, "0"}}},
      {"CALL @03.pbsc/Sub-1", {{1, "CALL"}, {7, "@03.pbsc/Sub-1"}}},
      // A call passes its arguments as they are, so a negative number there is one token.
      {"CALL @@X -3 -0x1F $a-1", {{1, "CALL"}, {6, "@@X"}, {2, "-3"}, {3, "-1F"}, {10, "$a"}, {2, "-1"}}},
      {"local:$0 = aux:$a", {{11, "$0"}, {5, "="}, {9, "$a"}}},
      {"GOTO :top", {{1, "GOTO"}, {14, "top"}}},
      {"{12}$g {2}\"1 2\" {8}", {{12, "$g"}, {2, "1 2"}, {8, ""}}},
      {"  \t ", {}},
  };
  for (const Case& c : cases) EXPECT_EQ(datakit::ParseScriptLine(c.text), c.tokens) << c.text;
}

TEST(ScriptText, SkipsBlankAndCommentLinesAndRefusesMalformedText) {
  auto lines = datakit::ParseScriptText("# a comment\n\nRETURN\r\n  # indented comment\nEND");
  ASSERT_EQ(lines.size(), 2u);
  EXPECT_EQ(lines[1], (ScriptLine{{1, "END"}}));
  for (const char* bad : {"foo", "RETURN \"open", "{x}1", "{3", "return", "0x", "local:", ":", "CALL @@X -$a",
                          "CALL @@X - 3", "CALL @@X -"})
    EXPECT_THROW(datakit::ParseScriptLine(bad), std::runtime_error) << bad;
}

TEST(ScriptPackWriter, LaysOutTheDirectoryAndScramblesEachTokenByte) {
  datakit::ScriptPackWriter w;
  w.Member("ab", {{{4, "AA"}}}).Member("c", {});
  std::vector<uint8_t> expected = {
      2, 0, 0, 0,                          // members
      2, 0, 0, 0, 'a', 'b', 23, 0, 0, 0,   // "ab" at 23
      1, 0, 0, 0, 'c', 41, 0, 0, 0,        // "c" at 41
      1, 0, 0, 0,                          // "ab": one statement
      1, 0, 0, 0, 4, 0, 0, 0,              // one token, a string
      2, 0, 0, 0, 0xF5, 0xF5,              // "AA": every byte inverted and rotated by the same 3 bits
      0, 0, 0, 0,                          // "c": no statement
  };
  EXPECT_EQ(w.Build(), expected);
}

}  // namespace
