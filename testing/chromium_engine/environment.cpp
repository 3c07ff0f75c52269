#include "environment.h"

#include "chromium_core.h"
#include "com_strings.h"
#include "controller.h"
#include "delivery_queue.h"

namespace chromium {

using engine_abi::ICoreWebView2CreateCoreWebView2ControllerCompletedHandler;

HRESULT Environment::CreateCoreWebView2Controller(HWND parentWindow,
                                                  ICoreWebView2CreateCoreWebView2ControllerCompletedHandler* handler) {
  if (!handler) return E_POINTER;
  auto done = engine::Ref<ICoreWebView2CreateCoreWebView2ControllerCompletedHandler>::Share(handler);
  auto self = engine::Ref<Environment>::Share(this);
  engine::Post([done, self, parentWindow] {
    // A parent destroyed before creation finished aborts it (HWND_MESSAGE is a valid parent).
    if (parentWindow != HWND_MESSAGE && !IsWindow(parentWindow)) {
      done->Invoke(E_ABORT, nullptr);
      return;
    }
    HRESULT hr = E_FAIL;
    std::shared_ptr<engine::Page> page;
    try {
      page = ChromiumCore::Instance().OpenPage(self->browser_, parentWindow, &hr);
    } catch (...) {
      hr = E_FAIL;  // nothing unwinds into the message loop
    }
    if (!page) {
      done->Invoke(FAILED(hr) ? hr : E_FAIL, nullptr);
      return;
    }
    auto controller = engine::Ref<engine::Controller>::Adopt(new engine::Controller(page));
    done->Invoke(S_OK, controller.get());
  });
  return S_OK;
}

HRESULT Environment::CreateWebResourceResponse(IStream*, int, LPCWSTR, LPCWSTR, IUnknown** response) {
  if (response) *response = nullptr;
  return E_NOTIMPL;
}

HRESULT Environment::get_BrowserVersionString(LPWSTR* versionInfo) {
  return engine::CopyOutString(browser_->Version(), versionInfo);
}

HRESULT Environment::add_NewBrowserVersionAvailable(IUnknown*, EventRegistrationToken*) { return E_NOTIMPL; }

HRESULT Environment::remove_NewBrowserVersionAvailable(EventRegistrationToken) { return E_NOTIMPL; }

}  // namespace chromium
