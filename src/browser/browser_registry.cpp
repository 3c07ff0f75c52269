#include "browser/browser_registry.h"
#include <unordered_map>
#include <vector>
#include "browser/tamrel_edge_browser.h"
#include "support/diagnostic_log.h"
#include "support/errors.h"
#include "support/text.h"

namespace {
// Hashes and compares names in place with the ASCII letters folded, as names are matched.
struct TFoldedHash {
  size_t operator()(const std::wstring& name) const { return FoldedAsciiHash(name); }
};
struct TFoldedEqual {
  bool operator()(const std::wstring& a, const std::wstring& b) const { return SameTextAscii(a, b); }
};

struct THostList {
  // Registration order, which the run-mode cleanup walks backwards.
  std::vector<std::unique_ptr<TTamrelEdgeBrowser>> hosts;
  // The same hosts by name, in registration order per name, so a lookup does not grow with
  // the number of browsers.
  std::unordered_map<std::wstring, std::vector<TTamrelEdgeBrowser*>, TFoldedHash, TFoldedEqual> byName;
};

// Absent until the first registration and again after the run-mode cleanup. A plain pointer
// on purpose: unloading the plug-in (or ending the process) without the cleanup must not run
// host destructors, which would call into WebView2 after its own libraries were detached.
THostList* BrowserHosts = nullptr;

void ForgetName(TTamrelEdgeBrowser* host) {
  const auto entry = BrowserHosts->byName.find(host->RectangleName());
  if (entry == BrowserHosts->byName.end()) return;
  auto& same = entry->second;
  for (size_t i = same.size(); i-- > 0;)
    if (same[i] == host) {
      same.erase(same.begin() + static_cast<std::ptrdiff_t>(i));
      break;
    }
  if (same.empty()) BrowserHosts->byName.erase(entry);
}
}  // namespace

TTamrelEdgeBrowser* FindBrowserHost(const std::wstring& name) {
  if (!BrowserHosts) return nullptr;
  const auto entry = BrowserHosts->byName.find(name);
  return entry == BrowserHosts->byName.end() ? nullptr : entry->second.front();
}

std::wstring NoBrowserHostMessage(const std::wstring& name) {
  return L"No WebView2 instance is attached to \"" + name + L"\".";
}

TTamrelEdgeBrowser& RequireBrowserHost(const std::wstring& name) {
  TTamrelEdgeBrowser* host = FindBrowserHost(name);
  if (!host) Fail(NoBrowserHostMessage(name));
  return *host;
}

void AddBrowserHost(std::unique_ptr<TTamrelEdgeBrowser> host) {
  if (!host) return;
  if (!BrowserHosts) BrowserHosts = new THostList();
  auto& same = BrowserHosts->byName[host->RectangleName()];
  same.push_back(host.get());
  try {
    BrowserHosts->hosts.push_back(std::move(host));
  } catch (...) {
    same.pop_back();
    throw;
  }
}

bool DestroyBrowserHost(const std::wstring& name) {
  if (!BrowserHosts) return false;
  const auto entry = BrowserHosts->byName.find(name);
  if (entry == BrowserHosts->byName.end()) return false;
  TTamrelEdgeBrowser* const target = entry->second.back();  // the last registered of that name
  auto& hosts = BrowserHosts->hosts;
  for (size_t i = hosts.size(); i-- > 0;) {
    if (hosts[i].get() != target) continue;
    // Out of the list before it is freed, so nothing can find a host being destroyed.
    std::unique_ptr<TTamrelEdgeBrowser> host = std::move(hosts[i]);
    hosts.erase(hosts.begin() + static_cast<std::ptrdiff_t>(i));
    ForgetName(host.get());
    host.reset();
    return true;
  }
  return false;
}

void DestroyAllBrowserHosts() {
  if (!BrowserHosts) return;
  // Last registered first; each entry leaves the list before its host is freed, so nothing can
  // find a host that is being destroyed.
  while (!BrowserHosts->hosts.empty()) {
    WriteLog(L"Destroying WebView host during run-mode cleanup");
    std::unique_ptr<TTamrelEdgeBrowser> host = std::move(BrowserHosts->hosts.back());
    BrowserHosts->hosts.pop_back();
    ForgetName(host.get());
    host.reset();
  }
  THostList* list = BrowserHosts;
  BrowserHosts = nullptr;
  delete list;
}
