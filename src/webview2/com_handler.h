#pragma once
// A reference-counted COM object that implements one WebView2 handler interface by
// forwarding Invoke to a callable. The engine keeps the object alive as long as it holds it;
// the callable must carry whatever it needs (never a bare pointer to a browser that may be
// gone by the time the engine calls back).
#include <windows.h>
#include <wrl/client.h>
#include <type_traits>
#include <new>
#include <utility>
#include "support/guard.h"
#include "webview2/webview2.h"
#include "webview2/com_adopt.h"

template <class Interface, class Callable, class... Args>
class TComHandler final : public Interface {
 public:
  explicit TComHandler(Callable callback) : callback_(std::move(callback)) {}

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** object) override {
    if (!object) return E_POINTER;
    if (IsEqualIID(riid, IID_IUnknown) || IsEqualIID(riid, Interface::Iid())) {
      *object = static_cast<Interface*>(this);
      AddRef();
      return S_OK;
    }
    *object = nullptr;
    return E_NOINTERFACE;
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return static_cast<ULONG>(InterlockedIncrement(&refs_)); }
  ULONG STDMETHODCALLTYPE Release() override {
    const LONG left = InterlockedDecrement(&refs_);
    if (left == 0) delete this;
    return static_cast<ULONG>(left);
  }

  HRESULT STDMETHODCALLTYPE Invoke(Args... args) override {
    // The callable may end in code that makes the engine drop its reference to this very
    // object (a host script destroying the browser); stay alive until Invoke returns.
    Microsoft::WRL::ComPtr<TComHandler> keepAlive(this);
    // Nothing may unwind into the engine.
    GuardedCall([&] { callback_(args...); });
    return S_OK;
  }

 private:
  ~TComHandler() = default;

  volatile LONG refs_ = 1;
  Callable callback_;  // held in the object itself: one heap block per handler
};

// The handler kind of one interface: Make wraps a callable taking the interface's arguments.
template <class Interface, class... Args>
struct TComHandlerOf {
  template <class Callable>
  static Microsoft::WRL::ComPtr<Interface> Make(Callable&& callback) {
    return AdoptComObject<Interface>(
        new TComHandler<Interface, std::decay_t<Callable>, Args...>(std::forward<Callable>(callback)));
  }
};

using TEnvironmentCompletedHandler =
    TComHandlerOf<ICoreWebView2CreateCoreWebView2EnvironmentCompletedHandler, HRESULT, ICoreWebView2Environment*>;
using TControllerCompletedHandler =
    TComHandlerOf<ICoreWebView2CreateCoreWebView2ControllerCompletedHandler, HRESULT, ICoreWebView2Controller*>;
using TExecuteScriptCompletedHandler = TComHandlerOf<ICoreWebView2ExecuteScriptCompletedHandler, HRESULT, LPCWSTR>;
using TAddScriptCompletedHandler =
    TComHandlerOf<ICoreWebView2AddScriptToExecuteOnDocumentCreatedCompletedHandler, HRESULT, LPCWSTR>;
using TNavigationStartingHandler = TComHandlerOf<ICoreWebView2NavigationStartingEventHandler, ICoreWebView2*,
                                                 ICoreWebView2NavigationStartingEventArgs*>;
using TNavigationCompletedHandler = TComHandlerOf<ICoreWebView2NavigationCompletedEventHandler, ICoreWebView2*,
                                                  ICoreWebView2NavigationCompletedEventArgs*>;
using TContentLoadingHandler =
    TComHandlerOf<ICoreWebView2ContentLoadingEventHandler, ICoreWebView2*, ICoreWebView2ContentLoadingEventArgs*>;
using TDocumentTitleChangedHandler =
    TComHandlerOf<ICoreWebView2DocumentTitleChangedEventHandler, ICoreWebView2*, IUnknown*>;
using TSourceChangedHandler =
    TComHandlerOf<ICoreWebView2SourceChangedEventHandler, ICoreWebView2*, ICoreWebView2SourceChangedEventArgs*>;
using TProcessFailedHandler =
    TComHandlerOf<ICoreWebView2ProcessFailedEventHandler, ICoreWebView2*, ICoreWebView2ProcessFailedEventArgs*>;
using TWebMessageReceivedHandler = TComHandlerOf<ICoreWebView2WebMessageReceivedEventHandler, ICoreWebView2*,
                                                 ICoreWebView2WebMessageReceivedEventArgs*>;
