#include "environment.h"

#include "com_strings.h"
#include "controller.h"
#include "delivery_queue.h"
#include "engine_control.h"
#include "engine_core.h"

namespace engine {

using engine_abi::ICoreWebView2CreateCoreWebView2ControllerCompletedHandler;

HRESULT Environment::CreateCoreWebView2Controller(HWND parentWindow,
                                                  ICoreWebView2CreateCoreWebView2ControllerCompletedHandler* handler) {
  EngineCore& core = EngineCore::Instance();
  core.Record(L"CreateCoreWebView2Controller", ArgHandle(parentWindow), 0);
  if (FAILED(core.Failure(ENGINE_STEP_CREATE_CONTROLLER_CALL))) return core.Failure(ENGINE_STEP_CREATE_CONTROLLER_CALL);
  if (!handler) return E_POINTER;
  const HRESULT completionFailure = core.Failure(ENGINE_STEP_CONTROLLER_COMPLETION);
  auto done = Ref<ICoreWebView2CreateCoreWebView2ControllerCompletedHandler>::Share(handler);
  auto self = Ref<Environment>::Share(this);
  Post([done, self, parentWindow, completionFailure] {
    if (FAILED(completionFailure)) {
      done->Invoke(completionFailure, nullptr);
      return;
    }
    // A parent destroyed before creation finished aborts it (HWND_MESSAGE is a valid parent).
    if (parentWindow != HWND_MESSAGE && !IsWindow(parentWindow)) {
      done->Invoke(E_ABORT, nullptr);
      return;
    }
    auto controller = Ref<Controller>::Adopt(new Controller(EngineCore::Instance().OpenPage(parentWindow)));
    done->Invoke(S_OK, controller.get());
  });
  return S_OK;
}

HRESULT Environment::CreateWebResourceResponse(IStream*, int, LPCWSTR, LPCWSTR, IUnknown** response) {
  EngineCore::Instance().Record(L"CreateWebResourceResponse", L"", 0);
  if (response) *response = nullptr;
  return E_NOTIMPL;
}

HRESULT Environment::get_BrowserVersionString(LPWSTR* versionInfo) {
  EngineCore& core = EngineCore::Instance();
  core.Record(L"get_BrowserVersionString", L"", 0);
  return CopyOutString(core.BrowserVersion().Ptr(), versionInfo);
}

HRESULT Environment::add_NewBrowserVersionAvailable(IUnknown*, EventRegistrationToken*) {
  EngineCore::Instance().Record(L"add_NewBrowserVersionAvailable", L"", 0);
  return E_NOTIMPL;
}

HRESULT Environment::remove_NewBrowserVersionAvailable(EventRegistrationToken token) {
  EngineCore::Instance().Record(L"remove_NewBrowserVersionAvailable", std::to_wstring(token.value), 0);
  return E_NOTIMPL;
}

}  // namespace engine
