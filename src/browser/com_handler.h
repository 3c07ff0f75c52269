#pragma once
// A reference-counted COM object that implements one WebView2 handler interface by
// forwarding Invoke to a callable. The engine keeps the object alive as long as it holds it;
// the callable must carry whatever it needs (never a bare pointer to a browser that may be
// gone by the time the engine calls back).
#include <windows.h>
#include <wrl/client.h>
#include <functional>
#include <new>
#include <utility>
#include "browser/com_adopt.h"
#include "browser/webview2.h"

template <class Interface, class... Args>
class TComHandler final : public Interface {
 public:
  using Callback = std::function<void(Args...)>;

  static Microsoft::WRL::ComPtr<Interface> Make(Callback callback) {
    return AdoptComObject<Interface>(new TComHandler(std::move(callback)));
  }

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
    try {
      if (callback_) callback_(args...);
    } catch (...) {
      // Nothing may unwind into the engine.
    }
    return S_OK;
  }

 private:
  explicit TComHandler(Callback callback) : callback_(std::move(callback)) {}
  ~TComHandler() = default;

  volatile LONG refs_ = 1;
  Callback callback_;
};

using TEnvironmentCompletedHandler =
    TComHandler<ICoreWebView2CreateCoreWebView2EnvironmentCompletedHandler, HRESULT, ICoreWebView2Environment*>;
using TControllerCompletedHandler =
    TComHandler<ICoreWebView2CreateCoreWebView2ControllerCompletedHandler, HRESULT, ICoreWebView2Controller*>;
using TExecuteScriptCompletedHandler = TComHandler<ICoreWebView2ExecuteScriptCompletedHandler, HRESULT, LPCWSTR>;
using TAddScriptCompletedHandler =
    TComHandler<ICoreWebView2AddScriptToExecuteOnDocumentCreatedCompletedHandler, HRESULT, LPCWSTR>;
using TNavigationStartingHandler = TComHandler<ICoreWebView2NavigationStartingEventHandler, ICoreWebView2*,
                                               ICoreWebView2NavigationStartingEventArgs*>;
using TNavigationCompletedHandler = TComHandler<ICoreWebView2NavigationCompletedEventHandler, ICoreWebView2*,
                                                ICoreWebView2NavigationCompletedEventArgs*>;
using TContentLoadingHandler =
    TComHandler<ICoreWebView2ContentLoadingEventHandler, ICoreWebView2*, ICoreWebView2ContentLoadingEventArgs*>;
using TDocumentTitleChangedHandler = TComHandler<ICoreWebView2DocumentTitleChangedEventHandler, ICoreWebView2*, IUnknown*>;
using TSourceChangedHandler =
    TComHandler<ICoreWebView2SourceChangedEventHandler, ICoreWebView2*, ICoreWebView2SourceChangedEventArgs*>;
using TProcessFailedHandler =
    TComHandler<ICoreWebView2ProcessFailedEventHandler, ICoreWebView2*, ICoreWebView2ProcessFailedEventArgs*>;
using TWebMessageReceivedHandler = TComHandler<ICoreWebView2WebMessageReceivedEventHandler, ICoreWebView2*,
                                               ICoreWebView2WebMessageReceivedEventArgs*>;
