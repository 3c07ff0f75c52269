#include "browser/browser_registry.h"

bool DestroyBrowserHost(const std::wstring&) { return false; }
void DestroyAllBrowserHosts() {}
