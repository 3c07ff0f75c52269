#pragma once
// What an author can do about a failure that the log otherwise shows only as a number.
#include <windows.h>
#include <cstdint>
#include <string>

enum class TFailureContext {
  EnvironmentCreation,  // an HRESULT from creating the WebView2 environment, controller or WebView
  LoaderLibrary,        // a Win32 error from LoadLibraryW of WebView2Loader.dll
  RuntimeLibrary,       // a Win32 error from LoadLibraryW of the runtime's EmbeddedBrowserWebView.dll
};

// One sentence naming the cause and the remedy, or empty when the code says nothing more
// than its number.
std::wstring ExplainFailure(TFailureContext context, uint32_t code);
