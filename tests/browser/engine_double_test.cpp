// Self-test of the WebView2 engine double, driven directly through its own interface
// transcription (engine_abi.h) and its loader export, the way the runtime is driven.
#include <gtest/gtest.h>
#include <objbase.h>

#include <functional>
#include <string>
#include <vector>

#include "engine/engine_abi.h"
#include "engine/engine_client.h"
#include "testhost/test_env.h"
#include "testhost/test_host.h"

using namespace engine_abi;

namespace {

// A handler living on the test's stack: counts its references and calls, never deletes itself.
template <typename I, const GUID& Iid, typename A1, typename A2>
class Handler final : public I {
 public:
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** object) override {
    if (IsEqualGUID(riid, IID_Unknown) || IsEqualGUID(riid, Iid)) {
      *object = static_cast<I*>(this);
      AddRef();
      return S_OK;
    }
    *object = nullptr;
    return E_NOINTERFACE;
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return static_cast<ULONG>(++refs); }
  ULONG STDMETHODCALLTYPE Release() override { return static_cast<ULONG>(--refs); }
  HRESULT STDMETHODCALLTYPE Invoke(A1 a, A2 b) override {
    ++calls;
    if (onInvoke) onInvoke(a, b);
    return S_OK;
  }
  LONG refs = 1;  // the test's own
  int calls = 0;
  std::function<void(A1, A2)> onInvoke;
};

using EnvironmentDone = Handler<ICoreWebView2CreateCoreWebView2EnvironmentCompletedHandler,
                                IID_ICoreWebView2CreateCoreWebView2EnvironmentCompletedHandler, HRESULT,
                                ICoreWebView2Environment*>;
using ControllerDone = Handler<ICoreWebView2CreateCoreWebView2ControllerCompletedHandler,
                               IID_ICoreWebView2CreateCoreWebView2ControllerCompletedHandler, HRESULT,
                               ICoreWebView2Controller*>;
using ScriptDone = Handler<ICoreWebView2ExecuteScriptCompletedHandler, IID_ICoreWebView2ExecuteScriptCompletedHandler,
                           HRESULT, LPCWSTR>;
using AddScriptDone = Handler<ICoreWebView2AddScriptToExecuteOnDocumentCreatedCompletedHandler,
                              IID_ICoreWebView2AddScriptToExecuteOnDocumentCreatedCompletedHandler, HRESULT, LPCWSTR>;
using StartingHandler = Handler<ICoreWebView2NavigationStartingEventHandler, IID_ICoreWebView2NavigationStartingEventHandler,
                                ICoreWebView2*, ICoreWebView2NavigationStartingEventArgs*>;
using CompletedHandler = Handler<ICoreWebView2NavigationCompletedEventHandler,
                                 IID_ICoreWebView2NavigationCompletedEventHandler, ICoreWebView2*,
                                 ICoreWebView2NavigationCompletedEventArgs*>;
using TitleHandler = Handler<ICoreWebView2DocumentTitleChangedEventHandler,
                             IID_ICoreWebView2DocumentTitleChangedEventHandler, ICoreWebView2*, IUnknown*>;
using MessageHandler = Handler<ICoreWebView2WebMessageReceivedEventHandler,
                               IID_ICoreWebView2WebMessageReceivedEventHandler, ICoreWebView2*,
                               ICoreWebView2WebMessageReceivedEventArgs*>;

// Environment options as the plug-in passes them; counts strings handed out and those still unfreed.
class Options final : public ICoreWebView2EnvironmentOptions {
 public:
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** object) override {
    if (IsEqualGUID(riid, IID_Unknown) || IsEqualGUID(riid, IID_ICoreWebView2EnvironmentOptions)) {
      *object = this;
      AddRef();
      return S_OK;
    }
    *object = nullptr;
    return E_NOINTERFACE;
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return static_cast<ULONG>(++refs); }
  ULONG STDMETHODCALLTYPE Release() override { return static_cast<ULONG>(--refs); }
  HRESULT STDMETHODCALLTYPE get_AdditionalBrowserArguments(LPWSTR* v) override { return Out(nullptr, v); }
  HRESULT STDMETHODCALLTYPE put_AdditionalBrowserArguments(LPCWSTR) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE get_Language(LPWSTR* v) override { return Out(L"de-DE", v); }
  HRESULT STDMETHODCALLTYPE put_Language(LPCWSTR) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE get_TargetCompatibleBrowserVersion(LPWSTR* v) override { return Out(L"137.0.3296.44", v); }
  HRESULT STDMETHODCALLTYPE put_TargetCompatibleBrowserVersion(LPCWSTR) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE get_AllowSingleSignOnUsingOSPrimaryAccount(BOOL* v) override {
    *v = TRUE;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE put_AllowSingleSignOnUsingOSPrimaryAccount(BOOL) override { return E_NOTIMPL; }
  LONG refs = 1;
  int handedOut = 0;

 private:
  HRESULT Out(const wchar_t* text, LPWSTR* v) {
    *v = nullptr;
    if (!text) return S_OK;
    const size_t bytes = (wcslen(text) + 1) * sizeof(wchar_t);
    *v = static_cast<LPWSTR>(CoTaskMemAlloc(bytes));
    memcpy(*v, text, bytes);
    ++handedOut;
    return S_OK;
  }
};

std::wstring HandleText(HWND hwnd) {
  wchar_t b[16];
  swprintf(b, 16, L"%08lX", static_cast<unsigned long>(reinterpret_cast<uintptr_t>(hwnd)));
  return b;
}

std::wstring TakeString(LPWSTR s) {
  std::wstring out = s ? s : L"(null)";
  if (s) CoTaskMemFree(s);
  return out;
}

class EngineDoubleTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(engine.ok()) << "WebView2Loader.dll double not found in " << testhost::Utf8(engine.Path());
    engine.Reset();
    create = reinterpret_cast<CreateEnvironmentWithOptionsFn>(
        reinterpret_cast<void*>(GetProcAddress(engine.module(), "CreateCoreWebView2EnvironmentWithOptions")));
    version = reinterpret_cast<GetBrowserVersionStringFn>(
        reinterpret_cast<void*>(GetProcAddress(engine.module(), "GetAvailableCoreWebView2BrowserVersionString")));
    ASSERT_NE(create, nullptr);
    ASSERT_NE(version, nullptr);
    liveAtStart = engine.LiveObjects();
  }
  void TearDown() override {
    testhost::PumpUntil([&] { return engine.PendingDeliveries() == 0; });
    engine.Reset();
  }

  // Creates environment, controller, webview and settings through the message loop.
  void CreateAll(HWND parent) {
    envDone.onInvoke = [&](HRESULT hr, ICoreWebView2Environment* e) {
      envHr = hr;
      env = e;
      if (e) e->AddRef();
    };
    ASSERT_EQ(create(nullptr, L"C:\\data", &options, &envDone), S_OK);
    ASSERT_TRUE(testhost::PumpUntil([&] { return envDone.calls > 0; }));
    ASSERT_EQ(envHr, S_OK);
    ASSERT_NE(env, nullptr);
    ctlDone.onInvoke = [&](HRESULT hr, ICoreWebView2Controller* c) {
      ctlHr = hr;
      controller = c;
      if (c) c->AddRef();
    };
    ASSERT_EQ(env->CreateCoreWebView2Controller(parent, &ctlDone), S_OK);
    ASSERT_TRUE(testhost::PumpUntil([&] { return ctlDone.calls > 0; }));
    ASSERT_EQ(ctlHr, S_OK);
    ASSERT_NE(controller, nullptr);
    ASSERT_EQ(controller->get_CoreWebView2(&webview), S_OK);
    ASSERT_EQ(webview->get_Settings(&settings), S_OK);
  }
  void ReleaseAll() {
    for (IUnknown* p : std::initializer_list<IUnknown*>{settings, webview, controller, env})
      if (p) p->Release();
    settings = nullptr;
    webview = nullptr;
    controller = nullptr;
    env = nullptr;
  }

  EngineClient engine;
  CreateEnvironmentWithOptionsFn create = nullptr;
  GetBrowserVersionStringFn version = nullptr;
  int liveAtStart = 0;
  Options options;
  EnvironmentDone envDone;
  ControllerDone ctlDone;
  HRESULT envHr = E_UNEXPECTED, ctlHr = E_UNEXPECTED;
  ICoreWebView2Environment* env = nullptr;
  ICoreWebView2Controller* controller = nullptr;
  ICoreWebView2* webview = nullptr;
  ICoreWebView2Settings* settings = nullptr;
};

TEST_F(EngineDoubleTest, CreationCompletesLaterRecordsCallsAndReleasesEverything) {
  testhost::RectangleWindow window(400, 300);
  envDone.onInvoke = [&](HRESULT hr, ICoreWebView2Environment* e) {
    envHr = hr;
    env = e;
    if (e) e->AddRef();
  };
  ASSERT_EQ(create(nullptr, L"C:\\data", &options, &envDone), S_OK);
  // Never inside the call; the double holds the handler until it completes.
  EXPECT_EQ(envDone.calls, 0);
  EXPECT_EQ(envDone.refs, 2);
  EXPECT_EQ(options.refs, 2);
  EXPECT_EQ(options.handedOut, 2);
  ASSERT_TRUE(testhost::PumpUntil([&] { return envDone.calls > 0; }));
  EXPECT_EQ(envDone.refs, 1);
  EXPECT_EQ(options.refs, 1);
  ASSERT_EQ(envHr, S_OK);

  const EngineOptions read = engine.LastOptions();
  EXPECT_TRUE(read.given);
  EXPECT_EQ(read.browserFolder, L"(null)");
  EXPECT_EQ(read.userDataFolder, L"C:\\data");
  EXPECT_EQ(read.additionalArgs, L"(null)");
  EXPECT_EQ(read.language, L"de-DE");
  EXPECT_EQ(read.targetVersion, L"137.0.3296.44");
  EXPECT_EQ(read.allowSso, TRUE);

  ctlDone.onInvoke = [&](HRESULT hr, ICoreWebView2Controller* c) {
    ctlHr = hr;
    controller = c;
    if (c) c->AddRef();
  };
  ASSERT_EQ(env->CreateCoreWebView2Controller(window.hwnd(), &ctlDone), S_OK);
  EXPECT_EQ(ctlDone.calls, 0);
  ASSERT_TRUE(testhost::PumpUntil([&] { return ctlDone.calls > 0; }));
  ASSERT_EQ(ctlHr, S_OK);
  EXPECT_EQ(engine.WebViewCount(), 1);
  EXPECT_EQ(engine.ParentWindow(1), window.hwnd());

  // QueryInterface: IUnknown and the own IID only.
  void* other = reinterpret_cast<void*>(1);
  EXPECT_EQ(controller->QueryInterface(IID_ICoreWebView2, &other), E_NOINTERFACE);
  EXPECT_EQ(other, nullptr);
  IUnknown* unknown = nullptr;
  ASSERT_EQ(controller->QueryInterface(IID_Unknown, reinterpret_cast<void**>(&unknown)), S_OK);
  unknown->Release();

  ASSERT_EQ(controller->get_CoreWebView2(&webview), S_OK);
  ASSERT_EQ(webview->get_Settings(&settings), S_OK);
  EXPECT_FALSE(engine.WebMessageEnabled(1));
  EXPECT_EQ(settings->put_IsWebMessageEnabled(TRUE), S_OK);
  EXPECT_TRUE(engine.WebMessageEnabled(1));

  EXPECT_EQ(controller->put_Bounds(RECT{0, 0, 400, 300}), S_OK);
  EXPECT_EQ(controller->put_IsVisible(FALSE), S_OK);
  EXPECT_EQ(controller->put_ZoomFactor(1.25), S_OK);
  EXPECT_EQ(controller->put_ZoomFactor(0.0), E_INVALIDARG);
  double zoom = 0;
  EXPECT_EQ(controller->get_ZoomFactor(&zoom), S_OK);
  EXPECT_EQ(zoom, 1.25);
  EXPECT_EQ(engine.Bounds(1).right, 400);
  EXPECT_FALSE(engine.IsVisible(1));

  LPWSTR text = nullptr;
  ASSERT_EQ(webview->get_Source(&text), S_OK);
  EXPECT_EQ(TakeString(text), L"about:blank");
  EXPECT_EQ(webview->Navigate(L"https://example.org/ä"), S_OK);
  ASSERT_EQ(webview->get_Source(&text), S_OK);
  EXPECT_EQ(TakeString(text), L"https://example.org/ä");
  EXPECT_EQ(webview->NavigateToString(L"<p>x</p>"), S_OK);
  ASSERT_EQ(webview->get_Source(&text), S_OK);
  EXPECT_EQ(TakeString(text), L"about:blank");
  engine.SetTitle(1, L"Title");
  engine.SetHistory(1, true, false);
  ASSERT_EQ(webview->get_DocumentTitle(&text), S_OK);
  EXPECT_EQ(TakeString(text), L"Title");
  BOOL back = FALSE, forward = TRUE;
  EXPECT_EQ(webview->get_CanGoBack(&back), S_OK);
  EXPECT_EQ(webview->get_CanGoForward(&forward), S_OK);
  EXPECT_EQ(back, TRUE);
  EXPECT_EQ(forward, FALSE);

  AddScriptDone added;
  std::wstring scriptId;
  added.onInvoke = [&](HRESULT hr, LPCWSTR id) { scriptId = (SUCCEEDED(hr) && id) ? id : L"?"; };
  EXPECT_EQ(webview->AddScriptToExecuteOnDocumentCreated(L"window.x = 1;", &added), S_OK);
  EXPECT_EQ(added.calls, 0);
  ASSERT_TRUE(testhost::PumpUntil([&] { return added.calls > 0; }));
  EXPECT_EQ(scriptId, L"script-1");
  EXPECT_EQ(engine.DocumentScripts(1), std::vector<std::wstring>{L"window.x = 1;"});

  EXPECT_EQ(engine.ArgsOf(L"CreateCoreWebView2EnvironmentWithOptions"), std::vector<std::wstring>{L"(null)|C:\\data"});
  EXPECT_EQ(engine.ArgsOf(L"CreateCoreWebView2Controller"), std::vector<std::wstring>{HandleText(window.hwnd())});
  EXPECT_EQ(engine.ArgsOf(L"put_Bounds", 1), std::vector<std::wstring>{L"0,0,400,300"});
  EXPECT_EQ(engine.ArgsOf(L"put_IsVisible", 1), std::vector<std::wstring>{L"0"});
  EXPECT_EQ(engine.ArgsOf(L"put_ZoomFactor", 1), (std::vector<std::wstring>{L"1.25", L"0"}));
  EXPECT_EQ(engine.ArgsOf(L"Navigate", 1), std::vector<std::wstring>{L"https://example.org/ä"});
  EXPECT_EQ(engine.ArgsOf(L"NavigateToString", 1), std::vector<std::wstring>{L"<p>x</p>"});
  EXPECT_EQ(engine.ArgsOf(L"put_IsWebMessageEnabled", 1), std::vector<std::wstring>{L"1"});

  // Close drops the document scripts; every later call fails and is still recorded.
  EXPECT_EQ(controller->Close(), S_OK);
  EXPECT_TRUE(engine.IsClosed(1));
  EXPECT_TRUE(engine.DocumentScripts(1).empty());
  EXPECT_EQ(webview->Navigate(L"https://late.example/"), HRESULT_FROM_WIN32(ERROR_INVALID_STATE));
  EXPECT_EQ(controller->put_Bounds(RECT{1, 2, 3, 4}), HRESULT_FROM_WIN32(ERROR_INVALID_STATE));
  EXPECT_EQ(settings->put_IsWebMessageEnabled(TRUE), HRESULT_FROM_WIN32(ERROR_INVALID_STATE));
  EXPECT_EQ(engine.ArgsOf(L"Navigate", 1).back(), L"https://late.example/");

  ReleaseAll();
  EXPECT_EQ(engine.LiveObjects(), liveAtStart);
  EXPECT_EQ(ctlDone.refs, 1);
  EXPECT_EQ(added.refs, 1);
}

// Where each creation step's failure surfaces: as the call's result or in its completion.
struct StepCase {
  EngineStep step;
  HRESULT hr;
  const char* where;
};

TEST_F(EngineDoubleTest, EachCreationStepFailsWhereChosen) {
  const StepCase cases[] = {
      {ENGINE_STEP_CREATE_ENVIRONMENT_CALL, HRESULT_FROM_WIN32(ERROR_FILE_NOT_FOUND), "environment call"},
      {ENGINE_STEP_ENVIRONMENT_COMPLETION, HRESULT_FROM_WIN32(ERROR_NOT_SUPPORTED), "environment completion"},
      {ENGINE_STEP_CREATE_CONTROLLER_CALL, E_ACCESSDENIED, "controller call"},
      {ENGINE_STEP_CONTROLLER_COMPLETION, E_UNEXPECTED, "controller completion"},
      {ENGINE_STEP_GET_WEBVIEW, E_FAIL, "get_CoreWebView2"},
      {ENGINE_STEP_GET_SETTINGS, E_OUTOFMEMORY, "get_Settings"},
      {ENGINE_STEP_PUT_WEB_MESSAGE_ENABLED, E_NOINTERFACE, "put_IsWebMessageEnabled"},
  };
  testhost::RectangleWindow window;
  for (const StepCase& c : cases) {
    SCOPED_TRACE(c.where);
    engine.Reset();
    engine.FailStep(c.step, c.hr);
    std::string failedAt = "nowhere";
    HRESULT failure = S_OK;
    auto fail = [&](const char* where, HRESULT hr) {
      if (failedAt == "nowhere") {
        failedAt = where;
        failure = hr;
      }
    };
    EnvironmentDone envH;
    ICoreWebView2Environment* e = nullptr;
    envH.onInvoke = [&](HRESULT hr, ICoreWebView2Environment* got) {
      if (FAILED(hr)) {
        EXPECT_EQ(got, nullptr);
        fail("environment completion", hr);
      }
      e = got;
      if (got) got->AddRef();
    };
    HRESULT hr = create(nullptr, nullptr, nullptr, &envH);
    if (FAILED(hr)) fail("environment call", hr);
    else ASSERT_TRUE(testhost::PumpUntil([&] { return envH.calls > 0; }));
    ICoreWebView2Controller* ctl = nullptr;
    ICoreWebView2* wv = nullptr;
    ICoreWebView2Settings* st = nullptr;
    ControllerDone ctlH;
    if (e) {
      ctlH.onInvoke = [&](HRESULT r, ICoreWebView2Controller* got) {
        if (FAILED(r)) {
          EXPECT_EQ(got, nullptr);
          fail("controller completion", r);
        }
        ctl = got;
        if (got) got->AddRef();
      };
      hr = e->CreateCoreWebView2Controller(window.hwnd(), &ctlH);
      if (FAILED(hr)) fail("controller call", hr);
      else ASSERT_TRUE(testhost::PumpUntil([&] { return ctlH.calls > 0; }));
    }
    if (ctl) {
      hr = ctl->get_CoreWebView2(&wv);
      if (FAILED(hr)) {
        EXPECT_EQ(wv, nullptr);
        fail("get_CoreWebView2", hr);
      }
    }
    if (wv) {
      hr = wv->get_Settings(&st);
      if (FAILED(hr)) {
        EXPECT_EQ(st, nullptr);
        fail("get_Settings", hr);
      }
    }
    if (st) {
      hr = st->put_IsWebMessageEnabled(TRUE);
      if (FAILED(hr)) fail("put_IsWebMessageEnabled", hr);
      EXPECT_EQ(engine.WebMessageEnabled(1), SUCCEEDED(hr));
    }
    EXPECT_EQ(failedAt, c.where);
    EXPECT_EQ(failure, c.hr);
    for (IUnknown* p : std::initializer_list<IUnknown*>{st, wv, ctl, e})
      if (p) p->Release();
    EXPECT_EQ(envH.refs, 1);
    EXPECT_EQ(ctlH.refs, 1);
    EXPECT_EQ(engine.LiveObjects(), liveAtStart);
  }
}

TEST_F(EngineDoubleTest, ControllerCreationAbortsWhenTheParentIsDestroyedFirst) {
  HWND parent = CreateWindowExW(0, L"STATIC", L"", WS_OVERLAPPED, 0, 0, 100, 100, nullptr, nullptr, nullptr, nullptr);
  ASSERT_NE(parent, nullptr);
  EnvironmentDone envH;
  envH.onInvoke = [&](HRESULT, ICoreWebView2Environment* got) {
    env = got;
    if (got) got->AddRef();
  };
  ASSERT_EQ(create(nullptr, nullptr, nullptr, &envH), S_OK);
  ASSERT_TRUE(testhost::PumpUntil([&] { return env != nullptr; }));
  ControllerDone ctlH;
  ctlH.onInvoke = [&](HRESULT hr, ICoreWebView2Controller* got) {
    ctlHr = hr;
    controller = got;
  };
  ASSERT_EQ(env->CreateCoreWebView2Controller(parent, &ctlH), S_OK);
  DestroyWindow(parent);
  ASSERT_TRUE(testhost::PumpUntil([&] { return ctlH.calls > 0; }));
  EXPECT_EQ(ctlHr, E_ABORT);
  EXPECT_EQ(controller, nullptr);
  EXPECT_EQ(engine.WebViewCount(), 0);
  EXPECT_EQ(ctlH.refs, 1);
  env->Release();
  env = nullptr;
  EXPECT_EQ(engine.LiveObjects(), liveAtStart);
}

TEST_F(EngineDoubleTest, EventsAndMessagesReachRegisteredHandlersUntilRemovedOrClosed) {
  testhost::RectangleWindow window;
  ASSERT_NO_FATAL_FAILURE(CreateAll(window.hwnd()));

  StartingHandler first, second;
  std::vector<std::wstring> uris;
  auto readUri = [&](ICoreWebView2* sender, ICoreWebView2NavigationStartingEventArgs* args) {
    EXPECT_EQ(sender, webview);
    LPWSTR uri = nullptr;
    EXPECT_EQ(args->get_Uri(&uri), S_OK);
    uris.push_back(TakeString(uri));
  };
  first.onInvoke = readUri;
  second.onInvoke = readUri;
  EventRegistrationToken t1{}, t2{}, tTitle{}, tMsg{};
  ASSERT_EQ(webview->add_NavigationStarting(&first, &t1), S_OK);
  ASSERT_EQ(webview->add_NavigationStarting(&second, &t2), S_OK);
  EXPECT_NE(t1.value, t2.value);
  TitleHandler title;
  title.onInvoke = [&](ICoreWebView2*, IUnknown* args) { EXPECT_EQ(args, nullptr); };
  ASSERT_EQ(webview->add_DocumentTitleChanged(&title, &tTitle), S_OK);
  CompletedHandler completed;  // registered for another event: must stay silent
  EventRegistrationToken tDone{};
  ASSERT_EQ(webview->add_NavigationCompleted(&completed, &tDone), S_OK);
  MessageHandler message;
  std::vector<std::pair<HRESULT, std::wstring>> messages;
  message.onInvoke = [&](ICoreWebView2*, ICoreWebView2WebMessageReceivedEventArgs* args) {
    LPWSTR text = reinterpret_cast<LPWSTR>(1);
    const HRESULT hr = args->TryGetWebMessageAsString(&text);
    messages.emplace_back(hr, TakeString(text));
  };
  ASSERT_EQ(webview->add_WebMessageReceived(&message, &tMsg), S_OK);
  EXPECT_EQ(engine.HandlerCount(1), 5);

  engine.FireNavigationStarting(1, L"https://a.example/");
  engine.FireDocumentTitleChanged(1);
  engine.PostWebMessage(1, L"hello \"page\"", true);
  engine.PostWebMessage(1, L"{\"a\":1}", false);
  EXPECT_TRUE(uris.empty());  // nothing inside the calls
  ASSERT_TRUE(testhost::PumpUntil([&] { return messages.size() == 2; }));
  EXPECT_EQ(uris, (std::vector<std::wstring>{L"https://a.example/", L"https://a.example/"}));
  EXPECT_EQ(title.calls, 1);
  EXPECT_EQ(completed.calls, 0);
  EXPECT_EQ(messages[0], std::make_pair(S_OK, std::wstring(L"hello \"page\"")));
  EXPECT_EQ(messages[1], std::make_pair(E_INVALIDARG, std::wstring(L"(null)")));
  EXPECT_EQ(engine.CountOf(L"get_Uri", 1), 2);

  // Removing one handler leaves the other; a stale token changes nothing.
  EXPECT_EQ(webview->remove_NavigationStarting(t1), S_OK);
  EXPECT_EQ(first.refs, 1);
  EXPECT_EQ(webview->remove_NavigationStarting(t1), S_OK);
  EXPECT_EQ(webview->remove_NavigationCompleted(t2), S_OK);  // a token of another event
  engine.FireNavigationStarting(1, nullptr);
  ASSERT_TRUE(testhost::PumpUntil([&] { return second.calls == 2; }));
  EXPECT_EQ(first.calls, 1);
  EXPECT_EQ(uris.back(), L"(null)");

  // Close releases every handler; later events reach nobody.
  EXPECT_EQ(controller->Close(), S_OK);
  EXPECT_EQ(engine.HandlerCount(1), 0);
  EXPECT_EQ(second.refs, 1);
  EXPECT_EQ(title.refs, 1);
  EXPECT_EQ(message.refs, 1);
  EXPECT_EQ(completed.refs, 1);
  engine.FireNavigationStarting(1, L"https://b.example/");
  engine.PostWebMessage(1, L"late", true);
  testhost::PumpUntil([&] { return engine.PendingDeliveries() == 0; });
  EXPECT_EQ(second.calls, 2);
  EXPECT_EQ(messages.size(), 2u);

  ReleaseAll();
  EXPECT_EQ(engine.LiveObjects(), liveAtStart);
}

TEST_F(EngineDoubleTest, ScriptsCompleteAutomaticallyOrInAnyOrderByHand) {
  testhost::RectangleWindow window;
  ASSERT_NO_FATAL_FAILURE(CreateAll(window.hwnd()));
  std::vector<std::wstring> results;
  auto collect = [&](HRESULT hr, LPCWSTR json) {
    wchar_t code[16];
    swprintf(code, 16, L"%08lX", static_cast<unsigned long>(hr));
    results.push_back(std::wstring(code) + L" " + (json ? json : L"(null)"));
  };
  ScriptDone a, b, c;
  a.onInvoke = b.onInvoke = c.onInvoke = collect;

  engine.SetScriptResult(S_OK, L"\"OK\"");
  ASSERT_EQ(webview->ExecuteScript(L"'OK'", &a), S_OK);
  EXPECT_TRUE(results.empty());
  ASSERT_TRUE(testhost::PumpUntil([&] { return a.calls == 1; }));

  engine.SetManualScripts(true);
  ASSERT_EQ(webview->ExecuteScript(L"first()", &b), S_OK);
  ASSERT_EQ(webview->ExecuteScript(L"second()", &c), S_OK);
  EXPECT_EQ(engine.PendingScriptCount(), 2);
  EXPECT_EQ(b.refs, 2);
  EXPECT_TRUE(engine.CompleteScript(1, E_FAIL, nullptr));  // second() first
  EXPECT_TRUE(engine.CompleteScript(0, S_OK, L"{\"n\":2}"));
  EXPECT_FALSE(engine.CompleteScript(0, S_OK, L"null"));
  ASSERT_TRUE(testhost::PumpUntil([&] { return b.calls == 1 && c.calls == 1; }));
  EXPECT_EQ(results, (std::vector<std::wstring>{L"00000000 \"OK\"", L"80004005 (null)", L"00000000 {\"n\":2}"}));
  EXPECT_EQ(engine.ArgsOf(L"ExecuteScript", 1), (std::vector<std::wstring>{L"'OK'", L"first()", L"second()"}));
  EXPECT_EQ(b.refs, 1);
  EXPECT_EQ(c.refs, 1);

  LPWSTR v = nullptr;
  EXPECT_EQ(version(nullptr, &v), S_OK);
  EXPECT_EQ(TakeString(v), L"138.0.3351.48");
  engine.SetBrowserVersion(HRESULT_FROM_WIN32(ERROR_FILE_NOT_FOUND), nullptr);
  v = reinterpret_cast<LPWSTR>(1);
  EXPECT_EQ(version(nullptr, &v), HRESULT_FROM_WIN32(ERROR_FILE_NOT_FOUND));
  EXPECT_EQ(v, nullptr);

  controller->Close();
  ReleaseAll();
  EXPECT_EQ(engine.LiveObjects(), liveAtStart);
}

// Calls through raw vtable slots, as the plug-in's own declarations would make them: a slot or
// argument-size error in the double's objects shows as a wrong record or an unbalanced stack.
TEST_F(EngineDoubleTest, LandmarkSlotsAnswerByNumber) {
  testhost::RectangleWindow window;
  ASSERT_NO_FATAL_FAILURE(CreateAll(window.hwnd()));
  auto slot = [](void* object, int index) { return (*reinterpret_cast<void***>(object))[index]; };
  using NoArgs = HRESULT(STDMETHODCALLTYPE*)(void*);
  using Text = HRESULT(STDMETHODCALLTYPE*)(void*, LPCWSTR);
  using Flag = HRESULT(STDMETHODCALLTYPE*)(void*, BOOL);
  using Rect = HRESULT(STDMETHODCALLTYPE*)(void*, RECT);
  using Double = HRESULT(STDMETHODCALLTYPE*)(void*, double);
  using Token = HRESULT(STDMETHODCALLTYPE*)(void*, EventRegistrationToken);

  reinterpret_cast<Text>(slot(webview, 5))(webview, L"u");
  reinterpret_cast<Text>(slot(webview, 6))(webview, L"h");
  reinterpret_cast<Token>(slot(webview, 8))(webview, EventRegistrationToken{77});
  reinterpret_cast<Text>(slot(webview, 28))(webview, L"script-9");
  reinterpret_cast<NoArgs>(slot(webview, 31))(webview);
  reinterpret_cast<Text>(slot(webview, 33))(webview, L"m");
  reinterpret_cast<NoArgs>(slot(webview, 40))(webview);
  reinterpret_cast<NoArgs>(slot(webview, 41))(webview);
  reinterpret_cast<NoArgs>(slot(webview, 43))(webview);
  reinterpret_cast<Token>(slot(webview, 60))(webview, EventRegistrationToken{5});
  reinterpret_cast<Flag>(slot(settings, 6))(settings, TRUE);
  reinterpret_cast<Flag>(slot(controller, 4))(controller, FALSE);
  reinterpret_cast<Rect>(slot(controller, 6))(controller, RECT{1, 2, 3, 4});
  reinterpret_cast<Double>(slot(controller, 8))(controller, 0.5);
  reinterpret_cast<NoArgs>(slot(controller, 24))(controller);

  std::vector<std::wstring> got;
  for (const EngineCall& c : engine.Calls()) {
    if (c.webview == 1 && c.name != L"get_CoreWebView2" && c.name != L"get_Settings") got.push_back(c.name + L"(" + c.args + L")");
  }
  EXPECT_EQ(got, (std::vector<std::wstring>{
                     L"Navigate(u)", L"NavigateToString(h)", L"remove_NavigationStarting(77)",
                     L"RemoveScriptToExecuteOnDocumentCreated(script-9)", L"Reload()", L"PostWebMessageAsString(m)",
                     L"GoBack()", L"GoForward()", L"Stop()", L"remove_WindowCloseRequested(5)",
                     L"put_IsWebMessageEnabled(1)", L"put_IsVisible(0)", L"put_Bounds(1,2,3,4)", L"put_ZoomFactor(0.5)",
                     L"Close()"}));
  ReleaseAll();
  EXPECT_EQ(engine.LiveObjects(), liveAtStart);
}

}  // namespace

TEST_F(EngineDoubleTest, DocumentScriptRunsOnlyInDocumentsStartedAfterItsCompletionArrived) {
  testhost::RectangleWindow window(400, 300);
  CreateAll(window.hwnd());
  AddScriptDone first, second;
  ASSERT_EQ(webview->AddScriptToExecuteOnDocumentCreated(L"window.a = 1;", &first), S_OK);
  ASSERT_EQ(webview->Navigate(L"https://before.example/"), S_OK);  // registered, not yet completed
  ASSERT_TRUE(testhost::PumpUntil([&] { return first.calls > 0; }));
  ASSERT_EQ(webview->AddScriptToExecuteOnDocumentCreated(L"window.b = 2;", &second), S_OK);
  ASSERT_EQ(webview->NavigateToString(L"<p>after</p>"), S_OK);
  ASSERT_TRUE(testhost::PumpUntil([&] { return second.calls > 0; }));
  ASSERT_EQ(webview->Navigate(L"https://both.example/"), S_OK);

  ASSERT_EQ(engine.NavigationCount(1), 3);
  EXPECT_TRUE(engine.NavigationScripts(1, 0).empty());
  EXPECT_EQ(engine.NavigationScripts(1, 1), std::vector<std::wstring>{L"window.a = 1;"});
  EXPECT_EQ(engine.NavigationScripts(1, 2), (std::vector<std::wstring>{L"window.a = 1;", L"window.b = 2;"}));

  // A removed script no longer runs.
  ASSERT_EQ(webview->RemoveScriptToExecuteOnDocumentCreated(L"script-1"), S_OK);
  ASSERT_EQ(webview->Navigate(L"https://later.example/"), S_OK);
  EXPECT_EQ(engine.NavigationScripts(1, 3), std::vector<std::wstring>{L"window.b = 2;"});
  controller->Close();
  ReleaseAll();
}
