#pragma once
// The detail texts of the six browser events that reach the host, built from the engine's
// event arguments. A getter that fails leaves its part at False, 0 or the empty text.
#include <string>
#include "webview2/webview2.h"

// The WebView's Source now; "about:blank" in any letter case gives the empty text.
std::wstring CurrentURL(ICoreWebView2* webView);

// The navigation's URI.
std::wstring NavigationStartingDetails(ICoreWebView2NavigationStartingEventArgs* args);
// "Success=<flag>; WebErrorStatus=<n>; URL=<url>"
std::wstring NavigationCompletedDetails(ICoreWebView2NavigationCompletedEventArgs* args, const std::wstring& url);
// "IsErrorPage=<flag>; NavigationID=<unsigned 64-bit>; URL=<url>"
std::wstring ContentLoadingDetails(ICoreWebView2ContentLoadingEventArgs* args, const std::wstring& url);
// The document title.
std::wstring DocumentTitleDetails(ICoreWebView2* webView);
// "IsNewDocument=<flag>; URL=<url>"
std::wstring SourceChangedDetails(ICoreWebView2SourceChangedEventArgs* args, const std::wstring& url);
// "ProcessFailedKind=<n>; URL=<url>"
std::wstring ProcessFailedDetails(ICoreWebView2ProcessFailedEventArgs* args, const std::wstring& url);
