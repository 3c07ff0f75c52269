#pragma once
// ICoreWebView2Environment of the double: creates controllers, completing through the
// calling thread's message loop.
#include "com_object.h"
#include "engine_abi.h"

namespace engine {

class Environment final
    : public ComObject<engine_abi::ICoreWebView2Environment, engine_abi::IID_ICoreWebView2Environment> {
 public:
  HRESULT STDMETHODCALLTYPE CreateCoreWebView2Controller(
      HWND parentWindow, engine_abi::ICoreWebView2CreateCoreWebView2ControllerCompletedHandler* handler) override;
  HRESULT STDMETHODCALLTYPE CreateWebResourceResponse(IStream* content, int statusCode, LPCWSTR reasonPhrase,
                                                      LPCWSTR headers, IUnknown** response) override;
  HRESULT STDMETHODCALLTYPE get_BrowserVersionString(LPWSTR* versionInfo) override;
  HRESULT STDMETHODCALLTYPE add_NewBrowserVersionAvailable(IUnknown* eventHandler,
                                                           EventRegistrationToken* token) override;
  HRESULT STDMETHODCALLTYPE remove_NewBrowserVersionAvailable(EventRegistrationToken token) override;
};

}  // namespace engine
