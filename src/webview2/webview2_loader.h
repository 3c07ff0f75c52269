#pragma once
// Finds and loads WebView2Loader.dll on first need and forwards to its two exports; without a
// usable loader, falls back to the installed WebView2 Runtime (installed_runtime.h).
#include <windows.h>
#include <string>

struct ICoreWebView2EnvironmentOptions;
struct ICoreWebView2CreateCoreWebView2EnvironmentCompletedHandler;

// Same signatures as the loader's exports; 0x8007007E when neither a usable loader nor a usable
// installed runtime was found.
HRESULT CreateEnvironmentThroughLoader(PCWSTR browserExecutableFolder, PCWSTR userDataFolder,
                                       ICoreWebView2EnvironmentOptions* environmentOptions,
                                       ICoreWebView2CreateCoreWebView2EnvironmentCompletedHandler* handler);
HRESULT GetBrowserVersionThroughLoader(PCWSTR browserExecutableFolder, LPWSTR* versionInfo);

bool EnsureWebView2Loader();
bool TryLoadWebView2Loader(const std::wstring& path);
