#include "webview.h"

#include "com_strings.h"
#include "engine_control.h"
#include "event_args.h"
#include "settings.h"
#include "web_message_args.h"

namespace engine {

using namespace engine_abi;

namespace {
std::wstring TokenText(EventRegistrationToken token) { return std::to_wstring(token.value); }
}  // namespace

WebView::WebView(std::shared_ptr<Page> page) : page_(std::move(page)) { page_->sink = this; }

WebView::~WebView() {
  if (page_->sink == this) page_->sink = nullptr;
}

HRESULT WebView::Enter(const wchar_t* name, const std::wstring& args) {
  Behaviour().Record(name, args, page_->number);
  return page_->closed ? kClosedError : S_OK;
}

HRESULT WebView::Unsupported(const wchar_t* name, const std::wstring& args) {
  const HRESULT hr = Enter(name, args);
  return FAILED(hr) ? hr : E_NOTIMPL;
}

// --- handlers -----------------------------------------------------------------------------

HRESULT WebView::AddHandler(int32_t kind, const wchar_t* name, IUnknown* handler, EventRegistrationToken* token) {
  if (HRESULT hr = Enter(name); FAILED(hr)) return hr;
  if (!handler || !token) return E_POINTER;
  token->value = nextToken_++;
  handlers_.push_back(Registration{kind, token->value, Ref<IUnknown>::Share(handler)});
  return S_OK;
}

HRESULT WebView::RemoveHandler(int32_t kind, const wchar_t* name, EventRegistrationToken token) {
  if (HRESULT hr = Enter(name, TokenText(token)); FAILED(hr)) return hr;
  // A token of another event, or one already removed, changes nothing.
  for (auto it = handlers_.begin(); it != handlers_.end(); ++it) {
    if (it->kind == kind && it->token == token.value) {
      Registration gone = std::move(*it);  // released after the list is consistent again
      handlers_.erase(it);
      return S_OK;
    }
  }
  return S_OK;
}

bool WebView::IsRegistered(int64_t token) const {
  for (const Registration& r : handlers_)
    if (r.token == token) return true;
  return false;
}

std::vector<WebView::Registration> WebView::Snapshot(int32_t kind) const {
  std::vector<Registration> out;
  for (const Registration& r : handlers_)
    if (r.kind == kind) out.push_back(r);
  return out;
}

int32_t WebView::HandlerCount() const { return static_cast<int32_t>(handlers_.size()); }

void WebView::DropHandlers() {
  std::vector<Registration> gone;
  gone.swap(handlers_);  // handlers may call back into this object while being released
}

void WebView::DeliverEvent(int32_t event, const EventData& data) {
  auto self = Ref<WebView>::Share(this);  // a handler may release the last outside reference
  const std::vector<Registration> targets = Snapshot(event);
  const int32_t n = page_->number;
  Ref<IUnknown> args;
  switch (event) {
    case ENGINE_EVENT_NAVIGATION_STARTING: args = Ref<IUnknown>::Adopt(new NavigationStartingArgs(n, data)); break;
    case ENGINE_EVENT_NAVIGATION_COMPLETED: args = Ref<IUnknown>::Adopt(new NavigationCompletedArgs(n, data)); break;
    case ENGINE_EVENT_CONTENT_LOADING: args = Ref<IUnknown>::Adopt(new ContentLoadingArgs(n, data)); break;
    case ENGINE_EVENT_SOURCE_CHANGED: args = Ref<IUnknown>::Adopt(new SourceChangedArgs(n, data)); break;
    case ENGINE_EVENT_PROCESS_FAILED: args = Ref<IUnknown>::Adopt(new ProcessFailedArgs(n, data)); break;
    case ENGINE_EVENT_DOCUMENT_TITLE_CHANGED: break;  // carries no arguments object
    default: return;
  }
  for (const Registration& r : targets) {
    // A handler removed (or the webview closed) by an earlier handler of this delivery is skipped.
    if (page_->closed || !IsRegistered(r.token)) continue;
    IUnknown* h = r.handler.get();
    ICoreWebView2* sender = this;
    switch (event) {
      case ENGINE_EVENT_NAVIGATION_STARTING:
        static_cast<ICoreWebView2NavigationStartingEventHandler*>(h)->Invoke(
            sender, static_cast<NavigationStartingArgs*>(args.get()));
        break;
      case ENGINE_EVENT_NAVIGATION_COMPLETED:
        static_cast<ICoreWebView2NavigationCompletedEventHandler*>(h)->Invoke(
            sender, static_cast<NavigationCompletedArgs*>(args.get()));
        break;
      case ENGINE_EVENT_CONTENT_LOADING:
        static_cast<ICoreWebView2ContentLoadingEventHandler*>(h)->Invoke(sender,
                                                                         static_cast<ContentLoadingArgs*>(args.get()));
        break;
      case ENGINE_EVENT_DOCUMENT_TITLE_CHANGED:
        static_cast<ICoreWebView2DocumentTitleChangedEventHandler*>(h)->Invoke(sender, nullptr);
        break;
      case ENGINE_EVENT_SOURCE_CHANGED:
        static_cast<ICoreWebView2SourceChangedEventHandler*>(h)->Invoke(sender,
                                                                        static_cast<SourceChangedArgs*>(args.get()));
        break;
      case ENGINE_EVENT_PROCESS_FAILED:
        static_cast<ICoreWebView2ProcessFailedEventHandler*>(h)->Invoke(sender,
                                                                        static_cast<ProcessFailedArgs*>(args.get()));
        break;
    }
  }
}

void WebView::DeliverWebMessage(const std::wstring& source, const std::wstring& text, bool isString) {
  auto self = Ref<WebView>::Share(this);
  const std::vector<Registration> targets = Snapshot(kWebMessageHandlers);
  auto args = Ref<WebMessageArgs>::Adopt(new WebMessageArgs(page_->number, source, text, isString));
  for (const Registration& r : targets) {
    if (page_->closed || !IsRegistered(r.token)) continue;
    static_cast<ICoreWebView2WebMessageReceivedEventHandler*>(r.handler.get())->Invoke(this, args.get());
  }
}

// --- ICoreWebView2 ------------------------------------------------------------------------

HRESULT WebView::get_Settings(ICoreWebView2Settings** settings) {
  if (settings) *settings = nullptr;
  if (HRESULT hr = Enter(L"get_Settings"); FAILED(hr)) return hr;
  if (HRESULT hr = Behaviour().Failure(ENGINE_STEP_GET_SETTINGS); FAILED(hr)) return hr;
  if (!settings) return E_POINTER;
  if (!settings_) settings_ = Ref<Settings>::Adopt(new Settings(page_));
  settings_->AddRef();
  *settings = settings_.get();
  return S_OK;
}

HRESULT WebView::get_Source(LPWSTR* uri) {
  if (uri) *uri = nullptr;
  if (HRESULT hr = Enter(L"get_Source"); FAILED(hr)) return hr;
  return CopyOutString(page_->source, uri);
}

HRESULT WebView::Navigate(LPCWSTR uri) {
  if (HRESULT hr = Enter(L"Navigate", ArgText(uri)); FAILED(hr)) return hr;
  if (HRESULT hr = Behaviour().Failure(ENGINE_STEP_NAVIGATE); FAILED(hr)) return hr;
  if (!uri) return E_INVALIDARG;
  return Behaviour().Navigate(*page_, uri);
}

HRESULT WebView::NavigateToString(LPCWSTR htmlContent) {
  if (HRESULT hr = Enter(L"NavigateToString", ArgText(htmlContent)); FAILED(hr)) return hr;
  if (HRESULT hr = Behaviour().Failure(ENGINE_STEP_NAVIGATE_TO_STRING); FAILED(hr)) return hr;
  if (!htmlContent) return E_INVALIDARG;
  return Behaviour().NavigateToString(*page_, htmlContent);
}

HRESULT WebView::add_NavigationStarting(ICoreWebView2NavigationStartingEventHandler* h, EventRegistrationToken* t) {
  return AddHandler(ENGINE_EVENT_NAVIGATION_STARTING, L"add_NavigationStarting", h, t);
}
HRESULT WebView::remove_NavigationStarting(EventRegistrationToken t) {
  return RemoveHandler(ENGINE_EVENT_NAVIGATION_STARTING, L"remove_NavigationStarting", t);
}
HRESULT WebView::add_ContentLoading(ICoreWebView2ContentLoadingEventHandler* h, EventRegistrationToken* t) {
  return AddHandler(ENGINE_EVENT_CONTENT_LOADING, L"add_ContentLoading", h, t);
}
HRESULT WebView::remove_ContentLoading(EventRegistrationToken t) {
  return RemoveHandler(ENGINE_EVENT_CONTENT_LOADING, L"remove_ContentLoading", t);
}
HRESULT WebView::add_SourceChanged(ICoreWebView2SourceChangedEventHandler* h, EventRegistrationToken* t) {
  return AddHandler(ENGINE_EVENT_SOURCE_CHANGED, L"add_SourceChanged", h, t);
}
HRESULT WebView::remove_SourceChanged(EventRegistrationToken t) {
  return RemoveHandler(ENGINE_EVENT_SOURCE_CHANGED, L"remove_SourceChanged", t);
}
HRESULT WebView::add_HistoryChanged(IUnknown*, EventRegistrationToken*) { return Unsupported(L"add_HistoryChanged"); }
HRESULT WebView::remove_HistoryChanged(EventRegistrationToken t) {
  return Unsupported(L"remove_HistoryChanged", TokenText(t));
}
HRESULT WebView::add_NavigationCompleted(ICoreWebView2NavigationCompletedEventHandler* h, EventRegistrationToken* t) {
  return AddHandler(ENGINE_EVENT_NAVIGATION_COMPLETED, L"add_NavigationCompleted", h, t);
}
HRESULT WebView::remove_NavigationCompleted(EventRegistrationToken t) {
  return RemoveHandler(ENGINE_EVENT_NAVIGATION_COMPLETED, L"remove_NavigationCompleted", t);
}
// Frame events share the handler interfaces of the top-level ones; the double never raises them,
// so a handler registered here by mistake stays silent, as it would for a page without frames.
HRESULT WebView::add_FrameNavigationStarting(ICoreWebView2NavigationStartingEventHandler*, EventRegistrationToken*) {
  return Unsupported(L"add_FrameNavigationStarting");
}
HRESULT WebView::remove_FrameNavigationStarting(EventRegistrationToken t) {
  return Unsupported(L"remove_FrameNavigationStarting", TokenText(t));
}
HRESULT WebView::add_FrameNavigationCompleted(ICoreWebView2NavigationCompletedEventHandler*, EventRegistrationToken*) {
  return Unsupported(L"add_FrameNavigationCompleted");
}
HRESULT WebView::remove_FrameNavigationCompleted(EventRegistrationToken t) {
  return Unsupported(L"remove_FrameNavigationCompleted", TokenText(t));
}
HRESULT WebView::add_ScriptDialogOpening(IUnknown*, EventRegistrationToken*) {
  return Unsupported(L"add_ScriptDialogOpening");
}
HRESULT WebView::remove_ScriptDialogOpening(EventRegistrationToken t) {
  return Unsupported(L"remove_ScriptDialogOpening", TokenText(t));
}
HRESULT WebView::add_PermissionRequested(IUnknown*, EventRegistrationToken*) {
  return Unsupported(L"add_PermissionRequested");
}
HRESULT WebView::remove_PermissionRequested(EventRegistrationToken t) {
  return Unsupported(L"remove_PermissionRequested", TokenText(t));
}
HRESULT WebView::add_ProcessFailed(ICoreWebView2ProcessFailedEventHandler* h, EventRegistrationToken* t) {
  return AddHandler(ENGINE_EVENT_PROCESS_FAILED, L"add_ProcessFailed", h, t);
}
HRESULT WebView::remove_ProcessFailed(EventRegistrationToken t) {
  return RemoveHandler(ENGINE_EVENT_PROCESS_FAILED, L"remove_ProcessFailed", t);
}

HRESULT WebView::AddScriptToExecuteOnDocumentCreated(
    LPCWSTR javaScript, ICoreWebView2AddScriptToExecuteOnDocumentCreatedCompletedHandler* handler) {
  if (HRESULT hr = Enter(L"AddScriptToExecuteOnDocumentCreated", ArgText(javaScript)); FAILED(hr)) return hr;
  if (!javaScript) return E_INVALIDARG;
  DocumentScriptCompletion completion;
  if (handler) {
    auto done = Ref<ICoreWebView2AddScriptToExecuteOnDocumentCreatedCompletedHandler>::Share(handler);
    completion = [done](HRESULT hr, const wchar_t* id) { done->Invoke(hr, id); };
  }
  Behaviour().AddDocumentScript(*page_, javaScript, std::move(completion));
  return S_OK;
}

HRESULT WebView::RemoveScriptToExecuteOnDocumentCreated(LPCWSTR id) {
  if (HRESULT hr = Enter(L"RemoveScriptToExecuteOnDocumentCreated", ArgText(id)); FAILED(hr)) return hr;
  if (!id) return E_INVALIDARG;
  Behaviour().RemoveDocumentScript(*page_, id);
  return S_OK;
}

HRESULT WebView::ExecuteScript(LPCWSTR javaScript, ICoreWebView2ExecuteScriptCompletedHandler* handler) {
  if (HRESULT hr = Enter(L"ExecuteScript", ArgText(javaScript)); FAILED(hr)) return hr;
  // A refused call neither keeps nor invokes the handler: the caller's reference is the last.
  if (HRESULT hr = Behaviour().Failure(ENGINE_STEP_EXECUTE_SCRIPT); FAILED(hr)) return hr;
  if (!javaScript) return E_INVALIDARG;
  // Without a handler the script still runs; nobody hears its result.
  auto done = Ref<ICoreWebView2ExecuteScriptCompletedHandler>::Share(handler);
  Behaviour().StartScript(*page_, javaScript, [done](HRESULT hr, const wchar_t* json) {
    if (done) done->Invoke(hr, json);
  });
  return S_OK;
}

HRESULT WebView::CapturePreview(INT32, IStream*, IUnknown*) { return Unsupported(L"CapturePreview"); }
HRESULT WebView::Reload() {
  if (HRESULT hr = Enter(L"Reload"); FAILED(hr)) return hr;
  Behaviour().Reload(*page_);
  return S_OK;
}
HRESULT WebView::PostWebMessageAsJson(LPCWSTR json) {
  if (HRESULT hr = Enter(L"PostWebMessageAsJson", ArgText(json)); FAILED(hr)) return hr;
  return json ? S_OK : E_INVALIDARG;
}
HRESULT WebView::PostWebMessageAsString(LPCWSTR text) {
  if (HRESULT hr = Enter(L"PostWebMessageAsString", ArgText(text)); FAILED(hr)) return hr;
  if (HRESULT hr = Behaviour().Failure(ENGINE_STEP_POST_WEB_MESSAGE_AS_STRING); FAILED(hr)) return hr;
  if (!text) return E_INVALIDARG;
  Behaviour().PostMessageToPage(*page_, text);
  return S_OK;
}
HRESULT WebView::add_WebMessageReceived(ICoreWebView2WebMessageReceivedEventHandler* h, EventRegistrationToken* t) {
  return AddHandler(kWebMessageHandlers, L"add_WebMessageReceived", h, t);
}
HRESULT WebView::remove_WebMessageReceived(EventRegistrationToken t) {
  return RemoveHandler(kWebMessageHandlers, L"remove_WebMessageReceived", t);
}
HRESULT WebView::CallDevToolsProtocolMethod(LPCWSTR methodName, LPCWSTR parametersAsJson, IUnknown*) {
  return Unsupported(L"CallDevToolsProtocolMethod", JoinArgs({ArgText(methodName), ArgText(parametersAsJson)}));
}
HRESULT WebView::get_BrowserProcessId(UINT32* value) {
  if (HRESULT hr = Enter(L"get_BrowserProcessId"); FAILED(hr)) return hr;
  if (!value) return E_POINTER;
  *value = GetCurrentProcessId();
  return S_OK;
}
HRESULT WebView::get_CanGoBack(BOOL* canGoBack) {
  if (HRESULT hr = Enter(L"get_CanGoBack"); FAILED(hr)) return hr;
  if (!canGoBack) return E_POINTER;
  *canGoBack = page_->canGoBack;
  return S_OK;
}
HRESULT WebView::get_CanGoForward(BOOL* canGoForward) {
  if (HRESULT hr = Enter(L"get_CanGoForward"); FAILED(hr)) return hr;
  if (!canGoForward) return E_POINTER;
  *canGoForward = page_->canGoForward;
  return S_OK;
}
HRESULT WebView::GoBack() {
  if (HRESULT hr = Enter(L"GoBack"); FAILED(hr)) return hr;
  Behaviour().GoBack(*page_);
  return S_OK;
}
HRESULT WebView::GoForward() {
  if (HRESULT hr = Enter(L"GoForward"); FAILED(hr)) return hr;
  Behaviour().GoForward(*page_);
  return S_OK;
}
HRESULT WebView::GetDevToolsProtocolEventReceiver(LPCWSTR eventName, IUnknown** receiver) {
  if (receiver) *receiver = nullptr;
  return Unsupported(L"GetDevToolsProtocolEventReceiver", ArgText(eventName));
}
HRESULT WebView::Stop() {
  if (HRESULT hr = Enter(L"Stop"); FAILED(hr)) return hr;
  Behaviour().Stop(*page_);
  return S_OK;
}
HRESULT WebView::add_NewWindowRequested(IUnknown*, EventRegistrationToken*) {
  return Unsupported(L"add_NewWindowRequested");
}
HRESULT WebView::remove_NewWindowRequested(EventRegistrationToken t) {
  return Unsupported(L"remove_NewWindowRequested", TokenText(t));
}
HRESULT WebView::add_DocumentTitleChanged(ICoreWebView2DocumentTitleChangedEventHandler* h, EventRegistrationToken* t) {
  return AddHandler(ENGINE_EVENT_DOCUMENT_TITLE_CHANGED, L"add_DocumentTitleChanged", h, t);
}
HRESULT WebView::remove_DocumentTitleChanged(EventRegistrationToken t) {
  return RemoveHandler(ENGINE_EVENT_DOCUMENT_TITLE_CHANGED, L"remove_DocumentTitleChanged", t);
}
HRESULT WebView::get_DocumentTitle(LPWSTR* title) {
  if (title) *title = nullptr;
  if (HRESULT hr = Enter(L"get_DocumentTitle"); FAILED(hr)) return hr;
  return CopyOutString(page_->title, title);
}
HRESULT WebView::AddHostObjectToScript(LPCWSTR name, VARIANT*) {
  return Unsupported(L"AddHostObjectToScript", ArgText(name));
}
HRESULT WebView::RemoveHostObjectFromScript(LPCWSTR name) {
  return Unsupported(L"RemoveHostObjectFromScript", ArgText(name));
}
HRESULT WebView::OpenDevToolsWindow() { return Unsupported(L"OpenDevToolsWindow"); }
HRESULT WebView::add_ContainsFullScreenElementChanged(IUnknown*, EventRegistrationToken*) {
  return Unsupported(L"add_ContainsFullScreenElementChanged");
}
HRESULT WebView::remove_ContainsFullScreenElementChanged(EventRegistrationToken t) {
  return Unsupported(L"remove_ContainsFullScreenElementChanged", TokenText(t));
}
HRESULT WebView::get_ContainsFullScreenElement(BOOL* value) {
  if (HRESULT hr = Enter(L"get_ContainsFullScreenElement"); FAILED(hr)) return hr;
  if (!value) return E_POINTER;
  *value = FALSE;
  return S_OK;
}
HRESULT WebView::add_WebResourceRequested(IUnknown*, EventRegistrationToken*) {
  return Unsupported(L"add_WebResourceRequested");
}
HRESULT WebView::remove_WebResourceRequested(EventRegistrationToken t) {
  return Unsupported(L"remove_WebResourceRequested", TokenText(t));
}
HRESULT WebView::AddWebResourceRequestedFilter(const LPCWSTR uri, INT32 context) {
  return Unsupported(L"AddWebResourceRequestedFilter", JoinArgs({ArgText(uri), std::to_wstring(context)}));
}
HRESULT WebView::RemoveWebResourceRequestedFilter(const LPCWSTR uri, INT32 context) {
  return Unsupported(L"RemoveWebResourceRequestedFilter", JoinArgs({ArgText(uri), std::to_wstring(context)}));
}
HRESULT WebView::add_WindowCloseRequested(IUnknown*, EventRegistrationToken*) {
  return Unsupported(L"add_WindowCloseRequested");
}
HRESULT WebView::remove_WindowCloseRequested(EventRegistrationToken t) {
  return Unsupported(L"remove_WindowCloseRequested", TokenText(t));
}

// --- ICoreWebView2_2 / ICoreWebView2_3 ----------------------------------------------------------

HRESULT WebView::QueryInterface(REFIID riid, void** object) {
  if (object && Behaviour().OffersVirtualHostMapping() &&
      (IsEqualGUID(riid, IID_ICoreWebView2_2) || IsEqualGUID(riid, IID_ICoreWebView2_3))) {
    *object = static_cast<ICoreWebView2_3*>(this);
    AddRef();
    return S_OK;
  }
  return ComObject::QueryInterface(riid, object);
}

HRESULT WebView::add_WebResourceResponseReceived(IUnknown*, EventRegistrationToken*) {
  return Unsupported(L"add_WebResourceResponseReceived");
}
HRESULT WebView::remove_WebResourceResponseReceived(EventRegistrationToken t) {
  return Unsupported(L"remove_WebResourceResponseReceived", TokenText(t));
}
HRESULT WebView::NavigateWithWebResourceRequest(IUnknown*) { return Unsupported(L"NavigateWithWebResourceRequest"); }
HRESULT WebView::add_DOMContentLoaded(IUnknown*, EventRegistrationToken*) {
  return Unsupported(L"add_DOMContentLoaded");
}
HRESULT WebView::remove_DOMContentLoaded(EventRegistrationToken t) {
  return Unsupported(L"remove_DOMContentLoaded", TokenText(t));
}
HRESULT WebView::get_CookieManager(IUnknown** cookieManager) {
  if (cookieManager) *cookieManager = nullptr;
  return Unsupported(L"get_CookieManager");
}
HRESULT WebView::get_Environment(ICoreWebView2Environment** environment) {
  if (environment) *environment = nullptr;
  return Unsupported(L"get_Environment");
}
HRESULT WebView::TrySuspend(IUnknown*) { return Unsupported(L"TrySuspend"); }
HRESULT WebView::Resume() { return Unsupported(L"Resume"); }
HRESULT WebView::get_IsSuspended(BOOL* isSuspended) {
  if (HRESULT hr = Enter(L"get_IsSuspended"); FAILED(hr)) return hr;
  if (!isSuspended) return E_POINTER;
  *isSuspended = FALSE;
  return S_OK;
}

HRESULT WebView::SetVirtualHostNameToFolderMapping(LPCWSTR hostName, LPCWSTR folderPath, INT32 accessKind) {
  const std::wstring args = JoinArgs({ArgText(hostName), ArgText(folderPath), std::to_wstring(accessKind)});
  if (HRESULT hr = Enter(L"SetVirtualHostNameToFolderMapping", args); FAILED(hr)) return hr;
  if (!hostName || !folderPath || !*hostName) return E_INVALIDARG;
  return Behaviour().SetVirtualHostMapping(*page_, hostName, folderPath, accessKind);
}

HRESULT WebView::ClearVirtualHostNameToFolderMapping(LPCWSTR hostName) {
  if (HRESULT hr = Enter(L"ClearVirtualHostNameToFolderMapping", ArgText(hostName)); FAILED(hr)) return hr;
  if (!hostName) return E_INVALIDARG;
  return Behaviour().ClearVirtualHostMapping(*page_, hostName);
}

}  // namespace engine
