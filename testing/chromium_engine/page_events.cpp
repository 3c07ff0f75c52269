// Protocol events of a page turned into WebView2's events. WebView2's order for a top-level
// navigation is NavigationStarting, SourceChanged, ContentLoading, NavigationCompleted; the
// protocol reports the start (frameStartedNavigating), the commit (frameNavigated, or
// navigatedWithinDocument for a fragment) and the load (loadEventFired).
#include "base64.h"
#include "chromium_core.h"
#include "engine_control.h"
#include "page_shim.h"
#include "text_utf8.h"

namespace chromium {
namespace {

bool IsSameDocument(const std::string& type) { return type == "sameDocument" || type == "historySameDocument"; }

std::string WithoutFragment(const std::string& url) {
  const size_t hash = url.find('#');
  return hash == std::string::npos ? url : url.substr(0, hash);
}

}  // namespace

bool ChromiumCore::Deliver(const State& s, int32_t event, const engine::EventData& data) {
  const std::shared_ptr<engine::Page> page = s->page;
  if (page->closed) return false;
  if (page->sink) page->sink->DeliverEvent(event, data);
  return !page->closed;
}

bool ChromiumCore::Complete(const State& s, bool success, int32_t status) {
  if (s->nav.completed) return !s->page->closed;
  s->nav.completed = true;
  engine::EventData data;
  data.isSuccess = success ? TRUE : FALSE;
  data.webErrorStatus = success ? 0 : status;
  data.navigationId = s->nav.id;
  return Deliver(s, ENGINE_EVENT_NAVIGATION_COMPLETED, data);
}

bool ChromiumCore::StartNavigation(const State& s, const std::string& loaderId, const std::string& url,
                                   const std::string& type) {
  // A navigation still on its way is superseded by the new one.
  if (!s->nav.completed && !Complete(s, false, 14)) return false;
  Navigation nav;
  nav.id = s->nextNavigationId++;
  nav.loaderId = loaderId;
  nav.sameDocument = IsSameDocument(type);
  nav.reload = type == "reload" || type == "reloadBypassingCache";
  nav.completed = false;
  s->nav = nav;
  engine::EventData data;
  data.uri = engine::NullableText{false, ShownUrl(url)};
  data.navigationId = nav.id;
  return Deliver(s, ENGINE_EVENT_NAVIGATION_STARTING, data);
}

void ChromiumCore::OnEvent(const BrowserProcess* browser, const std::string& session, const std::string& method,
                           const Json& params) {
  if (session.empty()) return;
  State s = BySession(browser, session);
  if (!s || s->page->closed) return;
  // The page state and its browser stay alive until this event is handled, whatever the
  // handlers do (a host script may destroy the very browser host).
  const State hold = s;
  if (method == "Page.frameStartedNavigating") {
    if (Text(params, "frameId") != s->targetId) return;
    const std::string loader = Text(params, "loaderId");
    // A redirect starts again with the same loader: same navigation id.
    if (!s->nav.completed && !loader.empty() && loader == s->nav.loaderId) {
      engine::EventData data;
      data.uri = engine::NullableText{false, ShownUrl(Text(params, "url"))};
      data.navigationId = s->nav.id;
      Deliver(s, ENGINE_EVENT_NAVIGATION_STARTING, data);
      return;
    }
    StartNavigation(s, loader, Text(params, "url"), Text(params, "navigationType"));
  } else if (method == "Page.frameNavigated") {
    OnFrameNavigated(s, Member(params, "frame"));
  } else if (method == "Page.navigatedWithinDocument") {
    if (Text(params, "frameId") == s->targetId) OnNavigatedWithinDocument(s, params);
  } else if (method == "Page.loadEventFired") {
    OnLoaded(s);
  } else if (method == "Page.frameStoppedLoading") {
    if (Text(params, "frameId") == s->targetId) OnLoaded(s);
  } else if (method == "Runtime.bindingCalled") {
    OnBinding(s, params);
  } else if (method == "Fetch.requestPaused") {
    OnRequestPaused(s, params);
  } else if (method == "Inspector.targetCrashed") {
    engine::EventData data;
    data.processFailedKind = 1;  // COREWEBVIEW2_PROCESS_FAILED_KIND_RENDER_PROCESS_EXITED
    Deliver(s, ENGINE_EVENT_PROCESS_FAILED, data);
  }
}

void ChromiumCore::OnFrameNavigated(const State& s, const Json& frame) {
  if (!frame.is_object() || Has(frame, "parentId") || Text(frame, "id") != s->targetId) return;
  const std::string loader = Text(frame, "loaderId");
  const bool errorPage = Has(frame, "unreachableUrl");
  const std::string url = errorPage ? Text(frame, "unreachableUrl") : Text(frame, "url");
  if (s->nav.completed || s->nav.loaderId != loader) {
    // A document that arrived without a start of its own still gets one.
    if (!StartNavigation(s, loader, url, "differentDocument")) return;
  }
  s->nav.committed = true;
  s->nav.errorPage = errorPage;
  s->awaitingCommit = false;
  // The committed document exists already: scripts registered from now on start with the next.
  FlushDeferredScripts(s);

  const std::wstring shown = ShownUrl(url);
  const bool changed = shown != s->page->source;
  s->page->source = shown;
  RefreshHistory(s);
  if (changed || !s->nav.reload) {
    engine::EventData data;
    data.isNewDocument = TRUE;
    if (!Deliver(s, ENGINE_EVENT_SOURCE_CHANGED, data)) return;
  }
  engine::EventData loading;
  loading.isErrorPage = errorPage ? TRUE : FALSE;
  loading.navigationId = s->nav.id;
  Deliver(s, ENGINE_EVENT_CONTENT_LOADING, loading);
}

void ChromiumCore::OnNavigatedWithinDocument(const State& s, const Json& params) {
  const std::wstring shown = ShownUrl(Text(params, "url"));
  const bool changed = shown != s->page->source;
  const bool ours = !s->nav.completed && s->nav.sameDocument;
  s->page->source = shown;
  RefreshHistory(s);
  if (ours) {
    s->nav.committed = true;
    s->awaitingCommit = false;
    FlushDeferredScripts(s);
  }
  if (changed) {
    engine::EventData data;
    data.isNewDocument = FALSE;
    if (!Deliver(s, ENGINE_EVENT_SOURCE_CHANGED, data)) return;
  }
  if (ours) Complete(s, true, 0);
}

void ChromiumCore::OnLoaded(const State& s) {
  if (s->nav.completed || !s->nav.committed || s->nav.sameDocument) return;
  RefreshHistory(s);
  const bool failed = s->nav.errorPage || s->nav.errorStatus >= 0;
  Complete(s, !failed, failed ? (s->nav.errorStatus >= 0 ? s->nav.errorStatus : 0) : 0);
}

void ChromiumCore::OnBinding(const State& s, const Json& params) {
  const std::string name = Text(params, "name");
  const std::string payload = Text(params, "payload");
  if (name == kTitleBinding) {
    const std::wstring title = FromUtf8(payload);
    if (title == s->page->title) return;
    s->page->title = title;
    Deliver(s, ENGINE_EVENT_DOCUMENT_TITLE_CHANGED, engine::EventData{});
    return;
  }
  if (name != kMessageBinding || !s->page->webMessageEnabled) return;
  const Json message = Json::parse(payload, nullptr, false);
  if (!message.is_object()) return;
  const std::string json = Has(message, "m") ? Text(message, "m") : std::string("null");
  const Json value = Json::parse(json, nullptr, false);
  const bool isString = value.is_string();
  const std::wstring text = FromUtf8(isString ? value.get<std::string>() : json);
  const std::wstring source = ShownUrl(Text(message, "u"));
  const std::shared_ptr<engine::Page> page = s->page;
  if (page->sink && !page->closed) page->sink->DeliverWebMessage(source, text, isString);
}

void ChromiumCore::OnRequestPaused(const State& s, const Json& params) {
  const std::string requestId = Text(params, "requestId");
  const std::string url = Text(Member(params, "request"), "url");
  if (ServeVirtualHost(s, requestId, Member(params, "request"), Text(params, "resourceType"))) return;
  auto it = s->stringDocuments.find(WithoutFragment(url));
  if (it == s->stringDocuments.end()) {
    s->Send("Fetch.continueRequest", Json{{"requestId", requestId}});
    return;
  }
  s->Send(
      "Fetch.fulfillRequest",
      Json{{"requestId", requestId},
           {"responseCode", 200},
           {"responseHeaders", Json::array({Json{{"name", "Content-Type"}, {"value", "text/html; charset=utf-8"}}})},
           {"body", Base64Encode(it->second)}});
}

void ChromiumCore::OnBrowserClosed(const BrowserProcess* browser) {
  std::vector<State> affected;
  for (const auto& entry : pages_)
    if (entry.second->browser.get() == browser) affected.push_back(entry.second);
  for (const State& s : affected) {
    engine::EventData data;
    data.processFailedKind = 0;  // COREWEBVIEW2_PROCESS_FAILED_KIND_BROWSER_PROCESS_EXITED
    Deliver(s, ENGINE_EVENT_PROCESS_FAILED, data);
    // As WebView2 does, the webview is closed with its browser.
    if (!s->page->closed) ClosePage(*s->page);
  }
}

}  // namespace chromium
