// Actions 4, 6, 7, 8, 19 and 20: running JavaScript with its result in a host variable,
// posting to the page, and configuring where page messages, events and console output go.
#include "host_output_fixture.h"

using namespace browsertest;

namespace {
// The texts of the ExecuteScript calls webview 1 received.
std::vector<std::wstring> ScriptsRun() { return engine::Client().ArgsOf(L"ExecuteScript", 1); }
}  // namespace

// ---- ExecuteJS ---------------------------------------------------------------------------------

namespace {
struct ResultCase {
  const char* label;
  HRESULT hr;
  const wchar_t* json;  // as the engine delivers it
  std::string written;
};
void PrintTo(const ResultCase& c, std::ostream* os) { *os << c.label; }
class ScriptResult : public HostOutputTest, public ::testing::WithParamInterface<ResultCase> {};
}  // namespace

TEST_P(ScriptResult, IsWrittenToTheTrimmedResultVariable) {
  const ResultCase& c = GetParam();
  ReadyHost();
  Engine().SetScriptResult(c.hr, c.json);
  const size_t mark = Mark();
  const size_t logMark = LogTexts().size();
  ASSERT_EQ(ExecJS(L"Rect1", L"  document.title = 'x'; 'OK'\r\n", L" \t[Result] "), 1);
  EXPECT_EQ(ScriptsRun(), std::vector<std::wstring>{L"  document.title = 'x'; 'OK'\r\n"});
  DrainPostedMessages();
  EXPECT_EQ(HostOutput(mark), std::vector<std::string>{"set [Result]=" + c.written});
  EXPECT_TRUE(LogSince(logMark).empty());
}

INSTANTIATE_TEST_SUITE_P(
    Scripts, ScriptResult,
    ::testing::Values(ResultCase{"StringResult", S_OK, L"\"OK\"", "\"OK\""},
                      ResultCase{"ObjectResult", S_OK, L"{\"a\":[1,null,\"b\"]}", "{\"a\":[1,null,\"b\"]}"},
                      ResultCase{"NullResult", S_OK, L"null", "null"},
                      ResultCase{"FailedWithEFail", E_FAIL, nullptr,
                                 "{\"error\":\"JavaScript execution failed\",\"hresult\":\"80004005\"}"},
                      ResultCase{"FailedWithLeadingZeros", static_cast<HRESULT>(0x8000000E), L"ignored",
                                 "{\"error\":\"JavaScript execution failed\",\"hresult\":\"8000000E\"}"}),
    [](const ::testing::TestParamInfo<ResultCase>& info) { return std::string(info.param.label); });

TEST_F(HostOutputTest, ScriptWithoutAResultVariableRunsAndWritesNothing) {
  ReadyHost();
  Engine().SetScriptResult(S_OK, L"\"OK\"");
  const size_t mark = Mark();
  for (const wchar_t* blank : {L"", L"   ", L"\t\r\n"}) ASSERT_EQ(ExecJS(L"Rect1", L"1+1", blank), 1);
  DrainPostedMessages();
  EXPECT_EQ(ScriptsRun().size(), 3u);
  EXPECT_TRUE(HostOutput(mark).empty());
}

TEST_F(HostOutputTest, ScriptsInFlightTogetherEachLandInTheirOwnVariable) {
  ReadyHost();
  Engine().SetManualScripts(true);
  // Completion orders: the later script first, then the earlier; and in call order.
  for (const bool laterFirst : {true, false}) {
    SCOPED_TRACE(laterFirst ? "later first" : "in order");
    host->variables.clear();
    const size_t mark = Mark();
    ASSERT_EQ(ExecJS(L"Rect1", L"first()", L"[A]"), 1);
    ASSERT_EQ(ExecJS(L"Rect1", L"nothing()", L""), 1);
    ASSERT_EQ(ExecJS(L"Rect1", L"second()", L"[B]"), 1);
    ASSERT_EQ(Engine().PendingScriptCount(), 3);
    if (laterFirst) {
      ASSERT_TRUE(Engine().CompleteScript(2, S_OK, L"\"second\""));
      ASSERT_TRUE(Engine().CompleteScript(1, S_OK, L"\"nothing\""));
      ASSERT_TRUE(Engine().CompleteScript(0, E_FAIL, nullptr));
    } else {
      ASSERT_TRUE(Engine().CompleteScript(0, E_FAIL, nullptr));
      ASSERT_TRUE(Engine().CompleteScript(0, S_OK, L"\"nothing\""));
      ASSERT_TRUE(Engine().CompleteScript(0, S_OK, L"\"second\""));
    }
    DrainPostedMessages();
    const std::string failed = "{\"error\":\"JavaScript execution failed\",\"hresult\":\"80004005\"}";
    const std::vector<std::string> expected = laterFirst
                                                  ? std::vector<std::string>{"set [B]=\"second\"", "set [A]=" + failed}
                                                  : std::vector<std::string>{"set [A]=" + failed, "set [B]=\"second\""};
    EXPECT_EQ(HostOutput(mark), expected);
  }
}

TEST_F(HostOutputTest, ScriptCompletingAfterItsHostWasDestroyedWritesNothing) {
  ReadyHost();
  Engine().SetManualScripts(true);
  ASSERT_EQ(ExecJS(L"Rect1", L"slow()", L"[Late]"), 1);
  ASSERT_EQ(Destroy(L"Rect1"), 1);
  ASSERT_TRUE(Engine().CompleteScript(0, S_OK, L"1"));
  DrainPostedMessages();
  EXPECT_FALSE(host->HasVar("[Late]"));
  EXPECT_EQ(engine::LiveObjects(), 0);
}

TEST_F(HostOutputTest, ScriptBeforeReadinessFailsAndRemembersNoVariable) {
  AddRectangle("Rect1");
  ASSERT_EQ(Create(L"Rect1"), 1);
  EXPECT_EQ(ExecJS(L"Rect1", L"early()", L"[Early]"), 0);
  EXPECT_EQ(LastError(), "WebView2 is still initializing; retry JavaScript after it is ready.");
  EXPECT_TRUE(LogHas("ERROR: WebView2 is still initializing; retry JavaScript after it is ready."));
  ASSERT_TRUE(WaitReady(1));
  EXPECT_TRUE(ScriptsRun().empty());
  // A later script without a variable does not write the refused call's variable.
  ASSERT_EQ(ExecJS(L"Rect1", L"later()", L""), 1);
  DrainPostedMessages();
  EXPECT_FALSE(host->HasVar("[Early]"));
}

// ---- PostMessage ---------------------------------------------------------------------------------

TEST_F(HostOutputTest, PostMessageNeedsAReadyHostAndPassesTheTextUnchanged) {
  AddRectangle("Rect1");
  ASSERT_EQ(Create(L"Rect1"), 1);
  EXPECT_EQ(PostMessageToPage(L"Rect1", L"too early"), 0);
  EXPECT_EQ(LastError(), "WebView2 is still initializing; cannot post a message yet.");
  ASSERT_TRUE(WaitReady(1));
  const size_t logMark = LogTexts().size();
  EXPECT_EQ(PostMessageToPage(L"rect1", L" {\"to\":\"page\"} "), 1);
  EXPECT_EQ(PostMessageToPage(L"Rect1", L""), 1);
  EXPECT_EQ(Engine().ArgsOf(L"PostWebMessageAsString", 1), (std::vector<std::wstring>{L" {\"to\":\"page\"} ", L""}));
  EXPECT_TRUE(LogSince(logMark).empty());
}

// ---- lookup ----------------------------------------------------------------------------------------

namespace {
struct LookupCase {
  const char* label;
  int action;
  std::vector<std::wstring> params;
};
void PrintTo(const LookupCase& c, std::ostream* os) { *os << c.label; }
class ScriptActionLookup : public HostOutputTest, public ::testing::WithParamInterface<LookupCase> {};
}  // namespace

TEST_P(ScriptActionLookup, FailsForARectangleWithoutHost) {
  const LookupCase& c = GetParam();
  ReadyHost();
  EXPECT_EQ(host->ExecW(c.action, c.params), 0);
  EXPECT_EQ(LastError(), "No WebView2 instance is attached to \" Rect1\".");
  EXPECT_TRUE(LogHas("ERROR: No WebView2 instance is attached to \" Rect1\"."));
}

INSTANTIATE_TEST_SUITE_P(
    Scripts, ScriptActionLookup,
    ::testing::Values(LookupCase{"ExecuteJS", 4, {L" Rect1", L"1", L"[R]"}},
                      LookupCase{"Bridge", 6, {L" Rect1", L"[M]", L"S"}},
                      LookupCase{"PostMessage", 7, {L" Rect1", L"m"}},
                      LookupCase{"OnEvent", 8, {L" Rect1", L"TitleChanged", L"[E]", L"S"}},
                      LookupCase{"OnEventWithABadEventName", 8, {L" Rect1", L"Nope", L"[E]", L"S"}},
                      LookupCase{"DebugConsole", 19, {L" Rect1", L"[C]", L"S"}},
                      LookupCase{"DebugClear", 20, {L" Rect1"}}),
    [](const ::testing::TestParamInfo<LookupCase>& info) { return std::string(info.param.label); });

// ---- configuration -----------------------------------------------------------------------------------

TEST_F(HostOutputTest, BridgeEventsAndConsoleCanBeConfiguredBeforeReadiness) {
  AddRectangle("Rect1");
  ASSERT_EQ(Create(L"Rect1"), 1);
  ASSERT_EQ(Bridge(L"Rect1", L"[Msg]", L"BridgeScript"), 1);
  ASSERT_EQ(OnEvent(L"Rect1", L"NavigationStarting", L"[Ev]", L"EventScript"), 1);
  ASSERT_EQ(DebugConsole(L"Rect1", L"[Console]", L"ConsoleScript"), 1);
  ASSERT_EQ(DebugClear(L"Rect1"), 1);
  EXPECT_FALSE(host->HasVar("[LastError]"));
  ASSERT_TRUE(WaitReady(1));
  const size_t mark = Mark();

  Engine().FireNavigationStarting(1, L"https://n.example/");
  Engine().PostWebMessage(1, L"m");
  Engine().PostWebMessage(1, L"__TAMREL_CONSOLE__c");
  DrainPostedMessages();
  EXPECT_EQ(HostOutput(mark),
            (std::vector<std::string>{"set [WebEventName]=NavigationStarting", "set [WebEventData]=https://n.example/",
                                      "set [Ev]=https://n.example/", "run EventScript", "set [Msg]=m",
                                      "run BridgeScript", "set [Console]=c", "run ConsoleScript"}));
}

TEST_F(HostOutputTest, ConfigurationIsLoggedForBridgeAndEventsOnly) {
  ReadyHost();
  size_t logMark = LogTexts().size();
  ASSERT_EQ(Bridge(L"RECT1", L"  [Msg]\t", L"S"), 1);
  ASSERT_EQ(OnEvent(L"rect1", L" titlechanged ", L" [Ev] ", L"S"), 1);
  EXPECT_EQ(LogSince(logMark),
            (std::vector<std::string>{"JavaScript bridge configured for Rectangle \"RECT1\"; variable=\"[Msg]\"",
                                      "Event handler configured: Rectangle=\"rect1\"; Event=\"titlechanged\"; "
                                      "Variable=\"[Ev]\""}));

  logMark = LogTexts().size();
  ASSERT_EQ(DebugConsole(L"Rect1", L"[Console]", L"S"), 1);
  ASSERT_EQ(DebugClear(L"Rect1"), 1);
  ASSERT_EQ(PostMessageToPage(L"Rect1", L"m"), 1);
  ASSERT_EQ(ExecJS(L"Rect1", L"1", L"[R]"), 1);
  DrainPostedMessages();
  EXPECT_TRUE(LogSince(logMark).empty());
}

TEST_F(HostOutputTest, UnsupportedEventNameKeepsTheEarlierConfiguration) {
  ReadyHost();
  ASSERT_EQ(OnEvent(L"Rect1", L"TitleChanged", L"[Ev]", L"TitleScript"), 1);
  const size_t logMark = LogTexts().size();
  for (const wchar_t* bad : {L" DocumentTitleChanged ", L"", L"Title Changed", L"NavigationStarting2"}) {
    EXPECT_EQ(OnEvent(L"Rect1", bad, L"[Other]", L"OtherScript"), 0) << testhost::Utf8(bad);
  }
  EXPECT_EQ(LastError(), "Unsupported browser event: NavigationStarting2");
  EXPECT_TRUE(InOrder(LogSince(logMark), {"ERROR: Unsupported browser event: DocumentTitleChanged",
                                          "ERROR: Unsupported browser event: "}));
  const size_t mark = Mark();
  Engine().SetTitle(1, L"T");
  Engine().FireDocumentTitleChanged(1);
  DrainPostedMessages();
  EXPECT_EQ(HostOutput(mark), (std::vector<std::string>{"set [WebEventName]=TitleChanged", "set [WebEventData]=T",
                                                        "set [Ev]=T", "run TitleScript"}));
}

TEST_F(HostOutputTest, ALaterEventConfigurationReplacesTheEarlierOne) {
  ReadyHost();
  ASSERT_EQ(OnEvent(L"Rect1", L"NavigationCompleted", L"[Ev]", L"CompletedScript"), 1);
  ASSERT_EQ(OnEvent(L"Rect1", L"SOURCECHANGED", L"[Ev2]", L"SourceScript"), 1);
  Engine().SetSource(1, L"https://s.example/");
  const size_t mark = Mark();
  Engine().FireNavigationCompleted(1, true);
  Engine().FireSourceChanged(1, false);
  DrainPostedMessages();
  EXPECT_EQ(HostOutput(mark),
            (std::vector<std::string>{"set [WebEventName]=NavigationCompleted",
                                      "set [WebEventData]=Success=True; WebErrorStatus=0; URL=https://s.example/",
                                      "set [Ev2]=Success=True; WebErrorStatus=0; URL=https://s.example/",
                                      "set [WebEventName]=SourceChanged",
                                      "set [WebEventData]=IsNewDocument=False; URL=https://s.example/",
                                      "set [Ev2]=IsNewDocument=False; URL=https://s.example/", "run SourceScript"}));
}

TEST_F(HostOutputTest, EmptySettingsSwitchTheirOutputOff) {
  ReadyHost();
  ASSERT_EQ(Bridge(L"Rect1", L"[Msg]", L"BridgeScript"), 1);
  ASSERT_EQ(Bridge(L"Rect1", L"  ", L"BridgeScript"), 1);
  ASSERT_EQ(DebugConsole(L"Rect1", L"[Console]", L"ConsoleScript"), 1);
  ASSERT_EQ(DebugConsole(L"Rect1", L"[Console]", L""), 1);
  const size_t mark = Mark();
  Engine().PostWebMessage(1, L"m");
  Engine().PostWebMessage(1, L"__TAMREL_CONSOLE__c");
  DrainPostedMessages();
  EXPECT_EQ(HostOutput(mark), (std::vector<std::string>{"run BridgeScript", "set [Console]=c"}));
}

TEST_F(HostOutputTest, DebugClearEmptiesTheConsoleVariableAndKeepsTheConfiguration) {
  ReadyHost();
  size_t mark = Mark();
  EXPECT_EQ(DebugClear(L"Rect1"), 1);  // never configured: nothing to write
  EXPECT_TRUE(HostOutput(mark).empty());

  ASSERT_EQ(DebugConsole(L"Rect1", L" [Console] ", L"ConsoleScript"), 1);
  Engine().PostWebMessage(1, L"__TAMREL_CONSOLE__one");
  DrainPostedMessages();
  mark = Mark();
  EXPECT_EQ(DebugClear(L"rect1"), 1);
  Engine().PostWebMessage(1, L"__TAMREL_CONSOLE__two");
  DrainPostedMessages();
  EXPECT_EQ(HostOutput(mark), (std::vector<std::string>{"set [Console]=", "set [Console]=two", "run ConsoleScript"}));
}
