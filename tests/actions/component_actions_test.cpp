// Actions 21 to 23: container ID and JSON checks, and the assembled scripts run through
// ExecuteJavaScript.
#include "actions/component_scripts.h"
#include "browser_fixture.h"

using namespace browsertest;

namespace {

struct Component {
  const char* label;
  int action;
  const char* library;       // as the ID message names it
  const char* jsonRequired;  // message for a blank JSON; null: blank allowed
  std::wstring (*build)(const std::wstring& id, const std::wstring& json);
};
void PrintTo(const Component& c, std::ostream* os) { *os << c.label; }

const Component kTabulator{"Tabulator", 21, "Tabulator", "Tabulator configuration JSON is required.",
                           &BuildTabulatorScript};
const Component kQuill{"Quill", 22, "Quill", nullptr, &BuildQuillScript};
const Component kECharts{"ECharts", 23, "ECharts", "ECharts option JSON is required.", &BuildEChartsScript};

std::string IdMessage(const Component& c) {
  return std::string(c.library) + " container ID must contain only letters, digits, underscore, hyphen or colon.";
}

std::vector<std::wstring> ScriptsRun() { return engine::Client().ArgsOf(L"ExecuteScript", 1); }

class ComponentTest : public BrowserTest {
 protected:
  void ReadyRect1() { ASSERT_NO_FATAL_FAILURE(ReadyHost()); }
  int32_t Run(const Component& c, const std::wstring& name, const std::wstring& id, const std::wstring& json,
              const std::wstring& variable = L"") {
    return host->ExecW(c.action, {name, id, json, variable});
  }
  bool AnyErrorLine() const {
    for (const auto& t : LogTexts())
      if (t.rfind("ERROR: ", 0) == 0) return true;
    return false;
  }
};

class EachComponent : public ComponentTest, public ::testing::WithParamInterface<Component> {};

// ---- container IDs ----------------------------------------------------------------------------

struct IdCase {
  const char* label;
  std::wstring id;
  bool valid;
};

const IdCase kIds[] = {
    {"Hyphen", L"grid-1", true},
    {"Underscore", L"chart_2", true},
    {"Colon", L"ns:editor", true},
    {"Mixed", L"aZ09_-:", true},
    {"OneLetter", L"x", true},
    {"LongestAccepted", std::wstring(128, L'a'), true},
    {"OneTooLong", std::wstring(129, L'a'), false},
    {"Empty", L"", false},
    {"Blank", L"grid 1", false},
    {"LeadingBlank", L" grid1", false},
    {"TrailingBlank", L"grid1 ", false},
    {"Dot", L"grid.1", false},
    {"Slash", L"grid/1", false},
    {"Backslash", L"grid\\1", false},
    {"DoubleQuote", L"grid\"1", false},
    {"SingleQuote", L"grid'1", false},
    {"NonAscii", L"gr\u00fcn", false},
    {"Tab", L"grid\t1", false},
};

// IsValidContainerId itself, as a table.
TEST(ContainerId, FollowsTheRule) {
  for (const IdCase& c : kIds) EXPECT_EQ(IsValidContainerId(c.id), c.valid) << c.label;
}

// A refused ID reaches the dispatcher's guard: "[LastError]" without a log line, nothing run,
// and no Rectangle looked up (Rect9 has no browser host).
TEST_P(EachComponent, RefusedIdsFailBeforeTheRectangleWithoutALogLine) {
  const Component& c = GetParam();
  ReadyRect1();
  for (const IdCase& id : kIds) {
    if (id.valid) continue;
    for (const wchar_t* name : {L"Rect1", L"Rect9"}) {
      EXPECT_EQ(Run(c, name, id.id, L"{}"), 0) << id.label;
      EXPECT_EQ(LastError(), IdMessage(c)) << id.label;
    }
  }
  // The ID is checked before the JSON.
  EXPECT_EQ(Run(c, L"Rect1", L"a.b", L"  "), 0);
  EXPECT_EQ(LastError(), IdMessage(c));
  EXPECT_FALSE(AnyErrorLine());
  EXPECT_TRUE(ScriptsRun().empty());
}

TEST_P(EachComponent, AcceptedIdsRunTheAssembledScript) {
  const Component& c = GetParam();
  ReadyRect1();
  std::vector<std::wstring> expected;
  for (const IdCase& id : kIds) {
    if (!id.valid) continue;
    EXPECT_EQ(Run(c, L"Rect1", id.id, L"{\"a\":1}"), 1) << id.label;
    expected.push_back(c.build(id.id, L"{\"a\":1}"));
  }
  EXPECT_EQ(ScriptsRun(), expected);
  EXPECT_FALSE(host->HasVar("[LastError]"));
}

// ---- JSON -------------------------------------------------------------------------------------

TEST_P(EachComponent, BlankJsonIsRefusedOrGivesEmptyOptions) {
  const Component& c = GetParam();
  ReadyRect1();
  for (const std::wstring& blank : {std::wstring(L""), std::wstring(L"   "), std::wstring(L"\t\r\n")}) {
    if (c.jsonRequired) {
      EXPECT_EQ(Run(c, L"Rect9", L"box", blank), 0);
      EXPECT_EQ(LastError(), c.jsonRequired);
    } else {
      EXPECT_EQ(Run(c, L"Rect1", L"box", blank), 1);
    }
  }
  EXPECT_FALSE(AnyErrorLine());
  if (c.jsonRequired) {
    EXPECT_TRUE(ScriptsRun().empty());
  } else {
    const std::wstring script = c.build(L"box", L"");
    EXPECT_NE(script.find(L"var opts={};"), std::wstring::npos);
    EXPECT_EQ(ScriptsRun(), std::vector<std::wstring>(3, script));
  }
}

// The JSON goes in as passed, blanks included, and is not validated.
TEST_P(EachComponent, JsonIsInsertedUntrimmedAndUnparsed) {
  const Component& c = GetParam();
  ReadyRect1();
  const std::wstring json = L" {data:[1,2], oops: } ";
  EXPECT_EQ(Run(c, L"Rect1", L"ns:box", json), 1);
  ASSERT_EQ(ScriptsRun().size(), 1u);
  EXPECT_EQ(ScriptsRun()[0], c.build(L"ns:box", json));
  EXPECT_NE(ScriptsRun()[0].find(json), std::wstring::npos);
}

// ---- through ExecuteJavaScript ----------------------------------------------------------------

TEST_P(EachComponent, ResultReachesTheResultVariable) {
  const Component& c = GetParam();
  ReadyRect1();
  const std::wstring ok = std::wstring(L"\"OK:") + testhost::Widen(c.library) + L"\"";
  engine::Client().SetScriptResult(S_OK, ok.c_str());
  EXPECT_EQ(Run(c, L"Rect1", L"box", L"{}", L" Result "), 1);
  DrainPostedMessages();
  EXPECT_EQ(host->SetsOf("Result"), std::vector<std::string>{testhost::Utf8(ok)});
}

TEST_P(EachComponent, HostFailuresAreReportedByTheScriptAction) {
  const Component& c = GetParam();
  AddRectangle("Rect1");
  EXPECT_EQ(Run(c, L"Rect1", L"box", L"{}"), 0);
  EXPECT_EQ(LastError(), "No WebView2 instance is attached to \"Rect1\".");
  EXPECT_TRUE(LogHas("ERROR: No WebView2 instance is attached to \"Rect1\"."));
  ASSERT_EQ(Create(L"Rect1"), 1);
  EXPECT_EQ(Run(c, L"Rect1", L"box", L"{}", L"Result"), 0);
  EXPECT_EQ(LastError(), "WebView2 is still initializing; retry JavaScript after it is ready.");
  EXPECT_TRUE(LogHas("ERROR: WebView2 is still initializing; retry JavaScript after it is ready."));
  ASSERT_TRUE(WaitReady(1));
  EXPECT_TRUE(ScriptsRun().empty());
  EXPECT_FALSE(host->HasVar("Result"));
}

INSTANTIATE_TEST_SUITE_P(Components, EachComponent, ::testing::Values(kTabulator, kQuill, kECharts),
                         [](const ::testing::TestParamInfo<Component>& info) { return std::string(info.param.label); });

}  // namespace
