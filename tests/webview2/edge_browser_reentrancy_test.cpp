// The browser control on its own (linked into the test program, on the engine double): a slot
// may destroy the very browser whose completion or event it handles, and nothing of the
// destroyed browser is touched afterwards. The browsers live in storage that is filled with
// garbage when they are destroyed, so a later touch of any member fails at once.
#include <cstring>
#include <functional>
#include <new>
#include "webview2/edge_browser.h"
#include "browser_fixture.h"

using namespace browsertest;

namespace {
class EdgeBrowserReentrancy : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(engine::Available());
    wchar_t current[MAX_PATH] = {};
    GetCurrentDirectoryW(MAX_PATH, current);
    saved_ = current;
    SetCurrentDirectoryW(testhost::EngineDirectory().c_str());
    engine::Reset();
    appData_.reset(new testhost::ScopedLocalAppData());
    rect_.reset(new testhost::RectangleWindow(300, 200));
  }
  void TearDown() override {
    if (browser_) Destroy(browser_);
    for (auto* block : storage_) ::operator delete(block);
    DrainPostedMessages();
    rect_.reset();
    appData_.reset();
    SetCurrentDirectoryW(saved_.c_str());
  }

  // A browser in the Rectangle, created through the engine; returns its webview number.
  TEdgeBrowser* NewBrowser() {
    void* block = ::operator new(sizeof(TEdgeBrowser));
    storage_.push_back(block);
    return browser_ = new (block) TEdgeBrowser();
  }
  void Destroy(TEdgeBrowser* browser) {
    browser->~TEdgeBrowser();
    std::memset(static_cast<void*>(browser), 0xCC, sizeof(TEdgeBrowser));
    if (browser == browser_) browser_ = nullptr;
  }

  int CreateReady() {
    NewBrowser();
    browser_->SetParentWindow(rect_->hwnd());
    browser_->UserDataFolder = appData_->dir() + L"ud";
    browser_->InitScript.SetText(L"window.x=1;");
    HRESULT created = E_PENDING;
    browser_->OnCreateWebViewCompleted = [&created](TEdgeBrowser*, HRESULT hr) { created = hr; };
    browser_->CreateWebView();
    EXPECT_TRUE(testhost::PumpUntil([&] { return created != E_PENDING; }));
    EXPECT_EQ(created, S_OK);
    DrainPostedMessages();
    browser_->OnCreateWebViewCompleted = nullptr;
    return engine::WebViewCount();
  }
  // Slot body that frees the browser it is called for.
  void DestroyFromSlot(TEdgeBrowser* sender) {
    EXPECT_EQ(sender, browser_);
    Destroy(sender);
    ++destroyed_;
  }

  TEdgeBrowser* browser_ = nullptr;
  std::vector<void*> storage_;  // freed only at the end of the test
  int destroyed_ = 0;
  std::unique_ptr<testhost::ScopedLocalAppData> appData_;
  std::unique_ptr<testhost::RectangleWindow> rect_;
  std::wstring saved_;
};

struct EventCase {
  const char* label;
  std::function<void(TEdgeBrowser&, std::function<void(TEdgeBrowser*)>)> install;
  std::function<void(TEdgeBrowser&, int webview)> trigger;
};
}  // namespace

TEST_F(EdgeBrowserReentrancy, SlotMayDestroyItsBrowserDuringAnEventOrCompletion) {
  EngineClient& e = engine::Client();
  const EventCase cases[] = {
      {"NavigationStarting",
       [](TEdgeBrowser& b, auto kill) { b.OnNavigationStarting = [kill](TEdgeBrowser* s, auto*) { kill(s); }; },
       [&](TEdgeBrowser&, int wv) { e.FireNavigationStarting(wv, L"https://x.example/"); }},
      {"NavigationCompleted",
       [](TEdgeBrowser& b, auto kill) { b.OnNavigationCompleted = [kill](TEdgeBrowser* s, auto*) { kill(s); }; },
       [&](TEdgeBrowser&, int wv) { e.FireNavigationCompleted(wv, true); }},
      {"ContentLoading",
       [](TEdgeBrowser& b, auto kill) { b.OnContentLoading = [kill](TEdgeBrowser* s, auto*) { kill(s); }; },
       [&](TEdgeBrowser&, int wv) { e.FireContentLoading(wv, false, 7); }},
      {"DocumentTitleChanged",
       [](TEdgeBrowser& b, auto kill) { b.OnDocumentTitleChanged = [kill](TEdgeBrowser* s, auto*) { kill(s); }; },
       [&](TEdgeBrowser&, int wv) { e.FireDocumentTitleChanged(wv); }},
      {"SourceChanged",
       [](TEdgeBrowser& b, auto kill) { b.OnSourceChanged = [kill](TEdgeBrowser* s, auto*) { kill(s); }; },
       [&](TEdgeBrowser&, int wv) { e.FireSourceChanged(wv, true); }},
      {"ProcessFailed",
       [](TEdgeBrowser& b, auto kill) { b.OnProcessFailed = [kill](TEdgeBrowser* s, auto*) { kill(s); }; },
       [&](TEdgeBrowser&, int wv) { e.FireProcessFailed(wv, 1); }},
      {"WebMessageReceived",
       [](TEdgeBrowser& b, auto kill) { b.OnWebMessageReceived = [kill](TEdgeBrowser* s, auto*) { kill(s); }; },
       [&](TEdgeBrowser&, int wv) { e.PostWebMessage(wv, L"hello"); }},
      {"ExecuteScript",
       [](TEdgeBrowser& b, auto kill) {
         b.OnExecuteScript = [kill](TEdgeBrowser* s, HRESULT, LPCWSTR, const std::wstring&) { kill(s); };
       },
       [](TEdgeBrowser& b, int) { EXPECT_EQ(b.ExecuteScript(L"1+1"), S_OK); }},
  };
  for (const EventCase& c : cases) {
    SCOPED_TRACE(c.label);
    destroyed_ = 0;
    const int wv = CreateReady();
    c.install(*browser_, [this](TEdgeBrowser* s) { DestroyFromSlot(s); });
    c.trigger(*browser_, wv);
    EXPECT_TRUE(testhost::PumpUntil([&] { return destroyed_ > 0; }));
    DrainPostedMessages();
    EXPECT_EQ(destroyed_, 1);
    EXPECT_TRUE(engine::IsClosed(wv));
    EXPECT_EQ(engine::HandlerCount(wv), 0);
    EXPECT_EQ(engine::LiveObjects(), 0);
  }
}

TEST_F(EdgeBrowserReentrancy, CreationCompletedSlotMayDestroyItsBrowser) {
  NewBrowser();
  browser_->SetParentWindow(rect_->hwnd());
  browser_->UserDataFolder = appData_->dir() + L"ud";
  browser_->InitScript.SetText(L"window.x=1;");
  browser_->OnCreateWebViewCompleted = [this](TEdgeBrowser* s, HRESULT) { DestroyFromSlot(s); };
  browser_->CreateWebView();
  ASSERT_TRUE(testhost::PumpUntil([&] { return destroyed_ > 0; }));
  DrainPostedMessages();
  // Nothing after the slot: no subscriptions, no document script, no bounds.
  const auto calls = engine::Calls();
  EXPECT_EQ(FindCall(calls, L"add_NavigationStarting"), -1);
  EXPECT_EQ(FindCall(calls, L"AddScriptToExecuteOnDocumentCreated"), -1);
  EXPECT_EQ(FindCall(calls, L"put_Bounds"), -1);
  EXPECT_EQ(engine::LiveObjects(), 0);
}

TEST_F(EdgeBrowserReentrancy, FailureSlotMayDestroyItsBrowserInsideCreateWebView) {
  engine::FailStep(ENGINE_STEP_CREATE_ENVIRONMENT_CALL, E_ACCESSDENIED);
  NewBrowser();
  browser_->SetParentWindow(rect_->hwnd());
  HRESULT seen = S_OK;
  browser_->OnCreateWebViewCompleted = [&](TEdgeBrowser* s, HRESULT hr) {
    seen = hr;
    DestroyFromSlot(s);
  };
  TEdgeBrowser* self = browser_;
  self->CreateWebView();  // the slot ran inside and freed the browser
  EXPECT_EQ(seen, E_ACCESSDENIED);
  EXPECT_EQ(destroyed_, 1);
  DrainPostedMessages();
  EXPECT_EQ(engine::LiveObjects(), 0);
}
