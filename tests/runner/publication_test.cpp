// Publication files: the header lines, the scripts under their labels, and every file that
// cannot run, each with its line number; then the checks of script lines against a catalogue.
#include <gtest/gtest.h>
#include "catalogue.h"
#include "publication.h"
#include "run_publication.h"

namespace runner {
namespace {

TEST(Publication, ReadsWindowRectanglesAndScripts) {
  const std::string text =
      "\xEF\xBB\xBF. Sales dashboard\r\n"
      "Window \"Sales dashboard\" 1000 700\r\n"
      "Rectangle \"Dash\" 0 40 1000 660\r\n"
      "Rectangle \"Side\" 10 0 200 40\n"
      "\n"
      ":Startup\n"
      "zkTamrelCreate \"Dash\" \"\"\n"
      ". comment inside a script\n"
      "GoSub \"OnAnswer\"\n"
      ":OnAnswer\n"
      "SetVar \"[x]\" \"1\"";
  Publication p;
  std::string error;
  ASSERT_TRUE(ParsePublication(text, p, error)) << error;
  EXPECT_EQ(p.title, "Sales dashboard");
  EXPECT_EQ(p.width, 1000);
  EXPECT_EQ(p.height, 700);
  ASSERT_EQ(p.rectangles.size(), 2u);
  EXPECT_EQ(p.rectangles[0].name, "Dash");
  EXPECT_EQ(p.rectangles[0].top, 40);
  EXPECT_EQ(p.rectangles[0].height, 660);
  EXPECT_EQ(p.rectangles[1].left, 10);
  ASSERT_EQ(p.scripts.size(), 2u);
  const auto& startup = p.scripts.at("STARTUP");
  ASSERT_EQ(startup.size(), 2u);
  EXPECT_EQ(startup[0].line, 7);
  EXPECT_EQ(startup[0].name, "zkTamrelCreate");
  EXPECT_EQ(startup[1].line, 9);
  ASSERT_EQ(p.scripts.at("ONANSWER").size(), 1u);
  EXPECT_EQ(p.scripts.at("ONANSWER")[0].line, 11);
  EXPECT_EQ(FindRectangle(p, "dash"), &p.rectangles[0]);
  EXPECT_EQ(FindRectangle(p, "Dash "), nullptr);
}

TEST(Publication, FilesThatCannotRunSayWhereAndWhy) {
  const struct {
    const char* text;
    const char* message;
  } cases[] = {
      {"Window \"t\" 10 10\n", "the publication has no :Startup label"},
      {":Startup\nzkTamrelCreate \"Dash\n", "line 2: syntax error: parameter 1 has no closing double quote"},
      {"Window \"t\" 10\n:Startup\n", "line 1: Window takes 3 parameters"},
      {"Window \"t\" 0 10\n:Startup\n", "line 1: Window width and height must be whole numbers above 0"},
      {"Window \"t\" 10px 10\n:Startup\n", "line 1: Window width and height"},
      {"Rectangle \"R\" 0 0 10\n:Startup\n", "line 1: Rectangle takes 5 parameters"},
      {"Rectangle \"R\" 0 0 10 -5\n:Startup\n", "line 1: Rectangle position and size"},
      {"Rectangle \" \" 0 0 10 10\n:Startup\n", "line 1: a Rectangle needs a name"},
      {"Rectangle \"R\" 0 0 1 1\nRectangle \"r\" 0 0 1 1\n:Startup\n", "line 2: Rectangle \"r\" is defined twice"},
      {"zkTamrelCreate \"R\" \"\"\n:Startup\n", "line 1: only Window and Rectangle lines may come before"},
      {":Startup\n:Other\n:startup\n", "line 3: the label :startup is used twice"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.text);
    Publication p;
    std::string error;
    EXPECT_FALSE(ParsePublication(c.text, p, error));
    EXPECT_NE(error.find(c.message), std::string::npos) << error;
  }
}

TEST(Publication, ScriptsHandedOverAtRunTimeAreReadLineByLine) {
  std::vector<ScriptStep> steps;
  std::string error;
  ASSERT_TRUE(ParseScriptText("SetVar \"[a]\" \"1\"\r\n\r\n. note\nGoSub \"X\"", steps, error)) << error;
  ASSERT_EQ(steps.size(), 2u);
  EXPECT_EQ(steps[0].name, "SetVar");
  EXPECT_EQ(steps[1].line, 4);
  EXPECT_FALSE(ParseScriptText("SetVar \"[a]\" \"1\"\n:Label", steps, error));
  EXPECT_NE(error.find("line 2: a label cannot stand"), std::string::npos) << error;
  EXPECT_FALSE(ParseScriptText("SetVar \"[a]", steps, error));
  EXPECT_NE(error.find("line 1: syntax error"), std::string::npos) << error;
}

class CheckStepTest : public ::testing::Test {
 protected:
  void SetUp() override {
    std::string error;
    ASSERT_TRUE(ParsePublication("Rectangle \"Dash\" 0 0 10 10\n:Startup\n:Sub\n", publication, error)) << error;
    catalogue.Add(0, "Initiation", 0, {0});
    catalogue.Add(1, "zkTamrelCreate", 2, {8, 1});
    catalogue.Add(4, "zkTamrelExecuteJS", 3, {8, 1, 6});
    catalogue.Add(24, "tamrelPrepareAssets", 2, {1, 6});
  }
  std::string Check(const std::string& name, const std::vector<std::string>& params) {
    return CheckStep(ScriptStep{1, name, params}, catalogue, publication);
  }
  Publication publication;
  Catalogue catalogue;
};

TEST_F(CheckStepTest, KnownActionsWithTheirCountsAndRectanglesPass) {
  EXPECT_EQ(catalogue.ActionCount(), 3);
  EXPECT_EQ(catalogue.GroupCount(), 1);
  EXPECT_EQ(Check("zkTamrelCreate", {"Dash", ""}), "");
  EXPECT_EQ(Check("ZKTAMRELCREATE", {"dash", "x"}), "");
  EXPECT_EQ(Check("zkTamrelCreate", {"[WhichRect]", ""}), "");  // checked when it runs
  EXPECT_EQ(Check("tamrelPrepareAssets", {"ALL", ""}), "");
  EXPECT_EQ(Check("SetVar", {"[a]", "b"}), "");
  EXPECT_EQ(Check("GoSub", {"sub"}), "");
  EXPECT_EQ(Check("Screenshot", {"Dash", "a.png"}), "");
}

TEST_F(CheckStepTest, UnknownActionsWrongCountsAndUnknownRectanglesAreNamed) {
  const struct {
    const char* name;
    std::vector<std::string> params;
    const char* message;
  } cases[] = {
      {"zkTamrelCreat", {"Dash", ""}, "unknown action \"zkTamrelCreat\""},
      {"zkTamrelCreate", {"Dash"}, "zkTamrelCreate takes 2 parameters, not 1"},
      {"zkTamrelExecuteJS", {"Dash", "1", "[r]", "x"}, "zkTamrelExecuteJS takes 3 parameters, not 4"},
      {"zkTamrelCreate", {"Nowhere", ""}, "unknown Rectangle \"Nowhere\": the publication defines only \"Dash\""},
      {"zkTamrelExecuteJS", {"Dash ", "1", ""}, "unknown Rectangle \"Dash \""},
      {"Screenshot", {"Side", "a.png"}, "unknown Rectangle \"Side\""},
      {"SetVar", {"[a]"}, "SetVar takes 2 parameters, not 1: SetVar \"[variable]\" \"text\""},
      {"Delay", {}, "Delay takes 1 parameter, not 0"},
      {"WaitFor", {"[a]"}, "WaitFor takes 2 parameters, not 1"},
      {"Expect", {"[a]", "b", "c"}, "Expect takes 2 parameters, not 3"},
      {"GoSub", {"Missing"}, "GoSub to a label the publication does not have: :Missing"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.message);
    const std::string problem = Check(c.name, c.params);
    EXPECT_NE(problem.find(c.message), std::string::npos) << problem;
  }
}

TEST(Expect, StarsStandForAnyRunOfCharacters) {
  const struct {
    const char* actual;
    const char* expected;
    bool match;
  } cases[] = {
      {"150", "150", true},
      {"150", "15", false},
      {"15", "150", false},
      {"", "", true},
      {"", "*", true},
      {"x", "", false},
      {"file:///Z:/a/b/index.html", "file:///*/b/index.html", true},
      {"file:///Z:/a/b/index.htm", "file:///*/b/index.html", false},
      {"\"OK:Tabulator\"", "\"OK:*\"", true},
      {"abcabcX", "*abcX", true},
      {"abab", "a*b*b", true},
      {"aXb", "a*c", false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string(c.actual) + " vs " + c.expected);
    EXPECT_EQ(MatchesExpected(c.actual, c.expected), c.match);
  }
}

}  // namespace
}  // namespace runner
