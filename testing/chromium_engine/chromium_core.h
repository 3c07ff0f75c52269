#pragma once
// The behaviour behind the shared COM objects when a real browser stands behind them: each
// webview is one page target of a headless Chromium, driven over the DevTools protocol on
// the thread that created it. Protocol events are turned into WebView2's events, in
// WebView2's order, and delivered through that thread's message loop.
#include <windows.h>

#include <cstdint>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "browser_process.h"
#include "engine_core.h"

namespace chromium {

class ChromiumCore final : public engine::EngineBehaviour {
 public:
  static ChromiumCore& Instance();

  // Lets this core hear the browser's events (again after it is handed out anew).
  void Listen(const std::shared_ptr<BrowserProcess>& browser);
  // A new page target for a controller whose parent is `parent`; null on failure.
  std::shared_ptr<engine::Page> OpenPage(const std::shared_ptr<BrowserProcess>& browser, HWND parent, HRESULT* error);
  // Writes a PNG of the page whose controller's parent is `window` or lies inside it.
  HRESULT CapturePng(HWND window, const std::wstring& path);
  int32_t PageCount() const { return static_cast<int32_t>(pages_.size()); }

  // EngineBehaviour
  void Record(const std::wstring&, const std::wstring&, int32_t) override {}
  HRESULT Failure(int32_t) const override { return S_OK; }
  void ClosePage(engine::Page& page) override;
  HRESULT Navigate(engine::Page& page, const std::wstring& uri) override;
  HRESULT NavigateToString(engine::Page& page, const std::wstring& html) override;
  void Reload(engine::Page& page) override;
  void GoBack(engine::Page& page) override { History(page, -1); }
  void GoForward(engine::Page& page) override { History(page, +1); }
  void Stop(engine::Page& page) override;
  void PostMessageToPage(engine::Page& page, const std::wstring& text) override;
  void SetBounds(engine::Page& page, const RECT& bounds) override;
  void SetVisible(engine::Page& page, BOOL visible) override { page.visible = visible ? TRUE : FALSE; }
  HRESULT SetZoom(engine::Page& page, double factor) override;
  void SetParentWindow(engine::Page& page, HWND parent) override { page.parent = parent; }
  HRESULT EnableWebMessages(engine::Page& page, BOOL enabled) override;
  void AddDocumentScript(engine::Page& page, const std::wstring& script,
                         engine::DocumentScriptCompletion done) override;
  void RemoveDocumentScript(engine::Page& page, const std::wstring& id) override;
  void StartScript(engine::Page& page, const std::wstring& script, engine::ScriptCompletion done) override;
  // Virtual hosts (virtual_hosts.cpp): requests to http(s)://<host>/ are paused and answered
  // with the files of the mapped folder.
  bool OffersVirtualHostMapping() const override { return true; }
  HRESULT SetVirtualHostMapping(engine::Page& page, const std::wstring& host, const std::wstring& folder,
                                int32_t accessKind) override;
  HRESULT ClearVirtualHostMapping(engine::Page& page, const std::wstring& host) override;

 private:
  // The navigation WebView2 reports on: one id from NavigationStarting to NavigationCompleted.
  struct Navigation {
    uint64_t id = 0;
    std::string loaderId;
    bool sameDocument = false;
    bool reload = false;
    bool committed = false;
    bool errorPage = false;
    int32_t errorStatus = -1;  // from the navigate command's error text
    bool completed = true;
  };

  struct PageState {
    std::shared_ptr<engine::Page> page;
    std::shared_ptr<BrowserProcess> browser;
    std::string targetId, sessionId;
    Navigation nav;
    uint64_t nextNavigationId = 1;
    bool awaitingCommit = false;  // a navigation command was sent and has not committed
    // Document scripts whose completion was delivered while an earlier navigation was still
    // on its way: they apply from the next navigation on, as WebView2 documents.
    std::vector<std::pair<std::wstring, std::string>> deferredScripts;
    std::map<std::wstring, std::string> scriptIdentifiers;  // id -> protocol identifier ("" until known)
    std::set<std::wstring> removedEarly;
    int nextScriptId = 1;
    std::map<std::string, std::string> stringDocuments;  // made-up URL -> UTF-8 HTML
    int nextStringDocument = 1;
    bool fetchEnabled = false;
    std::map<std::string, std::wstring> virtualHosts;  // lower-case host -> Windows folder
    std::map<std::string, int32_t> virtualHostAccess;  // lower-case host -> access kind

    void Send(const std::string& method, const nlohmann::json& params, CdpConnection::Reply reply = nullptr) {
      browser->Cdp().Send(method, params, sessionId, std::move(reply));
    }
    bool NavigationInFlight() const { return awaitingCommit || (!nav.completed && !nav.committed); }
  };
  using State = std::shared_ptr<PageState>;

  ChromiumCore() = default;
  State StateOf(engine::Page& page) const;
  State BySession(const BrowserProcess* browser, const std::string& session) const;

  // Commands.
  void SendNavigation(const State& s, const std::string& method, const nlohmann::json& params);
  void OnNavigationAnswer(const State& s, const nlohmann::json& answer);
  void History(engine::Page& page, int step);
  void RegisterScript(const State& s, const std::wstring& id, const std::string& source);
  void FlushDeferredScripts(const State& s);
  void ApplyMetrics(const State& s);
  void RefreshHistory(const State& s);

  // Events (page_events.cpp).
  void OnEvent(const BrowserProcess* browser, const std::string& session, const std::string& method,
               const nlohmann::json& params);
  void OnBrowserClosed(const BrowserProcess* browser);
  void OnStartedNavigating(const State& s, const nlohmann::json& params);
  void OnFrameNavigated(const State& s, const nlohmann::json& frame);
  void OnNavigatedWithinDocument(const State& s, const nlohmann::json& params);
  void OnLoaded(const State& s);
  void OnBinding(const State& s, const nlohmann::json& params);
  void OnRequestPaused(const State& s, const nlohmann::json& params);
  // Fetch.enable with the patterns of string documents and of every mapped host.
  void UpdateFetchPatterns(const State& s);
  // Answers a paused request to a mapped host; false when the URL is on no mapped host.
  bool ServeVirtualHost(const State& s, const std::string& requestId, const nlohmann::json& request,
                        const std::string& resourceType);
  bool StartNavigation(const State& s, const std::string& loaderId, const std::string& url, const std::string& type);
  bool Complete(const State& s, bool success, int32_t status);
  // Hands one event to the webview's handlers; false once the page is closed.
  bool Deliver(const State& s, int32_t event, const engine::EventData& data);
  std::wstring ShownUrl(const std::string& browserUrl) const;

  std::map<const engine::Page*, State> pages_;
  int32_t nextPageNumber_ = 1;
};

// WebView2's COREWEBVIEW2_WEB_ERROR_STATUS for a network error text ("net::ERR_...").
int32_t WebErrorStatusOf(const std::string& errorText);
// The JSON text WebView2 gives for a script result (Runtime.evaluate's RemoteObject);
// empty when the value is an object that must be serialised in the page.
std::string ScriptResultJson(const nlohmann::json& remoteObject);
// Compact JSON text, invalid UTF-8 replaced.
std::string JsonText(const nlohmann::json& value);

// The origin under which NavigateToString documents are served; reported as about:blank.
constexpr char kStringDocumentOrigin[] = "http://navigate-to-string.invalid/";

}  // namespace chromium
