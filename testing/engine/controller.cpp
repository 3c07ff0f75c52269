#include "controller.h"

#include "engine_control.h"
#include "webview.h"

namespace engine {

Controller::Controller(std::shared_ptr<Page> page) : page_(std::move(page)) {
  webview_ = Ref<WebView>::Adopt(new WebView(page_));
}

Controller::~Controller() {
  // The runtime closes the webview when the controller's last reference goes.
  Behaviour().ClosePage(*page_);
}

HRESULT Controller::Enter(const wchar_t* name, const std::wstring& args) {
  Behaviour().Record(name, args, page_->number);
  return page_->closed ? kClosedError : S_OK;
}

HRESULT Controller::Unsupported(const wchar_t* name, const std::wstring& args) {
  const HRESULT hr = Enter(name, args);
  return FAILED(hr) ? hr : E_NOTIMPL;
}

HRESULT Controller::get_IsVisible(BOOL* isVisible) {
  if (HRESULT hr = Enter(L"get_IsVisible"); FAILED(hr)) return hr;
  if (!isVisible) return E_POINTER;
  *isVisible = page_->visible;
  return S_OK;
}

HRESULT Controller::put_IsVisible(BOOL isVisible) {
  if (HRESULT hr = Enter(L"put_IsVisible", ArgBool(isVisible)); FAILED(hr)) return hr;
  Behaviour().SetVisible(*page_, isVisible);
  return S_OK;
}

HRESULT Controller::get_Bounds(RECT* bounds) {
  if (HRESULT hr = Enter(L"get_Bounds"); FAILED(hr)) return hr;
  if (!bounds) return E_POINTER;
  *bounds = page_->bounds;
  return S_OK;
}

HRESULT Controller::put_Bounds(RECT bounds) {
  if (HRESULT hr = Enter(L"put_Bounds", ArgRect(bounds)); FAILED(hr)) return hr;
  Behaviour().SetBounds(*page_, bounds);
  return S_OK;
}

HRESULT Controller::get_ZoomFactor(double* zoomFactor) {
  if (HRESULT hr = Enter(L"get_ZoomFactor"); FAILED(hr)) return hr;
  if (!zoomFactor) return E_POINTER;
  *zoomFactor = page_->zoom;
  return S_OK;
}

HRESULT Controller::put_ZoomFactor(double zoomFactor) {
  if (HRESULT hr = Enter(L"put_ZoomFactor", ArgDouble(zoomFactor)); FAILED(hr)) return hr;
  return Behaviour().SetZoom(*page_, zoomFactor);
}

HRESULT Controller::add_ZoomFactorChanged(IUnknown*, EventRegistrationToken*) {
  return Unsupported(L"add_ZoomFactorChanged");
}
HRESULT Controller::remove_ZoomFactorChanged(EventRegistrationToken token) {
  return Unsupported(L"remove_ZoomFactorChanged", std::to_wstring(token.value));
}
HRESULT Controller::SetBoundsAndZoomFactor(RECT bounds, double zoomFactor) {
  return Unsupported(L"SetBoundsAndZoomFactor", JoinArgs({ArgRect(bounds), ArgDouble(zoomFactor)}));
}
HRESULT Controller::MoveFocus(INT32 reason) { return Unsupported(L"MoveFocus", std::to_wstring(reason)); }
HRESULT Controller::add_MoveFocusRequested(IUnknown*, EventRegistrationToken*) {
  return Unsupported(L"add_MoveFocusRequested");
}
HRESULT Controller::remove_MoveFocusRequested(EventRegistrationToken token) {
  return Unsupported(L"remove_MoveFocusRequested", std::to_wstring(token.value));
}
HRESULT Controller::add_GotFocus(IUnknown*, EventRegistrationToken*) { return Unsupported(L"add_GotFocus"); }
HRESULT Controller::remove_GotFocus(EventRegistrationToken token) {
  return Unsupported(L"remove_GotFocus", std::to_wstring(token.value));
}
HRESULT Controller::add_LostFocus(IUnknown*, EventRegistrationToken*) { return Unsupported(L"add_LostFocus"); }
HRESULT Controller::remove_LostFocus(EventRegistrationToken token) {
  return Unsupported(L"remove_LostFocus", std::to_wstring(token.value));
}
HRESULT Controller::add_AcceleratorKeyPressed(IUnknown*, EventRegistrationToken*) {
  return Unsupported(L"add_AcceleratorKeyPressed");
}
HRESULT Controller::remove_AcceleratorKeyPressed(EventRegistrationToken token) {
  return Unsupported(L"remove_AcceleratorKeyPressed", std::to_wstring(token.value));
}

HRESULT Controller::get_ParentWindow(HWND* parentWindow) {
  if (HRESULT hr = Enter(L"get_ParentWindow"); FAILED(hr)) return hr;
  if (!parentWindow) return E_POINTER;
  *parentWindow = page_->parent;
  return S_OK;
}

HRESULT Controller::put_ParentWindow(HWND parentWindow) {
  if (HRESULT hr = Enter(L"put_ParentWindow", ArgHandle(parentWindow)); FAILED(hr)) return hr;
  Behaviour().SetParentWindow(*page_, parentWindow);
  return S_OK;
}

HRESULT Controller::NotifyParentWindowPositionChanged() {
  return Enter(L"NotifyParentWindowPositionChanged");
}

HRESULT Controller::Close() {
  if (HRESULT hr = Enter(L"Close"); FAILED(hr)) return hr;
  Behaviour().ClosePage(*page_);
  return S_OK;
}

HRESULT Controller::get_CoreWebView2(engine_abi::ICoreWebView2** coreWebView2) {
  if (coreWebView2) *coreWebView2 = nullptr;
  if (HRESULT hr = Enter(L"get_CoreWebView2"); FAILED(hr)) return hr;
  if (HRESULT hr = Behaviour().Failure(ENGINE_STEP_GET_WEBVIEW); FAILED(hr)) return hr;
  if (!coreWebView2) return E_POINTER;
  webview_->AddRef();
  *coreWebView2 = webview_.get();
  return S_OK;
}

}  // namespace engine
