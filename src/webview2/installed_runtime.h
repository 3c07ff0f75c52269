#pragma once
// The fallback when no usable WebView2Loader.dll is found: the installed WebView2 Runtime,
// found through the registry value its installer writes, and the creation entry of its own
// engine library. Microsoft does not document this path, so it comes only after the loader
// search, and every step is logged.
#include <windows.h>
#include <unknwn.h>
#include <string>

struct ICoreWebView2CreateCoreWebView2EnvironmentCompletedHandler;

// Finds and loads the runtime's engine library on first success; it then stays loaded for the
// life of the process. Until then every call searches again and logs what it found.
bool EnsureInstalledRuntime();
// The version of the runtime in use (its folder's name); empty before EnsureInstalledRuntime succeeds.
std::wstring InstalledRuntimeVersion();
// Creates the environment through the engine library; only after EnsureInstalledRuntime succeeded.
HRESULT CreateEnvironmentThroughRuntime(PCWSTR userDataFolder, IUnknown* environmentOptions,
                                        ICoreWebView2CreateCoreWebView2EnvironmentCompletedHandler* handler);

// The last component of a runtime folder ("...\Application\138.0.3351.48" gives "138.0.3351.48").
std::wstring RuntimeVersionOfFolder(const std::wstring& folder);
// The build number, the third of the version's four numbers; -1 when the text is no such version.
long RuntimeBuildNumber(const std::wstring& version);
// The lowest build the plug-in accepts: that of the target version it passes in its options.
long MinimumRuntimeBuild();
