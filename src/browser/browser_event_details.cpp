#include "browser/browser_event_details.h"
#include "webview2/engine_string.h"
#include "support/text.h"

namespace {
std::wstring FlagText(BOOL flag) { return flag ? L"True" : L"False"; }
}  // namespace

std::wstring CurrentURL(ICoreWebView2* webView) {
  if (!webView) return std::wstring();
  TEngineString source;
  if (FAILED(webView->get_Source(source.Receive()))) return std::wstring();
  const std::wstring url = source.Text();
  return SameTextAscii(url, L"about:blank") ? std::wstring() : url;
}

std::wstring NavigationStartingDetails(ICoreWebView2NavigationStartingEventArgs* args) {
  TEngineString uri;
  if (!args || FAILED(args->get_Uri(uri.Receive()))) return std::wstring();
  return uri.Text();
}

std::wstring NavigationCompletedDetails(ICoreWebView2NavigationCompletedEventArgs* args, const std::wstring& url) {
  BOOL success = FALSE;
  COREWEBVIEW2_WEB_ERROR_STATUS status = 0;
  if (args && FAILED(args->get_IsSuccess(&success))) success = FALSE;
  if (args && FAILED(args->get_WebErrorStatus(&status))) status = 0;
  return L"Success=" + FlagText(success) + L"; WebErrorStatus=" + DecimalText(status) + L"; URL=" + url;
}

std::wstring ContentLoadingDetails(ICoreWebView2ContentLoadingEventArgs* args, const std::wstring& url) {
  BOOL errorPage = FALSE;
  UINT64 navigationId = 0;
  if (args && FAILED(args->get_IsErrorPage(&errorPage))) errorPage = FALSE;
  if (args && FAILED(args->get_NavigationId(&navigationId))) navigationId = 0;
  return L"IsErrorPage=" + FlagText(errorPage) + L"; NavigationID=" + UnsignedText(navigationId) + L"; URL=" + url;
}

std::wstring DocumentTitleDetails(ICoreWebView2* webView) {
  TEngineString title;
  if (!webView || FAILED(webView->get_DocumentTitle(title.Receive()))) return std::wstring();
  return title.Text();
}

std::wstring SourceChangedDetails(ICoreWebView2SourceChangedEventArgs* args, const std::wstring& url) {
  BOOL newDocument = FALSE;
  if (args && FAILED(args->get_IsNewDocument(&newDocument))) newDocument = FALSE;
  return L"IsNewDocument=" + FlagText(newDocument) + L"; URL=" + url;
}

std::wstring ProcessFailedDetails(ICoreWebView2ProcessFailedEventArgs* args, const std::wstring& url) {
  COREWEBVIEW2_PROCESS_FAILED_KIND kind = 0;
  if (args && FAILED(args->get_ProcessFailedKind(&kind))) kind = 0;
  return L"ProcessFailedKind=" + DecimalText(kind) + L"; URL=" + url;
}
