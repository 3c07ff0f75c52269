// Creating a browser host: what it logs, what the engine receives, where the browser sits,
// and the order of the steps after the engine reports the WebView created.
#include "browser/page_scripts.h"
#include "browser_fixture.h"

using namespace browsertest;

namespace {
const std::wstring kAdds[] = {L"add_NavigationStarting", L"add_NavigationCompleted", L"add_ContentLoading",
                              L"add_DocumentTitleChanged", L"add_SourceChanged", L"add_ProcessFailed",
                              L"add_WebMessageReceived"};
}

TEST_F(BrowserTest, CreateLogsItsStepsAndPassesTheOptionsToTheEngine) {
  HWND rect = AddRectangle("Rect1", 400, 300);
  ASSERT_EQ(Create(L"Rect1"), 1);

  const std::string folder = testhost::Utf8(appData->dir()) + "tamrelDesk\\WebView2";
  const auto texts = WithoutDependencyLines(LogTexts());
  ASSERT_TRUE(InOrder(texts, {"tamrelCreate called for Rectangle \"Rect1\"",
                              "Creating WebView host; Rectangle HWND=" +
                                  Hex8(static_cast<uint32_t>(reinterpret_cast<uintptr_t>(rect))),
                              "WebView2 UserDataFolder=" + folder, "Calling TEdgeBrowser.CreateWebView",
                              "TEdgeBrowser.CreateWebView returned; waiting for callback",
                              "WebView host registered for Rectangle \"Rect1\""}));
  // The apartment line comes right after the HWND line.
  for (size_t i = 0; i + 1 < texts.size(); ++i)
    if (texts[i].rfind("Creating WebView host;", 0) == 0) {
      EXPECT_EQ(texts[i + 1].rfind("COM apartment", 0), 0u);
    }
  const DWORD attributes = GetFileAttributesW((appData->dir() + L"tamrelDesk\\WebView2").c_str());
  EXPECT_TRUE(attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY));

  const EngineOptions o = engine::LastOptions();
  EXPECT_TRUE(o.given);
  EXPECT_EQ(o.targetVersion, L"137.0.3296.44");
  EXPECT_EQ(o.userDataFolder, appData->dir() + L"tamrelDesk\\WebView2");
  EXPECT_TRUE(o.browserFolder.empty() || o.browserFolder == L"(null)") << testhost::Utf8(o.browserFolder);
  EXPECT_TRUE(o.additionalArgs.empty() || o.additionalArgs == L"(null)") << testhost::Utf8(o.additionalArgs);
  EXPECT_TRUE(o.language.empty() || o.language == L"(null)") << testhost::Utf8(o.language);
  EXPECT_EQ(o.allowSso, FALSE);

  ASSERT_TRUE(WaitReady(1));
  EXPECT_TRUE(InOrder(LogTexts(), {"OnCreateWebViewCompleted callback received: HRESULT=0x00000000",
                                   "WebView2 reports WebViewCreated=True", "WebMessageEnabled=True"}));
  EXPECT_FALSE(host->HasVar("[LastError]"));
}

TEST_F(BrowserTest, BrowserLivesInAChildOfTheRectangleSizedToItsClientArea) {
  HWND rect = AddRectangle("Rect1", 320, 180);
  ASSERT_EQ(Create(L"Rect1"), 1);
  ASSERT_TRUE(WaitReady(1));

  HWND window = HostWindow(1);
  ASSERT_NE(window, nullptr);
  EXPECT_NE(window, rect);
  EXPECT_EQ(GetParent(window), rect);
  EXPECT_TRUE(GetWindowLongW(window, GWL_STYLE) & WS_CHILD);
  EXPECT_TRUE(ShownStyle(window));
  EXPECT_EQ(ClientBounds(window), L"0,0,320,180");
  RECT r = {};
  GetWindowRect(window, &r);
  POINT origin = {0, 0};
  ClientToScreen(rect, &origin);
  EXPECT_EQ(r.left, origin.x);
  EXPECT_EQ(r.top, origin.y);
  EXPECT_EQ(engine::Bounds(1), L"0,0,320,180");
  EXPECT_TRUE(engine::WebMessageEnabled(1));
}

TEST_F(BrowserTest, PendingNavigationGoesOutOnceAfterSubscriptionsAndDocumentScript) {
  AddRectangle("Rect1");
  ASSERT_EQ(Create(L"Rect1", L"https://example.org/start"), 1);
  ASSERT_TRUE(WaitReady(1));

  const auto calls = engine::CallsOf(1);
  const int enable = FindCall(calls, L"put_IsWebMessageEnabled");
  const int navigate = FindCall(calls, L"Navigate");
  const int script = FindCall(calls, L"AddScriptToExecuteOnDocumentCreated");
  ASSERT_GE(enable, 0);
  ASSERT_GE(navigate, 0);
  ASSERT_GE(script, 0);
  EXPECT_LT(enable, navigate);
  EXPECT_EQ(calls[navigate].args, L"https://example.org/start");
  EXPECT_EQ(CountCalls(calls, L"Navigate"), 1);
  EXPECT_EQ(CountCalls(calls, L"NavigateToString"), 0);
  for (const auto& add : kAdds) {
    const int at = FindCall(calls, add);
    EXPECT_GT(at, enable) << testhost::Utf8(add);
    EXPECT_LT(at, script) << testhost::Utf8(add);
    EXPECT_EQ(CountCalls(calls, add), 1) << testhost::Utf8(add);
  }
  // The navigation waits for the script registration's completion.
  EXPECT_LT(script, navigate);
  // The frame events share handler types with the top-level ones; they must not be subscribed.
  EXPECT_EQ(CountCalls(calls, L"add_FrameNavigationStarting"), 0);
  EXPECT_EQ(CountCalls(calls, L"add_FrameNavigationCompleted"), 0);
  EXPECT_EQ(engine::HandlerCount(1), 7);

  // One document script: bridge, CR LF, CR LF, console capture, CR LF.
  ASSERT_EQ(engine::DocumentScriptCount(1), 1);
  EXPECT_EQ(engine::DocumentScript(1, 0), BridgeScript() + L"\r\n\r\n" + ConsoleCaptureScript() + L"\r\n");

  // Nothing is delivered a second time later on.
  DrainPostedMessages();
  EXPECT_EQ(CountCalls(engine::CallsOf(1), L"Navigate"), 1);
}

TEST_F(BrowserTest, EmptyClientAreaGivesAnEmptyBrowser) {
  HWND rect = AddRectangle("Rect1", 0, 0);
  ASSERT_EQ(ClientBounds(rect).substr(ClientBounds(rect).rfind(L',')), L",0");  // no height
  ASSERT_EQ(Create(L"Rect1"), 1);
  ASSERT_TRUE(WaitReady(1));
  EXPECT_EQ(ClientBounds(HostWindow(1)), ClientBounds(rect));
  EXPECT_EQ(engine::Bounds(1), ClientBounds(rect));
}

TEST_F(BrowserTest, UserDataFolderThatCannotBeCreatedIsWarnedAboutAndUsedAnyway) {
  AddRectangle("Rect1");
  const std::wstring folder = appData->dir() + L"tamrelDesk\\WebView2";
  CreateDirectoryW((appData->dir() + L"tamrelDesk").c_str(), nullptr);
  ASSERT_TRUE(testhost::WriteFileBytes(folder, "a file in the way"));

  ASSERT_EQ(Create(L"Rect1"), 1);
  EXPECT_TRUE(InOrder(LogTexts(), {"WARNING: Could not create WebView2 user-data folder: " + testhost::Utf8(folder),
                                   "WebView2 UserDataFolder=" + testhost::Utf8(folder),
                                   "Calling TEdgeBrowser.CreateWebView"}));
  EXPECT_EQ(engine::LastOptions().userDataFolder, folder);
}

TEST_F(BrowserTest, HandleThatIsNoWindowFailsTheCreateAndRegistersNothing) {
  host->rectangles["Rect1"] = reinterpret_cast<HWND>(static_cast<intptr_t>(4242));  // a number, but no window
  EXPECT_EQ(Create(L"Rect1", L"https://a.example/"), 0);
  EXPECT_EQ(LastError().rfind("Could not create the browser window", 0), 0u) << LastError();
  EXPECT_TRUE(LogHas("ERROR: " + LastError()));
  EXPECT_FALSE(LogHas("Calling TEdgeBrowser.CreateWebView"));
  EXPECT_EQ(engine::Calls().size(), 0u);
  EXPECT_EQ(Navigate(L"Rect1", L"about:blank"), 0);
  EXPECT_EQ(LastError(), "No WebView2 instance is attached to \"Rect1\".");
}
