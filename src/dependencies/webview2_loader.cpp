// Placeholder until the loader search lands: no loader is ever found.
#include "dependencies/webview2_loader.h"

HRESULT CreateEnvironmentThroughLoader(PCWSTR, PCWSTR, ICoreWebView2EnvironmentOptions*,
                                       ICoreWebView2CreateCoreWebView2EnvironmentCompletedHandler*) {
  return static_cast<HRESULT>(0x8007007EL);
}
HRESULT GetBrowserVersionThroughLoader(PCWSTR, LPWSTR* versionInfo) {
  if (versionInfo) *versionInfo = nullptr;
  return static_cast<HRESULT>(0x8007007EL);
}
bool EnsureWebView2Loader() { return false; }
bool TryLoadWebView2Loader(const std::wstring&) { return false; }
void RegisterWebView2LoaderDependency() {}
std::wstring PluginDirectory() { return std::wstring(); }
std::wstring HostExecutableDirectory() { return std::wstring(); }
