#pragma once
// ICoreWebView2 of the double: navigation, scripts, messages and the registered event
// handlers. The handlers live here (they are COM references); the page state they act on
// lives in the core.
#include <memory>
#include <vector>

#include "com_object.h"
#include "engine_abi.h"
#include "engine_core.h"

namespace engine {

class Settings;

// Handler lists of a webview: the six events of engine_control.h, then web messages.
constexpr int32_t kWebMessageHandlers = 6;
constexpr int32_t kHandlerKinds = 7;

// Serves ICoreWebView2_3 (and so _2 and the base) when the engine offers the mapping.
class WebView final : public ComObject<engine_abi::ICoreWebView2_3, engine_abi::IID_ICoreWebView2>, public EventSink {
 public:
  explicit WebView(std::shared_ptr<Page> page);

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** object) override;

  HRESULT STDMETHODCALLTYPE get_Settings(engine_abi::ICoreWebView2Settings** settings) override;
  HRESULT STDMETHODCALLTYPE get_Source(LPWSTR* uri) override;
  HRESULT STDMETHODCALLTYPE Navigate(LPCWSTR uri) override;
  HRESULT STDMETHODCALLTYPE NavigateToString(LPCWSTR htmlContent) override;
  HRESULT STDMETHODCALLTYPE add_NavigationStarting(
      engine_abi::ICoreWebView2NavigationStartingEventHandler* eventHandler, EventRegistrationToken* token) override;
  HRESULT STDMETHODCALLTYPE remove_NavigationStarting(EventRegistrationToken token) override;
  HRESULT STDMETHODCALLTYPE add_ContentLoading(engine_abi::ICoreWebView2ContentLoadingEventHandler* eventHandler,
                                               EventRegistrationToken* token) override;
  HRESULT STDMETHODCALLTYPE remove_ContentLoading(EventRegistrationToken token) override;
  HRESULT STDMETHODCALLTYPE add_SourceChanged(engine_abi::ICoreWebView2SourceChangedEventHandler* eventHandler,
                                              EventRegistrationToken* token) override;
  HRESULT STDMETHODCALLTYPE remove_SourceChanged(EventRegistrationToken token) override;
  HRESULT STDMETHODCALLTYPE add_HistoryChanged(IUnknown* eventHandler, EventRegistrationToken* token) override;
  HRESULT STDMETHODCALLTYPE remove_HistoryChanged(EventRegistrationToken token) override;
  HRESULT STDMETHODCALLTYPE add_NavigationCompleted(
      engine_abi::ICoreWebView2NavigationCompletedEventHandler* eventHandler, EventRegistrationToken* token) override;
  HRESULT STDMETHODCALLTYPE remove_NavigationCompleted(EventRegistrationToken token) override;
  HRESULT STDMETHODCALLTYPE add_FrameNavigationStarting(
      engine_abi::ICoreWebView2NavigationStartingEventHandler* eventHandler, EventRegistrationToken* token) override;
  HRESULT STDMETHODCALLTYPE remove_FrameNavigationStarting(EventRegistrationToken token) override;
  HRESULT STDMETHODCALLTYPE add_FrameNavigationCompleted(
      engine_abi::ICoreWebView2NavigationCompletedEventHandler* eventHandler, EventRegistrationToken* token) override;
  HRESULT STDMETHODCALLTYPE remove_FrameNavigationCompleted(EventRegistrationToken token) override;
  HRESULT STDMETHODCALLTYPE add_ScriptDialogOpening(IUnknown* eventHandler, EventRegistrationToken* token) override;
  HRESULT STDMETHODCALLTYPE remove_ScriptDialogOpening(EventRegistrationToken token) override;
  HRESULT STDMETHODCALLTYPE add_PermissionRequested(IUnknown* eventHandler, EventRegistrationToken* token) override;
  HRESULT STDMETHODCALLTYPE remove_PermissionRequested(EventRegistrationToken token) override;
  HRESULT STDMETHODCALLTYPE add_ProcessFailed(engine_abi::ICoreWebView2ProcessFailedEventHandler* eventHandler,
                                              EventRegistrationToken* token) override;
  HRESULT STDMETHODCALLTYPE remove_ProcessFailed(EventRegistrationToken token) override;
  HRESULT STDMETHODCALLTYPE AddScriptToExecuteOnDocumentCreated(
      LPCWSTR javaScript,
      engine_abi::ICoreWebView2AddScriptToExecuteOnDocumentCreatedCompletedHandler* handler) override;
  HRESULT STDMETHODCALLTYPE RemoveScriptToExecuteOnDocumentCreated(LPCWSTR id) override;
  HRESULT STDMETHODCALLTYPE ExecuteScript(LPCWSTR javaScript,
                                          engine_abi::ICoreWebView2ExecuteScriptCompletedHandler* handler) override;
  HRESULT STDMETHODCALLTYPE CapturePreview(INT32 imageFormat, IStream* imageStream, IUnknown* handler) override;
  HRESULT STDMETHODCALLTYPE Reload() override;
  HRESULT STDMETHODCALLTYPE PostWebMessageAsJson(LPCWSTR webMessageAsJson) override;
  HRESULT STDMETHODCALLTYPE PostWebMessageAsString(LPCWSTR webMessageAsString) override;
  HRESULT STDMETHODCALLTYPE add_WebMessageReceived(engine_abi::ICoreWebView2WebMessageReceivedEventHandler* handler,
                                                   EventRegistrationToken* token) override;
  HRESULT STDMETHODCALLTYPE remove_WebMessageReceived(EventRegistrationToken token) override;
  HRESULT STDMETHODCALLTYPE CallDevToolsProtocolMethod(LPCWSTR methodName, LPCWSTR parametersAsJson,
                                                       IUnknown* handler) override;
  HRESULT STDMETHODCALLTYPE get_BrowserProcessId(UINT32* value) override;
  HRESULT STDMETHODCALLTYPE get_CanGoBack(BOOL* canGoBack) override;
  HRESULT STDMETHODCALLTYPE get_CanGoForward(BOOL* canGoForward) override;
  HRESULT STDMETHODCALLTYPE GoBack() override;
  HRESULT STDMETHODCALLTYPE GoForward() override;
  HRESULT STDMETHODCALLTYPE GetDevToolsProtocolEventReceiver(LPCWSTR eventName, IUnknown** receiver) override;
  HRESULT STDMETHODCALLTYPE Stop() override;
  HRESULT STDMETHODCALLTYPE add_NewWindowRequested(IUnknown* eventHandler, EventRegistrationToken* token) override;
  HRESULT STDMETHODCALLTYPE remove_NewWindowRequested(EventRegistrationToken token) override;
  HRESULT STDMETHODCALLTYPE add_DocumentTitleChanged(
      engine_abi::ICoreWebView2DocumentTitleChangedEventHandler* eventHandler, EventRegistrationToken* token) override;
  HRESULT STDMETHODCALLTYPE remove_DocumentTitleChanged(EventRegistrationToken token) override;
  HRESULT STDMETHODCALLTYPE get_DocumentTitle(LPWSTR* title) override;
  HRESULT STDMETHODCALLTYPE AddHostObjectToScript(LPCWSTR name, VARIANT* object) override;
  HRESULT STDMETHODCALLTYPE RemoveHostObjectFromScript(LPCWSTR name) override;
  HRESULT STDMETHODCALLTYPE OpenDevToolsWindow() override;
  HRESULT STDMETHODCALLTYPE add_ContainsFullScreenElementChanged(IUnknown* eventHandler,
                                                                 EventRegistrationToken* token) override;
  HRESULT STDMETHODCALLTYPE remove_ContainsFullScreenElementChanged(EventRegistrationToken token) override;
  HRESULT STDMETHODCALLTYPE get_ContainsFullScreenElement(BOOL* containsFullScreenElement) override;
  HRESULT STDMETHODCALLTYPE add_WebResourceRequested(IUnknown* eventHandler, EventRegistrationToken* token) override;
  HRESULT STDMETHODCALLTYPE remove_WebResourceRequested(EventRegistrationToken token) override;
  HRESULT STDMETHODCALLTYPE AddWebResourceRequestedFilter(const LPCWSTR uri, INT32 resourceContext) override;
  HRESULT STDMETHODCALLTYPE RemoveWebResourceRequestedFilter(const LPCWSTR uri, INT32 resourceContext) override;
  HRESULT STDMETHODCALLTYPE add_WindowCloseRequested(IUnknown* eventHandler, EventRegistrationToken* token) override;
  HRESULT STDMETHODCALLTYPE remove_WindowCloseRequested(EventRegistrationToken token) override;
  // ICoreWebView2_2
  HRESULT STDMETHODCALLTYPE add_WebResourceResponseReceived(IUnknown* eventHandler,
                                                            EventRegistrationToken* token) override;
  HRESULT STDMETHODCALLTYPE remove_WebResourceResponseReceived(EventRegistrationToken token) override;
  HRESULT STDMETHODCALLTYPE NavigateWithWebResourceRequest(IUnknown* request) override;
  HRESULT STDMETHODCALLTYPE add_DOMContentLoaded(IUnknown* eventHandler, EventRegistrationToken* token) override;
  HRESULT STDMETHODCALLTYPE remove_DOMContentLoaded(EventRegistrationToken token) override;
  HRESULT STDMETHODCALLTYPE get_CookieManager(IUnknown** cookieManager) override;
  HRESULT STDMETHODCALLTYPE get_Environment(engine_abi::ICoreWebView2Environment** environment) override;
  // ICoreWebView2_3
  HRESULT STDMETHODCALLTYPE TrySuspend(IUnknown* handler) override;
  HRESULT STDMETHODCALLTYPE Resume() override;
  HRESULT STDMETHODCALLTYPE get_IsSuspended(BOOL* isSuspended) override;
  HRESULT STDMETHODCALLTYPE SetVirtualHostNameToFolderMapping(LPCWSTR hostName, LPCWSTR folderPath,
                                                              INT32 accessKind) override;
  HRESULT STDMETHODCALLTYPE ClearVirtualHostNameToFolderMapping(LPCWSTR hostName) override;
  // EventSink
  void DeliverEvent(int32_t event, const EventData& data) override;
  void DeliverWebMessage(const std::wstring& source, const std::wstring& text, bool isString) override;
  int32_t HandlerCount() const override;
  void DropHandlers() override;

 private:
  struct Registration {
    int32_t kind;
    int64_t token;
    Ref<IUnknown> handler;
  };

  ~WebView() override;
  HRESULT Enter(const wchar_t* name, const std::wstring& args = std::wstring());
  HRESULT Unsupported(const wchar_t* name, const std::wstring& args = std::wstring());
  HRESULT AddHandler(int32_t kind, const wchar_t* name, IUnknown* handler, EventRegistrationToken* token);
  HRESULT RemoveHandler(int32_t kind, const wchar_t* name, EventRegistrationToken token);
  bool IsRegistered(int64_t token) const;
  // Handlers of one kind registered now, held for the duration of a delivery.
  std::vector<Registration> Snapshot(int32_t kind) const;

  std::shared_ptr<Page> page_;
  Ref<Settings> settings_;
  std::vector<Registration> handlers_;
  int64_t nextToken_ = 1;
};

}  // namespace engine
