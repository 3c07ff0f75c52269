#include "browser/browser_registry.h"
#include <vector>
#include "browser/tamrel_edge_browser.h"
#include "support/diagnostic_log.h"
#include "support/errors.h"
#include "support/text.h"

namespace {
using THostList = std::vector<std::unique_ptr<TTamrelEdgeBrowser>>;

// Absent until the first registration and again after the run-mode cleanup. A plain pointer
// on purpose: unloading the plug-in (or ending the process) without the cleanup must not run
// host destructors, which would call into WebView2 after its own libraries were detached.
THostList* BrowserHosts = nullptr;
}  // namespace

TTamrelEdgeBrowser* FindBrowserHost(const std::wstring& name) {
  if (!BrowserHosts) return nullptr;
  for (const auto& host : *BrowserHosts)
    if (host && SameTextAscii(host->RectangleName(), name)) return host.get();
  return nullptr;
}

TTamrelEdgeBrowser& RequireBrowserHost(const std::wstring& name) {
  TTamrelEdgeBrowser* host = FindBrowserHost(name);
  if (!host) Fail(L"No WebView2 instance is attached to \"" + name + L"\".");
  return *host;
}

void AddBrowserHost(std::unique_ptr<TTamrelEdgeBrowser> host) {
  if (!BrowserHosts) BrowserHosts = new THostList();
  BrowserHosts->push_back(std::move(host));
}

bool DestroyBrowserHost(const std::wstring& name) {
  if (!BrowserHosts) return false;
  for (size_t i = BrowserHosts->size(); i-- > 0;) {
    auto& entry = (*BrowserHosts)[i];
    if (entry && SameTextAscii(entry->RectangleName(), name)) {
      // Out of the list before it is freed, so nothing can find a host being destroyed.
      std::unique_ptr<TTamrelEdgeBrowser> host = std::move(entry);
      BrowserHosts->erase(BrowserHosts->begin() + static_cast<std::ptrdiff_t>(i));
      host.reset();
      return true;
    }
  }
  return false;
}

void DestroyAllBrowserHosts() {
  if (!BrowserHosts) return;
  // Last registered first; each entry leaves the list before its host is freed, so nothing can
  // find a host that is being destroyed.
  while (!BrowserHosts->empty()) {
    WriteLog(L"Destroying WebView host during run-mode cleanup");
    std::unique_ptr<TTamrelEdgeBrowser> host = std::move(BrowserHosts->back());
    BrowserHosts->pop_back();
    host.reset();
  }
  THostList* list = BrowserHosts;
  BrowserHosts = nullptr;
  delete list;
}
