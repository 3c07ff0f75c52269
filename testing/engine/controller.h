#pragma once
// ICoreWebView2Controller of the double: bounds, visibility, zoom, Close and the webview.
// Releasing the last reference closes the webview, as the runtime does.
#include <memory>

#include "com_object.h"
#include "engine_abi.h"
#include "engine_core.h"

namespace engine {

class WebView;

class Controller final
    : public ComObject<engine_abi::ICoreWebView2Controller, engine_abi::IID_ICoreWebView2Controller> {
 public:
  explicit Controller(std::shared_ptr<Page> page);

  HRESULT STDMETHODCALLTYPE get_IsVisible(BOOL* isVisible) override;
  HRESULT STDMETHODCALLTYPE put_IsVisible(BOOL isVisible) override;
  HRESULT STDMETHODCALLTYPE get_Bounds(RECT* bounds) override;
  HRESULT STDMETHODCALLTYPE put_Bounds(RECT bounds) override;
  HRESULT STDMETHODCALLTYPE get_ZoomFactor(double* zoomFactor) override;
  HRESULT STDMETHODCALLTYPE put_ZoomFactor(double zoomFactor) override;
  HRESULT STDMETHODCALLTYPE add_ZoomFactorChanged(IUnknown* eventHandler, EventRegistrationToken* token) override;
  HRESULT STDMETHODCALLTYPE remove_ZoomFactorChanged(EventRegistrationToken token) override;
  HRESULT STDMETHODCALLTYPE SetBoundsAndZoomFactor(RECT bounds, double zoomFactor) override;
  HRESULT STDMETHODCALLTYPE MoveFocus(INT32 reason) override;
  HRESULT STDMETHODCALLTYPE add_MoveFocusRequested(IUnknown* eventHandler, EventRegistrationToken* token) override;
  HRESULT STDMETHODCALLTYPE remove_MoveFocusRequested(EventRegistrationToken token) override;
  HRESULT STDMETHODCALLTYPE add_GotFocus(IUnknown* eventHandler, EventRegistrationToken* token) override;
  HRESULT STDMETHODCALLTYPE remove_GotFocus(EventRegistrationToken token) override;
  HRESULT STDMETHODCALLTYPE add_LostFocus(IUnknown* eventHandler, EventRegistrationToken* token) override;
  HRESULT STDMETHODCALLTYPE remove_LostFocus(EventRegistrationToken token) override;
  HRESULT STDMETHODCALLTYPE add_AcceleratorKeyPressed(IUnknown* eventHandler, EventRegistrationToken* token) override;
  HRESULT STDMETHODCALLTYPE remove_AcceleratorKeyPressed(EventRegistrationToken token) override;
  HRESULT STDMETHODCALLTYPE get_ParentWindow(HWND* parentWindow) override;
  HRESULT STDMETHODCALLTYPE put_ParentWindow(HWND parentWindow) override;
  HRESULT STDMETHODCALLTYPE NotifyParentWindowPositionChanged() override;
  HRESULT STDMETHODCALLTYPE Close() override;
  HRESULT STDMETHODCALLTYPE get_CoreWebView2(engine_abi::ICoreWebView2** coreWebView2) override;

 private:
  ~Controller() override;
  // Records the call; kClosedError once the webview is closed, S_OK otherwise.
  HRESULT Enter(const wchar_t* name, const std::wstring& args = std::wstring());
  HRESULT Unsupported(const wchar_t* name, const std::wstring& args = std::wstring());

  std::shared_ptr<Page> page_;
  Ref<WebView> webview_;
};

}  // namespace engine
