// The six browser events on their way to the host: the log line, "[WebEventName]",
// "[WebEventData]", the configured event variable, and the action script of the configured event.
#include <functional>
#include "host_output_fixture.h"

using namespace browsertest;

namespace {
struct EventCase {
  const char* label;
  std::function<void(EngineClient&)> fire;  // sets the page state and fires on webview 1
  std::string name;                         // as forwarded
  std::string details;
};
void PrintTo(const EventCase& c, std::ostream* os) { *os << c.label; }

class BrowserEvent : public HostOutputTest, public ::testing::WithParamInterface<EventCase> {};

const wchar_t kLongUrl[] = L"https://done.example/path?q=1&r=two#frag";
}  // namespace

TEST_P(BrowserEvent, IsLoggedAndWrittenToItsVariables) {
  const EventCase& c = GetParam();
  ReadyHost();
  // Configured for another event: the variable still receives every event, the script does not run.
  const std::string other = c.name == "ProcessFailed" ? "SourceChanged" : "ProcessFailed";
  ASSERT_EQ(OnEvent(L"Rect1", testhost::Widen(other), L"  [EventDetails]\t", L"OtherScript"), 1);
  const size_t mark = Mark();
  const size_t logMark = LogTexts().size();

  c.fire(Engine());
  DrainPostedMessages();

  EXPECT_EQ(HostOutput(mark),
            (std::vector<std::string>{"set [WebEventName]=" + c.name, "set [WebEventData]=" + c.details,
                                      "set [EventDetails]=" + c.details}));
  EXPECT_EQ(LogSince(logMark), std::vector<std::string>{"Browser event: " + c.name + " | " + c.details});
}

INSTANTIATE_TEST_SUITE_P(
    Events, BrowserEvent,
    ::testing::Values(
        EventCase{"NavigationStarting",
                  [](EngineClient& e) { e.FireNavigationStarting(1, L"https://start.example/a?b=1"); },
                  "NavigationStarting", "https://start.example/a?b=1"},
        EventCase{"NavigationStartingWithoutUri", [](EngineClient& e) { e.FireNavigationStarting(1, nullptr); },
                  "NavigationStarting", ""},
        EventCase{"NavigationCompleted",
                  [](EngineClient& e) {
                    e.SetSource(1, kLongUrl);
                    e.FireNavigationCompleted(1, true, 0);
                  },
                  "NavigationCompleted",
                  "Success=True; WebErrorStatus=0; URL=https://done.example/path?q=1&r=two#frag"},
        EventCase{"NavigationFailedOnBlankPage",
                  [](EngineClient& e) {
                    e.SetSource(1, L"About:Blank");
                    e.FireNavigationCompleted(1, false, 12);
                  },
                  "NavigationCompleted", "Success=False; WebErrorStatus=12; URL="},
        EventCase{"ContentLoadingWithA64BitId",
                  [](EngineClient& e) {
                    e.SetSource(1, L"https://load.example/");
                    e.FireContentLoading(1, true, 0xFFFFFFFFFFFFFFFEull);
                  },
                  "ContentLoading", "IsErrorPage=True; NavigationID=18446744073709551614; URL=https://load.example/"},
        EventCase{"ContentLoadingAboveThirtyTwoBits",
                  [](EngineClient& e) {
                    e.SetSource(1, L"about:blank");
                    e.FireContentLoading(1, false, 0x100000001ull);
                  },
                  "ContentLoading", "IsErrorPage=False; NavigationID=4294967297; URL="},
        EventCase{"TitleChanged",
                  [](EngineClient& e) {
                    e.SetTitle(1, L"Quarterly report | 2024");
                    e.FireDocumentTitleChanged(1);
                  },
                  "TitleChanged", "Quarterly report | 2024"},
        EventCase{"TitleChangedToNothing", [](EngineClient& e) { e.FireDocumentTitleChanged(1); }, "TitleChanged", ""},
        EventCase{"SourceChanged",
                  [](EngineClient& e) {
                    e.SetSource(1, L"file:///C:/site/index.html");
                    e.FireSourceChanged(1, true);
                  },
                  "SourceChanged", "IsNewDocument=True; URL=file:///C:/site/index.html"},
        EventCase{"SourceChangedToBlank",
                  [](EngineClient& e) {
                    e.SetSource(1, L"ABOUT:BLANK");
                    e.FireSourceChanged(1, false);
                  },
                  "SourceChanged", "IsNewDocument=False; URL="},
        EventCase{"ProcessFailed",
                  [](EngineClient& e) {
                    e.SetSource(1, L"about:blank#not-blank");
                    e.FireProcessFailed(1, 2);
                  },
                  "ProcessFailed", "ProcessFailedKind=2; URL=about:blank#not-blank"}),
    [](const ::testing::TestParamInfo<EventCase>& info) { return std::string(info.param.label); });

TEST_F(HostOutputTest, EventsOfAnUnconfiguredHostStillReachTheHost) {
  ReadyHost();
  const size_t mark = Mark();
  Engine().SetSource(1, L"https://plain.example/");
  Engine().FireSourceChanged(1, true);
  DrainPostedMessages();
  EXPECT_EQ(HostOutput(mark),
            (std::vector<std::string>{"set [WebEventName]=SourceChanged",
                                      "set [WebEventData]=IsNewDocument=True; URL=https://plain.example/"}));
  EXPECT_TRUE(LogHas("Browser event: SourceChanged | IsNewDocument=True; URL=https://plain.example/"));
}

TEST_F(HostOutputTest, OnlyTheConfiguredEventRunsItsScriptAfterTheVariablesAreSet) {
  ReadyHost();
  ASSERT_EQ(OnEvent(L"Rect1", L"titlechanged", L"[Ev]", L"TitleScript"), 1);
  std::vector<std::string> seenByScript;
  host->onRunScript = [&](const std::string&) {
    seenByScript = {host->Var("[WebEventName]"), host->Var("[WebEventData]"), host->Var("[Ev]")};
  };
  const size_t mark = Mark();
  Engine().SetTitle(1, L"Now");
  Engine().FireNavigationStarting(1, L"https://a.example/");
  Engine().FireNavigationCompleted(1, true);
  Engine().FireContentLoading(1, false, 1);
  Engine().FireDocumentTitleChanged(1);
  Engine().FireSourceChanged(1, false);
  Engine().FireProcessFailed(1, 0);
  DrainPostedMessages();

  std::vector<std::string> runs;
  for (const std::string& out : HostOutput(mark))
    if (out.rfind("run ", 0) == 0) runs.push_back(out);
  EXPECT_EQ(runs, std::vector<std::string>{"run TitleScript"});
  EXPECT_EQ(seenByScript, (std::vector<std::string>{"TitleChanged", "Now", "Now"}));
  // The event variable was written for each of the six events.
  EXPECT_EQ(host->SetsOf("[Ev]").size(), 6u);
}

TEST_F(HostOutputTest, EventsGoToTheSettingsOfTheirOwnHost) {
  ReadyHost(L"Left", 1);
  ReadyHost(L"Right", 2);
  ASSERT_EQ(OnEvent(L"Left", L"TitleChanged", L"[LeftEv]", L"LeftScript"), 1);
  ASSERT_EQ(OnEvent(L"Right", L"TitleChanged", L"[RightEv]", L"RightScript"), 1);
  Engine().SetTitle(2, L"Right title");
  const size_t mark = Mark();
  Engine().FireDocumentTitleChanged(2);
  DrainPostedMessages();
  EXPECT_EQ(HostOutput(mark),
            (std::vector<std::string>{"set [WebEventName]=TitleChanged", "set [WebEventData]=Right title",
                                      "set [RightEv]=Right title", "run RightScript"}));
}
