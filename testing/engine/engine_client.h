#pragma once
// Test-side access to the WebView2 engine double: loads the same WebView2Loader.dll the
// plug-in loads (testhost::EngineDirectory()) and wraps its Engine_* controls.
#include <windows.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "engine/engine_control.h"
#include "testhost/test_env.h"

struct EngineCall {
  std::wstring name;
  std::wstring args;
  int32_t webview = 0;
};

struct EngineOptions {
  bool given = false;  // the last creation passed an options object
  std::wstring browserFolder, userDataFolder, additionalArgs, language, targetVersion;
  BOOL allowSso = FALSE;
};

class EngineClient {
 public:
  // Uses the WebView2Loader.dll already in the process if there is one (the instance the plug-in
  // talks to), otherwise loads the double from the engine folder.
  EngineClient() {
    if (!GetModuleHandleExW(0, L"WebView2Loader.dll", &module_)) module_ = LoadLibraryW(Path().c_str());
  }
  // The copy of the double at `path` (the instance of that file the plug-in loads, if it did).
  explicit EngineClient(const std::wstring& path) { module_ = LoadLibraryW(path.c_str()); }
  // The double stays loaded: it pins itself once it has posted anything.
  ~EngineClient() {
    if (module_) FreeLibrary(module_);
  }
  EngineClient(const EngineClient&) = delete;
  EngineClient& operator=(const EngineClient&) = delete;

  bool ok() const { return module_ != nullptr; }
  HMODULE module() const { return module_; }
  std::wstring Path() const { return testhost::EngineDirectory() + L"WebView2Loader.dll"; }

  // --- settings -----------------------------------------------------------------------------
  void Reset() { Fn<decltype(&Engine_Reset)>("Engine_Reset")(); }
  void FailStep(EngineStep step, HRESULT hr) { Fn<decltype(&Engine_FailStep)>("Engine_FailStep")(step, hr); }
  void SetVirtualHostMapping(BOOL offered, HRESULT result) {
    Fn<decltype(&Engine_SetVirtualHostMapping)>("Engine_SetVirtualHostMapping")(offered, result);
  }
  // The folder mapped to host on webview n; empty when host is not mapped.
  std::wstring VirtualHostFolder(int32_t webview, const std::wstring& host) const {
    auto fn = Fn<decltype(&Engine_VirtualHostFolder)>("Engine_VirtualHostFolder");
    const int32_t n = fn(webview, host.c_str(), nullptr, 0);
    if (n < 0) return std::wstring();
    std::wstring text(static_cast<size_t>(n) + 1, L'\0');
    fn(webview, host.c_str(), &text[0], n + 1);
    text.resize(static_cast<size_t>(n));
    return text;
  }
  void SetBrowserVersion(HRESULT hr, const wchar_t* version) {
    Fn<decltype(&Engine_SetBrowserVersion)>("Engine_SetBrowserVersion")(hr, version);
  }

  // --- counts -------------------------------------------------------------------------------
  int32_t LiveObjects() const { return Fn<decltype(&Engine_LiveObjects)>("Engine_LiveObjects")(); }
  int32_t WebViewCount() const { return Fn<decltype(&Engine_WebViewCount)>("Engine_WebViewCount")(); }
  int32_t PendingDeliveries() const { return Fn<decltype(&Engine_PendingDeliveries)>("Engine_PendingDeliveries")(); }

  // --- call records -------------------------------------------------------------------------
  std::vector<EngineCall> Calls() const {
    std::vector<EngineCall> out;
    const int32_t n = Fn<decltype(&Engine_CallCount)>("Engine_CallCount")();
    for (int32_t i = 0; i < n; ++i) {
      EngineCall call;
      call.name = Text(Fn<decltype(&Engine_CallName)>("Engine_CallName"), i);
      call.args = Text(Fn<decltype(&Engine_CallArgs)>("Engine_CallArgs"), i);
      call.webview = Fn<decltype(&Engine_CallWebView)>("Engine_CallWebView")(i);
      out.push_back(call);
    }
    return out;
  }
  // Names of every call in order, optionally only those concerning one webview.
  std::vector<std::wstring> Names(int32_t webview = -1) const {
    std::vector<std::wstring> out;
    for (const EngineCall& c : Calls())
      if (webview < 0 || c.webview == webview) out.push_back(c.name);
    return out;
  }
  // Arguments of every call of that name, in order.
  std::vector<std::wstring> ArgsOf(const std::wstring& name, int32_t webview = -1) const {
    std::vector<std::wstring> out;
    for (const EngineCall& c : Calls())
      if (c.name == name && (webview < 0 || c.webview == webview)) out.push_back(c.args);
    return out;
  }
  int CountOf(const std::wstring& name, int32_t webview = -1) const {
    return static_cast<int>(ArgsOf(name, webview).size());
  }

  EngineOptions LastOptions() const {
    std::vector<wchar_t> b[5];
    for (auto& v : b) v.assign(4096, L'\0');
    EngineOptions o;
    o.given = Fn<decltype(&Engine_LastOptions)>("Engine_LastOptions")(b[0].data(), b[1].data(), b[2].data(),
                                                                      b[3].data(), b[4].data(), &o.allowSso, 4096) != 0;
    o.browserFolder = b[0].data();
    o.userDataFolder = b[1].data();
    o.additionalArgs = b[2].data();
    o.language = b[3].data();
    o.targetVersion = b[4].data();
    return o;
  }

  // --- webview state ------------------------------------------------------------------------
  HWND ParentWindow(int32_t wv) const { return Fn<decltype(&Engine_ParentWindow)>("Engine_ParentWindow")(wv); }
  RECT Bounds(int32_t wv) const {
    RECT r{};
    Fn<decltype(&Engine_GetBounds)>("Engine_GetBounds")(wv, &r);
    return r;
  }
  bool IsVisible(int32_t wv) const { return Fn<decltype(&Engine_IsVisible)>("Engine_IsVisible")(wv) != FALSE; }
  double Zoom(int32_t wv) const { return Fn<decltype(&Engine_GetZoom)>("Engine_GetZoom")(wv); }
  bool IsClosed(int32_t wv) const { return Fn<decltype(&Engine_IsClosed)>("Engine_IsClosed")(wv) != FALSE; }
  bool WebMessageEnabled(int32_t wv) const {
    return Fn<decltype(&Engine_WebMessageEnabled)>("Engine_WebMessageEnabled")(wv) != FALSE;
  }
  int32_t HandlerCount(int32_t wv) const { return Fn<decltype(&Engine_HandlerCount)>("Engine_HandlerCount")(wv); }
  std::vector<std::wstring> DocumentScripts(int32_t wv) const {
    std::vector<std::wstring> out;
    const int32_t n = Fn<decltype(&Engine_DocumentScriptCount)>("Engine_DocumentScriptCount")(wv);
    auto get = Fn<decltype(&Engine_DocumentScript)>("Engine_DocumentScript");
    for (int32_t i = 0; i < n; ++i) {
      const int32_t len = get(wv, i, nullptr, 0);
      std::wstring s(static_cast<size_t>(len < 0 ? 0 : len) + 1, L'\0');
      get(wv, i, &s[0], static_cast<int32_t>(s.size()));
      s.resize(s.size() - 1);
      out.push_back(s);
    }
    return out;
  }

  int32_t NavigationCount(int32_t wv) const {
    return Fn<decltype(&Engine_NavigationCount)>("Engine_NavigationCount")(wv);
  }
  // The document scripts that ran in the document of navigation `navigation` of webview wv.
  std::vector<std::wstring> NavigationScripts(int32_t wv, int32_t navigation) const {
    std::vector<std::wstring> out;
    const int32_t n = Fn<decltype(&Engine_NavigationScriptCount)>("Engine_NavigationScriptCount")(wv, navigation);
    auto get = Fn<decltype(&Engine_NavigationScript)>("Engine_NavigationScript");
    for (int32_t i = 0; i < n; ++i) {
      const int32_t len = get(wv, navigation, i, nullptr, 0);
      std::wstring s(static_cast<size_t>(len < 0 ? 0 : len) + 1, L'\0');
      get(wv, navigation, i, &s[0], static_cast<int32_t>(s.size()));
      s.resize(s.size() - 1);
      out.push_back(s);
    }
    return out;
  }

  // --- page state the getters report --------------------------------------------------------
  void SetSource(int32_t wv, const std::wstring& uri) {
    Fn<decltype(&Engine_SetSource)>("Engine_SetSource")(wv, uri.c_str());
  }
  void SetTitle(int32_t wv, const std::wstring& title) {
    Fn<decltype(&Engine_SetTitle)>("Engine_SetTitle")(wv, title.c_str());
  }
  void SetHistory(int32_t wv, bool back, bool forward) {
    Fn<decltype(&Engine_SetHistory)>("Engine_SetHistory")(wv, back ? TRUE : FALSE, forward ? TRUE : FALSE);
  }
  void SetZoom(int32_t wv, double factor) { Fn<decltype(&Engine_SetZoom)>("Engine_SetZoom")(wv, factor); }

  // --- events and messages (arrive while the thread pumps) -----------------------------------
  void Fire(int32_t wv, EngineEvent event, const EngineEventArgs& args = EngineEventArgs{}) {
    Fn<decltype(&Engine_FireEvent)>("Engine_FireEvent")(wv, event, &args);
  }
  void FireNavigationStarting(int32_t wv, const wchar_t* uri) {
    EngineEventArgs a{};
    a.uri = uri;
    Fire(wv, ENGINE_EVENT_NAVIGATION_STARTING, a);
  }
  void FireNavigationCompleted(int32_t wv, bool success, int32_t webErrorStatus = 0) {
    EngineEventArgs a{};
    a.isSuccess = success ? TRUE : FALSE;
    a.webErrorStatus = webErrorStatus;
    Fire(wv, ENGINE_EVENT_NAVIGATION_COMPLETED, a);
  }
  void FireContentLoading(int32_t wv, bool isErrorPage, uint64_t navigationId) {
    EngineEventArgs a{};
    a.isErrorPage = isErrorPage ? TRUE : FALSE;
    a.navigationId = navigationId;
    Fire(wv, ENGINE_EVENT_CONTENT_LOADING, a);
  }
  void FireDocumentTitleChanged(int32_t wv) { Fire(wv, ENGINE_EVENT_DOCUMENT_TITLE_CHANGED); }
  void FireSourceChanged(int32_t wv, bool isNewDocument) {
    EngineEventArgs a{};
    a.isNewDocument = isNewDocument ? TRUE : FALSE;
    Fire(wv, ENGINE_EVENT_SOURCE_CHANGED, a);
  }
  void FireProcessFailed(int32_t wv, int32_t kind) {
    EngineEventArgs a{};
    a.processFailedKind = kind;
    Fire(wv, ENGINE_EVENT_PROCESS_FAILED, a);
  }
  void PostWebMessage(int32_t wv, const std::wstring& text, bool isString = true) {
    Fn<decltype(&Engine_PostWebMessage)>("Engine_PostWebMessage")(wv, text.c_str(), isString ? TRUE : FALSE);
  }

  // --- ExecuteScript completions ---------------------------------------------------------------
  void SetManualScripts(bool manual) {
    Fn<decltype(&Engine_SetManualScripts)>("Engine_SetManualScripts")(manual ? TRUE : FALSE);
  }
  // json null: the completion receives a null result pointer.
  void SetScriptResult(HRESULT hr, const wchar_t* json) {
    Fn<decltype(&Engine_SetScriptResult)>("Engine_SetScriptResult")(hr, json);
  }
  int32_t PendingScriptCount() const { return Fn<decltype(&Engine_PendingScriptCount)>("Engine_PendingScriptCount")(); }
  bool CompleteScript(int32_t index, HRESULT hr, const wchar_t* json) {
    return Fn<decltype(&Engine_CompleteScript)>("Engine_CompleteScript")(index, hr, json) != FALSE;
  }

 private:
  template <typename F>
  F Fn(const char* name) const {
    F f = module_ ? reinterpret_cast<F>(reinterpret_cast<void*>(GetProcAddress(module_, name))) : nullptr;
    if (!f) {
      // A missing double or export is a broken test setup; fail loudly rather than crash later.
      std::string msg = std::string("engine double: missing ") + name + "\n";
      OutputDebugStringA(msg.c_str());
      fprintf(stderr, "%s", msg.c_str());
      abort();
    }
    return f;
  }
  template <typename F>
  static std::wstring Text(F get, int32_t index) {
    const int32_t len = get(index, nullptr, 0);
    if (len <= 0) return std::wstring();
    std::wstring s(static_cast<size_t>(len) + 1, L'\0');
    get(index, &s[0], len + 1);
    s.resize(static_cast<size_t>(len));
    return s;
  }

  HMODULE module_ = nullptr;
};
