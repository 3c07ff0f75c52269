#pragma once
// ICoreWebView2Environment backed by a running browser: each controller it creates is a new
// page target of that browser, completing through the calling thread's message loop.
#include <memory>

#include "browser_process.h"
#include "com_object.h"
#include "engine_abi.h"

namespace chromium {

class Environment final
    : public engine::ComObject<engine_abi::ICoreWebView2Environment, engine_abi::IID_ICoreWebView2Environment> {
 public:
  explicit Environment(std::shared_ptr<BrowserProcess> browser) : browser_(std::move(browser)) {}

  HRESULT STDMETHODCALLTYPE CreateCoreWebView2Controller(
      HWND parentWindow, engine_abi::ICoreWebView2CreateCoreWebView2ControllerCompletedHandler* handler) override;
  HRESULT STDMETHODCALLTYPE CreateWebResourceResponse(IStream* content, int statusCode, LPCWSTR reasonPhrase,
                                                      LPCWSTR headers, IUnknown** response) override;
  HRESULT STDMETHODCALLTYPE get_BrowserVersionString(LPWSTR* versionInfo) override;
  HRESULT STDMETHODCALLTYPE add_NewBrowserVersionAvailable(IUnknown* eventHandler,
                                                           EventRegistrationToken* token) override;
  HRESULT STDMETHODCALLTYPE remove_NewBrowserVersionAvailable(EventRegistrationToken token) override;

 private:
  std::shared_ptr<BrowserProcess> browser_;  // ends when the last environment and page let go
};

}  // namespace chromium
