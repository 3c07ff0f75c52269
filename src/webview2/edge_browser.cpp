#include "webview2/edge_browser.h"
#include <versionhelpers.h>
#include <new>
#include "webview2/com_handler.h"
#include "webview2/environment_options.h"
#include "webview2/webview2_loader.h"
#include "support/errors.h"
#include "support/guard.h"
#include "support/module.h"
#include "support/text.h"

using Microsoft::WRL::ComPtr;

namespace {
const wchar_t kWindowClassName[] = L"TamrelDeskBrowserHost";
const HRESULT kNotCreated = HRESULT_FROM_WIN32(ERROR_INVALID_STATE);

// The window class of every browser control, registered once per loaded module and removed
// again when the module is unloaded (a reloaded module must not find a class whose window
// procedure lies in the code of the unloaded one).
class TWindowClass {
 public:
  TWindowClass() = default;
  ~TWindowClass() {
    if (!FAtom) return;
    // Windows of hosts that were never destroyed (unloaded without the run-mode cleanup) keep
    // receiving messages: hand them to DefWindowProc before this module's code goes away.
    EnumThreadWindows(GetCurrentThreadId(), &TWindowClass::NeutralizeTree, 0);
    UnregisterClassW(kWindowClassName, FInstance);
  }
  bool Ensure(WNDPROC procedure) {
    if (FAtom) return true;
    FInstance = PluginInstance ? PluginInstance : GetModuleHandleW(nullptr);
    WNDCLASSEXW wc = {};
    wc.cbSize = sizeof(wc);
    wc.lpfnWndProc = procedure;
    wc.hInstance = FInstance;
    wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    wc.lpszClassName = kWindowClassName;
    FAtom = RegisterClassExW(&wc);
    if (!FAtom && GetLastError() == ERROR_CLASS_ALREADY_EXISTS) {
      // Left behind by an earlier instance of this module: take it over.
      UnregisterClassW(kWindowClassName, FInstance);
      FAtom = RegisterClassExW(&wc);
    }
    return FAtom != 0;
  }
  HINSTANCE Instance() const { return FInstance; }

 private:
  static BOOL CALLBACK Neutralize(HWND window, LPARAM) {
    wchar_t name[64] = {};
    if (GetClassNameW(window, name, 64) && lstrcmpW(name, kWindowClassName) == 0) {
      SetWindowLongPtrW(window, GWLP_USERDATA, 0);
      SetWindowLongPtrW(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&DefWindowProcW));
    }
    return TRUE;
  }
  static BOOL CALLBACK NeutralizeTree(HWND topLevel, LPARAM) {
    Neutralize(topLevel, 0);
    EnumChildWindows(topLevel, &TWindowClass::Neutralize, 0);
    return TRUE;
  }

  ATOM FAtom = 0;
  HINSTANCE FInstance = nullptr;
};

TWindowClass& WindowClass() {
  static TWindowClass windowClass;
  return windowClass;
}

std::wstring ExpandEnvironment(const std::wstring& text) {
  if (text.empty()) return text;
  DWORD size = ExpandEnvironmentStringsW(text.c_str(), nullptr, 0);
  if (size == 0) return text;
  std::wstring expanded(size, L'\0');
  size = ExpandEnvironmentStringsW(text.c_str(), &expanded[0], size);
  if (size == 0) return text;
  expanded.resize(size - 1);
  return expanded;
}

RECT ClientRect(HWND window) {
  RECT rect = {0, 0, 0, 0};
  if (window) GetClientRect(window, &rect);
  return rect;
}

// An event handler object that forwards to the browser's slot while the browser exists.
template <class Handler, class Args, class Slot>
auto MakeEventHandler(const std::shared_ptr<TBrowserLink>& link, Slot TEdgeBrowser::*slot) {
  return Handler::Make([link, slot](ICoreWebView2*, Args* args) {
    TEdgeBrowser* browser = link->browser;
    if (!browser) return;
    Slot handler = browser->*slot;  // a copy: the slot's owner may be freed while it runs
    if (handler) handler(browser, args);
  });
}
}  // namespace

TEdgeBrowser::TEdgeBrowser() : FLink(std::make_shared<TBrowserLink>()) { FLink->browser = this; }

TEdgeBrowser::~TEdgeBrowser() {
  // From here on no completion or event reaches this object, also not one that the engine
  // delivers synchronously while the controller is closed or the window destroyed.
  FLink->browser = nullptr;
  if (FWebView) {
    UnsubscribeEvents();
    if (!FInitScriptId.empty()) FWebView->RemoveScriptToExecuteOnDocumentCreated(FInitScriptId.c_str());
  }
  if (FController) FController->Close();
  FSettings.Reset();
  FWebView.Reset();
  FController.Reset();
  FEnvironment.Reset();
  if (FHandle) {
    HWND window = FHandle;
    FHandle = nullptr;
    SetWindowLongPtrW(window, GWLP_USERDATA, 0);
    DestroyWindow(window);
  }
}

// ---- window ------------------------------------------------------------------------------------

void TEdgeBrowser::SetParentWindow(HWND parent) {
  if (FHandle) {
    SetParent(FHandle, parent);
    return;
  }
  if (!WindowClass().Ensure(&TEdgeBrowser::WindowProc))
    Fail(L"Could not register the browser window class (error " + DecimalText(GetLastError()) + L").");
  HWND window = CreateWindowExW(0, kWindowClassName, L"", WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN | WS_CLIPSIBLINGS, 0,
                                0, 0, 0, parent, nullptr, WindowClass().Instance(), nullptr);
  if (!window) Fail(L"Could not create the browser window (error " + DecimalText(GetLastError()) + L").");
  FHandle = window;
  SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
}

bool TEdgeBrowser::Visible() const { return FHandle && (GetWindowLongPtrW(FHandle, GWL_STYLE) & WS_VISIBLE) != 0; }

void TEdgeBrowser::SetVisible(bool visible) {
  if (FHandle) ShowWindow(FHandle, visible ? SW_SHOWNA : SW_HIDE);
  if (FController) FController->put_IsVisible(visible ? TRUE : FALSE);
}

LRESULT CALLBACK TEdgeBrowser::WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  auto* browser = reinterpret_cast<TEdgeBrowser*>(GetWindowLongPtrW(window, GWLP_USERDATA));
  // Nothing may unwind into the window manager.
  if (browser) return Guarded(LRESULT{0}, [&] { return browser->OwnWindowMessage(message, wParam, lParam); });
  return DefWindowProcW(window, message, wParam, lParam);
}

LRESULT TEdgeBrowser::OwnWindowMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  LRESULT result = 0;
  if (HandleWindowMessage(message, wParam, lParam, result)) return result;
  switch (message) {
    case WM_SIZE: UpdateBounds(); break;
    case WM_NCDESTROY:
      // Destroyed with its parent: forget the handle; the WebView objects stay until destruction.
      SetWindowLongPtrW(FHandle, GWLP_USERDATA, 0);
      result = DefWindowProcW(FHandle, message, wParam, lParam);
      FHandle = nullptr;
      return result;
    default: break;
  }
  return DefWindowProcW(FHandle, message, wParam, lParam);
}

bool TEdgeBrowser::HandleWindowMessage(UINT, WPARAM, LPARAM, LRESULT&) { return false; }

void TEdgeBrowser::UpdateBounds() {
  if (FController && FHandle) FController->put_Bounds(ClientRect(FHandle));
}

void TEdgeBrowser::MatchControllerVisibility() {
  // A controller starts visible; a window hidden while the WebView was being created stays so.
  if (FController && !Visible()) FController->put_IsVisible(FALSE);
}

// ---- creation ----------------------------------------------------------------------------------

bool TEdgeBrowser::WebViewCreated() const { return FEnvironment && FController && FWebView && FSettings; }

void TEdgeBrowser::CreateWebView() {
  if (!IsWindows7OrGreater()) return;  // no completion will ever come
  if (FWebView || FBrowserControlState == TBrowserControlState::Creating) return;
  FBrowserControlState = TBrowserControlState::Creating;

  const std::wstring browserFolder = ExpandEnvironment(BrowserExecutableFolder);
  const std::wstring userDataFolder = ExpandEnvironment(UserDataFolder);
  ComPtr<ICoreWebView2EnvironmentOptions> options =
      TEnvironmentOptions::Make(L"", L"", kTargetCompatibleBrowserVersion, false);
  std::shared_ptr<TBrowserLink> link = FLink;
  ComPtr<ICoreWebView2CreateCoreWebView2EnvironmentCompletedHandler> handler =
      TEnvironmentCompletedHandler::Make([link](HRESULT result, ICoreWebView2Environment* environment) {
        if (link->browser) link->browser->EnvironmentCompleted(result, environment);
      });

  const HRESULT hr =
      CreateEnvironmentThroughLoader(browserFolder.c_str(), userDataFolder.c_str(), options.Get(), handler.Get());
  // A failing call is final; a completion that might still come is ignored by the state test
  // in EnvironmentCompleted.
  if (FAILED(hr) && link->browser && FBrowserControlState == TBrowserControlState::Creating && !FEnvironment) {
    FBrowserControlState = TBrowserControlState::Failed;
    NotifyCreateWebViewCompleted(hr);
  }
}

void TEdgeBrowser::EnvironmentCompleted(HRESULT result, ICoreWebView2Environment* environment) {
  if (FBrowserControlState != TBrowserControlState::Creating || FEnvironment) return;
  if (FAILED(result) || !environment) {
    FBrowserControlState = TBrowserControlState::Failed;
    NotifyCreateWebViewCompleted(FAILED(result) ? result : E_POINTER);
    return;
  }
  FEnvironment = environment;

  std::shared_ptr<TBrowserLink> link = FLink;
  HRESULT hr = HRESULT_FROM_WIN32(ERROR_INVALID_WINDOW_HANDLE);
  if (FHandle) {
    ComPtr<ICoreWebView2CreateCoreWebView2ControllerCompletedHandler> handler =
        TControllerCompletedHandler::Make([link](HRESULT result, ICoreWebView2Controller* controller) {
          if (link->browser) link->browser->ControllerCompleted(result, controller);
        });
    hr = FEnvironment->CreateCoreWebView2Controller(FHandle, handler.Get());
  }
  if (FAILED(hr) && link->browser && FBrowserControlState == TBrowserControlState::Creating && !FController) {
    FBrowserControlState = TBrowserControlState::Failed;
    NotifyCreateWebViewCompleted(hr);
  }
}

void TEdgeBrowser::ControllerCompleted(HRESULT result, ICoreWebView2Controller* controller) {
  if (FBrowserControlState != TBrowserControlState::Creating || FController) return;
  if (FAILED(result) || !controller) {
    FBrowserControlState = TBrowserControlState::Failed;
    NotifyCreateWebViewCompleted(FAILED(result) ? result : E_POINTER);
    return;
  }
  FController = controller;

  // Getting the WebView or its settings can fail; the state then stays Creating.
  ComPtr<ICoreWebView2> webView;
  HRESULT hr = FController->get_CoreWebView2(&webView);
  if (SUCCEEDED(hr) && !webView) hr = E_POINTER;
  if (FAILED(hr)) {
    NotifyCreateWebViewCompleted(hr);
    return;
  }
  FWebView = webView;
  ComPtr<ICoreWebView2Settings> settings;
  hr = FWebView->get_Settings(&settings);
  if (SUCCEEDED(hr) && !settings) hr = E_POINTER;
  if (FAILED(hr)) {
    NotifyCreateWebViewCompleted(hr);
    return;
  }
  FSettings = settings;

  FBrowserControlState = TBrowserControlState::Created;
  if (!NotifyCreateWebViewCompleted(result)) return;
  // The document script runs only in documents started after its registration completed, so
  // OnInitScriptRegistered (where the first navigation may go out) waits for that completion.
  SubscribeEvents();
  HRESULT registered = S_OK;
  const bool settled = RegisterInitScript(registered);
  UpdateBounds();
  MatchControllerVisibility();
  if (settled) InitScriptCompleted(registered, nullptr);
}

bool TEdgeBrowser::NotifyCreateWebViewCompleted(HRESULT result) {
  std::shared_ptr<TBrowserLink> link = FLink;
  TCreateWebViewCompletedEvent handler = OnCreateWebViewCompleted;
  if (handler) handler(this, result);
  return link->browser != nullptr;
}

void TEdgeBrowser::SubscribeEvents() {
  if (!FWebView) return;
  ICoreWebView2* webView = FWebView.Get();
  auto& s = FSubscriptions;
  s.push_back(SubscribeEvent(webView, &ICoreWebView2::add_NavigationStarting, &ICoreWebView2::remove_NavigationStarting,
                             MakeEventHandler<TNavigationStartingHandler, ICoreWebView2NavigationStartingEventArgs>(
                                 FLink, &TEdgeBrowser::OnNavigationStarting)
                                 .Get()));
  s.push_back(SubscribeEvent(webView, &ICoreWebView2::add_NavigationCompleted,
                             &ICoreWebView2::remove_NavigationCompleted,
                             MakeEventHandler<TNavigationCompletedHandler, ICoreWebView2NavigationCompletedEventArgs>(
                                 FLink, &TEdgeBrowser::OnNavigationCompleted)
                                 .Get()));
  s.push_back(SubscribeEvent(webView, &ICoreWebView2::add_ContentLoading, &ICoreWebView2::remove_ContentLoading,
                             MakeEventHandler<TContentLoadingHandler, ICoreWebView2ContentLoadingEventArgs>(
                                 FLink, &TEdgeBrowser::OnContentLoading)
                                 .Get()));
  s.push_back(SubscribeEvent(
      webView, &ICoreWebView2::add_DocumentTitleChanged, &ICoreWebView2::remove_DocumentTitleChanged,
      MakeEventHandler<TDocumentTitleChangedHandler, IUnknown>(FLink, &TEdgeBrowser::OnDocumentTitleChanged).Get()));
  s.push_back(SubscribeEvent(webView, &ICoreWebView2::add_SourceChanged, &ICoreWebView2::remove_SourceChanged,
                             MakeEventHandler<TSourceChangedHandler, ICoreWebView2SourceChangedEventArgs>(
                                 FLink, &TEdgeBrowser::OnSourceChanged)
                                 .Get()));
  s.push_back(SubscribeEvent(webView, &ICoreWebView2::add_ProcessFailed, &ICoreWebView2::remove_ProcessFailed,
                             MakeEventHandler<TProcessFailedHandler, ICoreWebView2ProcessFailedEventArgs>(
                                 FLink, &TEdgeBrowser::OnProcessFailed)
                                 .Get()));
  s.push_back(SubscribeEvent(webView, &ICoreWebView2::add_WebMessageReceived, &ICoreWebView2::remove_WebMessageReceived,
                             MakeEventHandler<TWebMessageReceivedHandler, ICoreWebView2WebMessageReceivedEventArgs>(
                                 FLink, &TEdgeBrowser::OnWebMessageReceived)
                                 .Get()));
}

void TEdgeBrowser::UnsubscribeEvents() {
  // In the order of subscription, while the WebView is still held.
  for (TEventToken& subscription : FSubscriptions) subscription.reset();
  FSubscriptions.clear();
}

bool TEdgeBrowser::RegisterInitScript(HRESULT& result) {
  result = S_OK;
  if (!FWebView || InitScript.Count() == 0) return true;
  const std::wstring script = InitScript.Text();
  std::shared_ptr<TBrowserLink> link = FLink;
  ComPtr<ICoreWebView2AddScriptToExecuteOnDocumentCreatedCompletedHandler> handler =
      TAddScriptCompletedHandler::Make([link](HRESULT completed, LPCWSTR id) {
        if (link->browser) link->browser->InitScriptCompleted(completed, id);
      });
  result = FWebView->AddScriptToExecuteOnDocumentCreated(script.c_str(), handler.Get());
  return FAILED(result);  // a refused call brings no completion
}

void TEdgeBrowser::InitScriptCompleted(HRESULT result, LPCWSTR id) {
  if (FInitScriptSettled) return;
  FInitScriptSettled = true;
  if (SUCCEEDED(result) && id) FInitScriptId = id;
  TInitScriptRegisteredEvent handler = OnInitScriptRegistered;  // a copy, as for the events
  if (handler) handler(this, result);
}

// ---- operations --------------------------------------------------------------------------------

HRESULT TEdgeBrowser::Navigate(const std::wstring& uri) {
  if (!FWebView) return kNotCreated;
  return FWebView->Navigate(uri.c_str());
}

HRESULT TEdgeBrowser::SetVirtualHostNameToFolderMapping(const std::wstring& hostName, const std::wstring& folder,
                                                        COREWEBVIEW2_HOST_RESOURCE_ACCESS_KIND accessKind) {
  if (!FWebView) return kNotCreated;
  // Asked for on each call: the reference is held only for the call.
  ComPtr<ICoreWebView2_3> webview3;
  const HRESULT hr =
      FWebView->QueryInterface(ICoreWebView2_3::Iid(), reinterpret_cast<void**>(webview3.GetAddressOf()));
  if (FAILED(hr)) return hr;
  if (!webview3) return E_NOINTERFACE;
  return webview3->SetVirtualHostNameToFolderMapping(hostName.c_str(), folder.c_str(), accessKind);
}

HRESULT TEdgeBrowser::NavigateToString(const std::wstring& html) {
  if (!FWebView) return kNotCreated;
  return FWebView->NavigateToString(html.c_str());
}

HRESULT TEdgeBrowser::ExecuteScript(const std::wstring& script, const std::wstring& context) {
  if (!FWebView) return kNotCreated;
  ComPtr<ICoreWebView2ExecuteScriptCompletedHandler> handler =
      TExecuteScriptCompletedHandler::Make([link = FLink, context](HRESULT errorCode, LPCWSTR resultObjectAsJson) {
        TEdgeBrowser* browser = link->browser;
        if (!browser) return;
        TExecuteScriptEvent slot = browser->OnExecuteScript;  // a copy, as for the events
        if (slot) slot(browser, errorCode, resultObjectAsJson, context);
      });
  return FWebView->ExecuteScript(script.c_str(), handler.Get());
}
