// WebView creation that fails: at each step inside the engine, and with no loader at all.
// The failure is reported once, the host stays registered and never becomes ready.
#include "browser_fixture.h"

using namespace browsertest;

namespace {
std::string FailureMessage(const testhost::ScopedLocalAppData& appData, HRESULT hr) {
  return "WebView2 initialization failed (HRESULT 0x" + Hex8(static_cast<uint32_t>(hr)) + "). See " +
         testhost::Utf8(appData.LogPath()) + " for diagnostics.";
}

struct FailureCase {
  const char* label;
  EngineStep step;
  HRESULT hr;
};

class CreationFailure : public BrowserTest, public ::testing::WithParamInterface<FailureCase> {
 protected:
  // What every failed host shows: navigation is still accepted (and kept), commands are not.
  void ExpectNeverReady() {
    EXPECT_EQ(Navigate(L"Rect1", L"https://later.example/"), 1);
    EXPECT_EQ(SetHTML(L"Rect1", L"<p>later</p>"), 1);
    for (int id : {10, 11, 12, 13}) {
      EXPECT_EQ(host->ExecW(id, {L"Rect1"}), 0) << id;
      EXPECT_EQ(LastError(), "WebView2 is not ready yet.");
    }
    EXPECT_EQ(Control(L"Rect1", L"STOP"), 0);
    EXPECT_EQ(LastError(), "WebView2 is not ready yet.");
    DrainPostedMessages();
    const auto calls = engine::Calls();
    EXPECT_EQ(CountCalls(calls, L"Navigate") + CountCalls(calls, L"NavigateToString"), 0);
    EXPECT_EQ(FindCall(calls, L"AddScriptToExecuteOnDocumentCreated"), -1);
    // Still registered: the destroy action finds it.
    EXPECT_EQ(Destroy(L"Rect1"), 1);
  }
};
}  // namespace

TEST_P(CreationFailure, IsReportedOnceAndTheHostNeverBecomesReady) {
  const FailureCase& c = GetParam();
  AddRectangle("Rect1");
  engine::FailStep(c.step, c.hr);
  ASSERT_EQ(Create(L"Rect1", L"https://pending.example/"), 1);
  const std::string message = FailureMessage(*appData, c.hr);
  ASSERT_TRUE(testhost::PumpUntil([&] { return host->HasVar("[LastError]"); }));
  DrainPostedMessages();

  EXPECT_EQ(host->SetsOf("[LastError]"), std::vector<std::string>{message});
  EXPECT_TRUE(
      InOrder(LogTexts(), {"OnCreateWebViewCompleted callback received: HRESULT=0x" + Hex8(static_cast<uint32_t>(c.hr)),
                           "ERROR: " + message}));
  EXPECT_FALSE(LogHas("WebView2 reports WebViewCreated=True"));
  ExpectNeverReady();
  DrainPostedMessages();
  EXPECT_EQ(engine::LiveObjects(), 0);
}

INSTANTIATE_TEST_SUITE_P(
    Browser, CreationFailure,
    ::testing::Values(FailureCase{"EnvironmentCall", ENGINE_STEP_CREATE_ENVIRONMENT_CALL, HRESULT(0x80070005)},
                      FailureCase{"EnvironmentCompletion", ENGINE_STEP_ENVIRONMENT_COMPLETION, HRESULT(0x80070002)},
                      FailureCase{"ControllerCall", ENGINE_STEP_CREATE_CONTROLLER_CALL, HRESULT(0x8007139F)},
                      FailureCase{"ControllerCompletion", ENGINE_STEP_CONTROLLER_COMPLETION, HRESULT(0x80004004)},
                      FailureCase{"GetWebView", ENGINE_STEP_GET_WEBVIEW, HRESULT(0x8000FFFF)},
                      FailureCase{"GetSettings", ENGINE_STEP_GET_SETTINGS, HRESULT(0x80004005)}),
    [](const ::testing::TestParamInfo<FailureCase>& info) { return std::string(info.param.label); });

TEST_F(BrowserTest, ImmediateFailureIsReportedInsideTheCreateAction) {
  AddRectangle("Rect1");
  engine::FailStep(ENGINE_STEP_CREATE_ENVIRONMENT_CALL, HRESULT(0x80070005));
  ASSERT_EQ(Create(L"Rect1"), 1);
  // Before any message is pumped, and before the host was registered.
  const std::string message = FailureMessage(*appData, HRESULT(0x80070005));
  EXPECT_EQ(LastError(), message);
  EXPECT_TRUE(InOrder(WithoutDependencyLines(LogTexts()), {"Calling TEdgeBrowser.CreateWebView", "ERROR: " + message,
                                                           "TEdgeBrowser.CreateWebView returned; waiting for callback",
                                                           "WebView host registered for Rectangle \"Rect1\""}));
}

TEST_F(BrowserTest, NoLoaderAnywhereFailsWithModuleNotFound) {
  const std::wstring empty = testhost::MakeTempDir(L"noloader");
  SetCurrentDirectoryW(empty.c_str());
  AddRectangle("Rect1");
  ASSERT_EQ(Create(L"Rect1", L"https://pending.example/"), 1);

  const std::string message = FailureMessage(*appData, HRESULT(0x8007007E));
  EXPECT_EQ(LastError(), message);
  EXPECT_TRUE(
      InOrder(WithoutDependencyLines(LogTexts()),
              {"Calling TEdgeBrowser.CreateWebView", "OnCreateWebViewCompleted callback received: HRESULT=0x8007007E",
               "ERROR: " + message, "TEdgeBrowser.CreateWebView returned; waiting for callback",
               "WebView host registered for Rectangle \"Rect1\""}));
  EXPECT_EQ(Navigate(L"Rect1", L"https://later.example/"), 1);
  EXPECT_EQ(Control(L"Rect1", L"back"), 0);
  EXPECT_EQ(LastError(), "WebView2 is not ready yet.");
  EXPECT_EQ(engine::Calls().size(), 0u);
  EXPECT_EQ(Destroy(L"Rect1"), 1);
  SetCurrentDirectoryW(testhost::EngineDirectory().c_str());
  testhost::RemoveTree(empty);
}

TEST_F(BrowserTest, FailureToEnableWebMessagesIsLoggedAndTheHostIsReadyAnyway) {
  AddRectangle("Rect1");
  engine::FailStep(ENGINE_STEP_PUT_WEB_MESSAGE_ENABLED, HRESULT(0x80004005));
  ASSERT_EQ(Create(L"Rect1", L"https://pending.example/"), 1);
  ASSERT_TRUE(WaitReady(1));

  bool logged = false;
  for (const auto& t : LogTexts()) logged |= t.rfind("Unable to enable WebMessageEnabled: ", 0) == 0;
  EXPECT_TRUE(logged);
  EXPECT_FALSE(LogHas("WebMessageEnabled=True"));
  EXPECT_FALSE(host->HasVar("[LastError]"));
  EXPECT_EQ(CountCalls(engine::CallsOf(1), L"Navigate"), 1);
  EXPECT_EQ(Control(L"Rect1", L"STOP"), 1);
}
