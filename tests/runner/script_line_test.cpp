// How one line of an action script is read: names, quoted and bare parameters, doubled
// quotes, comments, labels, and the lines that are not script lines.
#include <gtest/gtest.h>
#include "script_line.h"

namespace runner {
namespace {

struct GoodLine {
  const char* text;
  LineKind kind;
  const char* name;
  std::vector<std::string> params;
};

TEST(ScriptLine, ReadsLinesAsTheHostWritesThem) {
  const GoodLine cases[] = {
      {"", LineKind::Blank, "", {}},
      {"   \t ", LineKind::Blank, "", {}},
      {". a comment with \"quotes\"", LineKind::Comment, "", {}},
      {"   .indented comment", LineKind::Comment, "", {}},
      {":Startup", LineKind::Label, "Startup", {}},
      {"  :On_Answer2  ", LineKind::Label, "On_Answer2", {}},
      {"zkTamrelBack \"Dash\"", LineKind::Action, "zkTamrelBack", {"Dash"}},
      {"zkTamrelCreate \"Dash\" \"\"", LineKind::Action, "zkTamrelCreate", {"Dash", ""}},
      {"  zkTamrelCreate   \"My Rect\"\t\"about:blank\"  ",
       LineKind::Action,
       "zkTamrelCreate",
       {"My Rect", "about:blank"}},
      {"Delay 200", LineKind::Action, "Delay", {"200"}},
      {"Rectangle \"Dash\" 0 10 640 480", LineKind::Action, "Rectangle", {"Dash", "0", "10", "640", "480"}},
      {"SetVar \"[q]\" \"say \"\"hi\"\"\"", LineKind::Action, "SetVar", {"[q]", "say \"hi\""}},
      {"SetVar \"[q]\" \"\"\"\"", LineKind::Action, "SetVar", {"[q]", "\""}},
      {"X \"a [b] . : c\"", LineKind::Action, "X", {"a [b] . : c"}},
      {"NoParams", LineKind::Action, "NoParams", {}},
      {"SetVar \"[v]\" \"text\"\r", LineKind::Action, "SetVar", {"[v]", "text"}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.text);
    const ParsedLine line = ParseLine(c.text);
    EXPECT_EQ(line.kind, c.kind) << line.error;
    EXPECT_EQ(line.name, c.name);
    EXPECT_EQ(line.params, c.params);
  }
}

TEST(ScriptLine, RejectsWhatIsNotAScriptLine) {
  const struct {
    const char* text;
    const char* message;
  } cases[] = {
      {"zkTamrelCreate \"Dash", "parameter 1 has no closing double quote"},
      {"zkTamrelCreate \"Dash\" \"x", "parameter 2 has no closing double quote"},
      {"SetVar \"[a]\"\"b\"x", "parameter 1 is followed by text after its closing double quote"},
      {"SetVar \"[a]\"x", "parameter 1 is followed by text after its closing double quote"},
      {"SetVar [a]\"b\"", "parameter 1 has a double quote inside a word"},
      {"\"quoted\" name", "an action name must begin with a letter"},
      {"1Action", "an action name must begin with a letter"},
      {"Set-Var \"a\"", "an action name may hold only letters, digits and underscores"},
      {":", "a label needs a name after the colon"},
      {": Startup", "a label needs a name after the colon"},
      {":Start up", "a label name may hold only letters, digits and underscores"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.text);
    const ParsedLine line = ParseLine(c.text);
    EXPECT_EQ(line.kind, LineKind::Error);
    EXPECT_NE(line.error.find(c.message), std::string::npos) << line.error;
  }
}

TEST(ScriptLine, FormatsLinesBackSoThatTheyReadTheSame) {
  const std::vector<std::vector<std::string>> cases = {
      {}, {""}, {"Dash", "about:blank"}, {"[q]", "say \"hi\""}, {"\""}, {"a  b", "{'x':[1,2]}"}};
  for (const auto& params : cases) {
    const std::string text = FormatLine("Act", params);
    SCOPED_TRACE(text);
    const ParsedLine line = ParseLine(text);
    EXPECT_EQ(line.kind, LineKind::Action);
    EXPECT_EQ(line.params, params);
  }
}

}  // namespace
}  // namespace runner
