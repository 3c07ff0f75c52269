// The browser host's event, page-message and script-result handlers. Each copies the settings
// it needs before the first host callback and runs the host action script as its very last
// step: the script may call the plug-in again and destroy this very host.
#include <windows.h>
#include "browser/browser_event_details.h"
#include "browser/browser_event_names.h"
#include "webview2/engine_string.h"
#include "browser/tamrel_edge_browser.h"
#include "support/diagnostic_log.h"
#include "host/host_callbacks.h"
#include "support/text.h"

namespace {
// Marks a web message from the page's console capture.
const wchar_t kConsolePrefix[] = L"__TAMREL_CONSOLE__";
constexpr int kConsolePrefixLength = 18;

// The prefix in any letter case, compared under the user's locale.
bool HasConsolePrefix(const std::wstring& message) {
  if (message.size() < static_cast<size_t>(kConsolePrefixLength)) return false;
  return CompareStringW(LOCALE_USER_DEFAULT, NORM_IGNORECASE, message.c_str(), kConsolePrefixLength, kConsolePrefix,
                        kConsolePrefixLength) == CSTR_EQUAL;
}

// The message as a string; false when the page posted something else (or nothing came back).
bool TryGetMessageText(ICoreWebView2WebMessageReceivedEventArgs* args, std::wstring& text) {
  if (!args) return false;
  TEngineString message;
  if (FAILED(args->TryGetWebMessageAsString(message.Receive())) || message.IsNull()) return false;
  text = message.Text();
  return true;
}

// Page-controlled text for a log line: a raw line break would start a line that the plug-in
// never wrote, so CR and LF are shown escaped (the host variables get the text unchanged).
std::wstring OneLogLine(const std::wstring& text) { return ReplaceAll(ReplaceAll(text, L"\r", L"\\r"), L"\n", L"\\n"); }

// What the result variable of a script that failed in the page's engine receives.
std::wstring ScriptErrorJson(HRESULT errorCode) {
  return L"{\"error\":\"JavaScript execution failed\",\"hresult\":\"" + HexUpper8(static_cast<uint32_t>(errorCode)) +
         L"\"}";
}

// Writes the variable when it is named, then runs the script when there is one (last). The
// names come from the host's settings and are copied, so nothing of the host is read once the
// first callback has run; the value is the handler's own text and is not copied at all.
void DeliverToHost(const std::wstring& variableSetting, const std::wstring& value, const std::wstring& scriptSetting) {
  if (variableSetting.empty() && scriptSetting.empty()) return;
  const std::wstring variable = variableSetting, script = scriptSetting;
  if (!variable.empty()) SetHostVariable(variable, value);
  if (!script.empty()) RunHostScript(script);
}
}  // namespace

// ---- browser events ------------------------------------------------------------------------------

void TTamrelEdgeBrowser::ForwardBrowserEvent(const std::wstring& name, const std::wstring& details) {
  WriteLog(L"Browser event: " + name + L" | " + OneLogLine(details));
  const std::wstring eventVariable = FEventVariable;
  const bool configured = !FEventName.empty() && SameTextAscii(FEventName, name);
  const std::wstring script = configured ? FEventActionScript : std::wstring();
  // Every event of every host, whichever event the host is configured for.
  SetHostVariable(L"[WebEventName]", name);
  SetHostVariable(L"[WebEventData]", details);
  DeliverToHost(eventVariable, details, script);
}

void TTamrelEdgeBrowser::HandleNavigationStarting(TEdgeBrowser*, ICoreWebView2NavigationStartingEventArgs* args) {
  ForwardBrowserEvent(kNavigationStartingEvent, NavigationStartingDetails(args));
}

void TTamrelEdgeBrowser::HandleNavigationCompleted(TEdgeBrowser*, ICoreWebView2NavigationCompletedEventArgs* args) {
  ForwardBrowserEvent(kNavigationCompletedEvent, NavigationCompletedDetails(args, CurrentURL(WebView())));
}

void TTamrelEdgeBrowser::HandleContentLoading(TEdgeBrowser*, ICoreWebView2ContentLoadingEventArgs* args) {
  ForwardBrowserEvent(kContentLoadingEvent, ContentLoadingDetails(args, CurrentURL(WebView())));
}

void TTamrelEdgeBrowser::HandleDocumentTitleChanged(TEdgeBrowser*, IUnknown*) {
  ForwardBrowserEvent(kTitleChangedEvent, DocumentTitleDetails(WebView()));
}

void TTamrelEdgeBrowser::HandleSourceChanged(TEdgeBrowser*, ICoreWebView2SourceChangedEventArgs* args) {
  ForwardBrowserEvent(kSourceChangedEvent, SourceChangedDetails(args, CurrentURL(WebView())));
}

void TTamrelEdgeBrowser::HandleProcessFailed(TEdgeBrowser*, ICoreWebView2ProcessFailedEventArgs* args) {
  ForwardBrowserEvent(kProcessFailedEvent, ProcessFailedDetails(args, CurrentURL(WebView())));
}

// ---- web messages ----------------------------------------------------------------------------------

void TTamrelEdgeBrowser::HandleWebMessageReceived(TEdgeBrowser*, ICoreWebView2WebMessageReceivedEventArgs* args) {
  std::wstring message;
  if (!TryGetMessageText(args, message)) return;

  if (HasConsolePrefix(message)) {
    // The rest is the JSON text of one console call of the page.
    message.erase(0, kConsolePrefixLength);
    WriteLog(L"JavaScript console [" + FRectangleName + L"]: " + OneLogLine(message));
    DeliverToHost(FDebugVariable, message, FDebugActionScript);
    return;
  }
  // The page's own text never goes to the log, only its length in UTF-16 code units.
  WriteLog(L"Web message received from Rectangle \"" + FRectangleName + L"\"; length=" + UnsignedText(message.size()));
  DeliverToHost(FBridgeVariable, message, FBridgeActionScript);
}

// ---- script results ----------------------------------------------------------------------------------

void TTamrelEdgeBrowser::HandleExecuteScriptCompleted(TEdgeBrowser*, HRESULT errorCode, LPCWSTR resultObjectAsJson,
                                                      const std::wstring& resultVariable) {
  // The variable belongs to the call this completion answers, so overlapping scripts never
  // trade results. Nothing is logged.
  if (resultVariable.empty()) return;
  if (FAILED(errorCode)) {
    SetHostVariable(resultVariable, ScriptErrorJson(errorCode));
  } else {
    // The engine's text goes to the host as it is, without a copy of its own.
    SetHostVariable(resultVariable, resultObjectAsJson ? std::wstring_view(resultObjectAsJson) : std::wstring_view());
  }
}
