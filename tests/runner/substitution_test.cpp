// Variable references in parameters: "[Name]" and "[#nn]" are replaced once; other brackets,
// JSON arrays and JavaScript indexes with digits stay as written.
#include <gtest/gtest.h>
#include "substitution.h"
#include "variables.h"

namespace runner {
namespace {

TEST(Substitution, ReplacesVariablesAndCharacterCodesOnly) {
  Variables v;
  v.Set("[Name]", "Dash");
  v.Set("Count", "3");
  v.Set("[A.b_1]", "dotted");
  v.Set("[Tricky]", "[Name]");
  v.Set("[Empty]", "");
  const struct {
    const char* text;
    const char* expected;
  } cases[] = {
      {"plain text", "plain text"},
      {"[Name]", "Dash"},
      {"[name] and [NAME]", "Dash and Dash"},
      {"x[Count]y", "x3y"},
      {"[A.b_1]", "dotted"},
      {"[Unset]", ""},
      {"<[Empty]>", "<>"},
      {"[Tricky]", "[Name]"},  // a value is not scanned again
      {"[1,2,3]", "[1,2,3]"},
      {"[\"a\",\"b\"]", "[\"a\",\"b\"]"},
      {"list[0]", "list[0]"},
      {"[ Name]", "[ Name]"},
      {"[Name", "[Name"},
      {"[]", "[]"},
      {"[[Name]]", "[Dash]"},
      {"[#34]quoted[#34]", "\"quoted\""},
      {"[#65][#66]", "AB"},
      {"[#233]", "\xC3\xA9"},  // code 233 of code page 1252 is e with an acute accent
      {"[#0]", "[#0]"},
      {"[#256]", "[#256]"},
      {"[#]", "[#]"},
      {"[#3x]", "[#3x]"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.text);
    EXPECT_EQ(Substitute(c.text, v), c.expected);
  }
}

TEST(Variables, NamesWithOrWithoutBracketsAndInAnyCaseAreOneVariable) {
  Variables v;
  v.Set("[Answer]", "1");
  EXPECT_EQ(v.Value("answer"), "1");
  EXPECT_EQ(v.Value(" [ANSWER] "), "1");
  v.Set("ANSWER", "2");
  EXPECT_EQ(v.Value("[Answer]"), "2");
  EXPECT_FALSE(v.Get("[Other]").has_value());
  v.Set("[Other]", "");
  EXPECT_TRUE(v.Get("[Other]").has_value());
  EXPECT_EQ(VariableKey("[]"), "");
  EXPECT_EQ(VariableKey("[x"), "[X");
}

}  // namespace
}  // namespace runner
