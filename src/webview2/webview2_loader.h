#pragma once
// Finds and loads WebView2Loader.dll on first need and forwards to its two exports.
#include <windows.h>
#include <string>

struct ICoreWebView2EnvironmentOptions;
struct ICoreWebView2CreateCoreWebView2EnvironmentCompletedHandler;

// Same signatures as the loader's exports; 0x8007007E when no usable loader was found.
HRESULT CreateEnvironmentThroughLoader(PCWSTR browserExecutableFolder, PCWSTR userDataFolder,
                                       ICoreWebView2EnvironmentOptions* environmentOptions,
                                       ICoreWebView2CreateCoreWebView2EnvironmentCompletedHandler* handler);
HRESULT GetBrowserVersionThroughLoader(PCWSTR browserExecutableFolder, LPWSTR* versionInfo);

bool EnsureWebView2Loader();
bool TryLoadWebView2Loader(const std::wstring& path);
