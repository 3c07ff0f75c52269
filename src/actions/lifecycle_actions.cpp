// Actions 1, 2, 3, 5, 10 to 13 and 16: create and destroy a Rectangle's browser host, navigate
// it, show HTML in it and send it the four browser commands.
#include <memory>
#include "actions/action_handlers.h"
#include "actions/browser_lookup.h"
#include "actions/action_words.h"
#include "browser/browser_registry.h"
#include "browser/tamrel_edge_browser.h"
#include "support/diagnostic_log.h"
#include "support/errors.h"
#include "host/rectangle_lookup.h"
#include "host/report_error.h"
#include "support/text.h"

namespace {
const wchar_t kNotReady[] = L"WebView2 is not ready yet.";

void ApplyBrowserCommand(ICoreWebView2* webView, const std::wstring& word, const std::wstring& command) {
  // The engine's results are not examined: a command that fails still counts as applied.
  if (word == kCommandBack) {
    BOOL can = FALSE;
    if (SUCCEEDED(webView->get_CanGoBack(&can)) && can) webView->GoBack();
  } else if (word == kCommandForward) {
    BOOL can = FALSE;
    if (SUCCEEDED(webView->get_CanGoForward(&can)) && can) webView->GoForward();
  } else if (word == kCommandRefresh) {
    webView->Reload();
  } else if (word == kCommandStop) {
    webView->Stop();
  } else {
    Fail(L"Unsupported browser command: " + command);
  }
}
}  // namespace

bool CreateBrowserHost(const std::wstring& name, const std::wstring& url) {
  return RunGuarded([&] {
    WriteLog(L"tamrelCreate called for Rectangle \"" + name + L"\"");
    if (Trim(name).empty()) return Refuse(L"A Rectangle object name is required.");
    // Whatever follows, an earlier host of this name is gone first.
    DestroyBrowserHost(name);
    HWND rectangle = GetRectangleHandle(name);
    std::unique_ptr<TTamrelEdgeBrowser> owned = TTamrelEdgeBrowser::CreateForRectangle(rectangle);
    TTamrelEdgeBrowser* host = owned.get();
    host->SetRectangleName(name);
    AddBrowserHost(std::move(owned));
    WriteLog(L"WebView host registered for Rectangle \"" + name + L"\"");
    // Not trimmed: a URL of blanks is a URL.
    if (!url.empty()) host->QueueNavigate(url);
    return true;
  });
}

// Not guarded: the registry raises nothing, and a name without a host is a plain failure.
bool DestroyBrowser(const std::wstring& name) { return DestroyBrowserHost(name); }

bool NavigateBrowser(const std::wstring& name, const std::wstring& url) {
  return WithBrowserHost(name, [&](TTamrelEdgeBrowser& host) {
    host.QueueNavigate(url);
    return true;
  });
}

bool SetBrowserHTML(const std::wstring& name, const std::wstring& html) {
  return WithBrowserHost(name, [&](TTamrelEdgeBrowser& host) {
    host.QueueHTML(html);
    return true;
  });
}

bool ControlBrowser(const std::wstring& name, const std::wstring& command) {
  return WithBrowserHost(name, [&](TTamrelEdgeBrowser& host) {
    if (!host.IsReady()) return Refuse(kNotReady);
    const std::wstring word = UpperAscii(Trim(command));
    ApplyBrowserCommand(host.WebView(), word, command);
    WriteLog(L"Browser control \"" + word + L"\" applied to \"" + name + L"\"");
    return true;
  });
}

bool BrowserBack(const std::wstring& name) { return ControlBrowser(name, kCommandBack); }
bool BrowserForward(const std::wstring& name) { return ControlBrowser(name, kCommandForward); }
bool BrowserRefresh(const std::wstring& name) { return ControlBrowser(name, kCommandRefresh); }
bool BrowserStop(const std::wstring& name) { return ControlBrowser(name, kCommandStop); }
