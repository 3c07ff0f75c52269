// Lifetimes: whatever the moment a host is destroyed, every engine object is released, every
// handler and the document script are removed, and nothing arrives at a destroyed host.
#include "browser_fixture.h"

using namespace browsertest;

namespace {
int ChildWindows(HWND parent) {
  int n = 0;
  for (HWND w = GetWindow(parent, GW_CHILD); w; w = GetWindow(w, GW_HWNDNEXT)) ++n;
  return n;
}
}  // namespace

TEST_F(BrowserTest, HostDestroyedWhileItsEnvironmentIsPending) {
  HWND rect = AddRectangle("Rect1");
  ASSERT_EQ(Create(L"Rect1", L"https://pending.example/"), 1);
  ASSERT_EQ(Destroy(L"Rect1"), 1);
  EXPECT_EQ(ChildWindows(rect), 0);
  DrainPostedMessages();  // the environment completion arrives now

  EXPECT_FALSE(LogHas("OnCreateWebViewCompleted callback received: HRESULT=0x00000000"));
  EXPECT_EQ(FindCall(engine::Calls(), L"CreateCoreWebView2Controller"), -1);
  EXPECT_EQ(engine::LiveObjects(), 0);
}

TEST_F(BrowserTest, HostDestroyedWhileItsControllerIsPending) {
  HWND rect = AddRectangle("Rect1");
  ASSERT_EQ(Create(L"Rect1", L"https://pending.example/"), 1);
  ASSERT_TRUE(testhost::PumpUntil([] { return FindCall(engine::Calls(), L"CreateCoreWebView2Controller") >= 0; }));
  ASSERT_EQ(Destroy(L"Rect1"), 1);
  EXPECT_EQ(ChildWindows(rect), 0);
  DrainPostedMessages();  // the controller completion arrives now, if it was not aborted

  EXPECT_FALSE(LogHas("OnCreateWebViewCompleted callback received: HRESULT=0x00000000"));
  EXPECT_FALSE(host->HasVar("[LastError]"));
  const auto calls = engine::Calls();
  EXPECT_EQ(CountCalls(calls, L"Navigate"), 0);
  EXPECT_EQ(FindCall(calls, L"AddScriptToExecuteOnDocumentCreated"), -1);
  EXPECT_EQ(engine::LiveObjects(), 0);
}

TEST_F(BrowserTest, DestroyOfAReadyHostReleasesAndRemovesEverything) {
  HWND rect = AddRectangle("Rect1");
  ASSERT_EQ(Create(L"Rect1", L"https://a.example/"), 1);
  ASSERT_TRUE(WaitReady(1));
  ASSERT_EQ(engine::HandlerCount(1), 7);
  ASSERT_EQ(engine::DocumentScriptCount(1), 1);
  ASSERT_EQ(ChildWindows(rect), 1);

  ASSERT_EQ(Destroy(L"Rect1"), 1);
  EXPECT_EQ(engine::HandlerCount(1), 0);
  EXPECT_EQ(engine::DocumentScriptCount(1), 0);
  EXPECT_TRUE(engine::IsClosed(1));
  EXPECT_EQ(ChildWindows(rect), 0);
  DrainPostedMessages();
  EXPECT_EQ(engine::LiveObjects(), 0);
  // The handlers and the script are removed explicitly, before the controller closes (which
  // would drop them anyway in the real runtime, but only as a side effect).
  const auto calls = engine::CallsOf(1);
  const int close = FindCall(calls, L"Close");
  ASSERT_GE(close, 0);
  for (const wchar_t* remove : {L"remove_NavigationStarting", L"remove_NavigationCompleted", L"remove_ContentLoading",
                                L"remove_DocumentTitleChanged", L"remove_SourceChanged", L"remove_ProcessFailed",
                                L"remove_WebMessageReceived", L"RemoveScriptToExecuteOnDocumentCreated"}) {
    const int at = FindCall(calls, remove);
    EXPECT_GE(at, 0) << testhost::Utf8(remove);
    EXPECT_LT(at, close) << testhost::Utf8(remove);
    EXPECT_EQ(CountCalls(calls, remove), 1) << testhost::Utf8(remove);
  }
}

TEST_F(BrowserTest, CleanupOfReadyHostsReleasesEverything) {
  HWND a = AddRectangle("A");
  HWND b = AddRectangle("B");
  ASSERT_EQ(Create(L"A"), 1);
  ASSERT_EQ(Create(L"B", L"https://b.example/"), 1);
  ASSERT_TRUE(testhost::PumpUntil([] { return engine::WebViewCount() == 2; }));
  ASSERT_TRUE(WaitReady(1));
  ASSERT_TRUE(WaitReady(2));

  host->Message(2);
  for (int n = 1; n <= 2; ++n) {
    EXPECT_EQ(engine::HandlerCount(n), 0) << n;
    EXPECT_EQ(engine::DocumentScriptCount(n), 0) << n;
    EXPECT_TRUE(engine::IsClosed(n)) << n;
  }
  EXPECT_EQ(ChildWindows(a) + ChildWindows(b), 0);
  DrainPostedMessages();
  EXPECT_EQ(engine::LiveObjects(), 0);
}

TEST_F(BrowserTest, RectangleWindowDestroyedUnderTheHost) {
  HWND rect = AddRectangle("Rect1");
  ASSERT_EQ(Create(L"Rect1"), 1);
  ASSERT_TRUE(WaitReady(1));
  HWND window = HostWindow(1);
  rectangles["Rect1"].reset();  // the host page closes the Rectangle and its child windows
  EXPECT_FALSE(IsWindow(rect));
  EXPECT_FALSE(IsWindow(window));

  EXPECT_EQ(Navigate(L"Rect1", L"https://still.example/"), 1);
  EXPECT_EQ(Destroy(L"Rect1"), 1);
  DrainPostedMessages();
  EXPECT_EQ(engine::LiveObjects(), 0);
}

TEST_F(BrowserTest, ManyCreateDestroyCyclesLeaveNothingBehind) {
  HWND rect = AddRectangle("Rect1");
  for (int cycle = 0; cycle < 200; ++cycle) {
    const int start = engine::CallCount();
    ASSERT_EQ(Create(L"Rect1", L"https://cycle.example/"), 1) << cycle;
    // Alternate the moment of destruction: environment pending, controller pending, ready.
    if (cycle % 3 >= 1) {
      ASSERT_TRUE(testhost::PumpUntil([&] {
        return engine::FindCallFrom(L"CreateCoreWebView2Controller", start) >= 0;
      })) << cycle;
    }
    if (cycle % 3 == 2) {
      ASSERT_TRUE(testhost::PumpUntil([&] {
        return engine::FindCallFrom(L"AddScriptToExecuteOnDocumentCreated", start) >= 0;
      })) << cycle;
      DrainPostedMessages();
    }
    ASSERT_EQ(Destroy(L"Rect1"), 1) << cycle;
    ASSERT_EQ(ChildWindows(rect), 0) << cycle;
  }
  DrainPostedMessages();
  EXPECT_EQ(engine::LiveObjects(), 0);
  EXPECT_EQ(Destroy(L"Rect1"), 0);
  const int views = engine::WebViewCount();
  EXPECT_GE(views, 66);
  for (int n = 1; n <= views; ++n) {
    EXPECT_EQ(engine::HandlerCount(n), 0) << n;
    EXPECT_EQ(engine::DocumentScriptCount(n), 0) << n;
  }
  host->Message(2);
  EXPECT_FALSE(LogHas("Destroying WebView host during run-mode cleanup"));
}

TEST_F(BrowserTest, UnloadWithoutCleanupLeavesOnlyHarmlessWindows) {
  // No loader: the host holds no engine object, only its window.
  const std::wstring empty = testhost::MakeTempDir(L"unload");
  SetCurrentDirectoryW(empty.c_str());
  HWND rect = AddRectangle("Rect1");
  ASSERT_EQ(Create(L"Rect1"), 1);
  HWND window = GetWindow(rect, GW_CHILD);
  ASSERT_NE(window, nullptr);

  host.reset();  // the plug-in is unloaded without message 2: the host is not destroyed
  ASSERT_TRUE(IsWindow(window));
  // Messages that reach the window now must not run code of the unloaded module.
  EXPECT_EQ(SendMessageW(window, 0x4FA, 0, 4), 0);
  SetWindowPos(rect, nullptr, 0, 0, 200, 100, SWP_NOMOVE | SWP_NOZORDER);
  SendMessageW(window, WM_SIZE, 0, MAKELPARAM(10, 10));
  testhost::PumpFor(20);
  EXPECT_TRUE(DestroyWindow(window));
  SetCurrentDirectoryW(testhost::EngineDirectory().c_str());
  testhost::RemoveTree(empty);
}
