#include "chromium_core.h"

#include <algorithm>
#include <cmath>

#include "base64.h"
#include "delivery_queue.h"
#include "page_shim.h"
#include "scoped_handle.h"
#include "text_utf8.h"
#include "url_mapping.h"

namespace engine {
// The Chromium engine's behaviour is its Chromium core.
EngineBehaviour& Behaviour() { return chromium::ChromiumCore::Instance(); }
}  // namespace engine

namespace chromium {
namespace {

// Nothing crosses into the plug-in as a C++ exception: a failure inside the engine reads as
// E_FAIL, or as nothing done for a call without a result.
template <typename F>
HRESULT Guarded(F&& body) noexcept {
  try {
    return body();
  } catch (...) {
    return E_FAIL;
  }
}
template <typename F>
void Quietly(F&& body) noexcept {
  try {
    body();
  } catch (...) {
  }
}

constexpr size_t kMaxStringDocumentBytes = 2 * 1024 * 1024;
constexpr double kMinZoom = 0.25, kMaxZoom = 5.0;  // the range the runtime normalises into

}  // namespace

ChromiumCore& ChromiumCore::Instance() {
  static ChromiumCore core;
  return core;
}

ChromiumCore::State ChromiumCore::StateOf(engine::Page& page) const {
  auto it = pages_.find(&page);
  return it == pages_.end() ? nullptr : it->second;
}

ChromiumCore::State ChromiumCore::BySession(const BrowserProcess* browser, const std::string& session) const {
  for (const auto& entry : pages_)
    if (entry.second->browser.get() == browser && entry.second->sessionId == session) return entry.second;
  return nullptr;
}

void ChromiumCore::Listen(const std::shared_ptr<BrowserProcess>& browser) {
  const BrowserProcess* raw = browser.get();
  browser->Cdp().SetEventHandler([this, raw](const std::string& session, const std::string& method,
                                             const Json& params) { OnEvent(raw, session, method, params); });
  browser->Cdp().SetClosedHandler([this, raw] { OnBrowserClosed(raw); });
}

std::shared_ptr<engine::Page> ChromiumCore::OpenPage(const std::shared_ptr<BrowserProcess>& browser, HWND parent,
                                                     HRESULT* error) {
  *error = E_FAIL;
  CdpConnection& cdp = browser->Cdp();
  RECT client{};
  const bool sized = parent != HWND_MESSAGE && GetClientRect(parent, &client) && client.right > 0 && client.bottom > 0;
  // Only a page in a window of its own honours a size.
  Json target{{"url", "about:blank"}, {"newWindow", true}};
  if (sized) {
    target["width"] = client.right;
    target["height"] = client.bottom;
  }
  const Json created = cdp.Call("Target.createTarget", target);
  if (!Has(created, "result")) return nullptr;
  auto s = std::make_shared<PageState>();
  s->browser = browser;
  s->targetId = Text(Member(created, "result"), "targetId");
  const Json attached = cdp.Call("Target.attachToTarget", Json{{"targetId", s->targetId}, {"flatten", true}});
  if (!Has(attached, "result")) {
    cdp.Send("Target.closeTarget", Json{{"targetId", s->targetId}});
    return nullptr;
  }
  s->sessionId = Text(Member(attached, "result"), "sessionId");

  s->page = std::make_shared<engine::Page>();
  s->page->number = nextPageNumber_++;
  s->page->parent = parent;
  pages_[s->page.get()] = s;

  s->Send("Page.enable", Json::object());
  s->Send("Runtime.enable", Json::object());
  s->Send("Inspector.enable", Json::object());
  s->Send("Runtime.addBinding", Json{{"name", kMessageBinding}});
  s->Send("Runtime.addBinding", Json{{"name", kTitleBinding}});
  // Before any script the plug-in registers, so chrome.webview exists when those run.
  const Json shim = browser->Cdp().Call("Page.addScriptToEvaluateOnNewDocument",
                                        Json{{"source", kPageShim}, {"runImmediately", true}}, s->sessionId);
  if (!Has(shim, "result")) {
    pages_.erase(s->page.get());
    cdp.Send("Target.closeTarget", Json{{"targetId", s->targetId}});
    return nullptr;
  }
  *error = S_OK;
  return s->page;
}

void ChromiumCore::ClosePage(engine::Page& page) {
  Quietly([&] {
    if (page.closed) return;
    page.closed = true;
    page.documentScripts.clear();
    if (page.sink) page.sink->DropHandlers();
    auto it = pages_.find(&page);
    if (it == pages_.end()) return;
    State s = it->second;
    pages_.erase(it);
    s->browser->Cdp().Send("Target.closeTarget", Json{{"targetId", s->targetId}});
    // The last page and environment of a browser end it when they go (BrowserProcess).
  });
}

void ChromiumCore::SendNavigation(const State& s, const std::string& method, const Json& params) {
  // Scripts whose registration completed before this navigation started apply to it.
  FlushDeferredScripts(s);
  s->awaitingCommit = true;
  std::weak_ptr<PageState> weak = s;
  s->Send(method, params, [this, weak](const Json& answer) {
    if (State state = weak.lock()) OnNavigationAnswer(state, answer);
  });
}

void ChromiumCore::OnNavigationAnswer(const State& s, const Json& answer) {
  if (s->page->closed) return;
  if (!Has(answer, "result")) {
    // Refused at once (an address the browser cannot parse): nothing starts.
    if (s->nav.completed) {
      s->awaitingCommit = false;
      FlushDeferredScripts(s);
    }
    return;
  }
  const Json& result = Member(answer, "result");
  const std::string errorText = Text(result, "errorText");
  if (errorText.empty()) return;
  const std::string loader = Text(result, "loaderId");
  if (s->nav.completed || loader.empty() || loader != s->nav.loaderId) {
    // Failed without starting a navigation of its own (chrome://crash, for one).
    if (s->nav.completed) {
      s->awaitingCommit = false;
      FlushDeferredScripts(s);
    }
    return;
  }
  s->nav.errorStatus = WebErrorStatusOf(errorText);
  // An aborted navigation commits nothing; others commit an error page, completed on its load.
  if (!s->nav.committed && errorText == "net::ERR_ABORTED") {
    s->awaitingCommit = false;
    FlushDeferredScripts(s);
    Complete(s, false, s->nav.errorStatus);
  }
}

HRESULT ChromiumCore::Navigate(engine::Page& page, const std::wstring& uri) {
  return Guarded([&]() -> HRESULT {
    State s = StateOf(page);
    if (!s) return engine::kClosedError;
    SendNavigation(s, "Page.navigate", Json{{"url", ToBrowserUrl(ToUtf8(uri))}});
    return S_OK;
  });
}

HRESULT ChromiumCore::NavigateToString(engine::Page& page, const std::wstring& html) {
  return Guarded([&]() -> HRESULT {
    State s = StateOf(page);
    if (!s) return engine::kClosedError;
    std::string body = ToUtf8(html);
    if (body.size() > kMaxStringDocumentBytes) return E_INVALIDARG;
    if (!s->fetchEnabled) {
      s->fetchEnabled = true;
      UpdateFetchPatterns(s);
    }
    const std::string url = kStringDocumentOrigin + std::to_string(s->nextStringDocument++);
    s->stringDocuments[url] = std::move(body);
    SendNavigation(s, "Page.navigate", Json{{"url", url}});
    return S_OK;
  });
}

void ChromiumCore::Reload(engine::Page& page) {
  Quietly([&] {
    if (State s = StateOf(page)) SendNavigation(s, "Page.reload", Json::object());
  });
}

void ChromiumCore::History(engine::Page& page, int step) {
  Quietly([&] {
    State s = StateOf(page);
    if (!s) return;
    std::weak_ptr<PageState> weak = s;
    s->Send("Page.getNavigationHistory", Json::object(), [this, weak, step](const Json& answer) {
      State state = weak.lock();
      if (!state || state->page->closed) return;
      const Json& entries = Member(Member(answer, "result"), "entries");
      const int64_t target = Integer(Member(answer, "result"), "currentIndex") + step;
      if (!entries.is_array() || target < 0 || target >= static_cast<int64_t>(entries.size())) return;
      SendNavigation(state, "Page.navigateToHistoryEntry",
                     Json{{"entryId", Integer(entries[static_cast<size_t>(target)], "id")}});
    });
  });
}

void ChromiumCore::Stop(engine::Page& page) {
  Quietly([&] {
    State s = StateOf(page);
    if (!s) return;
    std::weak_ptr<PageState> weak = s;
    s->Send("Page.stopLoading", Json::object(), [this, weak](const Json&) {
      State state = weak.lock();
      if (!state || state->page->closed) return;
      // A navigation stopped before it committed is cancelled.
      if (!state->nav.completed && !state->nav.committed) {
        state->awaitingCommit = false;
        FlushDeferredScripts(state);
        Complete(state, false, 14);
      }
    });
  });
}

void ChromiumCore::PostMessageToPage(engine::Page& page, const std::wstring& text) {
  Quietly([&] {
    State s = StateOf(page);
    if (!s || !page.webMessageEnabled) return;
    const std::string expression = std::string("(function(t){var v=window.chrome&&window.chrome.webview;if(v&&v.") +
                                   kDeliverMember + ")v." + kDeliverMember + "(t);})(" + JsonText(ToUtf8(text)) + ")";
    s->Send("Runtime.evaluate", Json{{"expression", expression}});
  });
}

void ChromiumCore::ApplyMetrics(const State& s) {
  const engine::Page& page = *s->page;
  const long width = page.bounds.right - page.bounds.left, height = page.bounds.bottom - page.bounds.top;
  if (width <= 0 || height <= 0) return;
  const double zoom = std::min(kMaxZoom, std::max(kMinZoom, page.zoom));
  // Zoom as the browser zooms: fewer, larger CSS pixels in the same window.
  s->Send("Emulation.setDeviceMetricsOverride", Json{{"width", std::max(1L, std::lround(width / zoom))},
                                                     {"height", std::max(1L, std::lround(height / zoom))},
                                                     {"deviceScaleFactor", zoom},
                                                     {"mobile", false}});
}

void ChromiumCore::SetBounds(engine::Page& page, const RECT& bounds) {
  Quietly([&] {
    page.bounds = bounds;
    if (State s = StateOf(page)) ApplyMetrics(s);
  });
}

HRESULT ChromiumCore::SetZoom(engine::Page& page, double factor) {
  return Guarded([&]() -> HRESULT {
    if (!(factor > 0.0) || !std::isfinite(factor)) return E_INVALIDARG;
    page.zoom = factor;  // reported as set; applied within the runtime's range
    if (State s = StateOf(page)) ApplyMetrics(s);
    return S_OK;
  });
}

HRESULT ChromiumCore::EnableWebMessages(engine::Page& page, BOOL enabled) {
  page.webMessageEnabled = enabled ? TRUE : FALSE;
  return S_OK;
}

void ChromiumCore::RegisterScript(const State& s, const std::wstring& id, const std::string& source) {
  s->scriptIdentifiers[id] = std::string();
  std::weak_ptr<PageState> weak = s;
  s->Send("Page.addScriptToEvaluateOnNewDocument", Json{{"source", source}}, [weak, id](const Json& answer) {
    State state = weak.lock();
    if (!state || !Has(answer, "result")) return;
    const std::string identifier = Text(Member(answer, "result"), "identifier");
    if (state->removedEarly.erase(id)) {
      state->scriptIdentifiers.erase(id);
      state->Send("Page.removeScriptToEvaluateOnNewDocument", Json{{"identifier", identifier}});
      return;
    }
    state->scriptIdentifiers[id] = identifier;
  });
}

void ChromiumCore::FlushDeferredScripts(const State& s) {
  std::vector<std::pair<std::wstring, std::string>> due;
  due.swap(s->deferredScripts);
  for (const auto& script : due) RegisterScript(s, script.first, script.second);
}

void ChromiumCore::AddDocumentScript(engine::Page& page, const std::wstring& script,
                                     engine::DocumentScriptCompletion done) {
  Quietly([&] {
    State s = StateOf(page);
    if (!s) return;
    const std::wstring id = std::to_wstring(s->nextScriptId++);
    std::weak_ptr<PageState> weak = s;
    const std::string source = ToUtf8(script);
    // The script applies to navigations that start once its completion is delivered (also
    // from inside the completion handler), not to one already on its way: the browser learns
    // of it just before the completion runs, or when that earlier navigation has committed.
    engine::Post([this, weak, id, source, done] {
      Quietly([&] {
        State state = weak.lock();
        if (state && !state->page->closed) {
          if (state->NavigationInFlight()) {
            state->deferredScripts.emplace_back(id, source);
          } else {
            RegisterScript(state, id, source);
          }
        }
        if (done) done(S_OK, id.c_str());
      });
    });
  });
}

void ChromiumCore::RemoveDocumentScript(engine::Page& page, const std::wstring& id) {
  Quietly([&] {
    State s = StateOf(page);
    if (!s) return;
    auto& deferred = s->deferredScripts;
    const auto before = deferred.size();
    deferred.erase(std::remove_if(deferred.begin(), deferred.end(), [&](const auto& e) { return e.first == id; }),
                   deferred.end());
    if (deferred.size() != before) return;
    auto it = s->scriptIdentifiers.find(id);
    if (it == s->scriptIdentifiers.end()) return;
    if (it->second.empty()) {
      s->removedEarly.insert(id);
      return;
    }
    s->Send("Page.removeScriptToEvaluateOnNewDocument", Json{{"identifier", it->second}});
    s->scriptIdentifiers.erase(it);
  });
}

void ChromiumCore::StartScript(engine::Page& page, const std::wstring& script, engine::ScriptCompletion done) {
  Quietly([&] {
    State s = StateOf(page);
    if (!s) {
      engine::Post([done] {
        if (done) done(engine::kClosedError, nullptr);
      });
      return;
    }
    std::weak_ptr<PageState> weak = s;
    s->Send("Runtime.evaluate", Json{{"expression", ToUtf8(script)}, {"returnByValue", false}, {"awaitPromise", false}},
            [weak, done](const Json& answer) {
              if (!done) return;
              if (!Has(answer, "result")) {
                done(E_FAIL, nullptr);
                return;
              }
              const Json& result = Member(answer, "result");
              // An exception in the script gives null, as for a value JSON cannot encode.
              if (Has(result, "exceptionDetails") || !Has(result, "result")) {
                done(S_OK, L"null");
                return;
              }
              const Json& value = Member(result, "result");
              const std::string direct = ScriptResultJson(value);
              const std::string objectId = Text(value, "objectId");
              State state = weak.lock();
              if (!direct.empty() || !state || objectId.empty()) {
                done(S_OK, FromUtf8(direct.empty() ? "null" : direct).c_str());
                return;
              }
              state->Send(
                  "Runtime.callFunctionOn",
                  Json{{"objectId", objectId}, {"functionDeclaration", kStringifyThis}, {"returnByValue", true}},
                  [weak, done, objectId](const Json& serialised) {
                    const Json& v = Member(Member(serialised, "result"), "result");
                    const std::string json = Text(v, "type") == "string" ? Text(v, "value") : "null";
                    if (State state = weak.lock()) state->Send("Runtime.releaseObject", Json{{"objectId", objectId}});
                    done(S_OK, FromUtf8(json).c_str());
                  });
            });
  });
}

void ChromiumCore::RefreshHistory(const State& s) {
  const Json answer = s->browser->Cdp().Call("Page.getNavigationHistory", Json::object(), s->sessionId);
  if (!Has(answer, "result")) return;
  const int64_t current = Integer(Member(answer, "result"), "currentIndex");
  const Json& entries = Member(Member(answer, "result"), "entries");
  const int64_t count = entries.is_array() ? static_cast<int64_t>(entries.size()) : 0;
  s->page->canGoBack = current > 0 ? TRUE : FALSE;
  s->page->canGoForward = current + 1 < count ? TRUE : FALSE;
}

HRESULT ChromiumCore::CapturePng(HWND window, const std::wstring& path) {
  State found;
  for (const auto& entry : pages_) {
    const HWND parent = entry.second->page->parent;
    if (parent == window || IsChild(window, parent)) {
      found = entry.second;
      break;
    }
  }
  if (!found) return HRESULT_FROM_WIN32(ERROR_NOT_FOUND);
  const Json answer = found->browser->Cdp().Call("Page.captureScreenshot", Json{{"format", "png"}}, found->sessionId);
  const std::string png = Base64Decode(Text(Member(answer, "result"), "data"));
  if (png.empty()) return E_FAIL;
  const ScopedHandle file(
      CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file.valid()) return HRESULT_FROM_WIN32(GetLastError());
  DWORD written = 0;
  const BOOL ok = WriteFile(file.get(), png.data(), static_cast<DWORD>(png.size()), &written, nullptr);
  return ok && written == png.size() ? S_OK : E_FAIL;
}

std::wstring ChromiumCore::ShownUrl(const std::string& browserUrl) const {
  if (browserUrl.compare(0, sizeof kStringDocumentOrigin - 1, kStringDocumentOrigin) == 0) return L"about:blank";
  return FromUtf8(FromBrowserUrl(browserUrl));
}

std::string JsonText(const Json& value) { return value.dump(-1, ' ', false, Json::error_handler_t::replace); }

}  // namespace chromium
