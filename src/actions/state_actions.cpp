// Actions 9, 14 and 15: read a Rectangle's browser state into host variables and set or
// read its zoom. The zoom is held by the controller as a factor (1.0 is 100 percent); the
// actions speak whole percentages.
#include <cstdint>
#include <string>
#include "actions/action_handlers.h"
#include "actions/browser_lookup.h"
#include "actions/action_words.h"
#include "actions/zoom_percentage.h"
#include "browser/browser_registry.h"
#include "browser/browser_event_details.h"
#include "browser/tamrel_edge_browser.h"
#include "support/diagnostic_log.h"
#include "support/errors.h"
#include "host/host_callbacks.h"
#include "host/host_services.h"
#include "host/report_error.h"
#include "support/text.h"

namespace {
const wchar_t kNotReady[] = L"WebView2 is not ready yet.";
const wchar_t kNoVariableCallback[] = L"VisualNEO variable callback is unavailable.";

const wchar_t* BoolText(bool value) { return value ? L"True" : L"False"; }

// The value of the first information word that matches (letters A to Z in either case; the
// word is not trimmed).
std::wstring InformationValue(TTamrelEdgeBrowser& host, const std::wstring& info) {
  ICoreWebView2* webView = host.WebView();
  if (SameTextAscii(info, kInfoURL)) return CurrentURL(webView);  // empty for a blank page or a failed read
  if (SameTextAscii(info, kInfoTitle)) return DocumentTitleDetails(webView);
  if (SameTextAscii(info, kInfoCanGoBack)) {
    BOOL can = FALSE;
    return BoolText(SUCCEEDED(webView->get_CanGoBack(&can)) && can);
  }
  if (SameTextAscii(info, kInfoCanGoForward)) {
    BOOL can = FALSE;
    return BoolText(SUCCEEDED(webView->get_CanGoForward(&can)) && can);
  }
  if (SameTextAscii(info, kInfoWebViewCreated)) return BoolText(host.IsReady());
  Fail(L"Unsupported information type: " + info);
}
}  // namespace

bool GetBrowserInfo(const std::wstring& name, const std::wstring& info, const std::wstring& variable) {
  return WithBrowserHost(name, [&](TTamrelEdgeBrowser& host) {
    // The callback is tested before readiness here; the zoom reader tests them the other way round.
    if (!HostServices().CanSetVariables()) return Refuse(kNoVariableCallback);
    if (!host.IsReady()) return Refuse(kNotReady);
    const std::wstring value = InformationValue(host, info);
    SetHostVariable(variable, value);
    return true;
  });
}

bool SetBrowserZoom(const std::wstring& name, int32_t percentage) {
  return WithBrowserHost(name, [&](TTamrelEdgeBrowser& host) {
    if (!host.IsReady()) return Refuse(kNotReady);
    if (percentage < 25 || percentage > 500) return Refuse(L"Zoom must be between 25 and 500 percent.");
    host.Controller()->put_ZoomFactor(percentage / 100.0);  // the engine's answer is not examined
    WriteLog(L"Zoom set to " + DecimalText(percentage) + L"% for \"" + name + L"\"");
    return true;
  });
}

bool GetBrowserZoom(const std::wstring& name, const std::wstring& variable) {
  return WithBrowserHost(name, [&](TTamrelEdgeBrowser& host) {
    if (!host.IsReady()) return Refuse(kNotReady);
    if (!HostServices().CanSetVariables()) return Refuse(kNoVariableCallback);
    double factor = 0;
    if (FAILED(host.Controller()->get_ZoomFactor(&factor))) factor = 0;
    SetHostVariable(variable, DecimalText(ZoomFactorToPercentage(factor)));
    return true;
  });
}

bool SetZoomPercentage(const std::wstring& name, const std::wstring& percentage) {
  return SetBrowserZoom(name, StrToIntDef(percentage, 100));
}
