#include "actions/browser_lookup.h"
#include "browser/browser_registry.h"
#include "host/report_error.h"

bool WithBrowserHost(const std::wstring& name, const std::function<bool(TTamrelEdgeBrowser&)>& body) {
  return RunGuarded([&] {
    TTamrelEdgeBrowser* host = FindBrowserHost(name);
    return host ? body(*host) : Refuse(NoBrowserHostMessage(name));
  });
}
