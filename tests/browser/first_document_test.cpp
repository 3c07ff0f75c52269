// The page scripts must be in place before the first document loads: the pending navigation
// goes out only once the engine has confirmed the document script's registration, and every
// navigation requested until then waits as before readiness.
#include "browser_fixture.h"

using namespace browsertest;

namespace {
const wchar_t kScriptCall[] = L"AddScriptToExecuteOnDocumentCreated";

int Navigations(int webview) {
  const auto calls = engine::CallsOf(webview);
  return CountCalls(calls, L"Navigate") + CountCalls(calls, L"NavigateToString");
}

// Pumps until webview 1 was asked to register its document script, leaving that
// registration's completion still on its way.
bool UntilScriptRegistrationStarted() {
  return testhost::PumpUntil([] { return engine::FindCallFrom(kScriptCall, 0) >= 0; });
}

struct FirstDocumentCase {
  const char* label;
  std::wstring initialUrl;
  std::vector<std::pair<int, std::wstring>> before;  // action (2 navigate, 3 HTML) and its text
};
void PrintTo(const FirstDocumentCase& c, std::ostream* os) { *os << c.label; }

class FirstDocument : public BrowserTest, public ::testing::WithParamInterface<FirstDocumentCase> {};
}  // namespace

TEST_P(FirstDocument, RunsThePageScripts) {
  const FirstDocumentCase& c = GetParam();
  AddRectangle("Rect1");
  ASSERT_EQ(Create(L"Rect1", c.initialUrl), 1);
  for (const auto& r : c.before) ASSERT_EQ(host->ExecW(r.first, {L"Rect1", r.second}), 1);
  ASSERT_TRUE(WaitReady(1));

  ASSERT_EQ(engine::Client().NavigationCount(1), 1);
  ASSERT_EQ(engine::DocumentScriptCount(1), 1);
  EXPECT_EQ(engine::Client().NavigationScripts(1, 0), std::vector<std::wstring>{engine::DocumentScript(1, 0)});
}

INSTANTIATE_TEST_SUITE_P(Browser, FirstDocument,
                         ::testing::Values(FirstDocumentCase{"CreateUrl", L"https://first.example/", {}},
                                           FirstDocumentCase{"QueuedHtml", L"", {{3, L"<p>queued</p>"}}},
                                           FirstDocumentCase{"QueuedUrl", L"", {{2, L"https://queued.example/"}}}),
                         [](const ::testing::TestParamInfo<FirstDocumentCase>& info) {
                           return std::string(info.param.label);
                         });

TEST_F(BrowserTest, RequestsBeforeTheScriptRegistrationCompletesWaitAndTheLastWins) {
  AddRectangle("Rect1");
  ASSERT_EQ(Create(L"Rect1", L"https://initial.example/"), 1);
  ASSERT_TRUE(UntilScriptRegistrationStarted());
  ASSERT_EQ(Navigate(L"Rect1", L"https://early.example/"), 1);
  ASSERT_EQ(SetHTML(L"Rect1", L"<p>early</p>"), 1);
  EXPECT_EQ(Navigations(1), 0);

  DrainPostedMessages();
  auto calls = engine::CallsOf(1);
  EXPECT_EQ(CountCalls(calls, L"Navigate"), 0);
  ASSERT_EQ(CountCalls(calls, L"NavigateToString"), 1);
  EXPECT_EQ(calls[FindCall(calls, L"NavigateToString")].args, L"<p>early</p>");
  EXPECT_EQ(engine::Client().NavigationScripts(1, 0).size(), 1u);

  // From then on a request goes out at once.
  ASSERT_EQ(Navigate(L"Rect1", L"https://now.example/"), 1);
  calls = engine::CallsOf(1);
  ASSERT_EQ(CountCalls(calls, L"Navigate"), 1);
  EXPECT_EQ(calls[FindCall(calls, L"Navigate")].args, L"https://now.example/");
}

TEST_F(BrowserTest, FailedScriptRegistrationIsLoggedAndThePendingNavigationStillGoesOut) {
  AddRectangle("Rect1");
  engine::FailStep(ENGINE_STEP_DOCUMENT_SCRIPT_COMPLETION, E_FAIL);
  ASSERT_EQ(Create(L"Rect1", L"https://unscripted.example/"), 1);
  ASSERT_TRUE(WaitReady(1));

  EXPECT_TRUE(InOrder(LogTexts(), {"WebView2 reports WebViewCreated=True", "WebMessageEnabled=True",
                                   "Unable to register the page scripts: HRESULT=0x80004005"}));
  EXPECT_FALSE(host->HasVar("[LastError]"));
  auto calls = engine::CallsOf(1);
  ASSERT_EQ(CountCalls(calls, L"Navigate"), 1);
  EXPECT_EQ(calls[FindCall(calls, L"Navigate")].args, L"https://unscripted.example/");
  EXPECT_GT(FindCall(calls, L"Navigate"), FindCall(calls, kScriptCall));

  ASSERT_EQ(SetHTML(L"Rect1", L"<p>at once</p>"), 1);
  EXPECT_EQ(CountCalls(engine::CallsOf(1), L"NavigateToString"), 1);
}

TEST_F(BrowserTest, HostDestroyedWhileTheScriptRegistrationIsInFlightIsNotTouchedByItsCompletion) {
  AddRectangle("Rect1");
  ASSERT_EQ(Create(L"Rect1", L"https://never.example/"), 1);
  ASSERT_TRUE(UntilScriptRegistrationStarted());
  ASSERT_GT(engine::Client().PendingDeliveries(), 0);
  ASSERT_EQ(Destroy(L"Rect1"), 1);
  DrainPostedMessages();

  EXPECT_EQ(Navigations(1), 0);
  EXPECT_FALSE(LogHas("Unable to register the page scripts: HRESULT=0x80004005"));
  EXPECT_EQ(engine::LiveObjects(), 0);
}
